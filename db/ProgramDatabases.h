#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class Database;
struct DbError;

// The database files both programs share: their names, the tables each must
// hold, opening one with the engine's error shown, and the messages of a
// program that cannot start.

inline constexpr char ReferenceFileName[] = "nv.mdb";
inline constexpr char OrdersFileName[] = "order.mdb";

QStringList referenceTables();
QStringList orderTables();

// The folder the programs look in for their files: that of the executable.
QString ProgramFolder();

// Shows a failed open the way the engine reports it: the error number in
// hexadecimal, a carriage return and the description.
void ShowOpenError(const DbError& error);

// Opens one database file of the program folder; on failure shows the
// engine's error and returns null with the error number in errorNumber.
std::shared_ptr<Database> OpenProgramDatabase(const QString& folder, const QString& fileName,
                                              const QStringList& tables, int* errorNumber);

// The title both programs give themselves at start.
inline constexpr char ApplicationTitle[] = "Подбор холодильного оборудования";

// "Не найден файл БД" / "Измените настройки и запустите программу вновь",
// shown before a program ends because it cannot open its files.
void ShowDatabaseNotFound();
