#include "WriteAttempt.h"

#include "QueryTable.h"
#include "SqlLiteral.h"

#include <QDateTime>
#include <QUuid>

namespace {

// Long enough for a user to come back to a write whose outcome was unknown.
constexpr qint64 TokenKeptSeconds = 31 * 24 * 3600;

QString newToken()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

WriteAttempt::WriteAttempt() : m_token(newToken()) {}

bool WriteAttempt::settle(Outcome outcome)
{
    m_outcome = outcome;
    // A try whose outcome is known never stores its token again.
    if (outcome != Outcome::Unknown && outcome != Outcome::Open)
        m_token = newToken();
    return outcome == Outcome::Open;
}

Result<bool> WriteAttempt::tokenStored()
{
    QueryTable rows;
    const Result<int> found = m_db->query(
        QStringLiteral("SELECT COUNT(*) FROM frostpick_write WHERE token=") + SqlLiteral::text(m_token),
        rows);
    if (!found)
        return found.failure();
    if (found.value() != 1)
        return DatabaseFailure();
    return rows.integer(0, 0) > 0;
}

Result<void> WriteAttempt::begin(Database& db)
{
    m_db = &db;
    // A store without the tokens cannot be asked: the try writes again.
    if (m_outcome == Outcome::Unknown && db.keepsWriteTokens()) {
        const Result<bool> stored = tokenStored();
        if (!stored) {
            settle(Outcome::Unknown);
            return stored.failure();
        }
        if (stored.value()) {
            settle(Outcome::StoredAnswerLost);
            return DatabaseFailure();
        }
    }
    Result<void> begun = db.begin();
    settle(begun ? Outcome::Open : Outcome::NotStored);
    return begun;
}

Result<void> WriteAttempt::commit()
{
    Result<void> done;
    if (m_db->keepsWriteTokens()) {
        done = m_db->executeWith(QStringLiteral("DELETE FROM frostpick_write WHERE written<?"),
                                 {QDateTime::currentSecsSinceEpoch() - TokenKeptSeconds});
        if (done)
            done = m_db->executeWith(
                QStringLiteral("INSERT INTO frostpick_write (token, written) VALUES (?, ?)"),
                {m_token, QDateTime::currentSecsSinceEpoch()});
    }
    if (done)
        done = m_db->commit();
    if (done) {
        settle(Outcome::Stored);
        return done;
    }
    m_db->rollback();
    if (!done.failure().answerLost) {
        settle(Outcome::NotStored);
        return done;
    }
    const Result<bool> stored = m_db->keepsWriteTokens() ? tokenStored() : Result<bool>(DatabaseFailure());
    settle(!stored ? Outcome::Unknown : stored.value() ? Outcome::StoredAnswerLost : Outcome::NotStored);
    return done;
}

void WriteAttempt::rollback()
{
    m_db->rollback();
    settle(Outcome::NotStored);
}

QString WriteAttempt::note(Outcome outcome)
{
    switch (outcome) {
    case Outcome::StoredAnswerLost:
        return QStringLiteral("Сохранено; связь прервалась после записи.");
    case Outcome::Unknown:
        return QStringLiteral("Связь прервалась, когда запись была отправлена: неизвестно, сохранено ли — "
                              "проверьте после восстановления связи.");
    default:
        return {};
    }
}
