#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class Database;
struct DbError;

struct DatabaseAddress;

// The databases of the programs: the tables each must hold, opening one with
// the engine's error shown, and the messages of a program that cannot start.

QStringList referenceTables();
QStringList orderTables();

// Shows a failed open the way the engine reports it: the error number in
// hexadecimal, a carriage return and the description.
void ShowOpenError(const DbError& error);

// Opens one of the programs' databases, asking for a password the server
// wants (again, up to three tries, when it refuses the one typed, saying
// so); on failure shows the engine's error for a file, the failure as every
// database failure is shown for a server, and returns null with the error
// number in errorNumber. With beside, the database opened just before, it is
// opened beside that one (see Database::openBeside).
std::shared_ptr<Database> OpenProgramDatabase(const DatabaseAddress& address, const QStringList& tables,
                                              int* errorNumber, Database* beside = nullptr);

// The titles the programs give themselves at start: that of boxes without
// one of their own.
inline constexpr char ApplicationTitle[] = "Подбор холодильного оборудования";
inline constexpr char AdministratorTitle[] = "Ведение справочников для расчета оборудования";

// "Не найден файл БД" / "Измените настройки и запустите программу вновь",
// shown before a program ends because it cannot open its file failed. A
// server's failure was shown in full when it was opened: nothing then.
void ShowDatabaseNotFound(const DatabaseAddress& failed);
