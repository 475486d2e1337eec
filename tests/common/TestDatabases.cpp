#include "TestDatabases.h"

#include "DataLocation.h"
#include "ServerStores.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>

namespace TestDatabases {

Storage storage()
{
    return ServerStores::configured() ? Storage::Server : Storage::Files;
}

QString dataFile(const QString& name)
{
    return QDir(QStringLiteral(FROSTPICK_DATA_DIR)).filePath(name);
}

namespace {

// The server's databases made for paths, by the path's absolute form.
QHash<QString, DatabaseAddress>& serverStores()
{
    static QHash<QString, DatabaseAddress> stores;
    return stores;
}

QString keyOf(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Where the folder's frostpick.ini names the store made for path, if the
// programs look for it there at all.
QString settingOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (name == QLatin1String(ReferenceFileName))
        return QStringLiteral("database/reference");
    if (name == QLatin1String(OrdersFileName))
        return QStringLiteral("database/orders");
    return {};
}

bool setSetting(const QString& path, const QString& connection)
{
    const QString key = settingOf(path);
    if (key.isEmpty())
        return true;
    QSettings settings(QFileInfo(path).dir().filePath(QLatin1String(SettingsFileName)), QSettings::IniFormat);
    if (connection.isEmpty())
        settings.remove(key);
    else
        settings.setValue(key, connection);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

// A test's folder that is gone takes its stores with it.
void dropStoresOfGoneFolders()
{
    for (auto it = serverStores().begin(); it != serverStores().end();) {
        if (QFileInfo::exists(QFileInfo(it.key()).path())) {
            ++it;
        } else {
            ServerStores::drop(it.value());
            it = serverStores().erase(it);
        }
    }
}

bool createOnServer(const QString& path, QStringList scripts)
{
    dropStoresOfGoneFolders();
    if (serverStores().contains(keyOf(path)))
        return false;
    // The server has its own schema scripts; the data scripts are shared.
    for (QString& s : scripts) {
        if (s.startsWith(QLatin1String("schema_")))
            s.prepend(QLatin1String("server_"));
        s = dataFile(s);
    }
    const std::optional<DatabaseAddress> address = ServerStores::create(scripts);
    if (!address)
        return false;
    serverStores().insert(keyOf(path), *address);
    return setSetting(path, address->database);
}

bool create(const QString& path, QStringList scripts, Storage where)
{
    if (where == Storage::Server)
        return createOnServer(path, scripts);
    for (QString& s : scripts)
        s = dataFile(s);
    DbError error;
    const bool ok = Database::create(DatabaseAddress::file(path), scripts, &error);
    if (!ok)
        qWarning("cannot create %s: %s", qPrintable(path), qPrintable(error.description));
    return ok;
}

} // namespace

DatabaseAddress address(const QString& path)
{
    return serverStores().value(keyOf(path), DatabaseAddress::file(path));
}

bool remove(const QString& path)
{
    const auto it = serverStores().constFind(keyOf(path));
    if (it == serverStores().cend())
        return QFile::remove(path);
    ServerStores::drop(it.value());
    serverStores().erase(it);
    return setSetting(path, {});
}

bool createEmptyReference(const QString& path, Storage where)
{
    return create(path, {QStringLiteral("schema_nv.sql")}, where);
}

bool createEmptyOrders(const QString& path, Storage where)
{
    return create(path, {QStringLiteral("schema_order.sql")}, where);
}

bool createSampleReference(const QString& path, Storage where)
{
    return create(path, {QStringLiteral("schema_nv.sql"), QStringLiteral("sample_nv.sql")}, where);
}

bool createSampleOrders(const QString& path, Storage where)
{
    return create(path, {QStringLiteral("schema_order.sql"), QStringLiteral("sample_order.sql")}, where);
}

bool createSampleFolder(const QString& folder, Storage where)
{
    const QDir dir(folder);
    return createSampleReference(dir.filePath(QLatin1String(ReferenceFileName)), where) &&
           createSampleOrders(dir.filePath(QLatin1String(OrdersFileName)), where);
}

bool createDamaged(const QString& path, const QString& damage)
{
    QByteArray content;
    if (damage == QLatin1String("absent"))
        return true;
    if (damage == QLatin1String("folder"))
        return QDir().mkdir(path);
    if (damage == QLatin1String("foreign"))
        return QFileInfo(path).fileName() == QLatin1String("nv.mdb")
                   ? createEmptyOrders(path, Storage::Files)
                   : createEmptyReference(path, Storage::Files);
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
        if (!createSampleReference(fullPath, Storage::Files) || !full.open(QIODevice::ReadOnly))
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
