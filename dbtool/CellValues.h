#pragma once

#include <QString>
#include <QVariant>

// The values of a cell as the copy writes and checks them.
namespace CellValues {

// The value as an SQL literal: NULL, a whole number, text between
// apostrophes, or a real in the shortest form that reads back as the same
// double.
QString literal(const QVariant& value);

// The value for the right side of "column = ...", written so that the
// database layer binds a real as a parameter instead of parsing its digits.
QString assignedLiteral(const QVariant& value);

// Whether two cells hold the same value, whatever type each engine reads it
// as: reals bit for bit (a zero of either sign is zero), whole numbers and
// texts exactly, NULL only as NULL.
bool same(const QVariant& a, const QVariant& b);

} // namespace CellValues
