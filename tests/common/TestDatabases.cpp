#include "TestDatabases.h"

#include "Database.h"

#include <QDir>
#include <QFileInfo>

namespace TestDatabases {

QString dataFile(const QString& name)
{
    return QDir(QStringLiteral(FROSTPICK_DATA_DIR)).filePath(name);
}

namespace {

bool create(const QString& path, QStringList scripts)
{
    for (QString& s : scripts)
        s = dataFile(s);
    DbError error;
    const bool ok = Database::create(DatabaseAddress::file(path), scripts, &error);
    if (!ok)
        qWarning("cannot create %s: %s", qPrintable(path), qPrintable(error.description));
    return ok;
}

} // namespace

bool createEmptyReference(const QString& path)
{
    return create(path, {QStringLiteral("schema_nv.sql")});
}

bool createEmptyOrders(const QString& path)
{
    return create(path, {QStringLiteral("schema_order.sql")});
}

bool createSampleReference(const QString& path)
{
    return create(path, {QStringLiteral("schema_nv.sql"), QStringLiteral("sample_nv.sql")});
}

bool createSampleOrders(const QString& path)
{
    return create(path, {QStringLiteral("schema_order.sql"), QStringLiteral("sample_order.sql")});
}

bool createSampleFolder(const QString& folder)
{
    const QDir dir(folder);
    return createSampleReference(dir.filePath(QStringLiteral("nv.mdb"))) &&
           createSampleOrders(dir.filePath(QStringLiteral("order.mdb")));
}

} // namespace TestDatabases
