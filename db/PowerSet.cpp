#include "PowerSet.h"

#include "QueryTable.h"
#include "SqlLiteral.h"

#include <algorithm>

namespace PowerSet {

QString readQuery(const QString& model, double modification)
{
    return QStringLiteral("SELECT pkey,model,modification,in_t,out_t,power FROM power WHERE model=") +
           SqlLiteral::text(model) + QStringLiteral(" AND modification=") + SqlLiteral::number(modification) +
           QStringLiteral(" ORDER BY in_t,out_t");
}

QString entryText(const QString& model, const QString& modification)
{
    return model + (modification.size() == 2 ? QStringLiteral("0") : QString()) + modification;
}

namespace {

QString shapeProblem(const QString& model, const QVector<Point>& points)
{
    if (points.size() != RowCount)
        return QStringLiteral("У модели %1 %2 строк производительности вместо девяти "
                              "(три температуры в камере на три температуры снаружи).")
            .arg(model)
            .arg(points.size());
    if (model.size() != CodeLength)
        return QStringLiteral("Код модели \"%1\" должен состоять из трех символов.").arg(model);
    for (int k = 0; k < RowCount; ++k) {
        if (points.at(k).inT != points.at(k / 3 * 3).inT || points.at(k).outT != points.at(k % 3).outT)
            return QStringLiteral("Строки производительности модели %1 не образуют таблицу "
                                  "из трех температур в камере на три температуры снаружи.")
                .arg(model);
    }
    return {};
}

} // namespace

QString gridProblem(const QueryTable& rows)
{
    QVector<Point> points;
    for (int k = 0; k < rows.rowCount(); ++k)
        points.append({rows.number(k, InT), rows.number(k, OutT), rows.number(k, Power)});
    return shapeProblem(rows.text(0, Model), points);
}

QStringList ratedChamber(QChar letter)
{
    const QString warm = QStringLiteral("5/10/15");
    const QString medium = QStringLiteral("-5/0/5");
    const QString low = QStringLiteral("-25/-22/-18");
    switch (letter.unicode()) {
    case 'A':
    case 'H':
        return {warm};
    case 'M':
    case 'N':
        return {medium};
    case 'B':
    case 'K':
        return {low};
    case 'C':
    case 'X':
        return {QStringLiteral("-45/-35/-25")};
    case 'P':
    case 'Q':
        return {warm, medium, low};
    default:
        return {};
    }
}

QString temperatureList(double t1, double t2, double t3)
{
    return QStringLiteral("%1/%2/%3").arg(t1).arg(t2).arg(t3);
}

QString setProblem(const QString& model, QVector<Point> points)
{
    std::sort(points.begin(), points.end(), [](const Point& a, const Point& b) {
        return a.inT != b.inT ? a.inT < b.inT : a.outT < b.outT;
    });
    if (const QString shape = shapeProblem(model, points); !shape.isEmpty())
        return shape;
    const QString outside = temperatureList(points.at(0).outT, points.at(1).outT, points.at(2).outT);
    if (outside != temperatureList(RatedAmbient[0], RatedAmbient[1], RatedAmbient[2]))
        return QStringLiteral("У модели %1 температуры снаружи %2 °C вместо 20/32/43 °C.")
            .arg(model, outside);
    const QString chamber = temperatureList(points.at(0).inT, points.at(3).inT, points.at(6).inT);
    const QStringList rated = ratedChamber(model.at(2));
    if (!rated.isEmpty() && !rated.contains(chamber))
        return QStringLiteral("У модели %1 температуры в камере %2 °C, а ее класс рассчитан на %3 °C.")
            .arg(model, chamber, rated.join(QStringLiteral(" или ")));
    if (points.at(0).inT == points.at(3).inT || points.at(3).inT == points.at(6).inT)
        return QStringLiteral("У модели %1 три температуры в камере должны быть разными.").arg(model);
    return {};
}

} // namespace PowerSet
