#pragma once

#include "Result.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class Database;
class QueryTable;
struct CalculationContext;
struct CalculationRecord;
class WriteAttempt;

// The orders database order.mdb of the context: customers (contact) and saved
// calculations (data). Every text goes into SQL escaped.

// Writes the record into data: a new row while NewCalculation is true, else
// an update of row pkey_data. odate is today.
Result<void> SaveOrder(CalculationContext& context, CalculationRecord& record, const QDate& today);

// Reads data row `key` into the record (dimensions rounded to 0.01 m,
// xk_bulk as stored) and refreshes the materials and the curtain. Returns
// false, changing nothing, when there is no such row.
bool LoadOrder(CalculationContext& context, CalculationRecord& record, qint32 key);
// The same; a stored value that does not fit its 16-bit field also refuses
// the row (record unchanged) and rangeError then names the column.
bool LoadOrder(CalculationContext& context, CalculationRecord& record, qint32 key, QString* rangeError);

// Inserts a customer and puts the new row's key into record.contact. On
// failure the record keeps its earlier customer key.
Result<void> InsertContact(CalculationContext& context, CalculationRecord& record,
                           const QString& organization, const QString& city, const QString& phones,
                           const QString& email, const QString& name);

// Customer list: pkey, organization, city, phones, email, name, sorted by
// organisation. Returns the row count; a failed read counts 0 rows and is
// left in context.failedReads, as with FindOrders.
int ReadCustomers(CalculationContext& context, QueryTable& table);
// The orders store's reads of the start, read ahead where that saves round
// trips: the customer list.
QStringList StartReads();
// Its columns.
namespace CustomerColumn {
enum : int { Key, Organization, City, Phones, Email, Name };
}

// Saved calculations of one customer: pkey, the saved columns from xk_bulk
// to contact in table order, odate, onote. Returns the row count.
int FindOrders(CalculationContext& context, qint16 contactKey, QueryTable& table);
// The reads of a search: the customer list and, for a customer chosen
// already, his calculations.
QStringList SearchReads(std::optional<qint16> contactKey);
// The columns the customer screen reads.
namespace FoundOrderColumn {
enum : int { Key = 0, Contact = 32, Date = 33, Note = 34 };
}

// The whole save of the results screen as one transaction: the customer
// insert (NewContact) or update, then SaveOrder. All of it is stored or none
// of it; on failure the record's customer key is kept.
// With NewContact set, a customer that already is row `contact` under the
// same organisation (a reopened calculation) is updated, not inserted again;
// one that another computer saved under the organisation meanwhile is taken
// as it is. Both are looked for inside the transaction.
Result<void> SaveCalculation(CalculationContext& context, CalculationRecord& record, const QDate& today);
// The same as an attempt the caller keeps: a save whose outcome stayed
// unknown (the answer to its COMMIT lost, the server still away) is tried
// again with it and then stores nothing when the first try was stored. One
// stored although the answer to its COMMIT was lost succeeds, and the
// attempt's outcome says so.
Result<void> SaveCalculation(CalculationContext& context, CalculationRecord& record, const QDate& today,
                             WriteAttempt& attempt);

// "Расчет": the lookups of the record's reference keys (materials, curtain,
// product, packing, refrigerant), GetSeries, CalculateLoad and SelectUnit, in
// one snapshot of the reference data. Returns false when a result is out of
// range (rangeError names the field) or a read failed: the record is then
// left as it was and context.failedReads holds the failure.
bool ComputeCalculation(CalculationContext& context, CalculationRecord& record, QString* rangeError);

// Reopens a saved calculation as the customer screen does: LoadOrder, the
// lookups, GetSeries, CalculateLoad and SelectUnit; pkey_data = key and
// NewCalculation false. A key with no row keeps the inputs and still
// recomputes (found is then false). Returns false when a result is out of range
// (rangeError names the field). When a read failed it returns false and
// changes nothing: context.failedReads holds the failure, rangeError its plain
// line and found is true, as whether the row exists is not known.
bool ReopenCalculation(CalculationContext& context, CalculationRecord& record, qint32 key,
                       bool* found = nullptr, QString* rangeError = nullptr);

// A batch over every saved calculation reads them a page at a time: the rows
// with keys after afterKey in key order, at most limit of them, the key first
// and then the columns LoadOrder reads (with the second opinion's where the
// store keeps them). Gives the row count (0 past the last, the table then
// left as it was).
Result<int> ReadOrderPage(Database& db, bool withSecondOpinion, qint64 afterKey, int limit,
                          QueryTable& table);
namespace OrderPageColumn {
enum : int { Key = 0 };
}
// ReopenCalculation of row `row` of such a page, without reading it again;
// a failed read leaves the record as it was, the same way.
bool ReopenCalculation(CalculationContext& context, CalculationRecord& record, const QueryTable& page,
                       int row, QString* rangeError);
