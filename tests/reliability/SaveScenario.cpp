#include "SaveScenario.h"

#include "CalculationRecord.h"
#include "QueryTable.h"

namespace {

// Columns of the data table in stored order, after pkey.
enum Column {
    Bulk = 1,
    Length,
    Width,
    Height,
    Ceiling,
    CeilingStuff,
    Wall,
    WallStuff,
    Floor,
    FloorStuff,
    Doors,
    DoorsOpen,
    Curtain,
    Temperature,
    People,
    Heat,
    Ambient,
    Moisture,
    Ground,
    Product,
    Time,
    StartT,
    EndT,
    Weight,
    Turnover,
    Packing,
    Type1,
    Type2,
    Count,
    Power,
    Work,
    Contact,
    Odate,
    Onote,
    Pgroup
};

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
    const QString note = t.text(row, Onote);
    bool ok = false;
    const int n = note.section(QLatin1Char(' '), 1, 1).toInt(&ok);
    if (!ok || note != QStringLiteral("save %1 it's").arg(n))
        return QStringLiteral("row %1: note %2").arg(t.text(row, 0), note);
    CalculationRecord expected;
    fill(expected, n);
    const bool same =
        t.number(row, Length) == expected.xk_length && t.number(row, Width) == expected.xk_width &&
        t.number(row, Bulk) == expected.xk_bulk && t.integer(row, Ceiling) == expected.xk_ceiling &&
        t.integer(row, Wall) == expected.xk_wall && t.integer(row, Floor) == expected.xk_floor &&
        t.integer(row, Heat) == expected.xk_heat && t.number(row, Temperature) == expected.xk_temperature &&
        t.number(row, Weight) == expected.px_weight && t.integer(row, StartT) == expected.px_start_t &&
        t.integer(row, EndT) == expected.px_end_t && t.integer(row, Count) == expected.xo_count;
    return same ? QString() : QStringLiteral("row %1: values differ from save %2").arg(t.text(row, 0)).arg(n);
}

} // namespace SaveScenario
