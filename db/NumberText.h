#pragma once

#include <QString>
#include <optional>

class QLocale;

// Reading and testing numbers typed into text boxes, and the rounding rules
// of stored values. Shared by both programs and the command-line tool.
namespace NumberText {

// Reads the longest leading part of the text that forms a decimal number
// (optional sign, digits, a point as the only decimal separator, optional
// exponent); blanks anywhere are ignored and text without such a part reads
// as 0. With replaceCommas every "," is taken as "." first. Returns nullopt
// when the number is too large for a double (e.g. "1e400").
std::optional<double> read(const QString& text, bool replaceCommas = false);

// The forward buttons' test: apart from leading and trailing blanks the text
// is a finite number in the given locale's number format. Empty text fails.
bool isNumeric(const QString& text, const QLocale& locale);

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Nearest whole number, halves away from zero (2.5 -> 3, -2.5 -> -3).
double roundHalfAway(double value);

// A value for a 16-bit or 32-bit field: rounded halves to even; nullopt when
// the rounded value does not fit, or the value is not finite.
std::optional<qint16> toInt16(double value);
std::optional<qint32> toInt32(double value);

} // namespace NumberText
