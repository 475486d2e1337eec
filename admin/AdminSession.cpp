#include "AdminSession.h"

#include "Database.h"
#include "DatabaseFailure.h"
#include "FailurePresenter.h"
#include "Functions.h"
#include "Messages.h"
#include "ProgramDatabases.h"

#include <QAction>
#include <limits>

namespace {

DatabaseFailure notOpen()
{
    return DatabaseFailure::own(QStringLiteral("База данных не открыта"));
}

QString keyTooLarge(qint64 key)
{
    return QStringLiteral("Ключ новой записи (%1) больше 32767: программа подбора не сможет её "
                          "прочитать. Запись не сохранена.")
        .arg(key);
}

} // namespace

AdminSession::AdminSession() = default;
AdminSession::~AdminSession() = default;

Result<void> AdminSession::open(const DataLocation& location)
{
    m_location = location;
    Result<std::shared_ptr<Database>> opened =
        OpenProgramDatabase(location.reference(), referenceTables(), AskPassword);
    if (!opened) {
        m_connection.reset();
        return opened.failure();
    }
    m_connection = std::move(opened.value());
    return {};
}

void AdminSession::close()
{
    m_connection.reset();
}

Result<int> AdminSession::query(const QString& sql, QueryTable& rows) const
{
    if (!m_connection)
        return notOpen();
    const Result<int> count = m_connection->query(sql, rows);
    if (!count)
        return count.failure().at(m_location.reference(), sql);
    return count;
}

Result<void> AdminSession::execSql(const QString& sql)
{
    if (!m_connection)
        return notOpen();
    const Result<void> done = m_connection->execute(sql);
    if (!done)
        return done.failure().at(m_location.reference(), sql);
    return done;
}

Result<void> AdminSession::changing(const QString& sql)
{
    Result<void> done = execSql(sql);
    if (done && m_connection->changedRows() == 0)
        return Functions::RecordGoneFailure();
    return done;
}

Result<void> AdminSession::execSqlChanging(const QString& sql)
{
    return execSqlAll({sql});
}

// Runs writes (done or their failure) as one attempt of a write of
// statements: done when it is stored, told when its answer was lost; the
// failure, told as unknown when nobody could say whether it was stored.
Result<void> AdminSession::attemptWrite(const QStringList& statements, qint64* key,
                                        const std::function<Result<void>(qint64*)>& writes)
{
    if (!m_connection)
        return notOpen();
    const QString what = statements.join(QLatin1Char('\n'));
    UnknownWrite write;
    if (const auto earlier = m_unknownWrites.find(what); earlier != m_unknownWrites.end()) {
        write = earlier->second;
        m_unknownWrites.erase(earlier);
    }
    WriteAttempt& attempt = write.attempt;
    Result<void> written = attempt.begin(*m_connection);
    if (written) {
        if (Result<void> steps = writes(&write.key); !steps) {
            attempt.rollback();
            return steps;
        }
        written = attempt.commit();
    }
    if (attempt.outcome() == WriteAttempt::Outcome::StoredAnswerLost)
        Messages::show(attempt.note(), MsgIcon::Information);
    if (attempt.stored()) {
        if (key)
            *key = write.key;
        return {};
    }
    DatabaseFailure failure = written.failure().at(m_location.reference());
    if (attempt.outcome() == WriteAttempt::Outcome::Unknown) {
        m_unknownWrites[what] = write;
        failure.outcomeUnknown = true;
    }
    return failure;
}

Result<void> AdminSession::execSqlAll(const QStringList& statements, bool shortKeys,
                                      const QList<int>& rowsEach, qsizetype* failedStatement)
{
    return attemptWrite(statements, nullptr, [&](qint64*) {
        for (qsizetype i = 0; i < statements.size(); ++i) {
            const QString& sql = statements.at(i);
            Result<void> done = changing(sql);
            if (done && i < rowsEach.size() && m_connection->changedRows() != rowsEach.at(i))
                done = Functions::RecordGoneFailure();
            if (done && shortKeys && sql.startsWith(QLatin1String("INSERT")) &&
                m_connection->lastInsertKey() > std::numeric_limits<qint16>::max())
                done = DatabaseFailure::own(keyTooLarge(m_connection->lastInsertKey()));
            if (!done) {
                if (failedStatement)
                    *failedStatement = i;
                return done;
            }
        }
        return Result<void>();
    });
}

Result<void> AdminSession::write(const QVector<WriteStatement>& statements, bool shortKeys,
                                 qsizetype* failedStatement)
{
    QStringList sql;
    QList<int> rows;
    for (const WriteStatement& statement : statements) {
        sql << statement.sql;
        rows << statement.rows;
    }
    return execSqlAll(sql, shortKeys, rows, failedStatement);
}

Result<qint64> AdminSession::insertRow(const QString& sql)
{
    qint64 key = 0;
    const Result<void> inserted = attemptWrite({sql}, &key, [&](qint64* newKey) {
        if (Result<void> done = execSql(sql); !done)
            return done;
        *newKey = m_connection->lastInsertKey();
        if (*newKey > std::numeric_limits<qint16>::max())
            return Result<void>(DatabaseFailure::own(keyTooLarge(*newKey)));
        return Result<void>();
    });
    if (!inserted)
        return inserted.failure();
    return key;
}

void AdminSession::registerListMenus(const QList<QAction*>& actions)
{
    m_listMenus.clear();
    for (QAction* action : actions)
        m_listMenus << action;
}

void AdminSession::setListMenusEnabled(bool enabled)
{
    for (const QPointer<QAction>& action : std::as_const(m_listMenus))
        if (action)
            action->setEnabled(enabled);
}
