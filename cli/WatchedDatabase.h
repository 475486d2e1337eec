#pragma once

#include "Database.h"

#include <memory>

// A database that passes every call to another and remembers the first
// statement that failed since it was last asked. The calculation core turns a
// failed read into a message and an empty row; the tool must not print what
// was computed from that row, so it asks after every calculation.
class WatchedDatabase final : public Database
{
public:
    WatchedDatabase(std::unique_ptr<Database> inner, QString shown)
        : m_inner(std::move(inner)), m_shown(std::move(shown))
    {}

    // The first failure since the last call (number 0: none), and forgets it.
    DbError takeFailure();
    const QString& shown() const { return m_shown; } // the address, for a message

    int query(const QString& sql, QueryTable& table, DbError* error = nullptr) override;
    bool execute(const QString& sql, DbError* error = nullptr) override;
    bool executeWith(const QString& sql, const QVariantList& values, DbError* error = nullptr) override;
    qint64 lastInsertKey() const override { return m_inner->lastInsertKey(); }
    int changedRows() const override { return m_inner->changedRows(); }
    bool begin(DbError* error = nullptr) override;
    bool commit(DbError* error = nullptr) override;
    void rollback() override { m_inner->rollback(); }
    bool beginRead() override { return m_inner->beginRead(); }
    void endRead() override { m_inner->endRead(); }
    void setResultReuse(ResultReuse reuse) override { m_inner->setResultReuse(reuse); }
    void beginAction() override { m_inner->beginAction(); }
    void prefetch(const QStringList& sqls) override { m_inner->prefetch(sqls); }
    bool readsAhead() const override { return m_inner->readsAhead(); }
    bool keepsWriteTokens() const override { return m_inner->keepsWriteTokens(); }
    QStringList columnsOf(const QString& table, DbError* error = nullptr) override;
    QStringList grantStatements(const QList<TableRights>& rights, DbError* error = nullptr) override;
    bool checkIntegrity(DbError* error = nullptr) override;

private:
    // Passes ok on, noting the error when it is the first.
    bool note(bool ok, const DbError& error, DbError* callers);

    std::unique_ptr<Database> m_inner;
    QString m_shown;
    DbError m_failure;
};
