#include "DatabaseAccess.h"

#include "CalculationContext.h"
#include "DataLocation.h"
#include "Database.h"
#include "Orders.h"
#include "SecondOpinionStore.h"

Result<void> OpenDatabases(CalculationContext& context, const DataLocation& location,
                           const PasswordPrompt& askPassword)
{
    // The lookups read the same few reference rows again and again; kept rows
    // are given again only while no program has changed the data, which is
    // asked once per user action.
    OpeningWith reference;
    reference.reuse = Database::ResultReuse::CheckedEachAction;
    // Both stores are often one database of a server, which one connection
    // then serves: the first screen's reads go with its first request.
    if (location.orders().sameDatabase(location.reference()))
        reference.reads = StartReads();
    auto opened = OpenProgramDatabase(location.reference(), referenceTables(), askPassword, reference);
    if (!opened)
        return opened.failure();
    std::shared_ptr<Database> ref = std::move(opened.value());
    OpeningWith orderStore;
    orderStore.beside = ref;
    opened = OpenProgramDatabase(location.orders(), orderTables(), askPassword, orderStore);
    if (!opened)
        return opened.failure();
    std::shared_ptr<Database> orders = std::move(opened.value());
    context.ref_db = std::move(ref);
    context.ordersKeepSecondOpinion = SecondOpinionStore::IsKept(*orders);
    context.order_db = std::move(orders);
    context.location = location;
    return {};
}

namespace {

// The store's address is made only for a failure: a batch reads hundreds of
// thousands of rows.
int readRows(CalculationContext& context, Database* db, DatabaseAddress (DataLocation::*store)() const,
             const QString& sql, QueryTable& table)
{
    if (!db)
        return 0;
    const Result<int> rows = db->query(sql, table);
    if (rows)
        return rows.value();
    context.failedReads.note(rows.failure().at((context.location.*store)(), sql));
    return 0;
}

// The statements are made only for an engine that reads ahead.
void readAhead(Database* db, const std::function<QStringList()>& statements)
{
    if (db && db->readsAhead())
        db->prefetch(statements());
}

} // namespace

int ReadReference(CalculationContext& context, const QString& sql, QueryTable& table)
{
    return readRows(context, context.ref_db.get(), &DataLocation::reference, sql, table);
}

int ReadReference(CalculationContext& context, const KeptLookups::Key& key,
                  const std::function<QString()>& sql, QueryTable& table)
{
    if (!context.keptLookups)
        return ReadReference(context, sql(), table);
    const int kept = context.keptLookups->give(key, table);
    if (kept >= 0)
        return kept;
    const int rows = ReadReference(context, sql(), table);
    if (!context.failedReads.any())
        context.keptLookups->keep(key, rows, table);
    return rows;
}

void ReadAhead(CalculationContext& context, const std::function<QStringList()>& statements)
{
    readAhead(context.ref_db.get(), statements);
}

int ReadOrders(CalculationContext& context, const QString& sql, QueryTable& table)
{
    return readRows(context, context.order_db.get(), &DataLocation::orders, sql, table);
}

void ReadOrdersAhead(CalculationContext& context, const std::function<QStringList()>& statements)
{
    readAhead(context.order_db.get(), statements);
}
