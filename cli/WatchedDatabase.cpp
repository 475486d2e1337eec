#include "WatchedDatabase.h"

#include <utility>

std::optional<DatabaseFailure> WatchedDatabase::takeFailure()
{
    return std::exchange(m_failure, std::nullopt);
}

void WatchedDatabase::noteFailure(const DatabaseFailure& failure)
{
    if (m_failure)
        return;
    m_failure = failure;
    // An engine that failed without a number still failed.
    if (!m_failure->fromEngine())
        m_failure->engineCode = -1;
}

Result<int> WatchedDatabase::query(const QString& sql, QueryTable& table)
{
    return noted(m_inner->query(sql, table));
}

Result<void> WatchedDatabase::execute(const QString& sql)
{
    return noted(m_inner->execute(sql));
}

Result<void> WatchedDatabase::executeWith(const QString& sql, const QVariantList& values)
{
    return noted(m_inner->executeWith(sql, values));
}

Result<void> WatchedDatabase::begin()
{
    return noted(m_inner->begin());
}

Result<void> WatchedDatabase::commit()
{
    return noted(m_inner->commit());
}

Result<QStringList> WatchedDatabase::columnsOf(const QString& table)
{
    return noted(m_inner->columnsOf(table));
}

Result<QList<QStringList>> WatchedDatabase::columnsOfEach(const QStringList& tables)
{
    return noted(m_inner->columnsOfEach(tables));
}

Result<QStringList> WatchedDatabase::grantStatements(const QList<TableRights>& rights)
{
    return noted(m_inner->grantStatements(rights));
}

Result<void> WatchedDatabase::checkIntegrity()
{
    return noted(m_inner->checkIntegrity());
}
