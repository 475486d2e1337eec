#pragma once

#include <QStringList>

class Database;

// Texts that break naive SQL building, encodings or layouts: every path that
// stores text must store and read them back exactly, or refuse them clearly.
namespace HostileTexts {

QStringList all();
// Every row of the tables as one text each, to compare before and after.
QStringList rowsOf(Database& db, const QStringList& tables);

} // namespace HostileTexts
