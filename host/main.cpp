// vantrel-host: the reference host of the 3D design module.
#include "HostCommands.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv)
{
    // Without a display the module still pours and reads designs; Qt must not abort on start.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    return vhost::runHost(std::vector<std::string>(argv + 1, argv + argc));
}
