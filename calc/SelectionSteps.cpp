#include "SelectionSteps.h"

#include "CalculationRecord.h"
#include "Selection.h"

#include <algorithm>
#include <iterator>

namespace {

using Kind = TraceLine::Kind;
using TraceText::number;

const char* const LetterRules[] = {"t_к > 8 °C", "t_к ≤ 8 °C", "t_к ≤ -8 °C", "t_к ≤ -28 °C"};

QString watts(double value)
{
    return TraceText::withUnit(value, QStringLiteral("Вт"));
}

// A number after a minus sign, bracketed when negative.
QString bracketed(double value)
{
    return value < 0 ? QLatin1Char('(') + number(value) + QLatin1Char(')') : number(value);
}

QString modelName(const ModelTrial& trial)
{
    return trial.model + trial.modification;
}

// "3000 / 3300 / 3700"
QString slashed(const double (&values)[3])
{
    return number(values[0]) + QStringLiteral(" / ") + number(values[1]) + QStringLiteral(" / ") +
           number(values[2]);
}

} // namespace

SelectionSteps::SelectionSteps(CalculationRecord& record) : m_r(record), m_trace(record.trace.get())
{
    if (!m_trace)
        return;
    m_trace->selection.clear();
    m_trace->trials.clear();
}

void SelectionSteps::tryModel()
{
    if (!m_trace)
        return;
    ModelTrial trial;
    trial.model = m_r.sel_model;
    trial.modification = m_r.sel_modification;
    for (int i = 0; i < 3; ++i)
        trial.readings[i].outside = RatedAmbientTemperatures[i];
    m_trace->trials.append(trial);
}

void SelectionSteps::reading(const CalculationRecord& record, int index, const CapacityReading& reading)
{
    if (record.trace && !record.trace->trials.isEmpty() && index >= 0 && index < 3)
        record.trace->trials.last().readings[index] = reading;
}

void SelectionSteps::tried(bool sufficient)
{
    if (!m_trace || m_trace->trials.isEmpty())
        return;
    ModelTrial& trial = m_trace->trials.last();
    trial.capacity = m_r.unit_capacity;
    trial.sufficient = sufficient;
    if (m_trace->trials.size() == 1) {
        const double(&rated)[3] = trial.readings[0].rated;
        m_trace->selection.append(TraceLine::make(
            Kind::Note, "rated_temperatures",
            QStringLiteral("Номинальные температуры камеры, класс %1").arg(m_r.t_class),
            QStringLiteral("T1 < T2 < T3: точки таблицы производительности при t_н = 20, 32 и 43 °C"),
            QStringLiteral("t_к = ") + TraceText::withUnit(m_r.xk_temperature, QStringLiteral("°C")), {}, {},
            slashed(rated) + QStringLiteral(" °C")));
    }
    addTrialLines(trial);
}

void SelectionSteps::addTrialLines(const ModelTrial& trial)
{
    const QString model = modelName(trial);
    const double t = m_r.xk_temperature;
    for (const CapacityReading& q : trial.readings) {
        const QString name =
            QStringLiteral("%1 при t_н = %2 °C: производительность при t_к").arg(model).arg(q.outside);
        if (!q.found) {
            m_trace->selection.append(TraceLine::make(Kind::Sum, "capacity_chamber", name, QString(),
                                                      QStringLiteral("строк в таблице нет: принимается 0"),
                                                      q.capacity, QStringLiteral("Вт")));
            continue;
        }
        const bool above = t > q.rated[2];
        const QString formula =
            above ? QStringLiteral("выше T3: Q = P3 + G × (1 − G / (G + S × (t_к − T3))), G = P3 − P2, S — "
                                   "наклон квадратичной в T3")
                  : QStringLiteral("квадратичная через (T1, P1), (T2, P2), (T3, P3)");
        QString values = QStringLiteral("P = %1 Вт при %2 °C").arg(slashed(q.power), slashed(q.rated));
        // One set of rows serves every class of a packaged unit: it is read
        // at the class's temperatures, whatever the rows name.
        if (!std::equal(std::begin(q.stored), std::end(q.stored), std::begin(q.rated)))
            values += QStringLiteral(" (в справочнике записаны при %1 °C)").arg(slashed(q.stored));
        values += QStringLiteral("; t_к = %1 °C").arg(number(t));
        if (above) {
            const double gain = q.power[2] - q.power[1];
            const double slope = CapacitySlopeAtT3(q.rated, q.power);
            values +=
                QStringLiteral("; G = %1 Вт, S = %2 Вт/°C: %3 + %1 × (1 − %1 / (%1 + %2 × (%4 − %5)))")
                    .arg(number(gain), number(slope), number(q.power[2]), number(t), bracketed(q.rated[2]));
        }
        m_trace->selection.append(TraceLine::make(Kind::Sum, "capacity_chamber", name, formula, values,
                                                  q.capacity, QStringLiteral("Вт")));
    }
    m_trace->selection.append(
        TraceLine::make(Kind::Sum, "capacity_ambient",
                        QStringLiteral("%1 при t_н = %2 °C").arg(model, number(m_r.by_temperature)),
                        QStringLiteral("квадратичная через (20, Q20), (32, Q32), (43, Q43)"),
                        QStringLiteral("Q = %1 / %2 / %3 Вт при 20 / 32 / 43 °C; t_н = %4 °C")
                            .arg(number(trial.readings[0].capacity), number(trial.readings[1].capacity),
                                 number(trial.readings[2].capacity), number(m_r.by_temperature)),
                        trial.capacity, QStringLiteral("Вт")));
    m_trace->selection.append(TraceLine::make(
        Kind::Note, "comparison", model + QStringLiteral(": сравнение с требуемой"),
        QStringLiteral("Q ≥ Q_агр"),
        watts(trial.capacity) + (trial.sufficient ? QStringLiteral(" ≥ ") : QStringLiteral(" < ")) +
            watts(m_r.q_unit_required),
        {}, {}, trial.sufficient ? QStringLiteral("достаточно") : QStringLiteral("недостаточно")));
}

SelectionSteps::~SelectionSteps()
{
    if (!m_trace)
        return;
    const QString rule =
        QStringLiteral("модификации перебираются по возрастанию; выбирается первая достаточная");
    const qsizetype tried = m_trace->trials.size();
    QString values;
    if (tried == 0)
        values = QStringLiteral("в таблице производительности нет строк с кодом %1: остается выбор прежнего "
                                "расчета")
                     .arg(m_r.xo_series);
    else if (m_r.verdict.isEmpty())
        values = QStringLiteral("%1 — %2-я из проверенных, первая с производительностью не меньше Q_агр = %3")
                     .arg(modelName(m_trace->trials.last()))
                     .arg(tried)
                     .arg(watts(m_r.q_unit_required));
    else
        values = QStringLiteral("ни одна из %1 модификаций не дает Q_агр = %2; остается последняя, %3: ")
                     .arg(tried)
                     .arg(watts(m_r.q_unit_required), modelName(m_trace->trials.last())) +
                 m_r.verdict;
    m_trace->selection.append(TraceLine::make(Kind::Sum, "unit_capacity",
                                              QStringLiteral("Производительность выбранного агрегата"), rule,
                                              values, m_r.unit_capacity, QStringLiteral("Вт")));
}

void SelectionSteps::series(const CalculationRecord& record, const QString& series, int rule,
                            const QString& letter)
{
    CalculationTrace* trace = record.trace.get();
    if (!trace)
        return;
    trace->series.clear();
    trace->series.append(TraceLine::make(
        Kind::Note, "equipment_type", QStringLiteral("Тип оборудования"),
        QStringLiteral("серия — из справочника типов оборудования"),
        series.isEmpty() ? QStringLiteral("тип с ключом %1 не найден или без серии").arg(record.xo_type1)
                         : QStringLiteral("«%1» (ключ %2)").arg(record.xo_type_name).arg(record.xo_type1),
        {}, {}, series.isEmpty() ? QStringLiteral("серии нет") : QStringLiteral("серия ") + series));
    const bool r22 = record.xo_gas == QLatin1String("R22");
    trace->series.append(TraceLine::make(
        Kind::Note, "model_letter", QStringLiteral("Буква модели и класс температур"),
        QStringLiteral("правила по t_к: 1 — выше 8 °C, 2 — до 8 °C, 3 — до -8 °C, 4 — до -28 °C; последнее "
                       "выполненное задает по серии и хладагенту букву и класс"),
        QStringLiteral("серия %1, хладагент %2%3, t_к = %4 °C: правило %5 (%6)")
            .arg(series.isEmpty() ? QStringLiteral("—") : series, record.xo_gas,
                 r22 ? QString() : QStringLiteral(" (не R22)"), number(record.xk_temperature))
            .arg(rule)
            .arg(QString::fromUtf8(LetterRules[qBound(1, rule, 4) - 1])),
        {}, {}, QStringLiteral("буква %1, класс %2").arg(letter).arg(record.t_class)));
    const QString withLetter = series.left(2) + letter;
    const bool found = record.xo_series == withLetter;
    trace->series.append(TraceLine::make(
        Kind::Note, "model_code", QStringLiteral("Код модели"),
        QStringLiteral("два первых знака серии и буква; без строк в таблице производительности — только два "
                       "знака"),
        QStringLiteral("%1 + %2 = %3: %4")
            .arg(series.left(2), letter, withLetter,
                 found ? QStringLiteral("строки в таблице есть") : QStringLiteral("строк в таблице нет")),
        {}, {}, record.xo_series));
}
