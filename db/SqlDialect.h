#pragma once

#include <QSet>
#include <QString>

// The statements of both programs are written in the dialect of the original
// desktop database engine. This layer rewrites only what SQLite lacks or does
// differently: "SELECT TOP n" becomes a LIMIT, and every ORDER BY term sorts
// text with the Russian collation (numbers keep sorting as numbers).
namespace SqlDialect {

QString translate(const QString& sql);

// The same for the PostgreSQL server: LIMIT for TOP, ORDER BY through the
// frostpick_order() functions its schema defines (the same order as the
// collation, NULL first), a SELECT from one of the keyedTables (lower case;
// each has a pkey column) sorted by that key last, as a file gives its rows,
// and "?" parameters numbered as $1, $2, ...
QString translateForServer(const QString& sql, const QSet<QString>& keyedTables = {});

// Name of the collation SqliteDatabase registers on every connection it
// opens; the server sorts through frostpick_order() instead.
inline constexpr char RussianCollationName[] = "RU";

} // namespace SqlDialect
