#pragma once

#include <QStringList>

// Texts that break naive SQL building, encodings or layouts: every path that
// stores text must store and read them back exactly, or refuse them clearly.
namespace HostileTexts {

QStringList all();

} // namespace HostileTexts
