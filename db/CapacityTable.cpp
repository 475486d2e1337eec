#include "CapacityTable.h"

#include "PowerSet.h"
#include "SqlLiteral.h"

#include <QMap>
#include <QSet>

namespace CapacityTable {

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
        QString problem;
        QVector<PowerSet::Point> points;
        QSet<qint64> types;
        for (int i : set) {
            points.append({rows.at(i).inT, rows.at(i).outT, rows.at(i).power});
            types.insert(rows.at(i).type);
        }
        if (types.size() > 1)
            problem = QStringLiteral("такая модель уже есть у другого типа оборудования.");
        else if (!seriesOfType.contains(first.type))
            problem = QStringLiteral("нет типа оборудования с ключом %1.").arg(first.type);
        else if (first.model.left(2) != seriesOfType.value(first.type).left(2))
            problem = QStringLiteral("код модели %1 не начинается с серии %2 своего типа оборудования.")
                          .arg(first.model, seriesOfType.value(first.type).left(2));
        else
            problem = PowerSet::setProblem(first.model, points);
        if (!problem.isEmpty())
            found << QStringLiteral("Строка %1, модель %2: %3").arg(it.key()).arg(it.value(), problem);
    }
    return found;
}

} // namespace CapacityTable
