#include "PostgresDatabase.h"
#include "SqlLiteral.h"
#include "StoreTables.h"

#include <libpq-fe.h>

namespace {

QString roleList(const QStringList& roles)
{
    QStringList quoted;
    for (const QString& role : roles)
        quoted << SqlLiteral::name(role);
    return quoted.join(QStringLiteral(", "));
}

// counters holds, for each entry of rights, the key counters of its tables.
QStringList statementsOf(const QList<TableRights>& rights, const QList<QStringList>& counters)
{
    QStringList statements;
    QStringList everyone;
    QStringList writers;
    for (qsizetype i = 0; i < rights.size(); ++i) {
        const TableRights& granted = rights.at(i);
        const QString tables = granted.tables.join(QStringLiteral(", "));
        if (!granted.readers.isEmpty())
            statements << QStringLiteral("GRANT SELECT ON %1 TO %2").arg(tables, roleList(granted.readers));
        if (!granted.writers.isEmpty()) {
            statements << QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %1 TO %2")
                              .arg(tables, roleList(granted.writers));
            // A writer learns the key of the row it added from the counter.
            if (!counters.at(i).isEmpty())
                statements << QStringLiteral("GRANT USAGE, SELECT ON SEQUENCE %1 TO %2")
                                  .arg(counters.at(i).join(QStringLiteral(", ")), roleList(granted.writers));
        }
        for (const QString& role : granted.readers + granted.writers) {
            if (!everyone.contains(role))
                everyone << role;
        }
        for (const QString& role : granted.writers) {
            if (!writers.contains(role))
                writers << role;
        }
    }
    // Every writer locks the change counter's row and every change bumps it;
    // readers look at it to learn whether their kept rows are stale.
    if (!everyone.isEmpty())
        statements
            << QStringLiteral("GRANT SELECT, UPDATE ON frostpick_change TO %1").arg(roleList(everyone));
    // A writer stores the token of each write, asks for it and prunes old ones.
    if (!writers.isEmpty())
        statements
            << QStringLiteral("GRANT SELECT, INSERT, DELETE ON frostpick_write TO %1").arg(roleList(writers));
    return statements;
}

// Whether the server gives the table's new rows their keys: a table keyed by
// another table's key (second_opinion by data's) has no counter.
bool keyedByCounter(const QString& table)
{
    for (const QList<StoreTable>* store : {&StoreTables::reference(), &StoreTables::orders()})
        for (const StoreTable& t : *store)
            if (t.name.compare(table, Qt::CaseInsensitive) == 0)
                return t.key().compare(QLatin1String("pkey"), Qt::CaseInsensitive) == 0;
    return true;
}

} // namespace

// The server names the counter of an identity column after its table and
// column, and every table a store's script creates with a counter has its
// key in pkey.
QStringList PostgresDatabase::grantStatementsForCreated(const QList<TableRights>& rights)
{
    QList<QStringList> counters;
    for (const TableRights& granted : rights) {
        QStringList names;
        for (const QString& table : granted.tables)
            if (keyedByCounter(table))
                names << table.toLower() + QStringLiteral("_pkey_seq");
        counters << names;
    }
    return statementsOf(rights, counters);
}

// The counters as the server names them: a name the server found taken when
// the table was made, or a table renamed since, gives another.
::Result<QStringList> PostgresDatabase::grantStatements(const QList<TableRights>& rights)
{
    DatabaseFailure failure;
    QList<QStringList> counters;
    for (const TableRights& granted : rights) {
        QStringList names;
        for (const QString& table : granted.tables) {
            if (!keyedByCounter(table))
                continue;
            const Result counter = run("SELECT pg_get_serial_sequence($1, 'pkey')", {table}, &failure);
            if (!counter)
                return failure;
            if (PQntuples(counter.get()) == 1 && !PQgetisnull(counter.get(), 0, 0))
                names << QString::fromUtf8(PQgetvalue(counter.get(), 0, 0));
        }
        counters << names;
    }
    return statementsOf(rights, counters);
}
