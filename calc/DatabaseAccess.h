#pragma once

#include "ProgramDatabases.h"

#include <QString>

class Database;
class QueryTable;
struct CalculationRecord;

// The wizard's access to its two database files and the operations every
// other part of it uses to read rows and run statements.

// Opens nv.mdb and then order.mdb from the folder into the record. Returns 0
// or the error number of the first failure, which it has already shown.
int OpenDatabases(CalculationRecord& record, const QString& folder);

// Rows of a query into the table; with 0 rows the table is left as it was.
// A statement the database refuses is reported and counts as 0 rows.
int OpenQuery(Database& db, const QString& sql, QueryTable& table);

// Runs an INSERT, UPDATE or DELETE. On failure shows "Ошибка выполнения
// команды" with the statement and returns false.
bool ExecuteCommand(Database& db, const QString& sql);
