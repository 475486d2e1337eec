#pragma once

#include "ToolOutcome.h"

struct DbToolArguments;

// Runs one command of frostpick-db: results to standard output, the progress
// of a long copy to a terminal on standard error.
ToolOutcome runDbTool(const DbToolArguments& arguments);
