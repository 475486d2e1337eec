#pragma once

#include "ToolOutcome.h"

#include <functional>

// Loads the tables whose FOLDER/<table>.csv exists into a store, keys
// included, in one transaction. Every row passes the checks of its editor
// and the capacity sets those of the capacity table first; a refused file
// (StatusUsage) names the file, the line and the column, and changes
// nothing. A store holding rows of those tables is refused
// (StatusTargetNotEmpty) unless replace, which deletes them in the same
// transaction; a file without rows, which would empty its table, only with
// allowEmpty.
struct ImportOptions
{
    bool replace = false;
    bool allowEmpty = false;
};
ToolOutcome importStore(const QString& folder, const QString& to, const ImportOptions& options,
                        const std::function<void(const QString& line)>& report);
