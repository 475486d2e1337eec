#pragma once

#include <QStringList>

// Stores for the frostpick-db tests, read and written without the tool.
namespace DbToolFixture {

// Every row of every table of the store in a file, one line per row, each
// cell with its type and, for a real, its bits.
QStringList dump(const QString& path, const QStringList& tables);

// The sample orders store plus rows no ordinary data has: NULLs, every
// hostile text, 0.1 + 0.2 and doubles of random bits, written through bound
// values; extraRows more rows of random values make it large.
bool createHostileOrders(const QString& path, int extraRows = 0);

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};
Run runTool(const QStringList& arguments);

} // namespace DbToolFixture
