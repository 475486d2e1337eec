#pragma once

#include <QString>

struct DatabaseFailure;

// How a command-line tool ends on a failure of a store: frostpick-calc and
// frostpick-db give the same status for the same failure, and say why on one
// line of standard error.
struct ToolExit
{
    int status = 0;
    QString line; // without the program's name
};

// The statuses both tools give a failed store (their --help and manual pages
// document them).
// The store could not be reached or refused; nothing was written.
inline constexpr int ToolExitDatabase = 1;
// The connection broke after a commit was sent and the store could not be
// asked whether it holds the write.
inline constexpr int ToolExitUnknown = 6;

// what: the store or the step, in the tool's words ("cannot open order.mdb").
ToolExit ToolExitFor(const QString& what, const DatabaseFailure& failure);
