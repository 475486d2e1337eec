#pragma once

#include <QString>
#include <optional>

class QLineEdit;

// Reading, testing and showing the numbers of the wizard's text boxes.
namespace InputBoxes {

// The number typed into the box (longest leading number, blanks ignored,
// text without a number reads 0); with replaceCommas every "," counts as a
// point. A number beyond the range of a double also reads 0.
double number(const QLineEdit* box, bool replaceCommas = false);

// The forward buttons' test: the text is a number in the system's format.
bool isNumber(const QLineEdit* box);

// The box's number for a 16-bit field; nullopt when the field cannot hold it.
std::optional<qint16> int16(const QLineEdit* box, bool replaceCommas = false);

// Shows the message with the exclamation icon and puts the focus into the
// box. Always returns false, so a check can `return refuse(...)`.
bool refuse(QLineEdit* box, const QString& text, const QString& title);

// Refuses a number that a 16-bit field cannot hold, naming the box by its
// accessible name. Returns true when the number fits.
bool checkInt16(QLineEdit* box, bool replaceCommas = false);

// A double as the boxes show it with a point whatever the locale; it reads
// back as the same number.
QString pointText(double value);

// A double in the system's number format (decimal comma where the system
// uses one, no digit grouping).
QString localeText(double value);

// A double with a fixed number of decimals and the system's decimal
// separator ("#0.0" is fixedText(v, 1)).
QString fixedText(double value, int decimals);

} // namespace InputBoxes
