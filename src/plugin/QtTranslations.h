// Qt's own texts (standard buttons, the file dialog) in the module's language.
#pragma once

#include <string>

/**
 * Installs Qt's Simplified Chinese translations ("qtbase_zh_CN" from Qt's translations folder)
 * into the running application, once per application object, so that message-box buttons and
 * the file dialog speak the same language as the module's own labels. Returns true when they
 * are installed (now or earlier), false without an application or when the file is missing;
 * the dialogs then keep Qt's English texts.
 */
bool installQtChineseTranslations();

/** The folder the translations are looked up in: Qt's own translations path. */
std::string qtTranslationsFolder();
