#include "ServerStores.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSet>
#include <libpq-fe.h>

namespace {

QString testServer()
{
    return qEnvironmentVariable("FROSTPICK_TEST_SERVER");
}

// The maintenance connection: makes and drops this process's databases, and
// drops what is left of them when the process ends.
class Server
{
public:
    Server() : m_conn(PQconnectdb((testServer() + QStringLiteral(" dbname=postgres")).toUtf8().constData()))
    {
        if (PQstatus(m_conn) != CONNECTION_OK)
            qFatal("FROSTPICK_TEST_SERVER names a server that cannot be reached (%s): %s",
                   qPrintable(testServer()), PQerrorMessage(m_conn));
    }
    ~Server()
    {
        for (const QString& name : std::as_const(m_made))
            run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        PQfinish(m_conn);
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    bool run(const QString& sql) const
    {
        PGresult* result = PQexec(m_conn, sql.toUtf8().constData());
        const ExecStatusType status = PQresultStatus(result);
        const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
        if (!ok)
            qWarning("%s: %s", qPrintable(sql), PQresultErrorMessage(result));
        const bool someRow = ok && PQntuples(result) > 0;
        PQclear(result);
        if (PQstatus(m_conn) != CONNECTION_OK)
            qFatal("the test server went away: %s", PQerrorMessage(m_conn));
        return status == PGRES_TUPLES_OK ? someRow : ok;
    }

    // The template for these scripts, built when the cluster has none yet.
    // Named after their text, so an edited script gets a template of its own.
    std::optional<QString> templateFor(const QStringList& scriptFiles) const
    {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (const QString& file : scriptFiles) {
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly))
                return std::nullopt;
            hash.addData(f.readAll());
        }
        const QString name = QStringLiteral("frostpick_template_") + hash.result().toHex().left(16);
        // Held while a template is built, so two test processes never build
        // the same one at once.
        run(QStringLiteral("SELECT pg_advisory_lock(81762)"));
        bool ok = run(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(name));
        if (!ok) {
            // Built under another name and renamed, so a failed build never
            // leaves a half-filled template behind.
            const QString part = name + QStringLiteral("_part");
            Result<void> made = DatabaseFailure();
            ok = run(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(part)) &&
                 run(QStringLiteral("CREATE DATABASE %1").arg(part)) &&
                 (made = Database::create(ServerStores::address(part), scriptFiles)) &&
                 run(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(part, name));
            if (!made && made.failure().fromEngine())
                qWarning("cannot fill %s: %s", qPrintable(part), qPrintable(made.failure().engineText));
        }
        run(QStringLiteral("SELECT pg_advisory_unlock(81762)"));
        return ok ? std::optional<QString>(name) : std::nullopt;
    }

    bool create(const QString& name, const QStringList& scriptFiles)
    {
        const std::optional<QString> source = templateFor(scriptFiles);
        if (!source || m_made.contains(name) ||
            !run(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 STRATEGY FILE_COPY").arg(name, *source)))
            return false;
        m_made << name;
        return true;
    }

    void reconnect() const { PQreset(m_conn); }

    void drop(const QString& name)
    {
        if (m_made.remove(name))
            run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    }

private:
    PGconn* m_conn;
    QSet<QString> m_made;
};

Server& server()
{
    static Server s;
    return s;
}

} // namespace

namespace ServerStores {

bool configured()
{
    return !testServer().isEmpty();
}

DatabaseAddress address(const QString& name)
{
    return DatabaseAddress::server(testServer() + QStringLiteral(" dbname=") + name);
}

bool create(const QString& name, const QStringList& scriptFiles)
{
    return server().create(name, scriptFiles);
}

void drop(const QString& name)
{
    server().drop(name);
}

bool execute(const QString& sql)
{
    return server().run(sql);
}

void reconnect()
{
    server().reconnect();
}

} // namespace ServerStores
