#pragma once

#include <QString>

// How the results screen and the report write numbers: whole watts rounded
// half away from zero, one-decimal percentages, and plain decimals. None of
// them prints a thousands separator; the decimal separator is the system's.
namespace ResultText {

// "######0": rounded half away from zero, every digit printed.
QString whole(double value);

// "###0.0": one decimal place, rounded half away from zero.
QString oneDecimal(double value);

// A double as plain decimal text: at most 15 significant digits, no
// trailing zeros (32 -> "32", 20.5 -> "20.5").
QString plain(double value);

} // namespace ResultText
