#pragma once

#include <QByteArray>
#include <QString>

class JsonLine;
struct CalculationRecord;

// Puts the input fields of a JSON object into the record (which holds its
// start values). Refuses bad JSON, anything but an object, an unknown key, a
// value of the wrong type and a 16-bit field that is not a whole number
// within -32768..32767; error then names the field. An absent xk_bulk
// becomes length * width * height.
bool readInputRecord(const QByteArray& json, CalculationRecord& record, QString* error);

// Every field of the record plus sel_text written into line (cleared
// first), the object left open for more fields. Doubles with the shortest
// text that reads back to the same value. False when a double is not a
// finite number (JSON has none); error names the field.
bool recordToJson(const CalculationRecord& record, const QString& selText, JsonLine& line, QString* error);
