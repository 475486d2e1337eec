#include "Explanation.h"

#include "CalculationRecord.h"
#include "Selection.h"

namespace {

using Kind = TraceLine::Kind;

QString u(double value, const char* unit)
{
    return TraceText::withUnit(value, QString::fromUtf8(unit));
}

// The capacity figures of the chosen unit, as the results screen derives them.
QVector<TraceLine> figureLines(const CalculationRecord& r)
{
    const SelectionFigures f = ComputeSelectionFigures(r);
    const QString w = QStringLiteral("Вт");
    QVector<TraceLine> lines;
    lines << TraceLine::make(Kind::Sum, "average", QStringLiteral("Средняя за время процесса"),
                             QStringLiteral("P × время работы / 100"),
                             QStringLiteral("%1 × %2 / 100").arg(u(f.running, "Вт"), u(r.xo_work, "%")),
                             f.average, w);
    lines << TraceLine::make(Kind::Sum, "full_average", QStringLiteral("Полная средняя производительность"),
                             QStringLiteral("A = P × время работы / 100 × n"),
                             QStringLiteral("%1 × %2 / 100 × %3")
                                 .arg(u(f.running, "Вт"), u(r.xo_work, "%"), TraceText::number(r.xo_count)),
                             f.fullAverage, w);
    TraceLine reserve = TraceLine::make(
        Kind::Sum, "reserve", QStringLiteral("Запас производительности"), QStringLiteral("A × 100 / Q − 100"),
        QStringLiteral("%1 × 100 / %2 − 100").arg(u(f.fullAverage, "Вт"), u(r.q_total, "Вт")), f.reserve,
        QStringLiteral("%"));
    if (!f.reserve)
        reserve.outcome = QStringLiteral("не рассчитывается: Q = 0");
    TraceLine runTime = TraceLine::make(
        Kind::Sum, "run_time", QStringLiteral("Время работы компрессора"),
        QStringLiteral("Q / A × время работы"),
        QStringLiteral("%1 / %2 × %3").arg(u(r.q_total, "Вт"), u(f.fullAverage, "Вт"), u(r.xo_work, "%")),
        f.runTime, QStringLiteral("%"));
    if (!f.runTime)
        runTime.outcome = QStringLiteral("не рассчитывается: A = 0");
    lines << reserve << runTime;
    return lines;
}

} // namespace

Explanation Explain(CalculationContext& context, const CalculationRecord& record)
{
    Explanation e;
    if (record.trace) {
        e.load = record.trace->load;
        e.selection = record.trace->series + record.trace->selection;
        if (!record.trace->selection.isEmpty())
            e.selection += figureLines(record);
    }
    e.warnings = RecordWarnings(context, record);
    e.alternatives = ListAlternatives(context, record);
    e.secondOpinion = SecondOpinionOf(context, record);
    return e;
}
