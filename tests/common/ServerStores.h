#pragma once

#include "Database.h"

#include <QStringList>

// Fresh databases on the test server that FROSTPICK_TEST_SERVER names. Each is
// a copy of a template built once per cluster from the same scripts, so a
// test pays for one CREATE DATABASE, not for running the sample script. What
// a process made is dropped when it ends, or earlier through drop().
namespace ServerStores {

bool configured(); // FROSTPICK_TEST_SERVER is set

// The address of the database called name (lower case letters, digits and
// underscores), whether it exists yet or not.
DatabaseAddress address(const QString& name);
// Makes it, filled by the scripts; false when it exists. A server that cannot
// be reached ends the test process at once: a server run never turns into a
// file run.
bool create(const QString& name, const QStringList& scriptFiles);
void drop(const QString& name);
// Runs sql as the server's superuser, outside any store (roles, databases).
bool execute(const QString& sql);
// Connects again, after the server was restarted.
void reconnect();

} // namespace ServerStores
