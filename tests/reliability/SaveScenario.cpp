#include "SaveScenario.h"

#include "CalculationRecord.h"
#include "OrderColumns.h"
#include "QueryTable.h"

#include <QStringList>

namespace {

// The saved columns that fill() sets; the others keep what a reopened
// calculation had.
const QStringList Filled = {"xk_bulk",  "xk_length", "xk_width", "xk_height",      "xk_ceiling",
                            "xk_wall",  "xk_floor",  "xk_heat",  "xk_temperature", "px_start_t",
                            "px_end_t", "px_weight", "xo_count"};
constexpr int NoteColumn = 34; // after pkey, the saved columns and odate

} // namespace

namespace SaveScenario {

void fill(CalculationRecord& r, int n)
{
    r.xk_length = 1 + n % 50;
    r.xk_width = 1.5 + n % 7;
    r.xk_height = 3;
    r.xk_bulk = r.xk_length * r.xk_width * r.xk_height;
    r.xk_ceiling = qint16(n % 1000);
    r.xk_wall = qint16(n % 997);
    r.xk_floor = qint16(n % 991);
    r.xk_heat = qint16(n % 30000);
    r.xk_temperature = -(n % 40) / 2.0;
    r.px_weight = n * 0.25;
    r.px_start_t = qint16(n % 30);
    r.px_end_t = qint16(-(n % 20));
    r.xo_count = qint16(1 + n % 5);
    r.onote = QStringLiteral("save %1 it's").arg(n);
    r.contact_organization = customerName(n);
    r.contact_city = QStringLiteral("Город %1").arg(n);
}

QString customerName(int n)
{
    return QStringLiteral("Организация \"%1\"").arg(n);
}

QString checkDataRow(const QueryTable& t, int row)
{
    const QString note = t.text(row, NoteColumn);
    bool ok = false;
    const int n = note.section(QLatin1Char(' '), 1, 1).toInt(&ok);
    if (!ok || note != QStringLiteral("save %1 it's").arg(n))
        return QStringLiteral("row %1: note %2").arg(t.text(row, 0), note);
    CalculationRecord expected;
    fill(expected, n);
    for (int i = 0; i < int(std::size(OrderColumns)); ++i) {
        const OrderColumn& c = OrderColumns[i];
        const double value = c.real ? expected.*c.real : double(expected.*c.whole);
        if (Filled.contains(QLatin1String(c.name)) && t.number(row, 1 + i) != value)
            return QStringLiteral("row %1: %2 differs from save %3")
                .arg(t.text(row, 0), QLatin1String(c.name))
                .arg(n);
    }
    return {};
}

} // namespace SaveScenario
