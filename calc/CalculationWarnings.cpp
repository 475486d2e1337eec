#include "CalculationWarnings.h"

#include "MissingReferences.h"

#include "CalculationRecord.h"
#include "CalculationTrace.h"
#include "InputChecks.h"
#include "Selection.h"

#include <QLocale>

namespace {

// Figures equal to their limit up to the rounding of doubles are not stretched.
constexpr double Tolerance = 1e-6;
// How far warmer the curve is read again to see which way it goes.
constexpr double Warmer = 0.01;

QString percent(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 1) + QLatin1Char('%');
}

QString degrees(double value)
{
    return TraceText::withUnit(value, QStringLiteral("°C"));
}

// Where the curves read for the unit are implausible, or empty text.
QString implausibleCurve(const ModelTrial& unit, double t)
{
    QStringList faults;
    for (const CapacityReading& q : unit.readings) {
        if (!q.found)
            continue;
        if (q.capacity <= 0)
            faults << QStringLiteral("при t_н = %1 °C производительность не больше 0").arg(q.outside);
        else if (CapacityAtChamber(t + Warmer, q.rated, q.power) < q.capacity)
            faults << QStringLiteral("при t_н = %1 °C она падает с ростом температуры камеры").arg(q.outside);
    }
    if (unit.capacity <= 0 && faults.isEmpty())
        faults << QStringLiteral("производительность при температуре окружающего воздуха не больше 0");
    return faults.join(QStringLiteral("; "));
}

} // namespace

QVector<CalculationWarning> BuildWarnings(const CalculationRecord& r, const QStringList& missingReferences)
{
    QVector<CalculationWarning> list;
    const auto add = [&](const char* code, const QString& text) { list.append({QLatin1String(code), text}); };

    const ModelTrial* unit = r.trace && !r.trace->trials.isEmpty() ? &r.trace->trials.last() : nullptr;
    if (unit) {
        const QString model = unit->model + unit->modification;
        for (const CapacityReading& q : unit->readings) {
            if (q.found && (r.xk_temperature < q.rated[0] || r.xk_temperature > q.rated[2])) {
                add(WarningCode::ChamberOutsideRated,
                    QStringLiteral("Температура в камере %1 вне номинальных %2…%3: производительность %4 "
                                   "экстраполирована")
                        .arg(degrees(r.xk_temperature), TraceText::number(q.rated[0]), degrees(q.rated[2]),
                             model));
                break;
            }
        }
        if (r.by_temperature < RatedAmbientTemperatures[0] || r.by_temperature > RatedAmbientTemperatures[2])
            add(WarningCode::AmbientOutsideRated,
                QStringLiteral("Окружающий воздух %1 вне номинальных %2…%3 °C: производительность %4 "
                               "экстраполирована")
                    .arg(degrees(r.by_temperature))
                    .arg(RatedAmbientTemperatures[0])
                    .arg(RatedAmbientTemperatures[2])
                    .arg(model));
        const QString curve = implausibleCurve(*unit, r.xk_temperature);
        if (!curve.isEmpty())
            add(WarningCode::CapacityCurveImplausible,
                QStringLiteral("Кривая производительности %1 неправдоподобна при t_к = %2: %3")
                    .arg(model, degrees(r.xk_temperature), curve));
    }

    const SelectionFigures figures = ComputeSelectionFigures(r);
    if (figures.runTime && *figures.runTime > r.xo_work + Tolerance)
        add(WarningCode::RunTimeAboveMaximum,
            QStringLiteral("Компрессор работал бы %1 времени (агрегатов: %2) — больше заданных %3%")
                .arg(percent(*figures.runTime))
                .arg(r.xo_count)
                .arg(r.xo_work));
    if (figures.reserve && *figures.reserve < r.xo_power - Tolerance)
        add(WarningCode::ReserveBelowMinimum,
            QStringLiteral("Запас производительности %1 (агрегатов: %2) — меньше заданных %3%")
                .arg(percent(*figures.reserve))
                .arg(r.xo_count)
                .arg(r.xo_power));
    if (r.xo_power < 0)
        add(WarningCode::MinimumReserveNegative,
            QStringLiteral("Минимальный запас производительности %1% меньше 0: агрегат может не покрыть "
                           "нагрузку")
                .arg(r.xo_power));

    if (!missingReferences.isEmpty())
        add(WarningCode::MissingReferences,
            QStringLiteral("В справочнике больше нет: %1; расчет выполнен по текущему справочнику")
                .arg(missingReferences.join(QStringLiteral(", "))));
    // A saved calculation reopened is computed as it was saved, also where the
    // screens would refuse its inputs now.
    const bool reopened = !r.NewCalculation && r.pkey_data != 0;
    for (const FailedInputCheck& failed : reopened ? FailedInputChecks(r) : QVector<FailedInputCheck>())
        add(WarningCode::InputCheckFailed,
            QStringLiteral("Исходные данные не проходят проверку ввода: «%1» (%2)")
                .arg(failed.text, failed.value));
    return list;
}

QVector<CalculationWarning> RecordWarnings(const CalculationContext& context, const CalculationRecord& record)
{
    return BuildWarnings(record, MissingReferenceLines(MissingReferences(context, record)));
}
