// Qt's own texts in the module's dialogs: message-box buttons and the file dialog in Chinese.
#include "plugin/QtTranslations.h"
#include "plugin/CVantrelSolidApp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(QtTranslationsTest, StandardButtonsAndTheFileDialogSpeakChinese)
{
    const QString file = QString::fromStdString(qtTranslationsFolder()) + "/qtbase_zh_CN.qm";
    if (!QFileInfo::exists(file))
        GTEST_SKIP() << "Qt's translations are not installed (scripts/install-deps installs them)";
    CVantrelSolidApp::instance().ensureUserInterface();
    EXPECT_TRUE(installQtChineseTranslations()) << "installed once, then reported as installed";
    for (const auto& [context, text] : {std::pair{"QPlatformTheme", "&Yes"},
                                        {"QPlatformTheme", "&No"},
                                        {"QFileDialog", "Look in:"},
                                        {"QFileDialog", "File &name:"}}) {
        const QString translated = QCoreApplication::translate(context, text);
        EXPECT_NE(translated, QString::fromUtf8(text)) << context << " " << text;
        bool chinese = false;
        for (QChar c : translated)
            chinese |= c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
        EXPECT_TRUE(chinese) << translated.toStdString();
    }
}
