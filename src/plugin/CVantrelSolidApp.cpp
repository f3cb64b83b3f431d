#include "plugin/CVantrelSolidApp.h"

#include "platform/FileSystem.h"
#include "plugin/QtTranslations.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdlib>

CVantrelSolidApp& CVantrelSolidApp::instance()
{
    static CVantrelSolidApp app;
    return app;
}

void CVantrelSolidApp::beginPour(const char* homeDirectory, int option)
{
    homeDir = homeDirectory ? homeDirectory : "";
    catalogueOption = option;
}

void CVantrelSolidApp::addBuiltIns()
{
    candies.addBuiltInKinds();
    facilities.addBuiltIns();
}

bool CVantrelSolidApp::postPour()
{
    candies.link();
    facilities.link();
    vs::setEnvironment("PIXIEHOME", homeDir);
    renderDir = homeDir + "Render/";
    if (!vs::pathExists(renderDir))
        vs::createDirectory(renderDir);
    render2Dir = homeDir + "Render2/";
    if (!vs::pathExists(render2Dir))
        vs::createDirectory(render2Dir);
    // A plain file of that name is no work directory: report it as the failure it is.
    return vs::isDirectory(render2Dir);
}

void CVantrelSolidApp::clearMasterData()
{
    candies.clear();
    facilities.clear();
}

void CVantrelSolidApp::ensureUserInterface()
{
    if (QCoreApplication::instance() == nullptr)
        createApplication();
    installQtChineseTranslations();
}

void CVantrelSolidApp::createApplication()
{
    // A host without Qt: make an application that lives as long as the process (the library
    // is linked with -z nodelete, so a dlclose cannot pull the code from under it).
    static int argc = 1;
    static char name[] = "VantrelSolid";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        // Without a display Qt's default platform would end the host's process.
        qputenv("QT_QPA_PLATFORM", std::getenv("DISPLAY") != nullptr ? "xcb" : "offscreen");
    new QApplication(argc, argv);
}
