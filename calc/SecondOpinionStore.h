#pragma once

#include "SecondOpinionAssumptions.h"

#include <QString>
#include <QStringList>

class Database;
class QueryTable;

// The table second_opinion beside data: the assumptions of each saved
// calculation, keyed by its data row's key (data_pkey). Deleting the data row
// deletes its row (a trigger on files, a foreign key on a server). A store
// made before the table existed lacks it: its calculations take the defaults
// and keep no assumptions.
namespace SecondOpinionStore {

// Whether the orders database holds the table.
bool IsKept(Database& orders);

// What a read of data rows appends to its column list, and the join after
// "FROM data" that gives those columns: NULL where a calculation has no row.
QString JoinedColumns();
QString Join();
inline constexpr int JoinedColumnCount = 4;

// The assumptions in the joined columns from `first` on; the defaults for a
// calculation without a row.
SecondOpinionAssumptions Read(const QueryTable& table, int row, int first);

// The statements that make the row of calculation `key` hold the assumptions.
QStringList WriteStatements(qint64 key, const SecondOpinionAssumptions& assumptions);

} // namespace SecondOpinionStore
