#include "PostgresConnection.h"

#include <QSqlDatabase>
#include <QStringList>
#include <cerrno>
#include <poll.h>

namespace PostgresConnection {

namespace {

constexpr char SessionSettings[] = "-c lock_timeout=8s";

// The programs print the number in hex, so a SQLSTATE of digits shows as
// itself ("23505"); any other is read in base 36. Never 0.
int numberOf(const QByteArray& sqlState)
{
    bool ok = false;
    const int hex = sqlState.toInt(&ok, 16);
    if (ok && hex != 0)
        return hex;
    const int any = sqlState.toInt(&ok, 36);
    return ok && any != 0 ? any : 0x08006;
}

QString quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

} // namespace

DbError failure(const char* sqlState, const QString& text)
{
    return {numberOf(sqlState),
            QStringLiteral("%1 (SQLSTATE %2)").arg(text.trimmed(), QLatin1String(sqlState))};
}

bool waitFor(PGconn* conn, bool write, const QDeadlineTimer& deadline)
{
    pollfd p{PQsocket(conn), short(write ? POLLOUT : POLLIN), 0};
    if (p.fd < 0)
        return false;
    for (;;) {
        const int rc = ::poll(&p, 1, int(deadline.remainingTime()));
        if (rc != -1 || errno != EINTR)
            return rc > 0;
    }
}

QString ConnectionSettings::server() const
{
    const QString service = values.value(QStringLiteral("service"));
    const QString host =
        values.value(QStringLiteral("host"),
                     service.isEmpty() ? QStringLiteral("localhost") : QStringLiteral("service=") + service);
    const QString port = values.value(QStringLiteral("port"));
    return port.isEmpty() ? host : host + QLatin1Char(':') + port;
}

QString ConnectionSettings::database() const
{
    return values.value(QStringLiteral("dbname"), values.value(QStringLiteral("user")));
}

QByteArray ConnectionSettings::conninfo() const
{
    QStringList parts;
    for (auto it = values.begin(); it != values.end(); ++it)
        parts << it.key() + QLatin1Char('=') + quoted(it.value());
    return parts.join(QLatin1Char(' ')).toUtf8();
}

void ConnectionSettings::applyTo(QSqlDatabase& db) const
{
    static const QStringList ownSetters = {QStringLiteral("host"), QStringLiteral("port"),
                                           QStringLiteral("dbname"), QStringLiteral("user"),
                                           QStringLiteral("password")};
    db.setHostName(values.value(QStringLiteral("host")));
    db.setDatabaseName(values.value(QStringLiteral("dbname")));
    db.setUserName(values.value(QStringLiteral("user")));
    db.setPassword(values.value(QStringLiteral("password")));
    bool plainPort = false;
    const int port = values.value(QStringLiteral("port")).toInt(&plainPort);
    if (plainPort)
        db.setPort(port);
    QStringList options;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (!ownSetters.contains(it.key()) || (it.key() == QLatin1String("port") && !plainPort))
            options << it.key() + QLatin1Char('=') + quoted(it.value());
    }
    db.setConnectOptions(options.join(QLatin1Char(' ')));
}

std::optional<ConnectionSettings> settingsOf(const DatabaseAddress& address, bool readOnly, DbError* error)
{
    char* message = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(address.database.toUtf8().constData(), &message);
    if (!parsed) {
        setError(error, failure("08001", QStringLiteral("Неверная строка подключения к серверу: %1")
                                             .arg(message ? QString::fromUtf8(message) : QString())));
        PQfreemem(message);
        return std::nullopt;
    }
    ConnectionSettings settings;
    for (const PQconninfoOption* o = parsed; o->keyword; ++o) {
        if (o->val)
            settings.values.insert(QString::fromUtf8(o->keyword), QString::fromUtf8(o->val));
    }
    PQconninfoFree(parsed);
    auto& values = settings.values;
    // Qt's driver turns every ';' of the options into a blank.
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it.value().contains(QLatin1Char(';')) && it.key() != QLatin1String("password")) {
            setError(error, failure("08001", QStringLiteral("Знак ';' в параметре %1 строки подключения к "
                                                            "серверу не поддерживается")
                                                 .arg(it.key())));
            return std::nullopt;
        }
    }
    if (!address.password.isEmpty())
        values.insert(QStringLiteral("password"), address.password);
    // A server that vanished from the network is noticed within seconds,
    // unless the user chose otherwise.
    const std::pair<const char*, const char*> defaults[] = {
        {"connect_timeout", "10"},        {"keepalives", "1"},       {"keepalives_idle", "30"},
        {"keepalives_interval", "10"},    {"keepalives_count", "3"}, {"tcp_user_timeout", "10000"},
        {"application_name", "frostpick"}};
    for (const auto& [key, value] : defaults) {
        if (!values.contains(QLatin1String(key)))
            values.insert(QLatin1String(key), QLatin1String(value));
    }
    // Given at connection time, these survive a reconnection.
    values.insert(QStringLiteral("client_encoding"), QStringLiteral("UTF8"));
    QString options =
        values.value(QStringLiteral("options")) + QLatin1Char(' ') + QLatin1String(SessionSettings);
    if (readOnly)
        options += QStringLiteral(" -c default_transaction_read_only=on");
    values.insert(QStringLiteral("options"), options.trimmed());
    return settings;
}

bool passwordWanted(const ConnectionSettings& settings, const QDeadlineTimer& deadline)
{
    PGconn* probe = PQconnectStart(settings.conninfo().constData());
    const bool wanted =
        probe && !completeConnection(probe, PQconnectPoll, deadline) && PQconnectionNeedsPassword(probe);
    PQfinish(probe);
    return wanted;
}

} // namespace PostgresConnection
