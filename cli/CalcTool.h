#pragma once

#include "CliArguments.h"

// Exit statuses of frostpick-calc.
enum ExitStatus {
    ExitOk = 0,
    ExitDatabase = 1,
    ExitRefused = 2,
    ExitRange = 3,
    ExitNoOrder = 4,
};

// Runs one invocation; JSON goes to standard output, one-line messages to
// standard error. Returns the exit status.
int runCalcTool(const CliArguments& arguments);
