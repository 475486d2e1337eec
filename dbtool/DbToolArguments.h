#pragma once

#include "StoreCopy.h"

#include <QString>
#include <QStringList>

// The command line of frostpick-db.
struct DbToolArguments
{
    enum class Command { Help, Copy, Init, Grant, Export, Import };

    Command command = Command::Help;
    CopyOptions copy;        // import: only replace
    bool print = false;      // grant: print the statements instead of running them
    bool allowEmpty = false; // import: a file without rows empties its table
    QStringList operands;    // copy: FROM TO; export: STORE FOLDER; import: FOLDER STORE; init: URI; grant:
                             // ENGINEER_ROLE ADMIN_ROLE [URI]
};

// Parses the arguments after the program name. Returns false with a one-line
// error when they do not form exactly one of the invocations.
bool parseDbToolArguments(const QStringList& arguments, DbToolArguments& result, QString* error);

QString dbToolUsage();
