#pragma once

#include <QString>
#include <optional>

// The number a counting query gives on a database file that this program
// only looks into and never changes: the file is opened read-only, and when
// no program has it open (no write-ahead log beside it) it is read as it
// lies, so nothing is created next to it either. Empty when the file is
// missing, is no database or refuses the query.
std::optional<qint64> readOnlyCount(const QString& path, const QString& sql);
