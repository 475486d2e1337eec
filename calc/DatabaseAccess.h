#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class Database;
class QueryTable;
struct CalculationRecord;
struct DbError;

// The wizard's access to its two database files and the operations every
// other part of it uses to read rows and run statements.

inline constexpr char ReferenceFileName[] = "nv.mdb";
inline constexpr char OrdersFileName[] = "order.mdb";

QStringList referenceTables();
QStringList orderTables();

// The folder the programs look in for their files: that of the executable
// when it holds them and may be written, else the user's data folder (see
// DataFolder).
QString ProgramFolder();

// Shows a failed open the way the engine reports it: the error number in
// hexadecimal, a carriage return and the description.
void ShowOpenError(const DbError& error);

// Opens one database file of the program folder; on failure shows the
// engine's error and returns null with the error number in errorNumber.
std::shared_ptr<Database> OpenProgramDatabase(const QString& folder, const QString& fileName,
                                              const QStringList& tables, int* errorNumber);

// Opens nv.mdb and then order.mdb from the folder into the record. Returns 0
// or the error number of the first failure, which it has already shown.
int OpenDatabases(CalculationRecord& record, const QString& folder);

// Rows of a query into the table; with 0 rows the table is left as it was.
// A statement the database refuses is reported and counts as 0 rows.
int OpenQuery(Database& db, const QString& sql, QueryTable& table);

// Runs an INSERT, UPDATE or DELETE. On failure shows "Ошибка выполнения
// команды" with the statement and returns false.
bool ExecuteCommand(Database& db, const QString& sql);

// The title both programs give themselves at start.
inline constexpr char ApplicationTitle[] = "Подбор холодильного оборудования";

// "Не найден файл БД" / "Измените настройки и запустите программу вновь",
// shown before a program ends because it cannot open its files.
void ShowDatabaseNotFound();
