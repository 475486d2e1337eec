#pragma once

#include <QString>
#include <QVariantList>

// The statements of both programs are written in the dialect of the original
// desktop database engine. This layer rewrites only what SQLite lacks or does
// differently: "SELECT TOP n" becomes a LIMIT, and every ORDER BY term sorts
// text with the Russian collation (numbers keep sorting as numbers).
namespace SqlDialect {

QString translate(const QString& sql);

// A statement with each literal that directly follows a comparison operator
// ("pkey=17", "model ='KMA'") taken out as a positional parameter, so that
// statements differing only in such values share one prepared form. SQLite
// gives a bound value exactly the meaning of the literal it replaces. Text
// that already carries parameters is left whole.
struct BoundStatement
{
    QString text;
    QVariantList values; // qint64, double or QString, in order
};
BoundStatement bindLiterals(const QString& sql);

// Name of the collation that Database registers on every connection.
inline constexpr char RussianCollationName[] = "RU";

} // namespace SqlDialect
