#pragma once

#include "Messages.h"
#include "QueryTable.h"
#include "Result.h"

#include <QString>
#include <optional>

class AdminSession;
class DataLocation;

// The administrator's shared module: the start, how reads and writes of the
// session (AdminSession) are told, and the reading of typed numbers. What an
// editor edits it receives from its list window (EditRequest).
namespace Functions {

// Kind of reference data whose list window is open (the menu codes).
enum ListKind : qint16 {
    KindInsulation = 1,
    KindCurtain = 2,
    KindProduct = 3,
    KindPacking = 4,
    KindEquipment = 5
};

// The start routine: opens the location's reference database as the
// session's connection; when it cannot, shows why (for a file the engine's
// error and "Не найден файл БД") and returns false, and the program ends.
bool Main(AdminSession& session, const DataLocation& location);

// Shows a read that failed, once: what depends on it shows nothing, never an
// empty list that could be saved over.
void ShowReadFailure(const DatabaseFailure& failure);

// Whether the read of the one record an editor opens found it: false, shown
// once, when the read failed or found none ("Нарушена целостность БД!"
// under title).
bool RecordRead(const Result<int>& read, const QString& title);

// The failures of the writes are shown as both programs show one
// (PresentFailure): heading (or, for a change whose outcome is unknown, that
// it is), then the plain line of what happened, with the statement and the
// engine's text under the details; for a failure of the program's own (a
// record gone) why.
//
// The engine's text, or the reason of a failure of the program's own, told
// as unknown for a change whose outcome is unknown: for a line of a report.
QString FailureDescription(const DatabaseFailure& failure);

// Whether a write failed because the record it was meant for is gone
// (another administrator deleted it meanwhile), and that failure.
bool RecordGone(const DatabaseFailure& failure);
DatabaseFailure RecordGoneFailure();

// A list entry's key as the record key; a key beyond 16 bits is reported
// and refused instead of being cut down to another record's key.
std::optional<qint16> PickKey(qint64 key);

// Commas become points, leading and trailing blanks go.
QString FixNumber(const QString& text);

// The typed text as a number when, after FixNumber, it is a complete number;
// text with anything after its number ("12abc"), without one, or with a
// character beyond ASCII is refused, so only well-formed numbers ever reach
// a statement.
std::optional<double> TypedNumber(const QString& text);

} // namespace Functions
