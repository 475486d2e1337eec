#pragma once

#include "ToolExit.h"

#include <QString>

// How a run of frostpick-db ends: its exit status and, unless it succeeded,
// one line that says why. The statuses are documented in --help and in the
// manual page.
enum ToolStatus {
    StatusOk = 0,
    // A database could not be reached, asked for a password nobody gave, or
    // refused a step; the target was left as it was.
    StatusRefused = ToolExitDatabase,
    // The arguments, a file to import or a row to copy were refused.
    StatusUsage = 2,
    // The target already holds what would be written: rows of the store
    // (copy without --replace) or the tables (init).
    StatusTargetNotEmpty = 3,
    // A database holds neither store, or a server was not initialised.
    StatusNotAStore = 4,
    // The copy was committed but counting the target again gave other
    // numbers, or could not be done.
    StatusCheckFailed = 5,
    // The connection broke after the commit was sent and the server could
    // not be asked whether it was stored.
    StatusUnknown = ToolExitUnknown,
};

struct ToolOutcome
{
    ToolStatus status = StatusOk;
    QString message;

    bool ok() const { return status == StatusOk; }
};
