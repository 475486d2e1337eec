#pragma once

#include <QString>
#include <QVector>
#include <optional>

// One step of the calculation as an engineer checks it by hand: what is
// computed, its formula, the same formula with the record's numbers and
// units, and the result.
struct TraceLine
{
    enum class Kind {
        Step,      // an intermediate quantity: an area, a mass, a factor
        Component, // a load component; the components add up to q_total
        Sum,       // a sum of components, the required capacity, a capacity read
        Note,      // a rule or a decision
    };
    Kind kind = Kind::Step;
    QString key;  // stable: the record field the step fills, or the step's own name
    QString name; // in Russian
    QString formula;
    QString values;
    std::optional<double> value; // the result in `unit`
    QString unit;
    QString outcome; // a result in words, where the step decides rather than computes

    // The result as the window and the report show it.
    QString resultText() const;

    // A line whose formula and values may hold constants written with a
    // point: they are shown with the system's decimal separator.
    static TraceLine make(Kind kind, const char* key, const QString& name, const QString& formula,
                          const QString& values, std::optional<double> value = {}, const QString& unit = {},
                          const QString& outcome = {});
};

// The capacity table read for one modification at one rated ambient.
struct CapacityReading
{
    int outside = 0;
    bool found = false;
    double rated[3] = {0, 0, 0};  // chamber temperatures T1 < T2 < T3 of the class
    double power[3] = {0, 0, 0};  // P1, P2, P3 at them
    double capacity = 0;          // at the chamber temperature
    double stored[3] = {0, 0, 0}; // the chamber temperatures the table gives for P1, P2, P3
};

// One modification the selection tried, in the order it tried them.
struct ModelTrial
{
    QString model, modification;
    CapacityReading readings[3]; // at 20, 32 and 43 °C
    double capacity = 0;         // at the ambient temperature
    bool sufficient = false;
};

// What the heat-load calculation and the selection did, recorded by each
// step as it runs, with the very values it stores. A record carries one
// when somebody wants the steps explained (the wizard, frostpick-calc
// --explain); each part is replaced when its step runs again.
struct CalculationTrace
{
    QVector<TraceLine> load;      // CalculateLoad, replaced only by a run that stores its results
    QVector<TraceLine> series;    // GetSeries: how the model code was formed
    QVector<TraceLine> selection; // SelectUnit: each modification tried and the choice
    QVector<ModelTrial> trials;   // the same trials as figures
};

// How the steps write their numbers: about four significant digits, never
// fewer than all integer digits, no trailing zeros, the system's decimal
// separator.
namespace TraceText {

QString number(double value);
// A number and its unit: "20 °C", "0.03 Вт/(м·°C)".
QString withUnit(double value, const QString& unit);
// A temperature inside a formula, bracketed when negative: "(-18 °C)".
QString temperature(double value);

} // namespace TraceText
