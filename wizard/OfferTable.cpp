#include "OfferTable.h"

#include "CsvFile.h"
#include "OfferSummary.h"
#include "ResultText.h"
#include "Selection.h"

#include <cmath>

namespace {

double volume(const CalculationRecord& r)
{
    return r.xk_length * r.xk_width * r.xk_height;
}

double capacity(const CalculationRecord& r)
{
    return r.verdict.isEmpty() ? r.unit_capacity * r.xo_count : 0;
}

// One decimal, as the results screen rounds the reserve.
std::optional<double> reserve(const CalculationRecord& r)
{
    const std::optional<double> value = ComputeSelectionFigures(r).reserve;
    if (!value)
        return std::nullopt;
    return std::round(*value * 10) / 10;
}

QString unitText(const CalculationRecord& r)
{
    return r.verdict.isEmpty() ? r.sel_model + r.sel_modification : QStringLiteral("не подобран");
}

} // namespace

namespace OfferTable {

QStringList header()
{
    return {QStringLiteral("Дата"),          QStringLiteral("Камера Д × Ш × В, м"),
            QStringLiteral("Объем, м³"),     QStringLiteral("t камеры, °C"),
            QStringLiteral("Продукт"),       QStringLiteral("Нагрузка, Вт"),
            QStringLiteral("Агрегат"),       QStringLiteral("Кол-во"),
            QStringLiteral("Произв., Вт"),   QStringLiteral("Запас, %"),
            QStringLiteral("Предупреждения")};
}

QStringList cells(const OfferChamber& chamber, const QString& date)
{
    const CalculationRecord& r = chamber.record;
    QStringList row(header().size());
    row[0] = date;
    if (chamber.state == OfferChamber::State::Missing) {
        row[ReasonColumn] = QStringLiteral("расчет %1 удален").arg(chamber.key);
        return row;
    }
    row[1] = QStringLiteral("%1 × %2 × %3")
                 .arg(ResultText::plain(r.xk_length), ResultText::plain(r.xk_width),
                      ResultText::plain(r.xk_height));
    row[2] = ResultText::plain(volume(r));
    row[3] = ResultText::plain(r.xk_temperature);
    row[4] = r.px_product_name;
    if (!chamber.summed()) {
        row[ReasonColumn] = chamber.reason;
        return row;
    }
    const std::optional<double> margin = reserve(r);
    row[5] = QString::number(r.q_total);
    row[6] = unitText(r);
    row[7] = QString::number(r.xo_count);
    row[8] = ResultText::whole(capacity(r));
    row[9] = margin ? ResultText::oneDecimal(*margin) : QString();
    row[10] = QString::number(chamber.warnings);
    return row;
}

QString sumsText(const OfferSums& sums)
{
    return QStringLiteral("Итого: камер %1; нагрузка %2 Вт; агрегаты: %3; производительность %4 Вт")
        .arg(sums.chambers)
        .arg(sums.qTotal)
        .arg(sums.units.isEmpty() ? QStringLiteral("нет") : OfferSummary::UnitsText(sums.units),
             ResultText::whole(sums.capacity));
}

QByteArray csv(const QList<OfferChamber>& chambers, const QStringList& dates)
{
    const QStringList header{QStringLiteral("Дата"),
                             QStringLiteral("Длина, м"),
                             QStringLiteral("Ширина, м"),
                             QStringLiteral("Высота, м"),
                             QStringLiteral("Объем, м³"),
                             QStringLiteral("Температура камеры, °C"),
                             QStringLiteral("Продукт"),
                             QStringLiteral("Нагрузка, Вт"),
                             QStringLiteral("Агрегат"),
                             QStringLiteral("Количество"),
                             QStringLiteral("Производительность, Вт"),
                             QStringLiteral("Запас, %"),
                             QStringLiteral("Предупреждения")};
    QList<QStringList> rows;
    int units = 0;
    for (int i = 0; i < chambers.size(); ++i) {
        const OfferChamber& chamber = chambers.at(i);
        if (!chamber.summed())
            continue;
        const CalculationRecord& r = chamber.record;
        const std::optional<double> margin = reserve(r);
        rows << QStringList{dates.value(i),
                            CsvFile::number(r.xk_length),
                            CsvFile::number(r.xk_width),
                            CsvFile::number(r.xk_height),
                            CsvFile::number(volume(r)),
                            CsvFile::number(r.xk_temperature),
                            r.px_product_name,
                            QString::number(r.q_total),
                            unitText(r),
                            QString::number(r.xo_count),
                            CsvFile::number(capacity(r)),
                            margin ? CsvFile::number(*margin) : QString(),
                            QString::number(chamber.warnings)};
        if (r.verdict.isEmpty())
            units += r.xo_count;
    }
    const OfferSums sums = OfferSummary::Sum(chambers);
    rows << QStringList{QStringLiteral("Итого"),
                        {},
                        {},
                        {},
                        {},
                        {},
                        {},
                        QString::number(sums.qTotal),
                        OfferSummary::UnitsText(sums.units),
                        QString::number(units),
                        CsvFile::number(sums.capacity),
                        {},
                        {}};
    return CsvFile::write(header, rows);
}

} // namespace OfferTable
