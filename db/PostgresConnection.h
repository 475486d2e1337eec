#pragma once

#include "Database.h"

#include <QDeadlineTimer>
#include <QHash>
#include <libpq-fe.h>

class QSqlDatabase;

// Making a connection to the server and describing its failures.
namespace PostgresConnection {

inline void setError(DbError* target, const DbError& value)
{
    if (target)
        *target = value;
}

// An error with the server's SQLSTATE, as the programs show it.
DbError failure(const char* sqlState, const QString& text);

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

// The connection string as libpq reads it, split the way Qt's driver takes
// it: the main parts through its setters, the rest as options.
struct ConnectionSettings
{
    QHash<QString, QString> values;

    // Host and port, for messages.
    QString server() const;
    // The database's name on the server, for messages.
    QString database() const;
    // Everything as one string, for libpq itself.
    QByteArray conninfo() const;
    void applyTo(QSqlDatabase& db) const;
};

// The settings of the address with the program's own defaults and session
// settings; read-only sessions refuse every write.
std::optional<ConnectionSettings> settingsOf(const DatabaseAddress& address, bool readOnly, DbError* error);

// Whether the server asked for a password nobody gave. Qt's driver drops a
// failed connection, so a second attempt asks libpq, within what is left of
// the connection's time.
bool passwordWanted(const ConnectionSettings& settings, const QDeadlineTimer& deadline);

} // namespace PostgresConnection
