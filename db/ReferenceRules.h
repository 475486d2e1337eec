#pragma once

#include <QString>
#include <optional>

// What the editors of the reference data accept in each column, kept here so
// that the editors, the spreadsheet import and frostpick-db apply the same
// rules.
enum class ValueRule {
    Any,            // any text, or a key checked elsewhere
    Name,           // text that is not blank
    Number,         // any finite number
    AboveZero,      // a conductivity, a capacity, a specific heat
    NotNegative,    // 0 means "none" (no curtain, no packing)
    Percent,        // a share of the door losses a curtain keeps out: never more than all
    WholeAboveZero, // a modification
    Whole,          // a key or a kind code
};

namespace ReferenceRules {

// The rule of a column of a reference table (names as in the schema, in any
// case); Any for a column without one and for the orders tables.
ValueRule of(const QString& table, const QString& column);

bool isNumeric(ValueRule rule);
bool accepts(ValueRule rule, double value);

// Why a value breaks the rule, for a message ending in the value itself.
QString reason(ValueRule rule);

// A field of a file for a column with a numeric rule: its number, or nullopt
// with the reason and the field ("не число «12,3,4»") in problem.
std::optional<double> fieldNumber(ValueRule rule, const QString& field, bool decimalComma, QString* problem);

} // namespace ReferenceRules
