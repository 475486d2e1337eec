#pragma once

#include "Messages.h"

#include <QString>
#include <optional>

class Database;
struct DatabaseFailure;

// How both programs tell a failure of a store: one box for every read, write
// and open, shaped the same in the wizard and the administrator.

// The heading (the failure's own when none is given; for a write whose
// outcome is unknown, that it is), under it the plain line of what happened
// and what to do, and the statement with the engine's text as the details.
void PresentFailure(const DatabaseFailure& failure, const QString& heading = {},
                    MsgIcon icon = MsgIcon::Exclamation, const QString& title = QStringLiteral("Внимание"));

// A program that cannot open its store at start: a server's failure as
// above; a file's as the engine gives it (its number in hexadecimal and its
// text), then "Не найден файл БД" / "Измените настройки и запустите
// программу вновь". The program ends after it.
void PresentStartFailure(const DatabaseFailure& failure);

// Why a store just opened will take no change, when it will not.
void PresentWritesRefused(const Database& db);

// Asks the user for the password a server wants.
std::optional<QString> AskPassword(const QString& prompt);
