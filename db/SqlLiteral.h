#pragma once

#include <QString>

// Values as they are written into SQL statements. Every text that a user can
// type goes through text(), so an apostrophe is stored as typed and never
// ends the literal early.
namespace SqlLiteral {

// Between apostrophes, each apostrophe doubled.
QString text(const QString& value);

// A name (a table, a column, a role) between double quotes, each double
// quote doubled: whatever characters it holds, it stays one name.
QString name(const QString& name);

// General decimal form with up to 15 significant digits and a point as the
// decimal separator whatever the locale: 2.5 -> "2.5", 3.0 -> "3".
QString number(double value);

QString integer(qint64 value);

} // namespace SqlLiteral
