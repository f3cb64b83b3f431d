// RibDaemon: the render program the module starts in its home directory with a hand-off name.
#include "HostCommands.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    return vhost::runRibDaemon(std::vector<std::string>(argv + 1, argv + argc));
}
