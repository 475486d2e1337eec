#pragma once

#include "ToolOutcome.h"

#include <functional>

// Loads the tables whose FOLDER/<table>.csv exists into a store, keys
// included, in one transaction. Every row passes the checks of its editor
// and the capacity sets those of the capacity table first; a refused file
// (StatusUsage) names the file, the line and the column, and changes
// nothing. A store holding rows of those tables is refused
// (StatusTargetNotEmpty) unless replace, which deletes them in the same
// transaction.
ToolOutcome importStore(const QString& folder, const QString& to, bool replace,
                        const std::function<void(const QString& line)>& report);
