#include "Orders.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "HeatLoad.h"
#include "Lookups.h"
#include "NumberText.h"
#include "OrderColumns.h"
#include "QueryTable.h"
#include "SecondOpinionStore.h"
#include "Selection.h"
#include "SqlLiteral.h"
#include "WriteAttempt.h"

#include <functional>
#include <iterator>
#include <utility>

namespace {

const char SaveOrderFailed[] = "Ошибка при сохранении результатов расчета! (";
const char InsertContactFailed[] = "Ошибка при сохранении контакта! (";
const char UpdateContactFailed[] = "Ошибка при обновлении контакта! (";

constexpr char SavedColumns[] =
    "xk_bulk, xk_length, xk_width, xk_height, xk_ceiling , xk_ceiling_stuff, xk_wall, xk_wall_stuff, "
    "xk_floor, "
    "xk_floor_stuff, xk_doors, xk_doors_open, xk_curtain, xk_temperature, xk_people, xk_heat, "
    "by_temperature, "
    "by_moisture, by_ground, px_product, px_time, px_start_t, px_end_t, px_weight, px_turnover, px_packing, "
    "xo_type1, xo_type2, xo_count, xo_power, xo_work, contact, odate, onote";

constexpr int columnCount(const char* list)
{
    int count = 1;
    for (; *list; ++list)
        count += *list == ',';
    return count;
}

// SavedColumns is the record's saved columns in table order, then odate and
// onote; LoadOrder selects px_pgroup after them, FindOrders pkey before them.
constexpr int SavedCount = int(std::size(OrderColumns));
static_assert(columnCount(SavedColumns) == SavedCount + 2);
constexpr int LoadedNote = SavedCount + 1;
constexpr int LoadedGroup = SavedCount + 2;
static_assert(FoundOrderColumn::Contact == SavedCount && FoundOrderColumn::Date == SavedCount + 1 &&
              FoundOrderColumn::Note == SavedCount + 2);

QString failureText(const char* prefix, const QString& detail)
{
    return QString::fromUtf8(prefix) + detail + QLatin1Char(')');
}

QString failureText(const char* prefix, const DatabaseFailure& engine)
{
    return failureText(prefix, QString::number(uint(engine.engineCode), 16).toUpper());
}

// Why a save stopped: the operation's own text and what the database refused.
DatabaseFailure refusal(const CalculationContext& context, const char* prefix, const QString& sql,
                        const DatabaseFailure& engine)
{
    DatabaseFailure failure = engine.at(context.location.orders(), sql);
    failure.heading = failureText(prefix, engine);
    return failure;
}

QString valueOf(const CalculationRecord& r, const OrderColumn& column)
{
    return column.real ? SqlLiteral::number(r.*column.real) : SqlLiteral::integer(r.*column.whole);
}

QString saveOrderStatement(const CalculationRecord& r, const QDate& today)
{
    const QString date = SqlLiteral::text(today.toString(QStringLiteral("yyyy-MM-dd")));
    QString sql;
    if (r.NewCalculation) {
        sql = QStringLiteral("INSERT INTO data (") + QString::fromUtf8(SavedColumns) +
              QStringLiteral(", px_pgroup) VALUES(");
        for (const OrderColumn& column : OrderColumns)
            sql += valueOf(r, column) + QLatin1Char(',');
        return sql + date + QLatin1Char(',') + SqlLiteral::text(r.onote) + QLatin1Char(',') +
               SqlLiteral::integer(r.px_pgroup) + QLatin1Char(')');
    }
    sql = QStringLiteral("UPDATE data SET ");
    for (const OrderColumn& column : OrderColumns)
        sql += QLatin1String(column.name) + QLatin1Char('=') + valueOf(r, column) + QLatin1Char(',');
    return sql + QStringLiteral("odate=") + date + QStringLiteral(",onote=") + SqlLiteral::text(r.onote) +
           QStringLiteral(",px_pgroup=") + SqlLiteral::integer(r.px_pgroup) + QStringLiteral(" WHERE pkey=") +
           SqlLiteral::integer(r.pkey_data);
}

struct ContactTexts
{
    QString organization, city, phones, email, name;
};

ContactTexts contactOf(const CalculationRecord& r)
{
    return {r.contact_organization, r.contact_city, r.contact_phones, r.contact_email, r.contact_name};
}

// The steps of a save; each runs inside a transaction its caller owns and on
// failure describes itself in *failure.
bool run(const CalculationContext& context, const char* prefix, const QString& sql, DatabaseFailure* failure)
{
    const Result<void> done = context.order_db->execute(sql);
    if (done)
        return true;
    *failure = refusal(context, prefix, sql, done.failure());
    return false;
}

bool saveOrderStep(const CalculationContext& context, const CalculationRecord& r, const QDate& today,
                   DatabaseFailure* failure)
{
    if (!run(context, SaveOrderFailed, saveOrderStatement(r, today), failure))
        return false;
    if (!context.ordersKeepSecondOpinion)
        return true;
    const qint64 key = r.NewCalculation ? context.order_db->lastInsertKey() : r.pkey_data;
    for (const QString& sql : SecondOpinionStore::WriteStatements(key, r.secondOpinion))
        if (!run(context, SaveOrderFailed, sql, failure))
            return false;
    return true;
}

bool insertContactStep(const CalculationContext& context, CalculationRecord& r, const ContactTexts& c,
                       DatabaseFailure* failure)
{
    const QString sql =
        QStringLiteral("INSERT INTO contact ( organization,city,phones,email,name ) VALUES(") +
        SqlLiteral::text(c.organization) + QLatin1Char(',') + SqlLiteral::text(c.city) + QLatin1Char(',') +
        SqlLiteral::text(c.phones) + QLatin1Char(',') + SqlLiteral::text(c.email) + QLatin1Char(',') +
        SqlLiteral::text(c.name) + QLatin1Char(')');
    if (!run(context, InsertContactFailed, sql, failure))
        return false;
    // The key of this very row: another program may have inserted since.
    const qint64 key = context.order_db->lastInsertKey();
    if (key < 1 || key > 32767) {
        *failure = DatabaseFailure::own({});
        failure->heading = failureText(InsertContactFailed,
                                       QStringLiteral("номер клиента %1 вне диапазона 1..32767").arg(key));
        return false;
    }
    r.contact = qint16(key);
    return true;
}

bool updateContactStep(const CalculationContext& context, qint16 key, const ContactTexts& c,
                       DatabaseFailure* failure)
{
    const QString sql = QStringLiteral("UPDATE contact SET organization=") +
                        SqlLiteral::text(c.organization) + QStringLiteral(",city=") +
                        SqlLiteral::text(c.city) + QStringLiteral(",phones=") + SqlLiteral::text(c.phones) +
                        QStringLiteral(",email=") + SqlLiteral::text(c.email) + QStringLiteral(",name=") +
                        SqlLiteral::text(c.name) + QStringLiteral(" WHERE pkey=") + SqlLiteral::integer(key);
    return run(context, UpdateContactFailed, sql, failure);
}

// A new customer's organisation may already have a row: the calculation
// was reopened from it, or another computer saved the customer since this
// one read the list. The row is updated in the first case and taken as it
// is in the second; only a name without a row gets a new one.
bool customerStep(const CalculationContext& context, CalculationRecord& r, const ContactTexts& c,
                  DatabaseFailure* failure)
{
    if (!r.NewContact)
        return updateContactStep(context, r.contact, c, failure);
    const QString sql = QStringLiteral("SELECT pkey FROM contact WHERE organization=") +
                        SqlLiteral::text(c.organization) + QStringLiteral(" ORDER BY pkey");
    QueryTable table;
    const Result<int> read = context.order_db->query(sql, table);
    if (!read) {
        *failure = refusal(context, SaveOrderFailed, sql, read.failure());
        return false;
    }
    const int rows = read.value();
    for (int row = 0; row < rows; ++row) {
        if (table.integer(row, 0) == r.contact)
            return updateContactStep(context, r.contact, c, failure);
    }
    if (rows == 0)
        return insertContactStep(context, r, c, failure);
    r.contact = qint16(table.integer(0, 0));
    return true;
}

// Runs the steps as one attempt of a write: all of them are stored or none.
// On failure the record's customer key is restored. A write stored although
// its answer was lost counts as done (the attempt's outcome says so); one
// whose outcome stayed unknown fails as such.
Result<void> inTransaction(const CalculationContext& context, CalculationRecord& r, const char* failurePrefix,
                           WriteAttempt& attempt, const std::function<bool(DatabaseFailure*)>& steps)
{
    if (!context.order_db) {
        DatabaseFailure failure = DatabaseFailure::own({});
        failure.heading = failureText(failurePrefix, QStringLiteral("база данных не открыта"));
        return failure;
    }
    const qint16 contactBefore = r.contact;
    Result<void> written = attempt.begin(*context.order_db);
    if (written) {
        DatabaseFailure failure;
        if (!steps(&failure)) {
            attempt.rollback();
            r.contact = contactBefore;
            return failure;
        }
        written = attempt.commit();
    }
    if (attempt.stored())
        return {};
    r.contact = contactBefore;
    DatabaseFailure failure = refusal(context, failurePrefix, {}, written.failure());
    failure.outcomeUnknown = attempt.outcome() == WriteAttempt::Outcome::Unknown;
    return failure;
}

Result<void> inTransaction(const CalculationContext& context, CalculationRecord& r, const char* failurePrefix,
                           const std::function<bool(DatabaseFailure*)>& steps)
{
    WriteAttempt attempt;
    return inTransaction(context, r, failurePrefix, attempt, steps);
}

// The end of a read of data rows: their second opinion's assumptions, where
// the store keeps them, then the table(s) read.
QString secondOpinionRead(bool kept)
{
    return kept ? SecondOpinionStore::JoinedColumns() + QStringLiteral(" FROM data") +
                      SecondOpinionStore::Join()
                : QStringLiteral(" FROM data");
}

// Reads row `row` of a table whose columns from `first` on are those LoadOrder selects.
bool loadOrderRow(CalculationContext& context, CalculationRecord& record, const QueryTable& table, int row,
                  int first, QString* rangeError)
{
    // Filled apart, so a stored value out of its range changes nothing.
    CalculationRecord loaded = record;
    int column = first;
    auto toWhole = [&](int c, const char* name, qint16& target) {
        const std::optional<qint16> value = NumberText::toInt16(table.number(row, c));
        if (!value && rangeError)
            *rangeError = QStringLiteral("%1 вне диапазона 16-битного целого").arg(QLatin1String(name));
        if (value)
            target = *value;
        return value.has_value();
    };
    for (const OrderColumn& c : OrderColumns) {
        if (c.real)
            loaded.*c.real = table.number(row, column);
        else if (!toWhole(column, c.name, loaded.*c.whole))
            return false;
        ++column;
    }
    // odate, between the saved columns and onote, is not read back.
    loaded.onote = table.text(row, first + LoadedNote);
    if (!toWhole(first + LoadedGroup, "px_pgroup", loaded.px_pgroup))
        return false;
    loaded.secondOpinion = context.ordersKeepSecondOpinion
                               ? SecondOpinionStore::Read(table, row, first + LoadedGroup + 1)
                               : SecondOpinionAssumptions();

    for (double* dimension : {&loaded.xk_length, &loaded.xk_width, &loaded.xk_height})
        *dimension = NumberText::roundHalfEven(*dimension * 100) / 100;
    ReadAhead(context, [&] { return LookupReads::of(loaded); });
    GetArticle(context, loaded.xk_ceiling_stuff, loaded.xk_ceiling_name, loaded.xk_ceiling_k);
    GetArticle(context, loaded.xk_wall_stuff, loaded.xk_wall_name, loaded.xk_wall_k);
    GetArticle(context, loaded.xk_floor_stuff, loaded.xk_floor_name, loaded.xk_floor_k);
    GetCurtain(context, loaded, loaded.xk_curtain);
    record = std::move(loaded);
    return true;
}

// The reopening once the saved row is in the record.
bool recompute(CalculationContext& context, CalculationRecord& record, QString* rangeError)
{
    GetProduct(context, record, record.px_product);
    GetPacking(context, record, record.px_packing);
    GetGas(context, record, record.xo_type2);
    GetCurtain(context, record, record.xk_curtain);
    GetSeries(context, record);
    if (context.failedReads.any() || !CalculateLoad(record, rangeError))
        return false;
    SelectUnit(context, record);
    return true;
}

// Runs compute on a copy of the record, in one snapshot of the reference
// data. The record takes the copy unless a read failed: nothing computed
// from a failed read is kept, so nothing of it can be shown or saved. The
// copy reads through the context, which also keeps its failed reads.
bool computeApart(CalculationContext& context, CalculationRecord& record,
                  const std::function<bool(CalculationRecord&)>& compute)
{
    context.failedReads.clear();
    CalculationRecord computed = record;
    bool done = false;
    {
        const ReadTransaction snapshot(context.ref_db.get());
        done = compute(computed);
    }
    if (context.failedReads.any())
        return false;
    record = std::move(computed);
    return done;
}

// What a reopen that failed on a read tells whoever asked why.
void explainFailedRead(const CalculationContext& context, bool* found, QString* error)
{
    if (found)
        *found = true; // whether the row exists is not known
    if (error && context.failedReads.any())
        *error = context.failedReads.first()->advice();
}

} // namespace

bool ComputeCalculation(CalculationContext& context, CalculationRecord& record, QString* rangeError)
{
    return computeApart(context, record, [&](CalculationRecord& r) {
        ReadAhead(context, [&] { return LookupReads::of(r); });
        GetArticle(context, r.xk_ceiling_stuff, r.xk_ceiling_name, r.xk_ceiling_k);
        GetArticle(context, r.xk_wall_stuff, r.xk_wall_name, r.xk_wall_k);
        GetArticle(context, r.xk_floor_stuff, r.xk_floor_name, r.xk_floor_k);
        return recompute(context, r, rangeError);
    });
}

Result<void> SaveOrder(CalculationContext& context, CalculationRecord& record, const QDate& today)
{
    return inTransaction(context, record, SaveOrderFailed, [&](DatabaseFailure* failure) {
        return saveOrderStep(context, record, today, failure);
    });
}

bool LoadOrder(CalculationContext& context, CalculationRecord& record, qint32 key)
{
    return LoadOrder(context, record, key, nullptr);
}

bool LoadOrder(CalculationContext& context, CalculationRecord& record, qint32 key, QString* rangeError)
{
    if (!context.order_db)
        return false;
    QueryTable table;
    const QString sql = QStringLiteral("SELECT ") + QString::fromUtf8(SavedColumns) +
                        QStringLiteral(", px_pgroup") + secondOpinionRead(context.ordersKeepSecondOpinion) +
                        QStringLiteral(" WHERE pkey=") + SqlLiteral::integer(key);
    if (ReadOrders(context, sql, table) <= 0)
        return false;
    return loadOrderRow(context, record, table, 0, 0, rangeError);
}

Result<void> InsertContact(CalculationContext& context, CalculationRecord& record,
                           const QString& organization, const QString& city, const QString& phones,
                           const QString& email, const QString& name)
{
    const ContactTexts texts{organization, city, phones, email, name};
    return inTransaction(context, record, InsertContactFailed, [&](DatabaseFailure* failure) {
        return insertContactStep(context, record, texts, failure);
    });
}

namespace {

const QString CustomerList =
    QStringLiteral("SELECT pkey,organization,city,phones,email,name  FROM contact ORDER BY organization");

} // namespace

int ReadCustomers(CalculationContext& context, QueryTable& table)
{
    if (!context.order_db)
        return 0;
    return ReadOrders(context, CustomerList, table);
}

QStringList StartReads()
{
    return {CustomerList};
}

namespace {

QString foundOrders(qint16 contactKey)
{
    return QStringLiteral("SELECT pkey, ") + QString::fromUtf8(SavedColumns) +
           QStringLiteral(" FROM data WHERE contact=") + SqlLiteral::integer(contactKey);
}

} // namespace

int FindOrders(CalculationContext& context, qint16 contactKey, QueryTable& table)
{
    if (!context.order_db)
        return 0;
    return ReadOrders(context, foundOrders(contactKey), table);
}

QStringList SearchReads(std::optional<qint16> contactKey)
{
    QStringList reads{CustomerList};
    if (contactKey)
        reads << foundOrders(*contactKey);
    return reads;
}

Result<void> SaveCalculation(CalculationContext& context, CalculationRecord& record, const QDate& today)
{
    WriteAttempt attempt;
    return SaveCalculation(context, record, today, attempt);
}

Result<void> SaveCalculation(CalculationContext& context, CalculationRecord& record, const QDate& today,
                             WriteAttempt& attempt)
{
    const ContactTexts texts = contactOf(record);
    return inTransaction(context, record, SaveOrderFailed, attempt, [&](DatabaseFailure* failure) {
        return customerStep(context, record, texts, failure) &&
               saveOrderStep(context, record, today, failure);
    });
}

bool ReopenCalculation(CalculationContext& context, CalculationRecord& record, qint32 key, bool* found,
                       QString* rangeError)
{
    bool loaded = false;
    QString loadError;
    const bool computed = computeApart(context, record, [&](CalculationRecord& r) {
        r.pkey_data = key;
        r.NewCalculation = false;
        loaded = LoadOrder(context, r, key, &loadError);
        return loadError.isEmpty() && !context.failedReads.any() && recompute(context, r, rangeError);
    });
    if (context.failedReads.any()) {
        explainFailedRead(context, found, rangeError);
        return false;
    }
    if (found)
        *found = loaded || !loadError.isEmpty();
    if (!loadError.isEmpty() && rangeError)
        *rangeError = loadError;
    return computed;
}

Result<int> ReadOrderPage(Database& db, bool withSecondOpinion, qint64 afterKey, int limit, QueryTable& table)
{
    return db.query(QStringLiteral("SELECT pkey, ") + QString::fromUtf8(SavedColumns) +
                        QStringLiteral(", px_pgroup") + secondOpinionRead(withSecondOpinion) +
                        QStringLiteral(" WHERE pkey>") + SqlLiteral::integer(afterKey) +
                        QStringLiteral(" ORDER BY pkey LIMIT ") + QString::number(limit),
                    table);
}

bool ReopenCalculation(CalculationContext& context, CalculationRecord& record, const QueryTable& page,
                       int row, QString* rangeError)
{
    const bool computed = computeApart(context, record, [&](CalculationRecord& r) {
        r.pkey_data = qint32(page.integer(row, OrderPageColumn::Key));
        r.NewCalculation = false;
        return loadOrderRow(context, r, page, row, OrderPageColumn::Key + 1, rangeError) &&
               !context.failedReads.any() && recompute(context, r, rangeError);
    });
    if (context.failedReads.any())
        explainFailedRead(context, nullptr, rangeError);
    return computed;
}
