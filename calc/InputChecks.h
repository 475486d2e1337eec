#pragma once

#include <QString>
#include <QVector>

struct CalculationRecord;

// The checks the input screens make before a calculation goes on, with the
// screens' messages. The screens show the messages; frostpick-calc --input
// refuses a calculation that fails one; a saved calculation that fails one
// is computed as it was saved and warns of each.
namespace InputCheckText {
QString length();
QString width();
QString height();
QString chamberTooLarge();
QString processTime();
QString mass();
QString entryBelowFinal();
QString finalBelowChamber(double chamberTemperature);
QString unitCount();
QString runTime();
} // namespace InputCheckText

struct FailedInputCheck
{
    QString field; // the record field the check reads, as frostpick-calc names it
    QString value; // that value in the engineer's words, e.g. "длина камеры -5"
    QString text;  // the screen's message
};

// The checks the record fails, in the order the screens make them: length,
// width, height, their product, process time, mass, entry against final
// temperature, final against chamber temperature, number of units,
// compressor run time.
QVector<FailedInputCheck> FailedInputChecks(const CalculationRecord& record);
