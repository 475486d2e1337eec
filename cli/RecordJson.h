#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

struct CalculationRecord;

// Puts the input fields of a JSON object into the record (which holds its
// start values). Refuses bad JSON, anything but an object, an unknown key, a
// value of the wrong type and a 16-bit field that is not a whole number
// within -32768..32767; error then names the field. An absent xk_bulk
// becomes length * width * height.
bool readInputRecord(const QByteArray& json, CalculationRecord& record, QString* error);

// Every field of the record plus sel_text as one line of JSON (no line
// break). Doubles with the shortest text that reads back to the same value.
// nullopt when a double is not a finite number (JSON has none); error names
// the field.
std::optional<QByteArray> recordToJsonLine(const CalculationRecord& record, const QString& selText,
                                           QString* error);
