#include "TestDatabases.h"

#include "Database.h"

#include <QDir>
#include <QFile>
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

bool createDamaged(const QString& path, const QString& damage)
{
    QByteArray content;
    if (damage == QLatin1String("absent"))
        return true;
    if (damage == QLatin1String("folder"))
        return QDir().mkdir(path);
    if (damage == QLatin1String("foreign"))
        return QFileInfo(path).fileName() == QLatin1String("nv.mdb") ? createEmptyOrders(path)
                                                                     : createEmptyReference(path);
    if (damage == QLatin1String("random")) {
        quint32 x = 2463534242u;
        for (int i = 0; i < 16384; ++i) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            content.append(char(x & 0xff));
        }
    } else if (damage == QLatin1String("truncated")) {
        const QString fullPath = path + QStringLiteral(".full");
        QFile full(fullPath);
        if (!createSampleReference(fullPath) || !full.open(QIODevice::ReadOnly))
            return false;
        content = full.readAll();
        content = content.left(content.size() / 2);
        full.close();
        full.remove();
    } else if (damage != QLatin1String("empty")) {
        return false;
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace TestDatabases
