#pragma once

#include "DatabaseFailure.h"
#include "StoreLayout.h"
#include "ToolOutcome.h"

#include <QList>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

class Database;
class WriteAttempt;

// Opening the databases the tool works on and finding out what they hold.
namespace StoreAccess {

// Opens the database at address whatever store it holds, for reading only
// when asked; on failure the outcome says why: StatusRefused (the password
// the server wanted included), or StatusNotAStore for a server that was
// never initialised.
enum class Access { ReadWrite, ReadOnly };
ToolOutcome open(const DatabaseAddress& address, std::unique_ptr<Database>& db,
                 Access access = Access::ReadWrite);

// The stores whose tables are all in db; empty when db stopped answering, so
// that a failed read is never taken for a missing store.
std::optional<QList<StoreKind>> storesHeld(Database& db);

// Opens the database at address and learns the stores it holds: refused
// when it stopped answering, StatusNotAStore when it holds neither store.
ToolOutcome openHolding(const DatabaseAddress& address, std::unique_ptr<Database>& db,
                        QList<StoreKind>& stores);

// Whether db is a store made before `table` was added to it.
bool lacks(Database& db, const StoreTable& table);
// The count of such a table in rowCounts.
inline constexpr qint64 Lacking = -1;

// The rows of each table of the store, in its order (Lacking for a table
// added later that db lacks); empty when one cannot be counted.
std::optional<QVector<qint64>> rowCounts(Database& db, const StoreLayout& store);

// Whether counts are those of a store just made from its schema.
bool isFresh(const StoreLayout& store, const QVector<qint64>& counts);

// Commits the write of attempt, what it writes named by what ("the copy").
// A commit whose answer was lost is done when the store holds it (report
// then says so) and StatusUnknown when the store could not be asked.
ToolOutcome commitWrite(WriteAttempt& attempt, const QString& what,
                        const std::function<void(const QString& line)>& report);

// The address for messages: a server's password, if any, masked as in every
// message of the programs.
QString describe(const DatabaseAddress& address);

// A failed step of a store as the tool ends on it: the status both tools
// give the failure, and what failed with the engine's text on one line.
ToolOutcome outcomeOf(const QString& what, const DatabaseFailure& failure);

} // namespace StoreAccess
