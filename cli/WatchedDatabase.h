#pragma once

#include "Database.h"

#include <memory>
#include <optional>

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

    // The first failure since the last call, and forgets it.
    std::optional<DatabaseFailure> takeFailure();
    const QString& shown() const { return m_shown; } // the address, for a message

    Result<int> query(const QString& sql, QueryTable& table) override;
    Result<void> execute(const QString& sql) override;
    Result<void> executeWith(const QString& sql, const QVariantList& values) override;
    qint64 lastInsertKey() const override { return m_inner->lastInsertKey(); }
    int changedRows() const override { return m_inner->changedRows(); }
    Result<void> begin() override;
    Result<void> commit() override;
    void rollback() override { m_inner->rollback(); }
    bool beginRead() override { return m_inner->beginRead(); }
    void endRead() override { m_inner->endRead(); }
    void setResultReuse(ResultReuse reuse) override { m_inner->setResultReuse(reuse); }
    void beginAction() override { m_inner->beginAction(); }
    void prefetch(const QStringList& sqls) override { m_inner->prefetch(sqls); }
    bool readsAhead() const override { return m_inner->readsAhead(); }
    bool keepsWriteTokens() const override { return m_inner->keepsWriteTokens(); }
    Result<QStringList> columnsOf(const QString& table) override;
    Result<QList<QStringList>> columnsOfEach(const QStringList& tables) override;
    Result<bool> holdsTable(const QString& table) override { return noted(m_inner->holdsTable(table)); }
    Result<bool> serves(const DatabaseAddress& address, const QStringList& requiredTables) override
    {
        return noted(m_inner->serves(address, requiredTables));
    }
    Result<QStringList> grantStatements(const QList<TableRights>& rights) override;
    Result<void> checkIntegrity() override;

private:
    // Keeps the failure when it is the first.
    void noteFailure(const DatabaseFailure& failure);
    // Passes the result on, noting its failure.
    template <typename T> Result<T> noted(Result<T> result)
    {
        if (!result)
            noteFailure(result.failure());
        return result;
    }

    std::unique_ptr<Database> m_inner;
    QString m_shown;
    std::optional<DatabaseFailure> m_failure;
};
