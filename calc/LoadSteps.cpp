#include "LoadSteps.h"

#include "CalculationRecord.h"

namespace {

using Kind = TraceLine::Kind;
using TraceText::number;

QString u(double value, const char* unit)
{
    return TraceText::withUnit(value, QString::fromUtf8(unit));
}

// A number after a minus sign or inside a product, bracketed when negative.
QString p(double value)
{
    return value < 0 ? QLatin1Char('(') + number(value) + QLatin1Char(')') : number(value);
}

// Units of the intermediate figures: the rate turns kcal per kg into W, the
// air factors and their difference are heat contents of the ambient air, the
// air flow is per m² of door and hour open.
const char RateUnit[] = "Вт·кг/ккал";
const char AirFactorUnit[] = "ккал/(кг·°C)";
const char AirTermUnit[] = "ккал/кг";
const char AirFlowUnit[] = "м³/(м²·ч)";

QString kept(const QString& why)
{
    return why + QStringLiteral(": не рассчитывается, остается прежнее значение");
}

const char* const RuleConditions[] = {
    "t_кон > t_нз: продукт не замерзает",
    "t_вх < t_кз: продукт поступает замороженным",
    "t_вх ≥ t_нз и t_кон ≤ t_кз: продукт проходит всю зону замерзания",
    "t_вх > t_нз: продукт поступает незамороженным и остается в зоне замерзания",
    "t_вх в зоне замерзания: продукт домораживается",
};

} // namespace

LoadSteps::LoadSteps(const CalculationRecord& record) : m_r(record), m_on(record.trace != nullptr) {}

TraceLine& LoadSteps::add(Kind kind, const char* key, const QString& name, const QString& formula,
                          const QString& values, double value, const QString& unit)
{
    m_lines.append(TraceLine::make(kind, key, name, formula, values, value, unit));
    return m_lines.last();
}

void LoadSteps::diffusion(double floorArea, double wallArea, qint32 floor, qint32 ceiling, qint32 walls)
{
    if (!m_on)
        return;
    const CalculationRecord& r = m_r;
    const QString m2 = QStringLiteral("м²");
    add(Kind::Step, "floor_area", QStringLiteral("Площадь пола и потолка"), QStringLiteral("S = L × W"),
        u(r.xk_length, "м") + QStringLiteral(" × ") + u(r.xk_width, "м"), floorArea, m2);
    add(Kind::Step, "wall_area", QStringLiteral("Площадь стен"),
        QStringLiteral("S_ст = 2 × L × H + 2 × W × H"),
        QStringLiteral("2 × %1 × %2 + 2 × %3 × %2")
            .arg(u(r.xk_length, "м"), u(r.xk_height, "м"), u(r.xk_width, "м")),
        wallArea, m2);

    struct Surface
    {
        const char* key;
        const char* name;
        double outside;
        const char* outsideSymbol;
        double area;
        const char* areaSymbol;
        double k;
        qint16 thickness;
        qint32 q;
    };
    // In the order the calculation takes them.
    const Surface surfaces[] = {
        {"q_floor", "Пол", r.by_ground, "t_гр", floorArea, "S", r.xk_floor_k, r.xk_floor, floor},
        {"q_ceiling", "Потолок", r.by_temperature, "t_н", floorArea, "S", r.xk_ceiling_k, r.xk_ceiling,
         ceiling},
        {"q_walls", "Стены", r.by_temperature, "t_н", wallArea, "S_ст", r.xk_wall_k, r.xk_wall, walls},
    };
    for (const Surface& s : surfaces) {
        const QString formula = QStringLiteral("Q = |t_к − %1| × %2 × λ / (δ / 1000)")
                                    .arg(QString::fromUtf8(s.outsideSymbol), QString::fromUtf8(s.areaSymbol));
        const QString values = s.thickness == 0
                                   ? kept(QStringLiteral("δ = 0 мм"))
                                   : QStringLiteral("|%1 − %2| × %3 × %4 / (%5 / 1000)")
                                         .arg(u(r.xk_temperature, "°C"), TraceText::temperature(s.outside),
                                              u(s.area, "м²"), u(s.k, "Вт/(м·°C)"), u(s.thickness, "мм"));
        add(Kind::Component, s.key, QString::fromUtf8(s.name), formula, values, s.q, QStringLiteral("Вт"));
    }
}

void LoadSteps::product(const Product& pr)
{
    if (!m_on)
        return;
    const CalculationRecord& r = m_r;
    const QString kg = QStringLiteral("кг"), w = QStringLiteral("Вт");
    add(Kind::Step, "mass", QStringLiteral("Масса продукта в камере"), QStringLiteral("M = масса × 1000"),
        u(r.px_weight, "т") + QStringLiteral(" × 1000"), pr.massInChamber, kg);
    add(Kind::Step, "mass_incoming", QStringLiteral("Поступление продукта за процесс"),
        QStringLiteral("m = M × поступление / 100"),
        u(pr.massInChamber, "кг") + QStringLiteral(" × ") + u(r.px_turnover, "%") + QStringLiteral(" / 100"),
        pr.massIncoming, kg);
    productRule(pr);
    productHeats(pr);
    if (r.px_time != 0)
        add(Kind::Step, "rate", QStringLiteral("Пересчет в ватты за время процесса"),
            QStringLiteral("F = m × 1.163 / τ"),
            QStringLiteral("%1 × 1.163 / %2").arg(u(pr.massIncoming, "кг"), u(r.px_time, "ч")), pr.rate,
            QString::fromUtf8(RateUnit));
    else
        add(Kind::Step, "rate", QStringLiteral("Пересчет в ватты за время процесса"),
            QStringLiteral("F = M при τ = 0 ч"), u(pr.massInChamber, "кг"), pr.rate,
            QString::fromUtf8(RateUnit));

    const struct
    {
        const char* key;
        const char* name;
        const char* formula;
        double heat;
        qint32 q;
    } heats[] = {
        {"q_cooling", "Охлаждение", "Q = h_охл × F", pr.cool, pr.q_cooling},
        {"q_freezing", "Заморозка", "Q = h_зам × F", pr.freeze, pr.q_freezing},
        {"q_frozen_cooling", "Охлаждение замороженного", "Q = h_з.охл × F", pr.frozen, pr.q_frozen_cooling},
    };
    for (const auto& h : heats)
        add(Kind::Component, h.key, QString::fromUtf8(h.name), QString::fromUtf8(h.formula),
            u(h.heat, "ккал/кг") + QStringLiteral(" × ") + u(pr.rate, RateUnit), h.q, w);

    const QString table = QStringLiteral("q0 = %1, q2 = %2, q5 = %3, q15 = %4 Вт/кг; округл. t_нз = %5 °C")
                              .arg(number(r.td0), number(r.td2), number(r.td5), number(r.td15))
                              .arg(number(qRound(r.tko)));
    const QString respirationFormula =
        QStringLiteral("q_д(t): по q0, q2, q5, q15 при 0, 2, 5, 15 °C; 0 при t ≤ округл. t_нз");
    add(Kind::Step, "respiration_end", QStringLiteral("Дыхание 1 кг при конечной температуре"),
        respirationFormula, QStringLiteral("t = t_кон = %1; ").arg(u(r.px_end_t, "°C")) + table,
        pr.respirationEnd, QStringLiteral("Вт/кг"));
    add(Kind::Step, "respiration_start", QStringLiteral("Дыхание 1 кг при температуре поступления"),
        respirationFormula, QStringLiteral("t = t_вх = %1; ").arg(u(r.px_start_t, "°C")) + table,
        pr.respirationStart, QStringLiteral("Вт/кг"));
    add(Kind::Component, "q_respiration", QStringLiteral("Дыхание"),
        QStringLiteral("Q = M × q_д(t_кон) + 0.5 × m × q_д(t_вх)"),
        QStringLiteral("%1 × %2 + 0.5 × %3 × %4")
            .arg(u(pr.massInChamber, "кг"), u(pr.respirationEnd, "Вт/кг"), u(pr.massIncoming, "кг"),
                 u(pr.respirationStart, "Вт/кг")),
        pr.q_respiration, w);
    add(Kind::Sum, "q_product", QStringLiteral("Продукт"),
        QStringLiteral("Q_прод = Q_охл + Q_зам + Q_з.охл + Q_д"),
        QStringLiteral("%1 + %2 + %3 + %4 Вт")
            .arg(pr.q_cooling)
            .arg(pr.q_freezing)
            .arg(pr.q_frozen_cooling)
            .arg(pr.q_respiration),
        pr.q_product, w);
}

void LoadSteps::productRule(const Product& pr)
{
    const CalculationRecord& r = m_r;
    const QString ts = QStringLiteral("t_вх = ") + u(r.px_start_t, "°C");
    const QString te = QStringLiteral("t_кон = ") + u(r.px_end_t, "°C");
    const QString tko = QStringLiteral("t_нз = ") + u(r.tko, "°C");
    const QString tnz = QStringLiteral("t_кз = ") + u(r.tnz, "°C");
    QString why;
    switch (pr.rule) {
    case 1:
        why = te + QStringLiteral(" > ") + tko;
        break;
    case 2:
        why = te + QStringLiteral(" ≤ ") + tko + QStringLiteral("; ") + ts + QStringLiteral(" < ") + tnz;
        break;
    case 3:
        why = ts + QStringLiteral(" ≥ ") + tko + QStringLiteral("; ") + te + QStringLiteral(" ≤ ") + tnz;
        break;
    case 4:
        why = ts + QStringLiteral(" > ") + tko + QStringLiteral("; ") + te + QStringLiteral(" > ") + tnz;
        break;
    default:
        why = tnz + QStringLiteral(" ≤ ") + ts + QStringLiteral(" ≤ ") + tko;
        break;
    }
    add(Kind::Note, "product_rule",
        QStringLiteral("Правило для продукта (t_нз, t_кз — начало и конец замерзания)"),
        QString::fromUtf8(RuleConditions[qBound(1, pr.rule, 5) - 1]), why, pr.rule, QString())
        .outcome = QStringLiteral("правило %1").arg(pr.rule);
}

void LoadSteps::productHeats(const Product& pr)
{
    const CalculationRecord& r = m_r;
    const QString perKg = QStringLiteral("ккал/кг");
    const QString co = u(r.co, "ккал/(кг·°C)"), cz = u(r.cz, "ккал/(кг·°C)");
    const int rule = pr.rule;
    if (rule == 1)
        add(Kind::Step, "h_cool", QStringLiteral("Теплота охлаждения 1 кг"),
            QStringLiteral("h_охл = (t_вх − t_кон) × c_о"),
            QStringLiteral("(%1 − %2) °C × %3").arg(number(r.px_start_t), p(r.px_end_t), co), pr.cool, perKg);
    if (rule == 3 || rule == 4)
        add(Kind::Step, "h_cool", QStringLiteral("Теплота охлаждения 1 кг"),
            QStringLiteral("h_охл = (t_вх − t_нз) × c_о"),
            QStringLiteral("(%1 − %2) °C × %3").arg(number(r.px_start_t), p(r.tko), co), pr.cool, perKg);
    if (rule == 3)
        add(Kind::Step, "h_freeze", QStringLiteral("Теплота замораживания 1 кг"), QStringLiteral("h_зам = r"),
            QStringLiteral("r = ") + u(r.cwr, "ккал/кг"), pr.freeze, perKg);
    if (rule == 4)
        add(Kind::Step, "h_freeze", QStringLiteral("Теплота частичного замораживания 1 кг"),
            QStringLiteral("h_зам = (t_нз − t_кон) × ((t_кз − t_кон) × c_з + r × (t_нз − 2 × t_кз + t_кон) / "
                           "(t_нз − t_кз)) / (t_нз − t_кз)"),
            QStringLiteral("(%1 − %2) × ((%3 − %2) × %4 + %5 × (%1 − 2 × %3 + %2) / (%1 − %3)) / (%1 − %3)")
                .arg(number(r.tko), p(r.px_end_t), p(r.tnz), number(r.cz), number(r.cwr)),
            pr.freeze, perKg);
    const bool leavesInsideRange = rule == 5 && r.px_end_t > r.tnz;
    if (leavesInsideRange)
        add(Kind::Step, "h_freeze", QStringLiteral("Теплота частичного домораживания 1 кг"),
            QStringLiteral(
                "h_зам = F(t_вх) − F(t_кон), F(x) = (x − t_кз) × (c_з × (t_нз − x) + r × (x − t_кз) / "
                "(t_нз − t_кз)) / (t_нз − t_кз)"),
            QStringLiteral("(%1 − %2) × (%3 × (%4 − %1) + %5 × (%1 − %2) / (%4 − %2)) / (%4 − %2) − "
                           "(%6 − %2) × (%3 × (%4 − %6) + %5 × (%6 − %2) / (%4 − %2)) / (%4 − %2)")
                .arg(number(r.px_start_t), p(r.tnz), number(r.cz), number(r.tko), number(r.cwr),
                     p(r.px_end_t)),
            pr.freeze, perKg);
    else if (rule == 5)
        add(Kind::Step, "h_freeze", QStringLiteral("Теплота домораживания 1 кг"),
            QStringLiteral(
                "h_зам = (t_вх − t_кз) × (c_з × (t_нз − t_вх) + r × (t_вх − t_кз) / (t_нз − t_кз)) / "
                "(t_нз − t_кз)"),
            QStringLiteral("(%1 − %2) × (%3 × (%4 − %1) + %5 × (%1 − %2) / (%4 − %2)) / (%4 − %2)")
                .arg(number(r.px_start_t), p(r.tnz), number(r.cz), number(r.tko), number(r.cwr)),
            pr.freeze, perKg);
    if (rule == 2)
        add(Kind::Step, "h_frozen", QStringLiteral("Теплота охлаждения 1 кг замороженного"),
            QStringLiteral("h_з.охл = (t_вх − t_кон) × c_з"),
            QStringLiteral("(%1 − %2) °C × %3").arg(number(r.px_start_t), p(r.px_end_t), cz), pr.frozen,
            perKg);
    if (rule == 3 || (rule == 5 && !leavesInsideRange))
        add(Kind::Step, "h_frozen", QStringLiteral("Теплота охлаждения 1 кг замороженного"),
            QStringLiteral("h_з.охл = (t_кз − t_кон) × c_з"),
            QStringLiteral("(%1 − %2) °C × %3").arg(number(r.tnz), p(r.px_end_t), cz), pr.frozen, perKg);
}

void LoadSteps::extra(const Extra& e)
{
    if (!m_on)
        return;
    const CalculationRecord& r = m_r;
    const QString w = QStringLiteral("Вт");
    add(Kind::Component, "q_sources", QStringLiteral("Дополнительное тепло (источники в камере)"),
        QStringLiteral("Q = мощность источников"), u(r.xk_heat, "Вт"), e.q_sources, w);
    add(Kind::Step, "staff_heat", QStringLiteral("Тепловыделение одного человека"),
        QStringLiteral("q_чел(t_к): по таблице от 589 Вт при -50 °C до 152 Вт при 15 °C через 5 °C"),
        QStringLiteral("t_к = ") + u(r.xk_temperature, "°C"), e.staffHeat, w);
    add(Kind::Component, "q_staff", QStringLiteral("Персонал"), QStringLiteral("Q = N × q_чел / τ"),
        r.px_time == 0 ? kept(QStringLiteral("τ = 0 ч"))
                       : QStringLiteral("%1 × %2 / %3")
                             .arg(u(r.xk_people, "чел·ч"), u(e.staffHeat, "Вт"), u(r.px_time, "ч")),
        e.q_staff, w);
    add(Kind::Component, "q_packing", QStringLiteral("Упаковка"),
        QStringLiteral("Q = F × c_уп × m_уп × (t_вх − t_кон) × 0.01"),
        QStringLiteral("%1 × %2 × %3 × (%4 − %5) °C × 0.01")
            .arg(u(e.rate, RateUnit), u(r.packing_thermal, "ккал/(кг·°C)"), u(r.packing_mass, "%"),
                 number(r.px_start_t), p(r.px_end_t)),
        e.q_packing, w);

    const QString air =
        QStringLiteral("t_н = %1, φ = %2").arg(u(r.by_temperature, "°C"), u(r.by_moisture, "%"));
    add(Kind::Step, "air_warm", QStringLiteral("Теплосодержание воздуха, множитель A"),
        QStringLiteral("A = 0.244 + t_н × (0.00008 × t_н + 0.00023 × φ − 0.00335) + 0.0003 × φ"), air, e.warm,
        QString::fromUtf8(AirFactorUnit));
    add(Kind::Step, "air_cold", QStringLiteral("Теплосодержание воздуха, множитель B"),
        QStringLiteral("B = 0.44 + t_н × (0.001 + 0.00000125 × φ × t_н − 0.0000125 × φ) + 0.000125 × φ"), air,
        e.cold, QString::fromUtf8(AirFactorUnit));
    add(Kind::Step, "air_term", QStringLiteral("Разность теплосодержания воздуха"),
        QStringLiteral("D = t_н × F_н − t_к × F_к; F = B ниже 0 °C, иначе A"),
        QStringLiteral("%1 × %2 − %3 × %4")
            .arg(u(r.by_temperature, "°C"), u(e.ambientFactor, AirFactorUnit),
                 TraceText::temperature(r.xk_temperature), u(e.chamberFactor, AirFactorUnit)),
        e.airTerm, QString::fromUtf8(AirTermUnit));
    add(Kind::Step, "air_flow", QStringLiteral("Воздухообмен через двери"),
        QStringLiteral("V = (3.54 + 0.04 × t_к) × √V_к; 0 при V_к = 0"),
        QStringLiteral("(3.54 + 0.04 × %1) × √%2")
            .arg(TraceText::temperature(r.xk_temperature), u(r.xk_bulk, "м³")),
        e.airFlow, QString::fromUtf8(AirFlowUnit));
    add(Kind::Component, "q_doors", QStringLiteral("Двери"),
        QStringLiteral("Q = D × (1 − c_зан / 100) × V × S_дв × τ_дв × 10.318 / τ; 10.318 — опытный множитель "
                       "притока воздуха через дверь с переводом ккал/ч в Вт"),
        r.px_time == 0
            ? kept(QStringLiteral("τ = 0 ч"))
            : QStringLiteral("%1 × (1 − %2 / 100) × %3 × %4 × %5 × 10.318 / %6")
                  .arg(u(e.airTerm, AirTermUnit), u(r.xk_curtain_c, "%"), u(e.airFlow, AirFlowUnit),
                       u(r.xk_doors, "м²"), u(r.xk_doors_open, "ч"), u(r.px_time, "ч")),
        e.q_doors, w);
    add(Kind::Sum, "q_extra", QStringLiteral("Дополнительно: двери, персонал, источники, упаковка"),
        QStringLiteral("Q_доп = Q_дв + Q_пер + Q_ист + Q_уп"),
        QStringLiteral("%1 + %2 + %3 + %4 Вт")
            .arg(e.q_doors)
            .arg(e.q_staff)
            .arg(e.q_sources)
            .arg(e.q_packing),
        e.q_extra, w);
}

void LoadSteps::totals(const Totals& t)
{
    if (!m_on)
        return;
    const CalculationRecord& r = m_r;
    const QString w = QStringLiteral("Вт");
    add(Kind::Sum, "diffusion", QStringLiteral("Диффузия"), QStringLiteral("Q_диф = Q_пот + Q_пол + Q_ст"),
        QStringLiteral("%1 + %2 + %3 Вт").arg(t.q_ceiling).arg(t.q_floor).arg(t.q_walls), t.diffusion, w);
    add(Kind::Sum, "q_total", QStringLiteral("Тепловая нагрузка"),
        QStringLiteral("Q = Q_диф + Q_прод + Q_доп"),
        QStringLiteral("%1 + %2 + %3 Вт").arg(t.diffusion).arg(t.q_product).arg(t.q_extra), t.q_total, w);
    add(Kind::Sum, "q_unit_required", QStringLiteral("Требуемая производительность агрегата"),
        QStringLiteral("Q_агр = (1 + запас / 100) × Q / (n × время работы / 100)"),
        t.runningShare == 0
            ? kept(QStringLiteral("n × время работы = 0"))
            : QStringLiteral("(1 + %1 / 100) × %2 / (%3 × %4 / 100)")
                  .arg(u(r.xo_power, "%"), u(t.q_total, "Вт"), number(r.xo_count), u(r.xo_work, "%")),
        t.q_unit_required, w);
}

void LoadSteps::commit(CalculationRecord& record)
{
    if (m_on)
        record.trace->load = std::move(m_lines);
}
