#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

// One run of frostpick-calc as a process, the way a script runs it.
struct CalcRun
{
    int exitCode = -1; // also when it crashed or did not end within two minutes
    QByteArray out;
    QByteArray err;

    // The built frostpick-calc, or program (a copy of it), fed input on stdin.
    static CalcRun of(const QStringList& args, const QByteArray& input = {}, const QString& program = {});
    QJsonObject object() const; // the first output line
};

// A line of output as a JSON object; an empty one, with a warning that shows
// the line, when it is not one.
QJsonObject jsonObject(const QByteArray& line);
