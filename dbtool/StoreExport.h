#pragma once

#include "ToolOutcome.h"

#include <functional>

// Writes every table of every store a database holds as FOLDER/<table>.csv,
// the way a spreadsheet in a Russian locale writes it (see CsvFile), keys
// included, all read in one snapshot. A NULL is an empty field, an empty
// text "" so that an import gives back the same rows.
ToolOutcome exportStore(const QString& from, const QString& folder,
                        const std::function<void(const QString& line)>& report);
