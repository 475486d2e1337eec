#pragma once

#include "Database.h"

#include <QHash>
#include <QString>
#include <memory>

// Rows of reads kept by their statement text and given again instead of
// reading, for both engines. Whether the data changed since they were read is
// the engine's to find out (its change counter); this class says when to ask
// and drops the rows when the answer differs.
class KeptResults
{
public:
    // Forgets every row and every check.
    void setReuse(Database::ResultReuse reuse);
    bool on() const { return m_reuse != Database::ResultReuse::None; }

    // Whether the engine must read its change counter before the next read.
    // In a transaction the first read does, so that the kept rows belong to
    // the snapshot the transaction sees.
    bool mustCheck(bool inTransaction) const;
    // The change counter as read, or -1 when it could not be read: rows kept
    // under another value are dropped.
    void checked(qint64 version, bool inTransaction);
    // The user's next action reads the change counter again.
    void beginAction() { m_checkedInAction = false; }
    // A statement other than a read ran or a transaction began: a read in a
    // transaction reads the change counter again.
    void recheckInTransaction() { m_checkedInTransaction = false; }

    // Whether kept rows may be given and new ones kept: never after a change
    // counter that could not be read.
    bool reusable() const;
    bool contains(const QString& sql) const { return m_rows.contains(sql); }
    // The kept row count of sql, with the rows in table when there are any;
    // -1 when none are kept.
    int give(const QString& sql, QueryTable& table) const;
    // Keeps what a read gave, when reusable.
    void keep(const QString& sql, int rows, const QueryTable& table);
    // Drops the rows (a write, a rollback); the checks made stay.
    void drop() { m_rows.clear(); }
    // Drops the rows and the checks: a connection made again.
    void forget();

private:
    struct Kept
    {
        int rows = 0;
        std::shared_ptr<const QueryTable> table;
    };
    Database::ResultReuse m_reuse = Database::ResultReuse::None;
    qint64 m_version = -1;
    bool m_checkedInTransaction = false;
    bool m_checkedInAction = false;
    QHash<QString, Kept> m_rows;
};
