#pragma once

#include "Result.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class Database;

// The databases of the programs: the tables each must hold and opening one.

QStringList referenceTables();
QStringList orderTables();

// Asks the user for the password a server wants; nullopt when he cancels.
using PasswordPrompt = std::function<std::optional<QString>(const QString& prompt)>;

// Opens one of the programs' databases, asking askPassword (when there is
// one) for a password the server wants, again, up to three tries, when it
// refuses the one typed, saying so. A server's failure is headed with what
// failed. With beside, the database opened just before, it is opened beside
// that one (see Database::openBeside).
Result<std::shared_ptr<Database>> OpenProgramDatabase(const DatabaseAddress& address,
                                                      const QStringList& tables,
                                                      const PasswordPrompt& askPassword = {},
                                                      Database* beside = nullptr);

// The titles the programs give themselves at start: that of boxes without
// one of their own.
inline constexpr char ApplicationTitle[] = "Подбор холодильного оборудования";
inline constexpr char AdministratorTitle[] = "Ведение справочников для расчета оборудования";
