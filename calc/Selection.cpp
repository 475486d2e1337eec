#include "Selection.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "Lookups.h"
#include "QueryTable.h"
#include "SelectionSteps.h"
#include "SqlLiteral.h"

#include <QStringBuilder>
#include <QVarLengthArray>

namespace {

const char NoSufficientUnit[] =
    "Выбранные тип оборудования и количество агрегатов не обеспечивают результат расчета тепловой нагрузки";

struct ClassTemperatures
{
    double t1, t2, t3;
};

ClassTemperatures temperaturesOf(qint16 tClass)
{
    switch (tClass) {
    case 0:
        return {5, 10, 15};
    case 1:
        return {-5, 0, 5};
    case 2:
        return {-25, -22, -18};
    default:
        return {-45, -35, -25};
    }
}

// The slope of the quadratic through the three rated points, at T3.
double slopeAtT3(const ClassTemperatures& c, double p1, double p2, double p3)
{
    const double t1 = c.t1, t2 = c.t2, t3 = c.t3;
    const double d = (t1 - t3) * (t1 - t2) * (t2 - t3);
    return (-p1 * (t2 - t3) * (t2 - t3) + p2 * (t1 - t3) * (t1 - t3) - p3 * (t1 + t2 - 2 * t3) * (t1 - t2)) /
           d;
}

// Capacity at chamber temperature t from the three rated points of the
// class: the quadratic through them, levelling off above T3.
double capacityAt(double t, const ClassTemperatures& c, double p1, double p2, double p3)
{
    const double t1 = c.t1, t2 = c.t2, t3 = c.t3;
    const double d = (t1 - t3) * (t1 - t2) * (t2 - t3);
    if (t <= t3)
        return p1 * (t - t2) * (t - t3) * (t2 - t3) / d - p2 * (t - t1) * (t - t3) * (t1 - t3) / d +
               p3 * (t - t1) * (t - t2) * (t1 - t2) / d;
    const double slope = slopeAtT3(c, p1, p2, p3);
    const double gain = p3 - p2;
    const double denominator = gain + slope * (t - t3);
    // Flat from T2 on, or a point where the curve has no value (a capacity
    // falling from T2 to T3 after a steep dip): the capacity at T3, never an
    // infinite one.
    if (gain == 0 || denominator == 0)
        return p3;
    return p3 + gain * (1 - gain / denominator);
}

// The modification as the record shows it ("060"): written as the number it
// stands for, or as a text literal when it is none, so that a stored value
// never becomes part of the statement.
QString modificationLiteral(const QString& modification)
{
    bool isNumber = false;
    // Whole, as modifications are, without the general conversion's cost;
    // the same text as the number's.
    const qint64 whole = modification.toLongLong(&isNumber);
    if (isNumber && std::abs(whole) < 1000000000000000)
        return SqlLiteral::integer(whole);
    const double value = modification.toDouble(&isNumber);
    return isNumber ? SqlLiteral::number(value) : SqlLiteral::text(modification);
}

// Whether the capacity table has a model code.
QString modelCodeRead(const QString& series)
{
    return QStringLiteral("SELECT model FROM power WHERE model=") + SqlLiteral::text(series.trimmed());
}

// The modifications of a model code, smallest first.
QString modificationsRead(const QString& series)
{
    return QStringLiteral("SELECT DISTINCT model,modification FROM power where model = ") +
           SqlLiteral::text(series) + QStringLiteral(" ORDER BY model, modification");
}

QString capacityCondition(const QString& model)
{
    return QStringLiteral(" FROM power where model =") % SqlLiteral::text(model);
}

// The rated points of a modification (as the record shows it) at the three
// rated ambients, each with its rows in in_t order: one read, as a request
// to a server costs its round trip.
QString capacityRead(const QString& model, const QString& modification)
{
    return QStringLiteral("SELECT out_t, in_t, power") % capacityCondition(model) %
           QStringLiteral(" AND modification=") % modificationLiteral(modification) %
           QStringLiteral(" ORDER BY out_t,in_t");
}

} // namespace

namespace {

// The letter of the model code and the temperature class for a series, by
// rules that apply one after the other, a later one overriding; rule 0 (no
// letter, the class left as it was) when none applies.
struct SeriesRule
{
    int rule = 0;
    QString letter;
    std::optional<qint16> tClass;
};

SeriesRule seriesRuleOf(const QString& series, const QString& gas, double t)
{
    const bool condensing = series == QLatin1String("KMC") || series == QLatin1String("KSC");
    const bool packaged = series == QLatin1String("KMP") || series == QLatin1String("KSP");
    const bool r22 = gas == QLatin1String("R22");
    SeriesRule s;
    if (t > 8) {
        s.rule = 1;
        s.letter = condensing ? QStringLiteral("C")
                   : packaged ? QStringLiteral("P")
                   : r22      ? QStringLiteral("H")
                              : QStringLiteral("A");
        s.tClass = 0;
    }
    if (t <= 8) {
        s.rule = 2;
        s.letter = condensing ? QStringLiteral("C")
                   : packaged ? (r22 ? QStringLiteral("P") : QStringLiteral("Q"))
                              : (r22 ? QStringLiteral("M") : QStringLiteral("N"));
        s.tClass = 1;
    }
    if (t <= -8) {
        s.rule = 3;
        s.letter = condensing ? (r22 ? QStringLiteral("C") : QStringLiteral("X"))
                   : packaged ? (r22 ? QStringLiteral("P") : QStringLiteral("Q"))
                              : (r22 ? QStringLiteral("B") : QStringLiteral("K"));
        s.tClass = condensing ? 3 : 2;
    }
    if (t <= -28) {
        s.rule = 4;
        s.letter = packaged ? (r22 ? QStringLiteral("P") : QStringLiteral("Q"))
                            : (r22 ? QStringLiteral("C") : QStringLiteral("X"));
        s.tClass = 3;
    }
    return s;
}

// The selection reads the modifications of whichever code is found.
QStringList codeReads(const QString& code, const QString& series)
{
    return {modelCodeRead(code), modificationsRead(code), modificationsRead(series.left(2))};
}

} // namespace

QString GetSeries(CalculationContext& context, CalculationRecord& r)
{
    QueryTable table;
    QString series;
    if (ReadReference(
            context, {KeptLookups::Kind::Equipment, r.xo_type1},
            [&r] { return LookupReads::equipment(r.xo_type1); }, table) > 0) {
        series = table.text(0, 0);
        r.xo_type_name = table.text(0, 1);
    }
    const SeriesRule rule = seriesRuleOf(series, r.xo_gas, r.xk_temperature);
    if (rule.tClass)
        r.t_class = *rule.tClass;
    r.xo_series = series.left(2) + rule.letter;
    ReadAhead(context, [&] { return codeReads(r.xo_series, series); });
    if (ReadReference(
            context, {KeptLookups::Kind::ModelCode, 0, r.xo_series},
            [&r] { return modelCodeRead(r.xo_series); }, table) == 0)
        r.xo_series = series.left(2);
    SelectionSteps::series(r, series, rule.rule, rule.letter);
    return r.xo_series;
}

QStringList SeriesReads(const CalculationRecord& record, const QString& series)
{
    return codeReads(series.left(2) + seriesRuleOf(series, record.xo_gas, record.xk_temperature).letter,
                     series);
}

double GetPower(CalculationContext& context, CalculationRecord& r)
{
    const ClassTemperatures c = temperaturesOf(r.t_class);
    double q[3] = {0, 0, 0};
    const int(&outside)[3] = RatedAmbientTemperatures;
    QueryTable table;
    const int rows = ReadReference(
        context, {KeptLookups::Kind::Capacity, 0, r.sel_model, r.sel_modification},
        [&r] { return capacityRead(r.sel_model, r.sel_modification); }, table);
    // The ambient of each row, read once: each of the three is looked for
    // from the first row on.
    QVarLengthArray<double, 32> ambients(rows);
    for (int row = 0; row < rows; ++row)
        ambients[row] = table.number(row, 0);
    for (int i = 0; i < 3; ++i) {
        int first = 0;
        while (first < rows && ambients[first] != outside[i])
            ++first;
        int count = 0;
        while (first + count < rows && ambients[first + count] == outside[i])
            ++count;
        if (count == 0) {
            // A failed read is the action's to report, once.
            if (context.failedReads.any())
                return 0;
            context.notices << QStringLiteral("Записей не найдено!") + QLatin1Char('\n') +
                                   QStringLiteral("SELECT in_t, power") % capacityCondition(r.sel_model) %
                                       QStringLiteral(" AND out_t=") % SqlLiteral::integer(outside[i]) %
                                       QStringLiteral(" AND modification=") %
                                       modificationLiteral(r.sel_modification) %
                                       QStringLiteral(" ORDER BY out_t,in_t");
            continue;
        }
        // The ambient's first three rows; one it lacks reads as empty.
        const auto cell = [&](int k, int column) {
            return table.number(k < count ? first + k : rows, column);
        };
        q[i] = capacityAt(r.xk_temperature, c, cell(0, 2), cell(1, 2), cell(2, 2));
        if (r.trace)
            SelectionSteps::reading(r, i,
                                    {outside[i],
                                     true,
                                     {c.t1, c.t2, c.t3},
                                     {cell(0, 2), cell(1, 2), cell(2, 2)},
                                     q[i],
                                     {cell(0, 1), cell(1, 1), cell(2, 1)}});
    }
    const double ta = r.by_temperature;
    const double a = ta - 20, b = ta - 32, cc = ta - 43;
    return (q[0] * 11 * b * cc - q[1] * 23 * a * cc + q[2] * 12 * a * b) / 3036;
}

void SelectUnit(CalculationContext& context, CalculationRecord& r)
{
    // The administrator may rewrite a capacity set while the selection reads
    // it in several statements: one read transaction makes them all see the
    // same version of the table.
    const ReadTransaction snapshot(context.ref_db.get());
    SelectionSteps steps(r);
    r.verdict = QString::fromUtf8(NoSufficientUnit);
    QueryTable table;
    const int rows = ReadReference(
        context, {KeptLookups::Kind::Modifications, 0, r.xo_series},
        [&r] { return modificationsRead(r.xo_series); }, table);
    // Every modification that may be tried, in one request.
    ReadAhead(context, [&] {
        QStringList capacities;
        for (int row = 0; row < rows; ++row)
            capacities << capacityRead(table.text(row, 0), ModificationText(table.text(row, 1)));
        return capacities;
    });
    for (int row = 0; row < rows; ++row) {
        r.sel_model = table.text(row, 0);
        r.sel_modification = ModificationText(table.text(row, 1));
        steps.tryModel();
        r.unit_capacity = GetPower(context, r);
        if (context.failedReads.any())
            return;
        const bool sufficient = r.unit_capacity >= r.q_unit_required;
        steps.tried(sufficient);
        if (sufficient) {
            r.verdict.clear();
            return;
        }
    }
}

SelectionFigures ComputeSelectionFigures(const CalculationRecord& r)
{
    SelectionFigures f;
    f.running = r.unit_capacity;
    f.average = r.unit_capacity * 0.01 * r.xo_work;
    f.fullAverage = r.unit_capacity * 0.01 * r.xo_work * r.xo_count;
    if (r.q_total != 0)
        f.reserve = f.fullAverage * 100 / r.q_total - 100;
    // Also guards a unit count of 0, which would divide by zero.
    if (f.fullAverage != 0)
        f.runTime = r.q_total / f.fullAverage * r.xo_work;
    return f;
}

QString SelectionLine(const CalculationRecord& r)
{
    if (!r.verdict.isEmpty())
        return r.verdict;
    return r.xo_type_name + QStringLiteral(" модель ") +
           (r.sel_model.size() == 2 ? QStringLiteral("0") : QString()) + r.sel_model + r.sel_modification +
           QStringLiteral(" в количестве ") + QString::number(r.xo_count) + QStringLiteral(" шт.");
}

QString ModificationText(const QString& stored)
{
    return stored.size() == 2 ? QLatin1Char('0') + stored : stored;
}

double CapacityAtChamber(double t, const double (&rated)[3], const double (&power)[3])
{
    return capacityAt(t, {rated[0], rated[1], rated[2]}, power[0], power[1], power[2]);
}

double CapacitySlopeAtT3(const double (&rated)[3], const double (&power)[3])
{
    return slopeAtT3({rated[0], rated[1], rated[2]}, power[0], power[1], power[2]);
}
