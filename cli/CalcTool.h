#pragma once

#include "CliArguments.h"
#include "ToolExit.h"

// Exit statuses of frostpick-calc.
enum ExitStatus {
    ExitOk = 0,
    ExitDatabase = ToolExitDatabase,
    ExitRefused = 2,
    ExitRange = 3,
    ExitNoOrder = 4,
};

// Runs one invocation; JSON goes to standard output, one-line messages to
// standard error. Returns the exit status.
int runCalcTool(const CliArguments& arguments);
