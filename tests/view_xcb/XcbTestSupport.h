// What the tests under a real X server share: whether Qt runs on xcb, and the module's
// catalogue holding only its built-in models.
#pragma once

#include "plugin/CVantrelSolidApp.h"

#include <QGuiApplication>

namespace xcbtest {

inline bool onX()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

/** Empties the module's catalogues and pours its built-in models only. */
inline void useBuiltInCatalogue()
{
    CVantrelSolidApp& app = CVantrelSolidApp::instance();
    app.clearMasterData();
    app.addBuiltIns();
    app.facilities.link();
}

} // namespace xcbtest
