#pragma once

#include "Alternatives.h"
#include "CalculationTrace.h"
#include "CalculationWarnings.h"
#include "SecondOpinion.h"

#include <QVector>

struct CalculationContext;
struct CalculationRecord;

// Everything the detailed calculation shows: the steps the calculation and
// the selection recorded, the figures of the chosen unit, the warnings, the
// alternatives and the second opinion.
struct Explanation
{
    QVector<TraceLine> load;      // in the order the calculation ran
    QVector<TraceLine> selection; // the model code, each modification tried, the choice, its figures
    QVector<CalculationWarning> warnings;
    QVector<Alternative> alternatives;
    SecondOpinion secondOpinion;
};

// From the record's trace (empty parts without one) and the reference file.
Explanation Explain(CalculationContext& context, const CalculationRecord& record);
