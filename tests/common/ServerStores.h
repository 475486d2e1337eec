#pragma once

#include "Database.h"

#include <QStringList>

// Fresh databases on the test server that FROSTPICK_TEST_SERVER names. Each is
// a copy of a template built once per cluster from the same scripts, so a
// test pays for one CREATE DATABASE, not for running the sample script. What
// a process made is dropped when it ends, or earlier through drop().
namespace ServerStores {

bool configured(); // FROSTPICK_TEST_SERVER is set

// A new database filled by the scripts. A server that cannot be reached ends
// the test process at once: a server run never turns into a file run.
std::optional<DatabaseAddress> create(const QStringList& scriptFiles);
void drop(const DatabaseAddress& address);

} // namespace ServerStores
