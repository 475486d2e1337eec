#include "SecondOpinionStore.h"

#include "Database.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

namespace SecondOpinionStore {

bool IsKept(Database& orders)
{
    QueryTable none;
    return orders.query(KeptCheck(), none) >= 0;
}

// A read of no rows, which a database reads ahead with others (see
// StartReads), as it does not read the columns of a table.
QString KeptCheck()
{
    return QStringLiteral("SELECT data_pkey FROM second_opinion WHERE 1=0");
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
