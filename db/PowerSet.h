#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class QueryTable;

// A unit model's capacity set: nine rows, three chamber temperatures times
// three outside temperatures, read in in_t, out_t order so that row k
// belongs to chamber temperature k / 3 and outside temperature k % 3.
namespace PowerSet {

inline constexpr int RowCount = 9;
inline constexpr int CodeLength = 3;

// The rows of one model code and modification, whatever their type, in
// in_t, out_t order, and the columns of those rows.
QString readQuery(const QString& model, double modification);
enum Column { Key, Model, Modification, InT, OutT, Power };

// The list text of a model: code, a "0" before a two-digit modification,
// then the modification (KMA with 50 is KMA050, with 100 KMA100).
QString entryText(const QString& model, const QString& modification);

// Why the rows cannot be shown as the three-by-three grid, or empty when
// they can.
QString gridProblem(const QueryTable& rows);

// One rated capacity of a set.
struct Point
{
    double inT = 0;
    double outT = 0;
    double power = 0;
};

// The chamber temperatures ("5/10/15") a model letter's sets may name:
// those of the class the selection reads the letter at. A packaged unit (P,
// Q) serves three classes and is read at whichever applies, so any of them.
// Empty for a letter the selection never picks.
QStringList ratedChamber(QChar letter);
inline constexpr double RatedAmbient[3] = {20, 32, 43};
// Three temperatures as ratedChamber and the messages write them.
QString temperatureList(double t1, double t2, double t3);

// Why points cannot be a set of the model: the grid's shape as gridProblem
// sees it, then the outside temperatures 20, 32 and 43 °C and the chamber
// temperatures of the letter's class. Empty when they can.
QString setProblem(const QString& model, QVector<Point> points);

} // namespace PowerSet
