#pragma once

#include "Database.h"

#include <QString>

// Fixture databases made from the project's own SQL text for a path in a
// folder the test owns (a QTemporaryDir), never in the working folder.
//
// The one switch between the storages: when FROSTPICK_TEST_SERVER names a
// PostgreSQL server, the store made for a path is a fresh database there and
// the folder's frostpick.ini points nv.mdb and order.mdb at it, so whatever
// opens the folder through DataLocation uses the server unchanged. A test that
// opens a store itself takes its address from address().
namespace TestDatabases {

enum class Storage { Files, Server };
Storage storage(); // Server when FROSTPICK_TEST_SERVER is set

QString dataFile(const QString& name); // a file of data/

// The store made for path: the server's database, or the file.
DatabaseAddress address(const QString& path);
// Takes the store made for path away, as deleting its file does.
bool remove(const QString& path);

// Schema only (plus the two refrigerants). Like Database::create, refuse a
// store that is already there.
bool createEmptyReference(const QString& path, Storage where = storage());
bool createEmptyOrders(const QString& path, Storage where = storage());

// Schema with the sample reference data / sample customers and calculations.
bool createSampleReference(const QString& path, Storage where = storage());
bool createSampleOrders(const QString& path, Storage where = storage());

// Both sample databases in the folder, as the programs expect them there.
bool createSampleFolder(const QString& folder, Storage where = storage());

// Statements that make the store refuse, with the message "refused", every
// insert into table whose new row meets condition (SQL over NEW), and that
// take the refusal away again; for the storage in use.
QStringList refuseInserts(const QString& table, const QString& condition, Storage where = storage());
QStringList allowInserts(const QString& table);

// Puts a damaged database file at path (which must not exist): "absent",
// "empty", "random" bytes, the sample reference "truncated" to half (its
// header intact), a "foreign" schema (the other program file's), a "folder".
bool createDamaged(const QString& path, const QString& damage);

// The engine's text of a failed operation, for a test's message; empty when
// it was done.
template <typename T> QString whyNot(const Result<T>& result)
{
    return result ? QString() : result.failure().engineText;
}

} // namespace TestDatabases
