#pragma once

#include <QString>
#include <limits>
#include <optional>

class QLineEdit;

// Reading, testing and showing the numbers of the wizard's text boxes. Every
// box takes "," and "." alike as the decimal separator, whatever the system
// locale, and every number the program writes into a box uses a point, so a
// value reads back as it was shown.
namespace InputBoxes {

// The number typed into the box (longest leading number, blanks ignored,
// "," read as ".", text without a number reads 0). A number beyond the range
// of a double also reads 0.
double number(const QLineEdit* box);

// The forward buttons' test: apart from leading and trailing blanks, the
// text is a number (with "," or "." as its decimal separator).
bool isNumber(const QLineEdit* box);

// The box's number for a 16-bit field: nullopt when the field cannot hold it,
// because it is fractional or out of range.
std::optional<qint16> int16(const QLineEdit* box);

// Shows the message with the exclamation icon and puts the focus into the
// box. Always returns false, so a check can `return refuse(...)`.
bool refuse(QLineEdit* box, const QString& text, const QString& title);

// Refuses a number that is not whole or lies outside min to max, naming the
// box by its accessible name. Returns true when the number passes.
bool checkWhole(QLineEdit* box, int min = -32768, int max = 32767);

// Refuses a number below min or above max, in the same words as checkWhole.
// Returns true when the number passes.
bool checkRange(QLineEdit* box, double min, double max = std::numeric_limits<double>::infinity());

// A double as the program writes it into a box: a point, no trailing zeros.
QString pointText(double value);

// A double with a fixed number of decimals and a point ("#0.0" is
// fixedText(v, 1)).
QString fixedText(double value, int decimals);

} // namespace InputBoxes
