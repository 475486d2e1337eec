#include "SecondOpinion.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "MoistAir.h"
#include "NumberText.h"
#include "Selection.h"

#include <algorithm>
#include <cmath>

namespace {

using Kind = TraceLine::Kind;
using TraceText::number;

// Share of the time the door stands fully open while it is open (people and
// goods passing), and what the door-opening formula takes for gravity.
constexpr double DoorFlowFactor = 0.8;
constexpr double Gravity = 9.81;

QString u(double value, const char* unit)
{
    return TraceText::withUnit(value, QString::fromUtf8(unit));
}

QString watts(double value)
{
    return u(NumberText::roundHalfEven(value), "Вт");
}

// Watts are shown whole; the numbers behind them stay as computed.
double shownWatts(double value)
{
    return NumberText::roundHalfEven(value);
}

// The state of one air, step by step: `where` names the air in the lines,
// `key` ends their keys.
void airLines(QVector<TraceLine>& lines, const char* key, const QString& where, double t, double phi,
              const MoistAir& air)
{
    const QString tt = TraceText::temperature(t);
    const bool ice = t < 0;
    const qsizetype first = lines.size();
    lines << TraceLine::make(Kind::Step, "ps", QStringLiteral("Давление насыщения, %1").arg(where),
                             ice ? QStringLiteral("p_s = 611.2 × exp(22.46 × t / (272.62 + t))")
                                 : QStringLiteral("p_s = 611.2 × exp(17.62 × t / (243.12 + t))"),
                             (ice ? QStringLiteral("611.2 × exp(22.46 × %1 / (272.62 + %1))")
                                  : QStringLiteral("611.2 × exp(17.62 × %1 / (243.12 + %1))"))
                                 .arg(tt),
                             air.saturationPressure, QStringLiteral("Па"));
    lines << TraceLine::make(
        Kind::Step, "x", QStringLiteral("Влагосодержание, %1").arg(where),
        QStringLiteral("x = 0.622 × φ × p_s / (p − φ × p_s)"),
        QStringLiteral("0.622 × %1 × %2 / (%3 − %1 × %2)")
            .arg(number(phi), u(air.saturationPressure, "Па"), u(AtmosphericPressure, "Па")),
        air.moisture, QStringLiteral("кг/кг"));
    lines << TraceLine::make(
        Kind::Step, "h", QStringLiteral("Энтальпия, %1").arg(where),
        QStringLiteral("h = 1.006 × t + x × (2501 + 1.86 × t)"),
        QStringLiteral("1.006 × %1 + %2 × (2501 + 1.86 × %1)").arg(tt, number(air.moisture)), air.enthalpy,
        QStringLiteral("кДж/кг"));
    lines << TraceLine::make(Kind::Step, "rho", QStringLiteral("Плотность, %1").arg(where),
                             QStringLiteral("ρ = p × (1 + x) / (287.055 × (t + 273.15) × (1 + 1.6078 × x))"),
                             QStringLiteral("%1 × (1 + %2) / (287.055 × (%3 + 273.15) × (1 + 1.6078 × %2))")
                                 .arg(u(AtmosphericPressure, "Па"), number(air.moisture), tt),
                             air.density, QStringLiteral("кг/м³"));
    // "ps_outside", "rho_chamber"
    for (qsizetype i = first; i < lines.size(); ++i)
        lines[i].key += QLatin1Char('_') + QLatin1String(key);
}

// A load the assumptions give as it is.
TraceLine assumedLoad(const char* key, const QString& name, const char* symbol, double value)
{
    TraceLine line = TraceLine::make(Kind::Component, key, name,
                                     QString::fromUtf8(symbol) + QStringLiteral(" (допущение)"), watts(value),
                                     shownWatts(value), QStringLiteral("Вт"));
    if (value == 0)
        line.outcome = QStringLiteral("не учтено");
    return line;
}

// Infiltration through the door: the flow of the fully open door, the share
// of the process it is open, the curtain.
double infiltration(const CalculationRecord& r, const SecondOpinionAssumptions& a, QVector<TraceLine>& lines)
{
    const double phiOutside = r.by_moisture / 100.0;
    const double phiChamber = a.chamberHumidity / 100.0;
    const MoistAir outside = MoistAir::at(r.by_temperature, phiOutside);
    const MoistAir chamber = MoistAir::at(r.xk_temperature, phiChamber);
    airLines(lines, "outside", QStringLiteral("наружный воздух"), r.by_temperature, phiOutside, outside);
    airLines(lines, "chamber", QStringLiteral("воздух камеры"), r.xk_temperature, phiChamber, chamber);

    const double ratio = chamber.density / outside.density;
    const double fm = std::pow(2 / (1 + std::cbrt(ratio)), 1.5);
    lines << TraceLine::make(Kind::Step, "density_factor", QStringLiteral("Коэффициент плотности"),
                             QStringLiteral("F_m = (2 / (1 + (ρ_к / ρ_н)^(1/3)))^1.5"),
                             QStringLiteral("(2 / (1 + (%1 / %2)^(1/3)))^1.5")
                                 .arg(number(chamber.density), number(outside.density)),
                             fm);

    // Only heavier, cooler air flows out at the bottom of the door, and only
    // warmer or moister air brings heat in.
    const bool flows = chamber.density > outside.density && outside.enthalpy > chamber.enthalpy;
    const double open = flows ? 0.221 * r.xk_doors * (outside.enthalpy - chamber.enthalpy) * chamber.density *
                                    std::sqrt(1 - outside.density / chamber.density) *
                                    std::sqrt(Gravity * a.doorHeight) * fm
                              : 0;
    TraceLine openLine = TraceLine::make(
        Kind::Step, "door_open", QStringLiteral("Теплоприток через открытую дверь"),
        QStringLiteral("q = 0.221 × A × (h_н − h_к) × ρ_к × √(1 − ρ_н / ρ_к) × √(9.81 × H) × F_m"),
        QStringLiteral("0.221 × %1 × (%2 − %3) × %4 × √(1 − %5 / %4) × √(9.81 × %6) × %7")
            .arg(u(r.xk_doors, "м²"), number(outside.enthalpy), number(chamber.enthalpy),
                 number(chamber.density), number(outside.density), u(a.doorHeight, "м"), number(fm)),
        open, QStringLiteral("кВт"));
    if (!flows)
        openLine.outcome = chamber.density <= outside.density
                               ? QStringLiteral("0: воздух камеры не тяжелее наружного")
                               : QStringLiteral("0: наружный воздух не несет тепла в камеру");
    lines << openLine;

    const double share = r.px_time == 0 ? 0 : std::min(1.0, r.xk_doors_open / r.px_time);
    TraceLine shareLine = TraceLine::make(
        Kind::Step, "door_time", QStringLiteral("Доля времени открытой двери"),
        QStringLiteral("D_t = min(1, τ_откр / τ)"),
        QStringLiteral("min(1, %1 / %2)").arg(u(r.xk_doors_open, "ч"), u(r.px_time, "ч")), share);
    if (r.px_time == 0)
        shareLine.outcome = QStringLiteral("0: время процесса 0");
    lines << shareLine;

    const double curtain = r.xk_curtain_c / 100;
    const double q = 1000 * open * share * DoorFlowFactor * (1 - curtain);
    lines << TraceLine::make(
        Kind::Component, "infiltration", QStringLiteral("Двери (по формуле открывания)"),
        QStringLiteral("Q_дв = 1000 × q × D_t × D_f × (1 − E)"),
        QStringLiteral("1000 × %1 × %2 × 0.8 × (1 − %3)").arg(u(open, "кВт"), number(share), number(curtain)),
        shownWatts(q), QStringLiteral("Вт"));
    return q;
}

double people(const CalculationRecord& r, QVector<TraceLine>& lines)
{
    const double q = r.px_time == 0 ? 0 : r.xk_people * (272 - 6 * r.xk_temperature) / r.px_time;
    TraceLine line = TraceLine::make(
        Kind::Component, "people", QStringLiteral("Персонал"),
        QStringLiteral("Q_перс = N × (272 − 6 × t_к) / τ"),
        QStringLiteral("%1 × (272 − 6 × %2) / %3")
            .arg(u(r.xk_people, "чел·ч"), TraceText::temperature(r.xk_temperature), u(r.px_time, "ч")),
        shownWatts(q), QStringLiteral("Вт"));
    if (r.px_time == 0)
        line.outcome = QStringLiteral("0: время процесса 0");
    lines << line;
    return q;
}

QVector<ComparedComponent> comparison(const CalculationRecord& r, const SecondOpinion& o)
{
    return {
        {QStringLiteral("Потолок"), double(r.q_ceiling), double(r.q_ceiling)},
        {QStringLiteral("Стены"), double(r.q_walls), double(r.q_walls)},
        {QStringLiteral("Пол"), double(r.q_floor), double(r.q_floor)},
        {QStringLiteral("Продукт"), double(r.q_product), double(r.q_product)},
        {QStringLiteral("Упаковка"), double(r.q_packing), double(r.q_packing)},
        {QStringLiteral("Источники тепла"), double(r.q_sources), double(r.q_sources)},
        {QStringLiteral("Двери"), double(r.q_doors), o.infiltration},
        {QStringLiteral("Персонал"), double(r.q_staff), o.people},
        {QStringLiteral("Вентиляторы"), std::nullopt, o.fans},
        {QStringLiteral("Оттаивание"), std::nullopt, o.defrost},
        {QStringLiteral("Итого"), double(r.q_total), o.total},
        {QStringLiteral("Требуемая производительность агрегата"), r.q_unit_required, o.unitRequired},
    };
}

} // namespace

SecondOpinion ComputeSecondOpinion(const CalculationRecord& r)
{
    SecondOpinion o;
    o.assumptions = r.secondOpinion;
    const SecondOpinionAssumptions& a = o.assumptions;
    o.infiltration = infiltration(r, a, o.lines);
    o.people = people(r, o.lines);
    o.fans = a.fans;
    o.defrost = a.defrost;
    o.lines << assumedLoad("fans", QStringLiteral("Вентиляторы воздухоохладителей"), "Q_вент", o.fans);
    o.lines << assumedLoad("defrost", QStringLiteral("Оттаивание"), "Q_отт", o.defrost);

    const double specified =
        double(r.q_ceiling) + r.q_walls + r.q_floor + r.q_product + r.q_packing + r.q_sources;
    o.total = specified + o.infiltration + o.people + o.fans + o.defrost;
    o.lines << TraceLine::make(
        Kind::Sum, "total", QStringLiteral("Тепловая нагрузка по формуле открывания дверей"),
        QStringLiteral("Q2 = Q_пот + Q_ст + Q_пол + Q_прод + Q_уп + Q_ист + Q_дв + Q_перс + Q_вент + Q_отт"),
        QStringList{watts(r.q_ceiling), watts(r.q_walls), watts(r.q_floor), watts(r.q_product),
                    watts(r.q_packing), watts(r.q_sources), watts(o.infiltration), watts(o.people),
                    watts(o.fans), watts(o.defrost)}
            .join(QStringLiteral(" + ")),
        shownWatts(o.total), QStringLiteral("Вт"));

    const double shared = r.xo_count * (r.xo_work / 100.0);
    o.unitRequired = shared == 0 ? 0 : (1 + r.xo_power / 100.0) * o.total / shared;
    o.lines << TraceLine::make(
        Kind::Sum, "unit_required", QStringLiteral("Требуемая производительность агрегата"),
        QStringLiteral("(1 + запас / 100) × Q2 / (n × время работы / 100)"),
        QStringLiteral("(1 + %1 / 100) × %2 / (%3 × %4 / 100)")
            .arg(u(r.xo_power, "%"), watts(o.total), number(r.xo_count), u(r.xo_work, "%")),
        shownWatts(o.unitRequired), QStringLiteral("Вт"));

    o.covered = r.verdict.isEmpty() && r.unit_capacity >= o.unitRequired;
    TraceLine cover = TraceLine::make(
        Kind::Note, "covered", QStringLiteral("Выбранный агрегат"), QStringLiteral("P ≥ требуемой"),
        QStringLiteral("%1 ≥ %2").arg(watts(r.unit_capacity), watts(o.unitRequired)));
    cover.outcome = !r.verdict.isEmpty() ? QStringLiteral("агрегат не выбран")
                    : o.covered          ? QStringLiteral("покрывает")
                                         : QStringLiteral("не покрывает");
    o.lines << cover;
    o.comparison = comparison(r, o);
    return o;
}

SecondOpinion SecondOpinionOf(CalculationContext& context, const CalculationRecord& record)
{
    SecondOpinion o = ComputeSecondOpinion(record);
    if (o.covered)
        return o;
    CalculationRecord scratch = record;
    scratch.trace.reset();
    scratch.q_unit_required = o.unitRequired;
    // The selection noted missing capacity rows when it ran; looking through
    // the same table again must not tell them once more.
    const qsizetype noticesBefore = context.notices.size();
    SelectUnit(context, scratch);
    context.notices.resize(noticesBefore);
    if (scratch.verdict.isEmpty()) {
        o.model = scratch.sel_model;
        o.modification = scratch.sel_modification;
    }
    TraceLine suggestion =
        TraceLine::make(Kind::Note, "suggested", QStringLiteral("Подходящий агрегат этого типа"),
                        QStringLiteral("первый по порядку подбора с P ≥ требуемой"), watts(o.unitRequired));
    suggestion.outcome = o.model.isEmpty()
                             ? QStringLiteral("в этом типе подходящего нет")
                             : o.model + o.modification + QStringLiteral(", ") + watts(scratch.unit_capacity);
    o.lines << suggestion;
    return o;
}

std::optional<CalculationWarning> SecondOpinionWarning(const SecondOpinion& o)
{
    if (o.covered)
        return std::nullopt;
    const QString suggestion = o.model.isEmpty() ? QStringLiteral("в этом типе подходящего нет")
                                                 : QStringLiteral("подходит ") + o.model + o.modification;
    return CalculationWarning{
        QLatin1String(WarningCode::SecondOpinionNotCovered),
        QStringLiteral("По формуле открывания дверей нагрузка %1 Вт: выбранный агрегат её не покрывает (%2)")
            .arg(QString::number(qint64(NumberText::roundHalfEven(o.total))), suggestion)};
}
