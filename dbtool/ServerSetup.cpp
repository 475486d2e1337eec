#include "ServerSetup.h"

#include "Database.h"
#include "StoreAccess.h"
#include "StoreLayout.h"

namespace {

// Only a database made apart from its tables is given them by init, and only
// one with roles of its own has rights to grant: a server's.
ToolOutcome needsServer(const DatabaseAddress& address, bool needed)
{
    if (needed)
        return {};
    return {StatusUsage,
            QStringLiteral("\"%1\" is no postgresql:// URI or connection string").arg(address.database)};
}

// Engineers read the reference data and read and write the orders; the
// administrator writes both.
QList<TableRights> rightsOf(const QString& engineerRole, const QString& adminRole)
{
    return {{StoreLayout::of(StoreKind::Reference).tableNames(), {engineerRole}, {adminRole}},
            {StoreLayout::of(StoreKind::Orders).tableNames(), {}, {engineerRole, adminRole}}};
}

} // namespace

namespace ServerSetup {

ToolOutcome init(const QString& connection, const std::function<void(const QString&)>& report)
{
    const DatabaseAddress address = DatabaseAddress::parse(connection);
    ToolOutcome outcome = needsServer(address, address.isMadeApart());
    if (!outcome.ok())
        return outcome;
    bool initialised = false;
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
        initialised = !held->isEmpty();
    }
    const QList<StoreSchema> stores{StoreLayout::of(StoreKind::Reference).schema,
                                    StoreLayout::of(StoreKind::Orders).schema};
    if (!initialised) {
        if (const Result<void> made = Database::createStores(address, stores); !made)
            return StoreAccess::outcomeOf(StoreAccess::describe(address), made.failure());
        report(QStringLiteral("the reference and orders tables are created"));
        return {};
    }
    // A store made by an earlier version gets the tables added since.
    const Result<QStringList> added = Database::complete(address, stores);
    if (!added)
        return StoreAccess::outcomeOf(StoreAccess::describe(address), added.failure());
    if (added.value().isEmpty())
        return {StatusTargetNotEmpty,
                QStringLiteral("%1 is initialised already").arg(StoreAccess::describe(address))};
    report(QStringLiteral("added the tables an earlier version lacked: %1")
               .arg(added.value().join(QStringLiteral(", "))));
    return {};
}

QStringList grantStatements(const QString& engineerRole, const QString& adminRole)
{
    return Database::grantStatementsFor(rightsOf(engineerRole, adminRole));
}

ToolOutcome grant(const QString& connection, const QString& engineerRole, const QString& adminRole)
{
    const DatabaseAddress address = DatabaseAddress::parse(connection);
    ToolOutcome outcome = needsServer(address, address.hasRoles());
    std::unique_ptr<Database> db;
    if (!outcome.ok() || !(outcome = StoreAccess::open(address, db)).ok())
        return outcome;
    for (StoreKind kind : StoreLayout::kinds())
        for (const StoreTable& table : StoreLayout::of(kind).tables)
            if (StoreAccess::lacks(*db, table))
                return {StatusNotAStore,
                        QStringLiteral("%1 lacks the table %2 of this version; run frostpick-db "
                                       "init on it first")
                            .arg(StoreAccess::describe(address), table.name)};
    const Result<QStringList> statements = db->grantStatements(rightsOf(engineerRole, adminRole));
    // No statement to run is refused too, without an engine's text.
    Result<void> done = !statements                    ? Result<void>(statements.failure())
                        : statements.value().isEmpty() ? Result<void>(DatabaseFailure())
                                                       : db->begin();
    for (const QString& statement : statements.valueOr({}))
        if (done)
            done = db->execute(statement);
    if (done)
        done = db->commit();
    if (done)
        return {};
    db->rollback();
    return StoreAccess::outcomeOf(StoreAccess::describe(address), done.failure());
}

} // namespace ServerSetup
