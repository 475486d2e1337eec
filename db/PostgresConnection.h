#pragma once

#include "Database.h"

#include <QDeadlineTimer>
#include <QHash>
#include <libpq-fe.h>

// Making a connection to the server and describing its failures.
namespace PostgresConnection {

// Each round trip waits at most this long, connecting included: a server
// that stopped answering must not freeze the program. Lock waits end earlier
// on the server, so a busy database reports itself as such while the
// connection stays usable.
inline constexpr int RoundTripMs = 10000;

inline void setError(DatabaseFailure* target, const DatabaseFailure& value)
{
    if (target)
        *target = value;
}

// Whether an operation of a connection was done, its failure noted in
// target otherwise, for the steps that pass a failure on by pointer.
template <typename T> bool done(const Result<T>& result, DatabaseFailure* target)
{
    if (!result)
        setError(target, result.failure());
    return result.ok();
}

// An error with the server's SQLSTATE, as the programs show it.
DatabaseFailure failure(const char* sqlState, const QString& text);

// Waits until the socket can be written (or read), or the deadline passes.
bool waitFor(PGconn* conn, bool write, const QDeadlineTimer& deadline);

// Drives PQconnectPoll or PQresetPoll to the end within the deadline.
template <typename Poll> bool completeConnection(PGconn* conn, Poll poll, const QDeadlineTimer& deadline)
{
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK) {
        if (state == PGRES_POLLING_FAILED || !waitFor(conn, state == PGRES_POLLING_WRITING, deadline))
            return false;
        state = poll(conn);
    }
    return true;
}

// The connection string as libpq reads it.
struct ConnectionSettings
{
    QHash<QString, QString> values;

    // Host and port, for messages.
    QString server() const;
    // The database's name on the server, for messages.
    QString database() const;
    // Everything as one string, for libpq itself.
    QByteArray conninfo() const;
};

// The settings of the address with the program's own defaults and session
// settings; read-only sessions refuse every write.
std::optional<ConnectionSettings> settingsOf(const DatabaseAddress& address, bool readOnly,
                                             DatabaseFailure* error);

// A connection made within timeoutMs, the server's name looked up as part
// of it; a reconnection later uses the addresses found now. On failure cause
// says why, and the connection is still given for what libpq knows of it
// (nullptr when none was begun).
PGconn* connectWithin(const ConnectionSettings& settings, int timeoutMs, QString* cause);

// Why a connection could not be made within timeoutMs: libpq's words, or
// that the server did not answer in time.
QString whyNotConnected(PGconn* conn, int timeoutMs);

// The SQLSTATE with which the server refused the connection ("28P01": the
// password; "3D000": no such database), or "08001" when none answered.
QByteArray refusalState(PGconn* conn);

// Asks the server to cancel what the connection runs, on a connection of
// its own made on a thread of its own: a server that stopped answering
// cannot hold the program, and gets the request once it wakes.
void requestCancel(PGconn* conn);

} // namespace PostgresConnection
