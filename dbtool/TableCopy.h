#pragma once

#include "ToolOutcome.h"

#include <functional>

class Database;
class QueryTable;
struct StoreTable;

// Reports rows copied so far of a table's total.
using CopyProgressFn = std::function<void(const QString& table, qint64 done, qint64 total)>;

// Copies every row of one table, keys included, into the same table of the
// target inside the target's open transaction, and reads each row back to
// check that it holds exactly the source's values.
ToolOutcome copyTable(Database& source, Database& target, const StoreTable& table, qint64 total,
                      const CopyProgressFn& progress);

// Inserts rows holding every column of the table, in its order, inside the
// target's open transaction. With nameRefusedRow, a refusal names the row
// the store refused by its key: each batch of rows goes in under a savepoint
// (a statement more per batch), so that the refused batch can be tried again
// row by row in the same transaction.
ToolOutcome insertRows(Database& target, const StoreTable& table, const QueryTable& rows,
                       bool nameRefusedRow = false);
