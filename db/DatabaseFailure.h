#pragma once

#include "DatabaseAddress.h"

#include <QString>

// A read or a write of a database that failed, told to the user the same way
// by every program: a heading, one plain line of what happened and what to
// do, and the statement and the engine's own text as details. A failure the
// program finds itself (a record gone, a key too large) has no engine text,
// only its reason.
struct DatabaseFailure
{
    DatabaseFailure() = default;
    // The engine's refusal: its code (an SQLite result code, or a server's
    // SQLSTATE read as a number, see SqlStateOf) and its own text.
    DatabaseFailure(int code, QString text) : engineCode(code), engineText(std::move(text)) {}
    // The program's own refusal, told by its reason.
    static DatabaseFailure own(QString why)
    {
        DatabaseFailure failure;
        failure.reason = std::move(why);
        return failure;
    }
    // The same failure, met on the database at where running what (empty:
    // no statement shown).
    DatabaseFailure at(DatabaseAddress where, QString what = {}) const
    {
        DatabaseFailure failure = *this;
        failure.address = std::move(where);
        failure.statement = std::move(what);
        return failure;
    }

    // What the failure means for whoever tries again.
    enum class Kind {
        Connection,  // the server cannot be reached or the connection broke
        Busy,        // another program holds the data (a lock) past the wait
        Damaged,     // the file is no database or its contents are broken
        Unavailable, // the file or its folder cannot be read or written, or the disk is full
        Login,       // the server refused the role's name or password
        Rights,      // the server's role may not do this
        NotMade,     // the server has no such table: the store was not set up
        Refused,     // anything else the engine refused
    };

    DatabaseAddress address; // where: a file or a server
    QString statement;       // what was run, empty when none
    int engineCode = 0;      // 0: the program's own failure, no engine's
    QString engineText;
    // The server asked for a password that neither the address nor libpq's
    // password file, service file or environment gave.
    bool passwordRequired = false;
    // No connection was made: the server was not reached, or refused it.
    bool notConnected = false;
    // The connection broke after a COMMIT was sent and before its answer
    // came: whether the server stored the transaction is not known.
    bool answerLost = false;
    // What was not done, as the operation words it: the box's first line
    // unless the program gives one of its own.
    QString heading;
    // Why, for a failure of the program's own.
    QString reason;
    // A write whose answer was lost and whose store could not be asked
    // whether it holds it.
    bool outcomeUnknown = false;

    bool fromEngine() const { return engineCode != 0; }
    // By the SQLite result code for a file, by the SQLSTATE for a server.
    Kind kind() const;
    // One line in plain Russian naming the file or server; the reason of a
    // failure of the program's own.
    QString advice() const;
    // The statement and the engine's text, for the box's details; empty
    // without an engine's text.
    QString details() const;
};

// The SQLSTATE a server error number stands for ("08006"); the engine writes
// a state of digits as the hexadecimal number it reads as and any other in
// base 36.
QString SqlStateOf(int number);
