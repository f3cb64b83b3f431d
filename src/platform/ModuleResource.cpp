#include "platform/ModuleResource.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>
#include <mutex>

// The resource object of vantrel_core registers itself from a static initialiser. Calling its
// init function as well keeps a reference to it, so the object is linked into every program
// and shared library built on the static library; registering it twice is harmless.
static void initModuleResources()
{
    Q_INIT_RESOURCE(module_resources);
}

namespace vs {

namespace {

QString resourceFolder(const char* type)
{
    return QStringLiteral(":/") + QString::fromUtf8(type).toLower();
}

QByteArray readResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

void registerModuleResources()
{
    static std::once_flag once;
    std::call_once(once, initModuleResources);
}

QByteArray moduleResource(const char* type, int id)
{
    if (!type || !*type)
        return QByteArray();
    registerModuleResources();
    const QDir folder(resourceFolder(type));
    const QStringList matches =
        folder.entryList({QString::number(id) + QStringLiteral(".*")}, QDir::Files, QDir::Name);
    if (matches.isEmpty())
        return QByteArray();
    return readResource(folder.filePath(matches.first()));
}

QByteArray moduleResource(const char* type, const char* name)
{
    if (!type || !*type || !name || !*name)
        return QByteArray();
    registerModuleResources();
    return readResource(resourceFolder(type) + QLatin1Char('/') + QString::fromUtf8(name));
}

} // namespace vs
