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

std::optional<bool> WriteAttempt::tokenStored(DbError* error)
{
    QueryTable rows;
    const int found = m_db->query(QStringLiteral("SELECT COUNT(*) FROM frostpick_write WHERE token=") +
                                      SqlLiteral::text(m_token),
                                  rows, error);
    if (found != 1)
        return std::nullopt;
    return rows.integer(0, 0) > 0;
}

bool WriteAttempt::begin(Database& db, DbError* error)
{
    m_db = &db;
    // A store without the tokens cannot be asked: the try writes again.
    if (m_outcome == Outcome::Unknown && db.keepsWriteTokens()) {
        DbError asked;
        const std::optional<bool> stored = tokenStored(&asked);
        if (!stored || *stored) {
            if (error)
                *error = asked;
            return settle(stored ? Outcome::StoredAnswerLost : Outcome::Unknown);
        }
    }
    return settle(db.begin(error) ? Outcome::Open : Outcome::NotStored);
}

WriteAttempt::Outcome WriteAttempt::commit(DbError* error)
{
    DbError failure;
    const bool tokenWritten =
        !m_db->keepsWriteTokens() ||
        (m_db->executeWith(QStringLiteral("DELETE FROM frostpick_write WHERE written<?"),
                           {QDateTime::currentSecsSinceEpoch() - TokenKeptSeconds}, &failure) &&
         m_db->executeWith(QStringLiteral("INSERT INTO frostpick_write (token, written) VALUES (?, ?)"),
                           {m_token, QDateTime::currentSecsSinceEpoch()}, &failure));
    if (tokenWritten && m_db->commit(&failure)) {
        settle(Outcome::Stored);
        return m_outcome;
    }
    m_db->rollback();
    if (error)
        *error = failure;
    if (!failure.answerLost) {
        settle(Outcome::NotStored);
        return m_outcome;
    }
    const std::optional<bool> stored =
        m_db->keepsWriteTokens() ? tokenStored(nullptr) : std::optional<bool>();
    settle(!stored ? Outcome::Unknown : *stored ? Outcome::StoredAnswerLost : Outcome::NotStored);
    return m_outcome;
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
