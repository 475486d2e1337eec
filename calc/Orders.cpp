#include "Orders.h"

#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "HeatLoad.h"
#include "Lookups.h"
#include "Messages.h"
#include "NumberText.h"
#include "OrderColumns.h"
#include "QueryTable.h"
#include "Selection.h"
#include "SqlLiteral.h"

#include <functional>
#include <iterator>

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

QString failureText(const char* prefix, const DbError& error)
{
    return failureText(prefix, QString::number(uint(error.number), 16).toUpper());
}

void showFailure(const QString& text)
{
    Messages::show(text, MsgIcon::Exclamation, QStringLiteral("Внимание"));
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
bool saveOrderStep(CalculationRecord& r, const QDate& today, QString* failure)
{
    DbError error;
    if (r.order_db->execute(saveOrderStatement(r, today), &error))
        return true;
    *failure = failureText(SaveOrderFailed, error);
    return false;
}

bool insertContactStep(CalculationRecord& r, const ContactTexts& c, QString* failure)
{
    const QString sql =
        QStringLiteral("INSERT INTO contact ( organization,city,phones,email,name ) VALUES(") +
        SqlLiteral::text(c.organization) + QLatin1Char(',') + SqlLiteral::text(c.city) + QLatin1Char(',') +
        SqlLiteral::text(c.phones) + QLatin1Char(',') + SqlLiteral::text(c.email) + QLatin1Char(',') +
        SqlLiteral::text(c.name) + QLatin1Char(')');
    DbError error;
    if (!r.order_db->execute(sql, &error)) {
        *failure = failureText(InsertContactFailed, error);
        return false;
    }
    // The key of this very row: another program may have inserted since.
    const qint64 key = r.order_db->lastInsertKey();
    if (key < 1 || key > 32767) {
        *failure = failureText(InsertContactFailed,
                               QStringLiteral("номер клиента %1 вне диапазона 1..32767").arg(key));
        return false;
    }
    r.contact = qint16(key);
    return true;
}

bool updateContactStep(CalculationRecord& r, qint16 key, const ContactTexts& c, QString* failure)
{
    const QString sql = QStringLiteral("UPDATE contact SET organization=") +
                        SqlLiteral::text(c.organization) + QStringLiteral(",city=") +
                        SqlLiteral::text(c.city) + QStringLiteral(",phones=") + SqlLiteral::text(c.phones) +
                        QStringLiteral(",email=") + SqlLiteral::text(c.email) + QStringLiteral(",name=") +
                        SqlLiteral::text(c.name) + QStringLiteral(" WHERE pkey=") + SqlLiteral::integer(key);
    DbError error;
    if (r.order_db->execute(sql, &error))
        return true;
    *failure = failureText(UpdateContactFailed, error);
    return false;
}

// Runs the steps as one transaction: all of them are stored or none. On
// failure the record's customer key is restored and the failure shown.
bool inTransaction(CalculationRecord& r, const char* failurePrefix,
                   const std::function<bool(QString*)>& steps)
{
    if (!r.order_db)
        return false;
    const qint16 contactBefore = r.contact;
    DbError error;
    if (!r.order_db->begin(&error)) {
        showFailure(failureText(failurePrefix, error));
        return false;
    }
    QString failure;
    if (!steps(&failure)) {
        r.order_db->rollback();
        r.contact = contactBefore;
        showFailure(failure);
        return false;
    }
    if (!r.order_db->commit(&error)) {
        r.order_db->rollback();
        r.contact = contactBefore;
        showFailure(failureText(failurePrefix, error));
        return false;
    }
    return true;
}

// A reopened calculation still carries NewContact from the customer screen;
// its customer is the existing row `contact` when that row has the same
// organisation, and must not get a second row.
bool isExistingCustomer(const CalculationRecord& r)
{
    if (r.contact <= 0)
        return false;
    QueryTable table;
    return OpenQuery(*r.order_db,
                     QStringLiteral("SELECT organization FROM contact WHERE pkey=") +
                         SqlLiteral::integer(r.contact),
                     table) > 0 &&
           table.text(0, 0) == r.contact_organization;
}

// Reads row `row` of a table whose columns from `first` on are those LoadOrder selects.
bool loadOrderRow(CalculationRecord& record, const QueryTable& table, int row, int first, QString* rangeError)
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

    for (double* dimension : {&loaded.xk_length, &loaded.xk_width, &loaded.xk_height})
        *dimension = NumberText::roundHalfEven(*dimension * 100) / 100;
    GetArticle(loaded, loaded.xk_ceiling_stuff, loaded.xk_ceiling_name, loaded.xk_ceiling_k);
    GetArticle(loaded, loaded.xk_wall_stuff, loaded.xk_wall_name, loaded.xk_wall_k);
    GetArticle(loaded, loaded.xk_floor_stuff, loaded.xk_floor_name, loaded.xk_floor_k);
    GetCurtain(loaded, loaded.xk_curtain);
    record = loaded;
    return true;
}

// The reopening once the saved row is in the record.
bool recompute(CalculationRecord& record, QString* rangeError)
{
    GetProduct(record, record.px_product);
    GetPacking(record, record.px_packing);
    GetGas(record, record.xo_type2);
    GetCurtain(record, record.xk_curtain);
    GetSeries(record);
    if (!CalculateLoad(record, rangeError))
        return false;
    SelectUnit(record);
    return true;
}

} // namespace

bool SaveOrder(CalculationRecord& record, const QDate& today)
{
    return inTransaction(record, SaveOrderFailed,
                         [&](QString* failure) { return saveOrderStep(record, today, failure); });
}

bool LoadOrder(CalculationRecord& record, qint32 key)
{
    return LoadOrder(record, key, nullptr);
}

bool LoadOrder(CalculationRecord& record, qint32 key, QString* rangeError)
{
    if (!record.order_db)
        return false;
    QueryTable table;
    const QString sql = QStringLiteral("SELECT ") + QString::fromUtf8(SavedColumns) +
                        QStringLiteral(", px_pgroup FROM data WHERE pkey=") + SqlLiteral::integer(key);
    if (OpenQuery(*record.order_db, sql, table) <= 0)
        return false;
    return loadOrderRow(record, table, 0, 0, rangeError);
}

bool InsertContact(CalculationRecord& record, const QString& organization, const QString& city,
                   const QString& phones, const QString& email, const QString& name)
{
    const ContactTexts texts{organization, city, phones, email, name};
    return inTransaction(record, InsertContactFailed,
                         [&](QString* failure) { return insertContactStep(record, texts, failure); });
}

bool UpdateContact(CalculationRecord& record, qint16 key, const QString& organization, const QString& city,
                   const QString& phones, const QString& email, const QString& name)
{
    const ContactTexts texts{organization, city, phones, email, name};
    return inTransaction(record, UpdateContactFailed,
                         [&](QString* failure) { return updateContactStep(record, key, texts, failure); });
}

int ReadCustomers(CalculationRecord& record, QueryTable& table)
{
    if (!record.order_db)
        return 0;
    return OpenQuery(
        *record.order_db,
        QStringLiteral("SELECT pkey,organization,city,phones,email,name  FROM contact ORDER BY organization"),
        table);
}

int FindOrders(CalculationRecord& record, qint16 contactKey, QueryTable& table)
{
    if (!record.order_db)
        return 0;
    return OpenQuery(*record.order_db,
                     QStringLiteral("SELECT pkey, ") + QString::fromUtf8(SavedColumns) +
                         QStringLiteral(" FROM data WHERE contact=") + SqlLiteral::integer(contactKey),
                     table);
}

bool SaveCalculation(CalculationRecord& record, const QDate& today)
{
    if (!record.order_db)
        return false;
    const bool insertCustomer = record.NewContact && !isExistingCustomer(record);
    const ContactTexts texts = contactOf(record);
    return inTransaction(record, SaveOrderFailed, [&](QString* failure) {
        const bool customerSaved = insertCustomer ? insertContactStep(record, texts, failure)
                                                  : updateContactStep(record, record.contact, texts, failure);
        return customerSaved && saveOrderStep(record, today, failure);
    });
}

bool ReopenCalculation(CalculationRecord& record, qint32 key, bool* found, QString* rangeError)
{
    // All lookups of the reopening read one version of the reference file.
    const ReadTransaction snapshot(record.ref_db.get());
    record.pkey_data = key;
    record.NewCalculation = false;
    QString loadError;
    const bool loaded = LoadOrder(record, key, &loadError);
    if (found)
        *found = loaded || !loadError.isEmpty();
    if (!loadError.isEmpty()) {
        if (rangeError)
            *rangeError = loadError;
        return false;
    }
    return recompute(record, rangeError);
}

int ReadOrderPage(Database& db, qint64 afterKey, int limit, QueryTable& table, DbError* error)
{
    return db.query(QStringLiteral("SELECT pkey, ") + QString::fromUtf8(SavedColumns) +
                        QStringLiteral(", px_pgroup FROM data WHERE pkey>") + SqlLiteral::integer(afterKey) +
                        QStringLiteral(" ORDER BY pkey LIMIT ") + QString::number(limit),
                    table, error);
}

bool ReopenCalculation(CalculationRecord& record, const QueryTable& page, int row, QString* rangeError)
{
    const ReadTransaction snapshot(record.ref_db.get());
    record.pkey_data = qint32(page.integer(row, OrderPageColumn::Key));
    record.NewCalculation = false;
    return loadOrderRow(record, page, row, OrderPageColumn::Key + 1, rangeError) &&
           recompute(record, rangeError);
}
