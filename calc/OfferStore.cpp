#include "OfferStore.h"

#include "Database.h"
#include "QueryTable.h"
#include "SqlLiteral.h"
#include "WriteAttempt.h"

namespace {

enum Column { Key, Contact, Name, Date, Calculation };

Result<QList<SavedOffer>> readWhere(Database& orders, const QString& condition)
{
    QueryTable table;
    const Result<int> rows = orders.query(
        QStringLiteral("SELECT offer.pkey, offer.contact, offer.name, offer.odate, offer_row.data_pkey "
                       "FROM offer LEFT JOIN offer_row ON offer_row.offer=offer.pkey") +
            condition + QStringLiteral(" ORDER BY offer.pkey, offer_row.position"),
        table);
    if (!rows)
        return rows.failure();
    QList<SavedOffer> offers;
    for (int row = 0; row < rows.value(); ++row) {
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

Result<void> writeSteps(Database& orders, SavedOffer& offer, qint64& key)
{
    key = offer.key;
    if (key == 0) {
        const Result<void> inserted =
            orders.execute(QStringLiteral("INSERT INTO offer (contact, name, odate) VALUES(%1,%2,%3)")
                               .arg(SqlLiteral::integer(offer.contact), SqlLiteral::text(offer.name),
                                    SqlLiteral::text(offer.date)));
        if (!inserted)
            return inserted;
        key = orders.lastInsertKey();
    }
    const QStringList statements = saveStatements(offer, SqlLiteral::integer(key));
    for (int i = 0; i < statements.size(); ++i) {
        if (Result<void> done = orders.execute(statements.at(i)); !done)
            return done;
        // An offer deleted meanwhile (a store replaced by the store tool) would
        // leave its rows to nothing on a file, which has no foreign keys.
        if (i == 0 && orders.changedRows() == 0) {
            offer.key = 0;
            return DatabaseFailure::own(
                QStringLiteral("Предложения больше нет в базе данных. Сохраните его еще раз как новое."));
        }
    }
    return {};
}

} // namespace

namespace OfferStore {

bool IsKept(Database& orders)
{
    // A table that cannot be read counts as not kept.
    return !orders.columnsOf(QStringLiteral("offer")).valueOr({}).isEmpty() &&
           !orders.columnsOf(QStringLiteral("offer_row")).valueOr({}).isEmpty();
}

Result<QList<SavedOffer>> Read(Database& orders, std::optional<qint16> contact)
{
    return readWhere(orders, contact ? QStringLiteral(" WHERE offer.contact=") + SqlLiteral::integer(*contact)
                                     : QString());
}

Result<std::optional<SavedOffer>> ReadOne(Database& orders, qint64 key)
{
    const Result<QList<SavedOffer>> offers =
        readWhere(orders, QStringLiteral(" WHERE offer.pkey=") + SqlLiteral::integer(key));
    if (!offers)
        return offers.failure();
    if (offers.value().isEmpty())
        return std::optional<SavedOffer>();
    return std::optional<SavedOffer>(offers.value().first());
}

Result<void> Save(Database& orders, SavedOffer& offer, Saving& saving)
{
    WriteAttempt& attempt = saving.attempt;
    if (Result<void> begun = attempt.begin(orders); !begun) {
        if (attempt.outcome() == WriteAttempt::Outcome::StoredAnswerLost && offer.key == 0)
            offer.key = saving.triedKey;
        if (attempt.stored())
            return {};
        return begun;
    }
    qint64 key = 0;
    if (Result<void> written = writeSteps(orders, offer, key); !written) {
        attempt.rollback();
        return written;
    }
    Result<void> committed = attempt.commit();
    // Also when stored although the answer was lost: the key came before COMMIT.
    if (attempt.stored())
        offer.key = key;
    saving.triedKey = attempt.outcome() == WriteAttempt::Outcome::Unknown ? key : 0;
    if (attempt.stored())
        return {};
    return committed;
}

} // namespace OfferStore
