#pragma once

#include <QString>

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

} // namespace PowerSet
