#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct CalculationContext;
struct CalculationRecord;

// Model code and temperature class from the equipment type, the refrigerant
// and the chamber temperature. Sets xo_series, xo_type_name and t_class and
// returns xo_series.
QString GetSeries(CalculationContext& context, CalculationRecord& record);
// What GetSeries reads ahead for a type of that series (its model column).
QStringList SeriesReads(const CalculationRecord& record, const QString& series);

// The outside temperatures at which the capacity table rates every unit.
inline constexpr int RatedAmbientTemperatures[3] = {20, 32, 43};

// Capacity of sel_model / sel_modification at the chamber and ambient
// temperatures, interpolated from the nine rated points. A rated ambient
// without rows counts 0 and is noted in context.notices.
double GetPower(CalculationContext& context, CalculationRecord& record);

// Picks the first (smallest) sufficient modification; sets sel_model,
// sel_modification, unit_capacity and verdict.
void SelectUnit(CalculationContext& context, CalculationRecord& record);

// The capacity figures of the chosen unit, derived from the record (P is
// unit_capacity). Written once here for the results screen, the report and
// the command-line tool.
struct SelectionFigures
{
    double running = 0;            // "При работающем компрессоре:"
    double average = 0;            // "Средняя за время процесса:"
    double fullAverage = 0;        // "Полная средняя производительность:"
    std::optional<double> reserve; // "Запас производительности:", % (q_total not 0)
    std::optional<double> runTime; // "Время работы компрессора:", % (xo_work x P not 0)
};
SelectionFigures ComputeSelectionFigures(const CalculationRecord& record);

// The line the results screen shows for the selection (and the report
// prints): the chosen unit, or the verdict when no unit is sufficient.
QString SelectionLine(const CalculationRecord& record);

// A modification as the selection names it: a stored "60" becomes "060".
QString ModificationText(const QString& stored);

// The capacity curve GetPower reads at one rated ambient: the capacity at
// chamber temperature t from P1, P2, P3 rated at T1 < T2 < T3.
double CapacityAtChamber(double t, const double (&rated)[3], const double (&power)[3]);
// Its slope at T3, from which the capacity above T3 levels off.
double CapacitySlopeAtT3(const double (&rated)[3], const double (&power)[3]);
