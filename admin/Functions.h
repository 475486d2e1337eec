#pragma once

#include "Messages.h"
#include "QueryTable.h"
#include "Result.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class DataLocation;
class Database;
class QAction;

// The administrator's shared module: the one connection to nv.mdb and the
// query and command operations every screen uses. What an editor edits it
// receives from its list window (EditRequest).
namespace Functions {

// Kind of reference data whose list window is open (the menu codes).
enum ListKind : qint16 {
    KindInsulation = 1,
    KindCurtain = 2,
    KindProduct = 3,
    KindPacking = 4,
    KindEquipment = 5
};

// The start routine: opens the location's reference database; when it
// cannot, shows why (for a file the engine's error and "Не найден файл БД")
// and returns false, and the program ends.
bool Main(const DataLocation& location);

// Opens the location's reference database as the connection. Either way the
// location is kept for the pictures.
Result<void> OpenDatabase(const DataLocation& location);
// Where nv.mdb and the equipment pictures are: the last location opened.
const DataLocation& Location();
void CloseDatabase();
Database* Connection();

// Row count of the query; with 0 rows the table is left as it was. A read
// that failed is shown once and gives -1: what depends on it shows nothing,
// never an empty list that could be saved over.
int FetchRows(const QString& sql, QueryTable& rows);

// The one record an editor opens, into row: false, shown once, when the read
// failed or found none ("Нарушена целостность БД!" under title).
bool FetchRecord(const QString& sql, QueryTable& row, const QString& title);

// The failures of the writes below are shown as both programs show one
// (PresentFailure): heading (or, for a change whose outcome is unknown, that
// it is), then the plain line of what happened, with the statement and the
// engine's text under the details; for a failure of the program's own (a
// record gone) why.
Result<void> ExecSql(const QString& sql);
// The engine's text, or the reason of a failure of the program's own, told
// as unknown for a change whose outcome is unknown: for a line of a report.
QString FailureDescription(const DatabaseFailure& failure);

// Whether a write failed because the record it was meant for is gone
// (another administrator deleted it meanwhile).
bool RecordGone(const DatabaseFailure& failure);

// Runs an UPDATE or DELETE of records that should exist as one change (see
// ExecSqlAll), never done for a statement that stored nothing (RecordGone).
Result<void> ExecSqlChanging(const QString& sql);

// Runs the statements as one change: either all are stored or none, and
// none is stored when one of them changes no row, or with shortKeys when one
// inserts a row whose key the wizard cannot hold (as InsertRow), or, when
// rowsEach gives them, changes another number of rows than its own. The
// index of the statement that failed goes to failedStatement.
// A change whose answer was lost counts as made when the store holds it
// (and says so); one whose outcome stayed unknown fails, saying so, and the
// same statements tried again store nothing when the first try was stored.
Result<void> ExecSqlAll(const QStringList& statements, bool shortKeys = false,
                        const QList<int>& rowsEach = {}, qsizetype* failedStatement = nullptr);

// Runs an INSERT and gives the new row's key. A key the wizard cannot hold
// (above 32767) undoes the insert and counts as a failure.
Result<qint64> InsertRow(const QString& sql);

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

// The five list items of the main window's menu.
void RegisterListMenus(const QList<QAction*>& actions);
void DisableListMenus();
void EnableListMenus();

} // namespace Functions
