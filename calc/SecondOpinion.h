#pragma once

#include "CalculationTrace.h"
#include "CalculationWarnings.h"
#include "SecondOpinionAssumptions.h"

#include <QString>
#include <QVector>
#include <optional>

struct CalculationContext;
struct CalculationRecord;

// One load component by both methods, side by side.
struct ComparedComponent
{
    QString name;
    std::optional<double> calculated; // as the calculation stored it; none where it has no such line
    double doorFormula = 0;           // W, unrounded
};

// The chamber of the record computed once more the way refrigeration
// handbooks do: the door load by the door-opening formula (Gosney–Olama)
// instead of by the chamber's volume, staff by the chamber temperature, and
// the fans and the defrosting the calculation leaves out. Everything else is
// the calculation's own stored results; nothing of the record changes.
struct SecondOpinion
{
    SecondOpinionAssumptions assumptions;
    double infiltration = 0, people = 0, fans = 0, defrost = 0; // W, unrounded
    double total = 0;                                           // Q2, W
    double unitRequired = 0; // capacity one unit must deliver while running, W
    bool covered = false;    // the selection chose a unit and it delivers unitRequired
    // The first unit of the chosen type that delivers unitRequired, as the
    // selection names it; empty when covered, when none does or when not
    // looked for.
    QString model, modification;
    QVector<TraceLine> lines; // every step, in order
    QVector<ComparedComponent> comparison;
};

// From the record's inputs, assumptions and stored results, without the
// covering unit.
SecondOpinion ComputeSecondOpinion(const CalculationRecord& record);

// The same with the covering unit looked for when the chosen one falls
// short: the selection run again on a copy of the record, against the
// capacity the door-opening formula needs.
SecondOpinion SecondOpinionOf(CalculationContext& context, const CalculationRecord& record);

// The warning when the chosen unit does not cover the door-opening formula's
// load; none when it does.
std::optional<CalculationWarning> SecondOpinionWarning(const SecondOpinion& opinion);
