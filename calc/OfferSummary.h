#pragma once

#include "CalculationRecord.h"

#include <QList>
#include <QString>

struct CalculationContext;

// One chamber of an offer: a saved calculation reopened and recomputed as
// the customer screen reopens it.
struct OfferChamber
{
    enum class State {
        Computed,    // computed from the current reference data
        NotComputed, // a reference row gone, a result out of range or a failed read
        Missing,     // no saved calculation has the key any more
    };

    qint32 key = 0;
    State state = State::Missing;
    QString reason; // why it is not computed or missing
    CalculationRecord record;
    int warnings = 0;

    bool summed() const { return state == State::Computed; }
};

// How many units of one model and modification the offer needs.
struct OfferUnits
{
    QString model;
    QString modification;
    int count = 0;
};

// The sums over the computed chambers; the others add nothing.
struct OfferSums
{
    int chambers = 0;
    qint64 qTotal = 0;       // W
    QList<OfferUnits> units; // in the order the chambers first name them
    double capacity = 0;     // W, each chosen unit's capacity times its count
};

namespace OfferSummary {

// Reopens and recomputes calculation `key`. A calculation whose reference
// rows are gone is not computed for the offer: its results would rest on
// data that no longer exists. Nothing is kept from a failed read.
OfferChamber Compute(CalculationContext& context, qint32 key);

OfferSums Sum(const QList<OfferChamber>& chambers);

// "KMC060 × 2" per model, joined by ", ".
QString UnitsText(const QList<OfferUnits>& units);

} // namespace OfferSummary
