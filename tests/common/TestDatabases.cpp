#include "TestDatabases.h"

#include "DataLocation.h"
#include "ServerStores.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>
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
QHash<QString, QString>& serverStores()
{
    static QHash<QString, QString> stores;
    return stores;
}

QString keyOf(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The server's database for a path, named after its folder and file name, so
// the folder's frostpick.ini names both stores before either is made, as a
// folder names its files whether they exist or not.
QString serverName(const QString& path)
{
    static const QRegularExpression unusable(QStringLiteral("[^a-z0-9]"));
    const QFileInfo file(keyOf(path));
    return QStringLiteral("fixture_%1_%2_%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QString::number(qHash(file.path()), 36))
        .arg(file.fileName().toLower().replace(unusable, QStringLiteral("_")).left(24));
}

bool nameBothStores(const QString& folder)
{
    QSettings settings(QDir(folder).filePath(QLatin1String(SettingsFileName)), QSettings::IniFormat);
    const std::pair<const char*, const char*> stores[] = {{"database/reference", ReferenceFileName},
                                                          {"database/orders", OrdersFileName}};
    for (const auto& [key, file] : stores)
        settings.setValue(
            QLatin1String(key),
            ServerStores::address(serverName(QDir(folder).filePath(QLatin1String(file)))).database);
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
    // The server has its own schema scripts; the data scripts are shared.
    for (QString& s : scripts) {
        if (s.startsWith(QLatin1String("schema_")))
            s.prepend(QLatin1String("server_"));
        s = dataFile(s);
    }
    const QString name = serverName(path);
    if (!ServerStores::create(name, scripts))
        return false;
    serverStores().insert(keyOf(path), name);
    return nameBothStores(QFileInfo(keyOf(path)).path());
}

bool create(const QString& path, QStringList scripts, Storage where)
{
    if (where == Storage::Server)
        return createOnServer(path, scripts);
    for (QString& s : scripts)
        s = dataFile(s);
    const Result<void> made = Database::create(DatabaseAddress::file(path), scripts);
    if (!made)
        qWarning("cannot create %s: %s", qPrintable(path), qPrintable(made.failure().engineText));
    return made.ok();
}

} // namespace

DatabaseAddress address(const QString& path)
{
    const auto it = serverStores().constFind(keyOf(path));
    return it == serverStores().cend() ? DatabaseAddress::file(path) : ServerStores::address(it.value());
}

bool remove(const QString& path)
{
    const auto it = serverStores().constFind(keyOf(path));
    if (it == serverStores().cend())
        return QFile::remove(path);
    ServerStores::drop(it.value());
    return true;
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
        QList<quint32> words(4096);
        QRandomGenerator(2463534242u).fillRange(words.data(), words.size());
        content = QByteArray(reinterpret_cast<const char*>(words.constData()), words.size() * 4);
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

QStringList refuseInserts(const QString& table, const QString& condition, Storage where)
{
    if (where == Storage::Files)
        return {QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE INSERT ON %1 WHEN %2 "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                    .arg(table, condition)};
    return {QStringLiteral("CREATE FUNCTION refuse_%1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                           "IF %2 THEN RAISE EXCEPTION 'refused'; END IF; RETURN NEW; END $$")
                .arg(table, condition),
            QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE INSERT ON %1 FOR EACH ROW "
                           "EXECUTE FUNCTION refuse_%1()")
                .arg(table)};
}

QStringList allowInserts(const QString& table)
{
    if (storage() == Storage::Files)
        return {QStringLiteral("DROP TRIGGER refuse_%1").arg(table)};
    return {QStringLiteral("DROP TRIGGER refuse_%1 ON %1").arg(table),
            QStringLiteral("DROP FUNCTION refuse_%1").arg(table)};
}

} // namespace TestDatabases
