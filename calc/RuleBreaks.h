#pragma once

#include <QStringList>

struct CalculationContext;
struct CalculationRecord;

// Reference rows a calculation used whose stored values break the rules of
// their columns (a store made before the rules, or changed by hand). The
// calculation uses them as stored; these lines say so instead of letting a
// heat or a capacity quietly come out 0. One line per value:
// "продукт «Говядина» (код 7), tko: должно быть больше tnz: … «-5»".
// The capacities are those of the unit chosen last (record.trace).
QStringList RuleBreakLines(const CalculationContext& context, const CalculationRecord& record);
