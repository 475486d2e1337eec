#include "SecondOpinionStore.h"

#include "Database.h"
#include "QueryTable.h"
#include "Result.h"
#include "SqlLiteral.h"

namespace SecondOpinionStore {

bool IsKept(Database& orders)
{
    const Result<bool> held = orders.holdsTable(QStringLiteral("second_opinion"));
    return held && held.value();
}

QString JoinedColumns()
{
    return QStringLiteral(", door_height, chamber_humidity, fans, defrost");
}

QString Join()
{
    return QStringLiteral(" LEFT JOIN second_opinion ON data_pkey=pkey");
}

SecondOpinionAssumptions Read(const QueryTable& table, int row, int first)
{
    SecondOpinionAssumptions a;
    if (table.value(row, first).isNull())
        return a;
    a.doorHeight = table.number(row, first);
    a.chamberHumidity = table.number(row, first + 1);
    a.fans = table.number(row, first + 2);
    a.defrost = table.number(row, first + 3);
    return a;
}

QStringList WriteStatements(qint64 key, const SecondOpinionAssumptions& a)
{
    const QString k = SqlLiteral::integer(key);
    return {
        QStringLiteral("DELETE FROM second_opinion WHERE data_pkey=") + k,
        QStringLiteral("INSERT INTO second_opinion (data_pkey, door_height, chamber_humidity, fans, defrost) "
                       "VALUES(%1,%2,%3,%4,%5)")
            .arg(k, SqlLiteral::number(a.doorHeight), SqlLiteral::number(a.chamberHumidity),
                 SqlLiteral::number(a.fans), SqlLiteral::number(a.defrost))};
}

} // namespace SecondOpinionStore
