#include "BenchServer.h"

#include "ChildProcess.h"
#include "DataLocation.h"
#include "StoreCopy.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <libpq-fe.h>
#include <memory>

namespace {

// The role's password over TCP; the cluster is thrown away with the benchmark.
constexpr char ClusterPassword[] = "frostpick-bench";

QMap<QString, QString> pairsOf(const QString& text)
{
    QMap<QString, QString> pairs;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq > 0)
            pairs.insert(part.left(eq), part.mid(eq + 1));
    }
    return pairs;
}

} // namespace

bool BenchServer::startCluster(const QString& folder, QString* error)
{
    const ChildRun started =
        runChild(QStringLiteral(FROSTPICK_PG_CLUSTER), {QStringLiteral("start"), folder}, true);
    if (started.exitCode != 0) {
        *error = QStringLiteral("pg-cluster.sh start %1 failed (exit %2)").arg(folder).arg(started.exitCode);
        return false;
    }
    m_clusterFolder = folder;
    // Over the socket the cluster trusts its owner; the password opens TCP.
    m_base = pairsOf(QString::fromUtf8(started.output.trimmed()));
    if (!run(QStringLiteral("postgres"),
             {QStringLiteral("ALTER ROLE %1 PASSWORD '%2'")
                  .arg(m_base.value(QStringLiteral("user")), QLatin1String(ClusterPassword))},
             error))
        return false;
    m_base.insert(QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    m_base.insert(QStringLiteral("password"), QLatin1String(ClusterPassword));
    return true;
}

void BenchServer::stopCluster()
{
    if (!m_clusterFolder.isEmpty())
        runChild(QStringLiteral(FROSTPICK_PG_CLUSTER), {QStringLiteral("stop"), m_clusterFolder}, false);
    m_clusterFolder.clear();
}

bool BenchServer::useGiven(const QString& base, QString* error)
{
    m_base = pairsOf(base);
    if (host().isEmpty() || port() == 0) {
        *error = QStringLiteral("--server-base needs host=ADDRESS and port=N");
        return false;
    }
    return true;
}

QString BenchServer::connection(const QString& database, const QString& host, quint16 port) const
{
    QMap<QString, QString> pairs = m_base;
    pairs.insert(QStringLiteral("host"), host);
    pairs.insert(QStringLiteral("port"), QString::number(port));
    pairs.insert(QStringLiteral("dbname"), database);
    QStringList parts;
    for (auto it = pairs.cbegin(); it != pairs.cend(); ++it)
        parts << it.key() + QLatin1Char('=') + it.value();
    return parts.join(QLatin1Char(' '));
}

bool BenchServer::run(const QString& database, const QStringList& statements, QString* error, bool* gaveRows)
{
    const QByteArray values[] = {host().toUtf8(), QByteArray::number(port()),
                                 m_base.value(QStringLiteral("user")).toUtf8(),
                                 m_base.value(QStringLiteral("password")).toUtf8(), database.toUtf8()};
    const char* const keywords[] = {"host", "port", "user", "password", "dbname", nullptr};
    const char* const given[] = {values[0].constData(), values[1].constData(), values[2].constData(),
                                 values[3].constData(), values[4].constData(), nullptr};
    const std::unique_ptr<PGconn, void (*)(PGconn*)> db(PQconnectdbParams(keywords, given, 0), &PQfinish);
    if (PQstatus(db.get()) != CONNECTION_OK) {
        *error = QString::fromUtf8(PQerrorMessage(db.get()));
        return false;
    }
    for (const QString& sql : statements) {
        const std::unique_ptr<PGresult, void (*)(PGresult*)> result(
            PQexec(db.get(), sql.toUtf8().constData()), &PQclear);
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            *error = sql + QStringLiteral(": ") + QString::fromUtf8(PQerrorMessage(db.get()));
            return false;
        }
        if (gaveRows)
            *gaveRows = PQntuples(result.get()) > 0;
    }
    return true;
}

bool BenchServer::prepare(const QString& name, const QString& dataFolder, Stores stores, bool fresh,
                          QString* error)
{
    const QString postgres = QStringLiteral("postgres");
    bool exists = false;
    if ((fresh && !run(postgres, {QStringLiteral("DROP DATABASE IF EXISTS ") + name}, error)) ||
        !run(postgres, {QStringLiteral("SELECT 1 FROM pg_database WHERE datname='%1'").arg(name)}, error,
             &exists))
        return false;
    if (exists)
        return true;
    // Filled under another name and renamed at the end, so an interrupted
    // copy is never taken for a finished one.
    const QString part = name + QStringLiteral("_part");
    if (!run(postgres,
             {QStringLiteral("DROP DATABASE IF EXISTS ") + part, QStringLiteral("CREATE DATABASE ") + part},
             error))
        return false;
    const QString target = connection(part, host(), port());
    // Made from the project's server schema: the store tool carries only
    // the file schema yet.
    if (const Result<void> made = Database::create(
            DatabaseAddress::server(target), {QStringLiteral(FROSTPICK_DATA_DIR "/server_schema_nv.sql"),
                                              QStringLiteral(FROSTPICK_DATA_DIR "/server_schema_order.sql")});
        !made) {
        *error = made.failure().engineText;
        return false;
    }
    ToolOutcome outcome;
    QStringList files{QLatin1String(ReferenceFileName)};
    if (stores == Stores::Both)
        files << QLatin1String(OrdersFileName);
    const CopyObserver quiet{[](const QString&) {}, {}};
    for (const QString& file : files) {
        if (outcome.ok())
            outcome = copyStore(QDir(dataFolder).filePath(file), target, {}, quiet);
    }
    if (!outcome.ok()) {
        *error = outcome.message;
        return false;
    }
    return run(part, {QStringLiteral("ANALYZE")}, error) &&
           run(postgres, {QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(part, name)}, error);
}

bool BenchServer::writeSettings(const QString& folder, const QString& connection, QString* error)
{
    QDir().mkpath(folder);
    QSettings settings(QDir(folder).filePath(QLatin1String(SettingsFileName)), QSettings::IniFormat);
    settings.setValue(QStringLiteral("database/reference"), connection);
    settings.setValue(QStringLiteral("database/orders"), connection);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        *error = QStringLiteral("%1 not written").arg(settings.fileName());
        return false;
    }
    return true;
}
