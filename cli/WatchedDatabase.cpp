#include "WatchedDatabase.h"

#include <utility>

DbError WatchedDatabase::takeFailure()
{
    return std::exchange(m_failure, DbError());
}

bool WatchedDatabase::note(bool ok, const DbError& error, DbError* callers)
{
    if (!ok && !m_failure.isError()) {
        m_failure = error;
        // An engine that failed without a number still failed.
        if (!m_failure.isError())
            m_failure.number = -1;
    }
    if (callers)
        *callers = error;
    return ok;
}

int WatchedDatabase::query(const QString& sql, QueryTable& table, DbError* error)
{
    DbError e;
    const int rows = m_inner->query(sql, table, &e);
    note(rows >= 0, e, error);
    return rows;
}

bool WatchedDatabase::execute(const QString& sql, DbError* error)
{
    DbError e;
    return note(m_inner->execute(sql, &e), e, error);
}

bool WatchedDatabase::executeWith(const QString& sql, const QVariantList& values, DbError* error)
{
    DbError e;
    return note(m_inner->executeWith(sql, values, &e), e, error);
}

bool WatchedDatabase::begin(DbError* error)
{
    DbError e;
    return note(m_inner->begin(&e), e, error);
}

bool WatchedDatabase::commit(DbError* error)
{
    DbError e;
    return note(m_inner->commit(&e), e, error);
}

QStringList WatchedDatabase::columnsOf(const QString& table, DbError* error)
{
    DbError e;
    const QStringList columns = m_inner->columnsOf(table, &e);
    note(!e.isError(), e, error);
    return columns;
}

QStringList WatchedDatabase::grantStatements(const QList<TableRights>& rights, DbError* error)
{
    DbError e;
    const QStringList statements = m_inner->grantStatements(rights, &e);
    note(!e.isError(), e, error);
    return statements;
}

bool WatchedDatabase::checkIntegrity(DbError* error)
{
    DbError e;
    return note(m_inner->checkIntegrity(&e), e, error);
}
