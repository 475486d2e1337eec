#pragma once

#include "DataLocation.h"
#include "Result.h"
#include "WriteAttempt.h"
#include "WriteStatement.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <functional>
#include <map>
#include <memory>

class Database;
class QAction;
class QueryTable;

// The administrator at work: the one connection to the reference database,
// the location it was opened from (the pictures are there too), the list
// menu items a list window switches off, and the writes whose outcome stayed
// unknown. Made once in main and handed to every window and store that
// needs it, as the wizard's screens receive their context.
//
// The failures it gives carry the reference database and the statement; the
// caller shows them (PresentFailure), except that a change stored after its
// answer was lost is told here, as it happens.
class AdminSession
{
public:
    AdminSession();
    ~AdminSession();
    AdminSession(const AdminSession&) = delete;
    AdminSession& operator=(const AdminSession&) = delete;

    // Opens the location's reference database as the connection. Either way
    // the location is kept for the pictures.
    Result<void> open(const DataLocation& location);
    void close();
    Database* connection() const { return m_connection.get(); }
    const DataLocation& location() const { return m_location; }

    // Row count of the query; with 0 rows the table is left as it was.
    Result<int> query(const QString& sql, QueryTable& rows) const;
    Result<void> execSql(const QString& sql);

    // Runs an UPDATE or DELETE of records that should exist as one change
    // (see execSqlAll), never done for a statement that stored nothing.
    Result<void> execSqlChanging(const QString& sql);

    // Runs the statements as one change: either all are stored or none, and
    // none is stored when one of them changes no row, or with shortKeys when
    // one inserts a row whose key the wizard cannot hold (as insertRow), or,
    // when rowsEach gives them, changes another number of rows than its own.
    // The index of the statement that failed goes to failedStatement.
    // A change whose answer was lost counts as made when the store holds it
    // (and says so); one whose outcome stayed unknown fails, saying so, and
    // the same statements tried again store nothing when the first try was
    // stored.
    Result<void> execSqlAll(const QStringList& statements, bool shortKeys = false,
                            const QList<int>& rowsEach = {}, qsizetype* failedStatement = nullptr);

    // The same for statements that each say how many rows they change.
    Result<void> write(const QVector<WriteStatement>& statements, bool shortKeys = false,
                       qsizetype* failedStatement = nullptr);

    // Runs an INSERT and gives the new row's key. A key the wizard cannot
    // hold (above 32767) undoes the insert and counts as a failure.
    Result<qint64> insertRow(const QString& sql);

    // The five list items of the main window's menu.
    void registerListMenus(const QList<QAction*>& actions);
    void setListMenusEnabled(bool enabled);

private:
    Result<void> changing(const QString& sql);
    Result<void> attemptWrite(const QStringList& statements, qint64* key,
                              const std::function<Result<void>(qint64*)>& writes);

    DataLocation m_location;
    std::shared_ptr<Database> m_connection;
    QList<QPointer<QAction>> m_listMenus;
    // Writes whose outcome stayed unknown, by their statements: the same
    // change tried again asks for its token first and is never stored twice.
    // An insert keeps the key its row got.
    struct UnknownWrite
    {
        WriteAttempt attempt;
        qint64 key = 0;
    };
    std::map<QString, UnknownWrite> m_unknownWrites;
};
