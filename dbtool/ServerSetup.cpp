#include "ServerSetup.h"

#include "Database.h"
#include "StoreAccess.h"
#include "StoreLayout.h"

#include <functional>

namespace {

ToolOutcome needsServer(const DatabaseAddress& address)
{
    if (address.engine == DatabaseEngine::PostgreSQL)
        return {};
    return {StatusUsage,
            QStringLiteral("\"%1\" is no postgresql:// URI or connection string").arg(address.database)};
}

// Engineers read the reference data and read and write the orders; the
// administrator writes both. Rights go to the tables `held` accepts: a store
// made before a table was added lacks it.
QList<TableRights> rightsOf(const QString& engineerRole, const QString& adminRole,
                            const std::function<bool(const StoreTable&)>& held = {})
{
    const auto heldIn = [&](StoreKind kind) {
        QStringList names;
        for (const StoreTable& table : StoreLayout::of(kind).tables)
            if (!held || held(table))
                names << table.name;
        return names;
    };
    return {{heldIn(StoreKind::Reference), {engineerRole}, {adminRole}},
            {heldIn(StoreKind::Orders), {}, {engineerRole, adminRole}}};
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
    return Database::grantStatementsFor(DatabaseEngine::PostgreSQL, rightsOf(engineerRole, adminRole));
}

ToolOutcome grant(const QString& connection, const QString& engineerRole, const QString& adminRole)
{
    const DatabaseAddress address = storeAddress(connection);
    ToolOutcome outcome = needsServer(address);
    std::unique_ptr<Database> db;
    if (!outcome.ok() || !(outcome = StoreAccess::open(address, db)).ok())
        return outcome;
    DbError error;
    const QStringList statements = db->grantStatements(
        rightsOf(engineerRole, adminRole,
                 [&](const StoreTable& table) { return !StoreAccess::lacks(*db, table); }),
        &error);
    bool ok = !statements.isEmpty() && db->begin(&error);
    for (const QString& statement : statements)
        ok = ok && db->execute(statement, &error);
    if (ok && db->commit(&error))
        return {};
    db->rollback();
    return {StatusRefused,
            QStringLiteral("%1: %2").arg(StoreAccess::describe(address), error.description.trimmed())};
}

} // namespace ServerSetup
