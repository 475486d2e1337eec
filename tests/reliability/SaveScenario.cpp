#include "SaveScenario.h"

#include "CalculationRecord.h"
#include "Database.h"
#include "OrderColumns.h"
#include "QueryTable.h"

#include <QStringList>
#include <utility>

namespace {

// The saved columns that fill() sets; the others keep what a reopened
// calculation had.
const QStringList Filled = {"xk_bulk",  "xk_length", "xk_width", "xk_height",      "xk_ceiling",
                            "xk_wall",  "xk_floor",  "xk_heat",  "xk_temperature", "px_start_t",
                            "px_end_t", "px_weight", "xo_count"};
constexpr int NoteColumn = 34; // after pkey, the saved columns and odate

// An empty text when row `row` of a "SELECT * FROM data" table holds exactly
// the values of the number in its note, else what is wrong.
QString checkDataRow(const QueryTable& t, int row)
{
    const QString note = t.text(row, NoteColumn);
    bool ok = false;
    const int n = note.section(QLatin1Char(' '), 1, 1).toInt(&ok);
    if (!ok || note != QStringLiteral("save %1 it's").arg(n))
        return QStringLiteral("row %1: note %2").arg(t.text(row, 0), note);
    CalculationRecord expected;
    SaveScenario::fill(expected, n);
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
    r.contact_organization = QStringLiteral("Организация \"%1\"").arg(n);
    r.contact_city = QStringLiteral("Город %1").arg(n);
}

int SaveLog::addRun(int writer, int first, const QByteArray& output)
{
    int last = first - 1, confirmed = 0;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 3 || parts.at(0) != "saved")
            continue;
        last = parts.at(1).toInt();
        const qint64 key = parts.at(2).toLongLong();
        m_confirmed.insert(last, {writer, key});
        m_perKey[key].insert(last);
        ++confirmed;
        if (!isNewCalculation(last))
            continue;
        if (const int before = std::exchange(m_newKeys[key], last))
            m_duplicateKey =
                QStringLiteral("saves %1 and %2 were both given row %3").arg(before).arg(last).arg(key);
    }
    m_unconfirmed.insert(last + 1, writer);
    return confirmed;
}

QString SaveLog::check(Database& orders) const
{
    if (!m_duplicateKey.isEmpty())
        return m_duplicateKey;
    if (const Result<void> undamaged = orders.checkIntegrity(); !undamaged)
        return undamaged.failure().engineText;
    QueryTable rows;
    // A customer saved without its calculation would be half a save.
    const char* const halfSaves[] = {"SELECT pkey FROM data WHERE contact NOT IN (SELECT pkey FROM contact)",
                                     "SELECT pkey FROM contact WHERE pkey NOT IN (SELECT contact FROM data)"};
    for (const char* sql : halfSaves)
        if (orders.query(QLatin1String(sql), rows).valueOr(-1) != 0)
            return QStringLiteral("half a save: %1 gives row %2").arg(QLatin1String(sql), rows.text(0, 0));
    const int count =
        orders.query(QStringLiteral("SELECT * FROM data WHERE onote LIKE 'save %'"), rows).valueOr(-1);
    QMap<qint64, int> found; // row -> the save it holds
    QSet<int> stored;
    for (int r = 0; r < count; ++r) {
        if (const QString problem = checkDataRow(rows, r); !problem.isEmpty())
            return problem;
        const qint64 key = rows.integer(r, 0);
        const int n = rows.text(r, NoteColumn).section(QLatin1Char(' '), 1, 1).toInt();
        if (stored.contains(n))
            return QStringLiteral("save %1 is stored twice").arg(n);
        const bool madeHere = m_confirmed.contains(n) && m_confirmed.value(n).key == key;
        if (!madeHere && !m_unconfirmed.contains(n))
            return QStringLiteral("row %1 holds save %2, which was not made to it").arg(key).arg(n);
        stored.insert(n);
        found.insert(key, n);
    }
    for (auto it = m_perKey.cbegin(); it != m_perKey.cend(); ++it) {
        if (!found.contains(it.key()))
            return QStringLiteral("row %1 of confirmed saves is missing").arg(it.key());
        // Another writer may have saved the row later; the same writer
        // cannot have saved it earlier.
        const int last = found.value(it.key());
        const int writer =
            m_confirmed.contains(last) ? m_confirmed.value(last).writer : m_unconfirmed.value(last);
        for (int n : it.value())
            if (m_confirmed.value(n).writer == writer && n > last)
                return QStringLiteral("confirmed save %1 of row %2 is lost").arg(n).arg(it.key());
    }
    return {};
}

} // namespace SaveScenario
