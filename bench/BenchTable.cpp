#include "BenchTable.h"

#include <QStringList>
#include <algorithm>

namespace {

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

void BenchTable::add(const QString& figure, const QString& where, const Summary& s, const QString& unit,
                     const QString& target, int decimals)
{
    m_rows.push_back({figure, where, number(s.median, decimals), number(s.min, decimals),
                      number(s.max, decimals), unit, target});
}

void BenchTable::addValue(const QString& figure, const QString& where, double value, const QString& unit,
                          const QString& target, int decimals)
{
    m_rows.push_back(
        {figure, where, number(value, decimals), QStringLiteral("-"), QStringLiteral("-"), unit, target});
}

void BenchTable::addMissing(const QString& figure, const QString& where, const QString& target,
                            const QString& why)
{
    m_rows.push_back({figure, where, QStringLiteral("not measured"), QString(), QString(), why, target});
}

QString BenchTable::text() const
{
    const Row header{QStringLiteral("figure"), QStringLiteral("calcs"), QStringLiteral("median"),
                     QStringLiteral("min"),    QStringLiteral("max"),   QStringLiteral("unit"),
                     QStringLiteral("target")};
    std::vector<const Row*> all{&header};
    for (const Row& r : m_rows)
        all.push_back(&r);
    int width[7] = {};
    for (const Row* r : all) {
        const QString* cells[7] = {&r->figure, &r->where, &r->median, &r->min, &r->max, &r->unit, &r->target};
        for (int c = 0; c < 7; ++c)
            width[c] = std::max(width[c], int(cells[c]->size()));
    }
    QString out;
    for (const Row* r : all) {
        const QString* cells[7] = {&r->figure, &r->where, &r->median, &r->min, &r->max, &r->unit, &r->target};
        QStringList line;
        for (int c = 0; c < 7; ++c)
            line << (c >= 1 && c <= 4 ? cells[c]->rightJustified(width[c])
                                      : cells[c]->leftJustified(width[c]));
        out += QStringLiteral("| ") + line.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
        if (r == &header) {
            QStringList rule;
            for (int c = 0; c < 7; ++c)
                rule << QString(width[c], QLatin1Char('-'));
            out += QStringLiteral("|-") + rule.join(QStringLiteral("-|-")) + QStringLiteral("-|\n");
        }
    }
    return out;
}
