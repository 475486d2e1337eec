#include "PostgresConnection.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <netdb.h>
#include <poll.h>
#include <string>
#include <thread>
#include <vector>

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

// "FATAL:  28P01: password authentication failed...": the severity (in the
// server's language) and two blanks, then the SQLSTATE.
const QRegularExpression& verboseState()
{
    static const QRegularExpression state(QStringLiteral("(:\\s\\s)([0-9A-Z]{5}): "));
    return state;
}

QString quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

} // namespace

DatabaseFailure failure(const char* sqlState, const QString& text)
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

// A name that reads as a connection string or URI is masked as one.
QString ConnectionSettings::database() const
{
    return DatabaseAddress::server(
               values.value(QStringLiteral("dbname"), values.value(QStringLiteral("user"))))
        .shown();
}

QByteArray ConnectionSettings::conninfo() const
{
    QStringList parts;
    for (auto it = values.begin(); it != values.end(); ++it)
        parts << it.key() + QLatin1Char('=') + quoted(it.value());
    return parts.join(QLatin1Char(' ')).toUtf8();
}

std::optional<ConnectionSettings> settingsOf(const DatabaseAddress& address, bool readOnly,
                                             DatabaseFailure* error)
{
    char* message = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(address.database.toUtf8().constData(), &message);
    if (!parsed) {
        // libpq quotes the part it could not read, which may be a piece of
        // a password: then only the masked address is shown.
        const QString shown = address.shown();
        setError(error, failure("08001", QStringLiteral("Неверная строка подключения к серверу: %1")
                                             .arg(shown != address.database || !message
                                                      ? shown
                                                      : QString::fromUtf8(message).trimmed())));
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

// The numeric addresses of a host name, looked up on a thread of its own so
// that a slow name server cannot hold the program past the deadline; a lookup
// that outlives it ends by itself later. Empty when the name is unknown,
// nullopt when the deadline passed.
std::optional<std::vector<std::string>> addressesOf(const QByteArray& host, const QDeadlineTimer& deadline)
{
    struct Lookup
    {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        std::vector<std::string> addresses;
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, name = host.toStdString()] {
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        std::vector<std::string> addresses;
        if (getaddrinfo(name.c_str(), nullptr, &hints, &found) == 0) {
            for (const addrinfo* a = found; a; a = a->ai_next) {
                char text[NI_MAXHOST];
                if (getnameinfo(a->ai_addr, a->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) ==
                        0 &&
                    std::find(addresses.begin(), addresses.end(), text) == addresses.end())
                    addresses.emplace_back(text);
            }
            freeaddrinfo(found);
        }
        const std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->addresses = std::move(addresses);
        lookup->done = true;
        lookup->finished.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(lookup->mutex);
    if (!lookup->finished.wait_for(lock, std::chrono::milliseconds(deadline.remainingTime()),
                                   [&] { return lookup->done; }))
        return std::nullopt;
    return lookup->addresses;
}

PGconn* connectWithin(const ConnectionSettings& settings, int timeoutMs, QString* cause)
{
    const QDeadlineTimer deadline(timeoutMs);
    QHash<QString, QString> values = settings.values;
    // One host named by name, not a socket folder nor a list: libpq would
    // look it up without a deadline. It is given every address found, tried
    // in turn as libpq tries a name's addresses, and keeps the name for
    // checking certificates and for the password file.
    const QString host = values.value(QStringLiteral("host"));
    if (!host.isEmpty() && !host.startsWith(QLatin1Char('/')) && !host.startsWith(QLatin1Char('@')) &&
        !host.contains(QLatin1Char(',')) && !values.contains(QStringLiteral("hostaddr"))) {
        const auto addresses = addressesOf(host.toUtf8(), deadline);
        if (!addresses || addresses->empty()) {
            *cause = addresses
                         ? QStringLiteral("имя «%1» не найдено").arg(host)
                         : QStringLiteral("адрес «%1» не найден за %2 с").arg(host).arg(timeoutMs / 1000);
            return nullptr;
        }
        QStringList hosts;
        QStringList numeric;
        for (const std::string& address : *addresses) {
            hosts << host;
            numeric << QString::fromStdString(address);
        }
        values.insert(QStringLiteral("host"), hosts.join(QLatin1Char(',')));
        values.insert(QStringLiteral("hostaddr"), numeric.join(QLatin1Char(',')));
    }
    std::vector<QByteArray> texts;
    std::vector<const char*> keywords;
    std::vector<const char*> given;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        texts.push_back(it.key().toUtf8());
        texts.push_back(it.value().toUtf8());
    }
    for (size_t i = 0; i < texts.size(); i += 2) {
        keywords.push_back(texts[i].constData());
        given.push_back(texts[i + 1].constData());
    }
    keywords.push_back(nullptr);
    given.push_back(nullptr);
    PGconn* conn = PQconnectStartParams(keywords.data(), given.data(), 0);
    if (!conn) {
        *cause = QStringLiteral("не хватает памяти");
        return conn;
    }
    // Only a verbose text carries the SQLSTATE of a refused connection.
    PQsetErrorVerbosity(conn, PQERRORS_VERBOSE);
    if (PQstatus(conn) == CONNECTION_BAD || !completeConnection(conn, PQconnectPoll, deadline))
        *cause = whyNotConnected(conn, timeoutMs);
    else
        PQsetErrorVerbosity(conn, PQERRORS_DEFAULT);
    return conn;
}

void requestCancel(PGconn* conn)
{
    PGcancel* cancel = PQgetCancel(conn);
    if (!cancel)
        return;
    std::thread([cancel] {
        char error[256];
        PQcancel(cancel, error, sizeof error);
        PQfreeCancel(cancel);
    }).detach();
}

QByteArray refusalState(PGconn* conn)
{
    const QRegularExpressionMatch found = verboseState().match(QString::fromUtf8(PQerrorMessage(conn)));
    return found.hasMatch() ? found.captured(2).toLatin1() : QByteArray("08001");
}

QString whyNotConnected(PGconn* conn, int timeoutMs)
{
    // Without the verbose text's SQLSTATE and the server's source line.
    static const QRegularExpression sourceLine(QStringLiteral("\\n[^\\n]*:\\s+[^\\n]*, [^\\n]+\\.c:\\d+$"));
    const QString cause = QString::fromUtf8(PQerrorMessage(conn))
                              .trimmed()
                              .replace(verboseState(), QStringLiteral("\\1"))
                              .remove(sourceLine);
    return cause.endsWith(QLatin1String("failed:")) || cause.isEmpty()
               ? cause + QStringLiteral(" нет ответа за %1 с").arg(timeoutMs / 1000)
               : cause;
}

} // namespace PostgresConnection
