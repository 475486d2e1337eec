#include "DatabaseAccess.h"

#include "CalculationRecord.h"
#include "DataLocation.h"
#include "Database.h"
#include "Messages.h"

int OpenDatabases(CalculationRecord& record, const DataLocation& location)
{
    int error = 0;
    auto ref = OpenProgramDatabase(location.reference(), referenceTables(), &error);
    if (!ref)
        return error;
    auto orders = OpenProgramDatabase(location.orders(), orderTables(), &error);
    if (!orders)
        return error;
    // The lookups read the same few reference rows again and again; kept rows
    // are given again only while no program has changed the data, which is
    // asked once per user action.
    ref->setResultReuse(Database::ResultReuse::CheckedEachAction);
    record.ref_db = std::move(ref);
    record.order_db = std::move(orders);
    record.location = location;
    return 0;
}

namespace {

int readRows(const CalculationRecord& record, Database* db, const DatabaseAddress& address,
             const QString& sql, QueryTable& table)
{
    if (!db)
        return 0;
    DbError error;
    const int rows = db->query(sql, table, &error);
    if (rows >= 0)
        return rows;
    record.failedReads->note({address, sql, error});
    return 0;
}

} // namespace

int ReadReference(const CalculationRecord& record, const QString& sql, QueryTable& table)
{
    return readRows(record, record.ref_db.get(), record.location.reference(), sql, table);
}

int ReadOrders(const CalculationRecord& record, const QString& sql, QueryTable& table)
{
    return readRows(record, record.order_db.get(), record.location.orders(), sql, table);
}

bool ExecuteCommand(Database& db, const QString& sql)
{
    if (db.execute(sql))
        return true;
    Messages::show(QStringLiteral("Ошибка выполнения команды") + QStringLiteral("\r\n") + sql,
                   MsgIcon::Exclamation, QStringLiteral("Внимание"));
    return false;
}
