#pragma once

#include "WriteAttempt.h"

#include <QList>
#include <QString>
#include <optional>

class Database;

// An offer as kept: the calculations of one customer in the order the
// engineer put them.
struct SavedOffer
{
    qint64 key = 0; // 0 until it is saved
    qint16 contact = 0;
    QString name;
    QString date; // yyyy-MM-dd of the last save
    QList<qint32> calculations;
};

// The tables offer and offer_row beside data. A store made before them
// lacks them: offers can then be made, printed and exported but not kept,
// as the engineer's role may not change a shared store's tables.
namespace OfferStore {

bool IsKept(Database& orders);

// The offers of one customer (every offer when contact is nullopt) in key
// order, each with its calculations in order.
Result<QList<SavedOffer>> Read(Database& orders, std::optional<qint16> contact);
// One offer; nullopt when there is none.
Result<std::optional<SavedOffer>> ReadOne(Database& orders, qint64 key);

// The saves of one offer as its window keeps them: the write's attempt, and
// the key a new offer got in a try whose outcome stayed unknown, which is its
// key when the next try learns that the first was stored.
struct Saving
{
    WriteAttempt attempt;
    qint64 triedKey = 0;
};

// Stores the offer as one attempt of a write: a new one (key 0, which
// then becomes its key) or a new name, date and list of calculations of a
// kept one. Done when stored; otherwise saving.attempt.outcome() and the
// failure say why.
Result<void> Save(Database& orders, SavedOffer& offer, Saving& saving);

} // namespace OfferStore
