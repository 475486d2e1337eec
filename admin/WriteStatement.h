#pragma once

#include <QString>

// A statement of a change and the rows it must change: run with others as
// one change (AdminSession::execSqlAll), which fails when it changes another
// number.
struct WriteStatement
{
    QString sql;
    int rows = 1;
};
