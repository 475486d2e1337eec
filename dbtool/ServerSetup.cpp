#include "ServerSetup.h"

#include "Database.h"
#include "StoreAccess.h"
#include "StoreLayout.h"

namespace {

ToolOutcome needsServer(const DatabaseAddress& address)
{
    if (address.engine == DatabaseEngine::PostgreSQL)
        return {};
    return {StatusUsage,
            QStringLiteral("\"%1\" is no postgresql:// URI or connection string").arg(address.database)};
}

// A role name as the server spells it, whatever characters it holds.
QString quotedName(QString name)
{
    name.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString tablesOf(const StoreLayout& store)
{
    return store.tableNames().join(QStringLiteral(", "));
}

// The server names the sequence of a table's identity key after both.
QString sequencesOf(const StoreLayout& store)
{
    QStringList names;
    for (const StoreTable& table : store.tables)
        names << QStringLiteral("%1_%2_seq").arg(table.name, table.key()).toLower();
    return names.join(QStringLiteral(", "));
}

} // namespace

namespace ServerSetup {

ToolOutcome init(const QString& connection)
{
    const DatabaseAddress address = storeAddress(connection);
    ToolOutcome outcome = needsServer(address);
    if (!outcome.ok())
        return outcome;
    {
        std::unique_ptr<Database> db;
        outcome = StoreAccess::open(address, db);
        if (outcome.status == StatusRefused)
            return outcome;
        const std::optional<QList<StoreKind>> held =
            db ? StoreAccess::storesHeld(*db) : std::optional<QList<StoreKind>>(QList<StoreKind>());
        if (!held)
            return {StatusRefused,
                    QStringLiteral("%1 stopped answering").arg(StoreAccess::describe(address))};
        if (!held->isEmpty())
            return {StatusTargetNotEmpty,
                    QStringLiteral("%1 is initialised already").arg(StoreAccess::describe(address))};
    }
    DbError error;
    const QStringList scripts{StoreLayout::of(StoreKind::Reference).serverSchema,
                              StoreLayout::of(StoreKind::Orders).serverSchema};
    if (!Database::create(address, scripts, &error))
        return {StatusRefused,
                QStringLiteral("%1: %2").arg(StoreAccess::describe(address), error.description.trimmed())};
    return {};
}

QStringList grantStatements(const QString& engineerRole, const QString& adminRole)
{
    const StoreLayout& reference = StoreLayout::of(StoreKind::Reference);
    const StoreLayout& orders = StoreLayout::of(StoreKind::Orders);
    const QString engineer = quotedName(engineerRole);
    const QString both = engineer + QStringLiteral(", ") + quotedName(adminRole);
    const QString write = QStringLiteral("SELECT, INSERT, UPDATE, DELETE");
    return {
        QStringLiteral("GRANT SELECT ON %1 TO %2").arg(tablesOf(reference), engineer),
        QStringLiteral("GRANT %1 ON %2 TO %3").arg(write, tablesOf(reference), quotedName(adminRole)),
        QStringLiteral("GRANT USAGE, SELECT ON SEQUENCE %1 TO %2")
            .arg(sequencesOf(reference), quotedName(adminRole)),
        QStringLiteral("GRANT %1 ON %2 TO %3").arg(write, tablesOf(orders), both),
        QStringLiteral("GRANT USAGE, SELECT ON SEQUENCE %1 TO %2").arg(sequencesOf(orders), both),
        // Every writer locks the change counter's row and every change bumps
        // it; readers look at it to learn whether their kept rows are stale.
        QStringLiteral("GRANT SELECT, UPDATE ON frostpick_change TO %1").arg(both),
    };
}

ToolOutcome apply(const QString& connection, const QStringList& statements)
{
    const DatabaseAddress address = storeAddress(connection);
    ToolOutcome outcome = needsServer(address);
    std::unique_ptr<Database> db;
    if (!outcome.ok() || !(outcome = StoreAccess::open(address, db)).ok())
        return outcome;
    DbError error;
    bool ok = db->begin(&error);
    for (const QString& statement : statements)
        ok = ok && db->execute(statement, &error);
    if (ok && db->commit(&error))
        return {};
    db->rollback();
    return {StatusRefused,
            QStringLiteral("%1: %2").arg(StoreAccess::describe(address), error.description.trimmed())};
}

} // namespace ServerSetup
