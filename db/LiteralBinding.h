#pragma once

#include <QString>
#include <QVariantList>

// A speed device, nothing more. The programs build every statement as text
// with its values written in as literals, so "... WHERE pkey=17" and
// "... WHERE pkey=18" are two statements to the engine, each parsed and
// planned anew. Taking the literals back out as parameters lets statements
// that differ only in such values share one prepared form: the capacity reads
// of one selection, the lookups of a reopened calculation and a batch run over
// thousands of saved calculations then prepare a few dozen statements instead
// of one per read. The result is the same either way.
namespace LiteralBinding {

// The statement with each literal that directly follows a comparison operator
// ("pkey=17", "model ='KMA'") taken out as a positional parameter. The engine
// gives a bound value the meaning of the literal it replaces (a real the
// double its digits denote, which SQLite before 3.43 may miss by one unit in
// the last place when it reads 17 digits itself). Text that already carries
// parameters, comments, or is no read or write of rows, is left whole.
struct BoundStatement
{
    QString text;
    QVariantList values; // qint64, double or QString, in order
};
BoundStatement bind(const QString& sql);

} // namespace LiteralBinding
