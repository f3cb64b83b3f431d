#include "plugin/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

std::string qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString();
}

bool installQtChineseTranslations()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return false;
    // The translator is a child of the application it was installed into: a later application
    // (a host may make a new one) gets its own.
    static QPointer<QTranslator> installed;
    if (!installed.isNull() && installed->parent() == app)
        return true;
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QString::fromStdString(qtTranslationsFolder())) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed = translator;
    return true;
}
