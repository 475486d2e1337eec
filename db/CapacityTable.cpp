#include "CapacityTable.h"

#include "PowerSet.h"
#include "SqlLiteral.h"

#include <QMap>
#include <QSet>

namespace CapacityTable {

namespace {

// The first problem of one row of a set, named by the row's own line.
struct RowProblem
{
    int line = 0;
    QString text;
};

QString wholeSetProblem(const Row& first, const QVector<PowerSet::Point>& points,
                        const QHash<qint64, QString>& seriesOfType)
{
    const QString series = seriesOfType.value(first.type).left(2);
    if (first.model.left(2) != series)
        return QStringLiteral("код модели %1 не начинается с серии %2 своего типа оборудования.")
            .arg(first.model, series);
    return PowerSet::setProblem(first.model, points);
}

} // namespace

QStringList problems(const QVector<Row>& rows, const QHash<qint64, QString>& seriesOfType, int limit)
{
    // Sets in the order of their first line, so the first problem is the
    // first a reader of the file meets.
    QHash<QString, QVector<int>> sets;
    QMap<int, QString> firstLine;
    QSet<QString> fromFile;
    for (int i = 0; i < rows.size(); ++i) {
        const QString code =
            PowerSet::entryText(rows.at(i).model, SqlLiteral::number(rows.at(i).modification));
        QVector<int>& set = sets[code];
        set << i;
        if (rows.at(i).line > 0 && !fromFile.contains(code)) {
            fromFile.insert(code);
            firstLine.insert(rows.at(i).line, code);
        }
    }
    QStringList found;
    for (auto it = firstLine.cbegin(); it != firstLine.cend() && found.size() < limit; ++it) {
        const QVector<int>& set = sets.value(it.value());
        const Row& first = rows.at(set.first());
        RowProblem noType, twice;
        QVector<PowerSet::Point> points;
        QSet<qint64> types;
        QHash<std::pair<double, double>, int> pointLine;
        for (int i : set) {
            const Row& row = rows.at(i);
            const int line = row.line > 0 ? row.line : it.key();
            if (noType.text.isEmpty() && !seriesOfType.contains(row.type))
                noType = {line, QStringLiteral("нет типа оборудования с ключом %1.").arg(row.type)};
            const std::pair<double, double> point(row.inT, row.outT);
            if (twice.text.isEmpty() && pointLine.contains(point)) {
                const int other = pointLine.value(point);
                twice = {line, QStringLiteral("производительность при %1 °C в камере и %2 °C снаружи уже %3.")
                                   .arg(row.inT)
                                   .arg(row.outT)
                                   .arg(other > 0 ? QStringLiteral("в строке %1").arg(other)
                                                  : QStringLiteral("есть в справочнике"))};
            }
            pointLine.insert(point, row.line);
            points.append({row.inT, row.outT, row.power});
            types.insert(row.type);
        }
        RowProblem problem = noType;
        if (problem.text.isEmpty() && types.size() > 1)
            problem = {it.key(), QStringLiteral("такая модель уже есть у другого типа оборудования.")};
        if (problem.text.isEmpty())
            problem = twice;
        if (problem.text.isEmpty())
            problem = {it.key(), wholeSetProblem(first, points, seriesOfType)};
        if (!problem.text.isEmpty())
            found
                << QStringLiteral("Строка %1, модель %2: %3").arg(problem.line).arg(it.value(), problem.text);
    }
    return found;
}

} // namespace CapacityTable
