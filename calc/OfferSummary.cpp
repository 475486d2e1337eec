#include "OfferSummary.h"

#include "CalculationContext.h"
#include "CalculationTrace.h"
#include "CalculationWarnings.h"
#include "MissingReferences.h"
#include "Orders.h"

namespace {

void notComputed(OfferChamber& chamber, const QString& reason)
{
    chamber.state = OfferChamber::State::NotComputed;
    chamber.reason = reason;
}

// A read of the checks after the reopening may fail too.
bool readFailed(CalculationContext& context, OfferChamber& chamber)
{
    if (!context.failedReads.any())
        return false;
    notComputed(chamber, context.failedReads.first()->advice());
    return true;
}

} // namespace

namespace OfferSummary {

OfferChamber Compute(CalculationContext& context, qint32 key)
{
    OfferChamber chamber;
    chamber.key = key;
    CalculationRecord& record = chamber.record;
    ApplyStartValues(record);
    // The capacity warnings read the steps of the selection.
    record.trace = std::make_shared<CalculationTrace>();
    bool found = false;
    QString error;
    const bool computed = ReopenCalculation(context, record, key, &found, &error);
    if (readFailed(context, chamber))
        return chamber;
    if (!found) {
        chamber.state = OfferChamber::State::Missing;
        chamber.reason = QStringLiteral("расчет удален");
        return chamber;
    }
    if (!computed) {
        notComputed(chamber, error);
        return chamber;
    }
    const QVector<MissingReference> missing = MissingReferences(context, record);
    if (readFailed(context, chamber))
        return chamber;
    if (!missing.isEmpty()) {
        notComputed(chamber, QStringLiteral("в справочнике больше нет: ") +
                                 MissingReferenceLines(missing).join(QStringLiteral(", ")));
        return chamber;
    }
    chamber.warnings = int(RecordWarnings(context, record).size());
    if (readFailed(context, chamber))
        return chamber;
    chamber.state = OfferChamber::State::Computed;
    return chamber;
}

OfferSums Sum(const QList<OfferChamber>& chambers)
{
    OfferSums sums;
    for (const OfferChamber& chamber : chambers) {
        if (!chamber.summed())
            continue;
        const CalculationRecord& r = chamber.record;
        ++sums.chambers;
        sums.qTotal += r.q_total;
        // Without a sufficient unit the selection chose none.
        if (!r.verdict.isEmpty())
            continue;
        sums.capacity += r.unit_capacity * r.xo_count;
        auto same = [&](const OfferUnits& u) {
            return u.model == r.sel_model && u.modification == r.sel_modification;
        };
        auto it = std::find_if(sums.units.begin(), sums.units.end(), same);
        if (it == sums.units.end())
            sums.units.append({r.sel_model, r.sel_modification, r.xo_count});
        else
            it->count += r.xo_count;
    }
    return sums;
}

QString UnitsText(const QList<OfferUnits>& units)
{
    QStringList parts;
    for (const OfferUnits& u : units)
        parts << QStringLiteral("%1%2 × %3").arg(u.model, u.modification).arg(u.count);
    return parts.join(QStringLiteral(", "));
}

} // namespace OfferSummary
