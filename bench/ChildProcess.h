#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One run of another program, timed from just before it is started until it
// has ended, with its own peak resident memory (not that of other children).
struct ChildRun
{
    bool started = false;
    int exitCode = -1;
    double seconds = 0;
    double cpuSeconds = 0; // user and system time of the child itself
    long peakRssKb = 0;
    QByteArray output; // standard output, when captured
};

// Standard output is captured when captureOutput is true, else discarded;
// standard error goes to the runner's own. extraEnvironment holds
// "NAME=value" entries added to the runner's environment.
ChildRun runChild(const QString& program, const QStringList& arguments, bool captureOutput,
                  const QStringList& extraEnvironment = {});

// CLOCK_MONOTONIC in nanoseconds: the same clock in every process, so a
// child can measure from a time its parent took.
qint64 monotonicNanoseconds();
