#pragma once

#include "Database.h"
#include "Messages.h"

#include <QString>

// A read or a write of a database that failed, told to the user the same way
// by every program: a heading, one plain line of what happened and what to
// do, and the statement and the engine's own text as details.
struct DatabaseFailure
{
    // What the failure means for whoever tries again.
    enum class Kind {
        Connection,  // the server cannot be reached or the connection broke
        Busy,        // another program holds the data (a lock) past the wait
        Damaged,     // the file is no database or its contents are broken
        Unavailable, // the file or its folder cannot be read or written, or the disk is full
        Rights,      // the server's role may not do this
        NotMade,     // the server has no such table: the store was not set up
        Refused,     // anything else the engine refused
    };

    DatabaseAddress address; // where: a file or a server
    QString statement;       // what was run, empty when none
    DbError error;

    // By the SQLite result code for a file, by the SQLSTATE for a server.
    Kind kind() const;
    // One line in plain Russian naming the file or server.
    QString advice() const;
    // The statement and the engine's text, for the box's details.
    QString details() const;
};

// The SQLSTATE a server error number stands for ("08006"); the engine writes
// a state of digits as the hexadecimal number it reads as and any other in
// base 36.
QString SqlStateOf(int number);

// Shows heading, the plain line under it and the details, by default with
// the exclamation icon and the title "Внимание": every failure of a database
// is shown this way in both programs.
void ShowDatabaseFailure(const QString& heading, const DatabaseFailure& failure,
                         MsgIcon icon = MsgIcon::Exclamation,
                         const QString& title = QStringLiteral("Внимание"));
