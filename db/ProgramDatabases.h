#pragma once

#include "Database.h"
#include "Result.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// The databases of the programs: the tables each must hold and opening one.

QStringList referenceTables();
QStringList orderTables();

// Asks the user for the password a server wants; nullopt when he cancels.
using PasswordPrompt = std::function<std::optional<QString>(const QString& prompt)>;

// How a database is opened beside its address.
struct OpeningWith
{
    // The database opened just before: one of its connection serves this
    // one too where it can (see Database::serves), otherwise it is opened
    // beside that one (see Database::openBeside).
    std::shared_ptr<Database> beside;
    // For one opened without beside: the reuse of its results, and the
    // statements read ahead in its first request (see
    // Database::openReadingAhead).
    Database::ResultReuse reuse = Database::ResultReuse::None;
    QStringList reads;
};

// Opens one of the programs' databases, asking askPassword (when there is
// one) for a password the server wants, again, up to three tries, when it
// refuses the one typed, saying so. A server's failure is headed with what
// failed.
Result<std::shared_ptr<Database>> OpenProgramDatabase(const DatabaseAddress& address,
                                                      const QStringList& tables,
                                                      const PasswordPrompt& askPassword = {},
                                                      const OpeningWith& with = {});

// The titles the programs give themselves at start: that of boxes without
// one of their own.
inline constexpr char ApplicationTitle[] = "Подбор холодильного оборудования";
inline constexpr char AdministratorTitle[] = "Ведение справочников для расчета оборудования";
