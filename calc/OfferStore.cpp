#include "OfferStore.h"

#include "Database.h"
#include "QueryTable.h"
#include "SqlLiteral.h"
#include "WriteAttempt.h"

namespace {

enum Column { Key, Contact, Name, Date, Calculation };

std::optional<QList<SavedOffer>> readWhere(Database& orders, const QString& condition, DbError* error)
{
    QueryTable table;
    const int rows = orders.query(
        QStringLiteral("SELECT offer.pkey, offer.contact, offer.name, offer.odate, offer_row.data_pkey "
                       "FROM offer LEFT JOIN offer_row ON offer_row.offer=offer.pkey") +
            condition + QStringLiteral(" ORDER BY offer.pkey, offer_row.position"),
        table, error);
    if (rows < 0)
        return std::nullopt;
    QList<SavedOffer> offers;
    for (int row = 0; row < rows; ++row) {
        const qint64 key = table.integer(row, Key);
        if (offers.isEmpty() || offers.last().key != key)
            offers.append(
                {key, qint16(table.integer(row, Contact)), table.text(row, Name), table.text(row, Date), {}});
        // An offer without rows joins one row of nulls.
        if (!table.value(row, Calculation).isNull())
            offers.last().calculations << qint32(table.integer(row, Calculation));
    }
    return offers;
}

QStringList saveStatements(const SavedOffer& offer, const QString& key)
{
    QStringList statements{QStringLiteral("UPDATE offer SET name=%1, odate=%2 WHERE pkey=%3")
                               .arg(SqlLiteral::text(offer.name), SqlLiteral::text(offer.date), key),
                           QStringLiteral("DELETE FROM offer_row WHERE offer=") + key};
    for (int i = 0; i < offer.calculations.size(); ++i)
        statements << QStringLiteral("INSERT INTO offer_row (offer, data_pkey, position) VALUES(%1,%2,%3)")
                          .arg(key, SqlLiteral::integer(offer.calculations.at(i)),
                               SqlLiteral::integer(i + 1));
    return statements;
}

bool writeSteps(Database& orders, SavedOffer& offer, qint64& key, DbError* error)
{
    key = offer.key;
    if (key == 0) {
        if (!orders.execute(QStringLiteral("INSERT INTO offer (contact, name, odate) VALUES(%1,%2,%3)")
                                .arg(SqlLiteral::integer(offer.contact), SqlLiteral::text(offer.name),
                                     SqlLiteral::text(offer.date)),
                            error))
            return false;
        key = orders.lastInsertKey();
    }
    for (const QString& sql : saveStatements(offer, SqlLiteral::integer(key)))
        if (!orders.execute(sql, error))
            return false;
    return true;
}

} // namespace

namespace OfferStore {

bool IsKept(Database& orders)
{
    return !orders.columnsOf(QStringLiteral("offer")).isEmpty() &&
           !orders.columnsOf(QStringLiteral("offer_row")).isEmpty();
}

std::optional<QList<SavedOffer>> Read(Database& orders, std::optional<qint16> contact, DbError* error)
{
    return readWhere(
        orders, contact ? QStringLiteral(" WHERE offer.contact=") + SqlLiteral::integer(*contact) : QString(),
        error);
}

std::optional<SavedOffer> ReadOne(Database& orders, qint64 key, DbError* error)
{
    const std::optional<QList<SavedOffer>> offers =
        readWhere(orders, QStringLiteral(" WHERE offer.pkey=") + SqlLiteral::integer(key), error);
    if (!offers || offers->isEmpty())
        return std::nullopt;
    return offers->first();
}

bool Save(Database& orders, SavedOffer& offer, Saving& saving, DbError* error)
{
    WriteAttempt& attempt = saving.attempt;
    if (!attempt.begin(orders, error)) {
        if (attempt.outcome() == WriteAttempt::Outcome::StoredAnswerLost && offer.key == 0)
            offer.key = saving.triedKey;
        return attempt.stored();
    }
    qint64 key = 0;
    if (!writeSteps(orders, offer, key, error)) {
        attempt.rollback();
        return false;
    }
    attempt.commit(error);
    // Also when stored although the answer was lost: the key came before COMMIT.
    if (attempt.stored())
        offer.key = key;
    saving.triedKey = attempt.outcome() == WriteAttempt::Outcome::Unknown ? key : 0;
    return attempt.stored();
}

} // namespace OfferStore
