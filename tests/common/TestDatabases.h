#pragma once

#include <QString>

// Fixture databases made from the project's own SQL text in a folder the test
// owns (a QTemporaryDir), never in the working folder.
namespace TestDatabases {

QString dataFile(const QString& name); // a file of data/

// Schema only (plus the two refrigerants).
bool createEmptyReference(const QString& path);
bool createEmptyOrders(const QString& path);

// Schema with the sample reference data / sample customers and calculations.
bool createSampleReference(const QString& path);
bool createSampleOrders(const QString& path);

// Both sample databases in the folder, as the programs expect them there.
bool createSampleFolder(const QString& folder);

// Puts a damaged database at path (which must not exist): "absent", "empty",
// "random" bytes, the sample reference "truncated" to half (its header
// intact), a "foreign" schema (the other program file's), a "folder".
bool createDamaged(const QString& path, const QString& damage);

} // namespace TestDatabases
