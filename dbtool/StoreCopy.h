#pragma once

#include "StoreLayout.h"
#include "TableCopy.h"
#include "ToolOutcome.h"

#include <optional>

struct CopyOptions
{
    // Deletes the rows the target holds, in the same transaction as the copy.
    bool replace = false;
    // Which store, when both databases hold both.
    std::optional<StoreKind> store;
};

struct CopyObserver
{
    // One line per table after the copy was committed, then the check.
    std::function<void(const QString& line)> report;
    CopyProgressFn progress;
};

// Copies a whole store from one database to another, each an SQLite file or
// a server (see DatabaseAddress::parse), all rows with their keys in one
// transaction on the target. A target file that does not exist is made from the schema under
// a temporary name and takes its own name only once the copy is committed.
ToolOutcome copyStore(const QString& from, const QString& to, const CopyOptions& options,
                      const CopyObserver& observer);
