#include "Functions.h"

#include "DataLocation.h"
#include "Database.h"
#include "DatabaseFailure.h"
#include "FailurePresenter.h"
#include "Messages.h"
#include "NumberText.h"
#include "ProgramDatabases.h"
#include "WriteAttempt.h"

#include <QAction>
#include <QLocale>
#include <functional>
#include <limits>
#include <map>

namespace Functions {

namespace {

DataLocation s_location;
std::shared_ptr<Database> s_connection;
QList<QPointer<QAction>> s_listMenus;
// Writes whose outcome stayed unknown, by their statements: the same change
// tried again asks for its token first and is never stored twice. An insert
// keeps the key its row got.
struct UnknownWrite
{
    WriteAttempt attempt;
    qint64 key = 0;
};
std::map<QString, UnknownWrite> s_unknownWrites;

const QString& recordGoneReason()
{
    static const QString reason = QStringLiteral(
        "Записи больше нет в базе данных: ее, вероятно, удалили в другой копии программы. Список прочитан "
        "заново.");
    return reason;
}

DatabaseFailure notOpen()
{
    return DatabaseFailure::own(QStringLiteral("База данных не открыта"));
}

Result<void> changing(const QString& sql)
{
    Result<void> done = ExecSql(sql);
    if (done && s_connection->changedRows() == 0)
        return DatabaseFailure::own(recordGoneReason());
    return done;
}

// Runs writes (done or their failure) as one attempt of a write of
// statements: done when it is stored, told when its answer was lost; the
// failure, told as unknown when nobody could say whether it was stored.
Result<void> attemptWrite(const QStringList& statements, qint64* key,
                          const std::function<Result<void>(qint64*)>& writes)
{
    if (!s_connection)
        return notOpen();
    const QString what = statements.join(QLatin1Char('\n'));
    UnknownWrite write;
    if (const auto earlier = s_unknownWrites.find(what); earlier != s_unknownWrites.end()) {
        write = earlier->second;
        s_unknownWrites.erase(earlier);
    }
    WriteAttempt& attempt = write.attempt;
    Result<void> written = attempt.begin(*s_connection);
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
    DatabaseFailure failure = written.failure().at(s_location.reference());
    if (attempt.outcome() == WriteAttempt::Outcome::Unknown) {
        s_unknownWrites[what] = write;
        failure.outcomeUnknown = true;
    }
    return failure;
}

QString keyTooLarge(qint64 key)
{
    return QStringLiteral("Ключ новой записи (%1) больше 32767: программа подбора не сможет её "
                          "прочитать. Запись не сохранена.")
        .arg(key);
}

void setListMenusEnabled(bool enabled)
{
    for (const QPointer<QAction>& action : s_listMenus)
        if (action)
            action->setEnabled(enabled);
}

} // namespace

bool Main(const DataLocation& location)
{
    if (const Result<void> opened = OpenDatabase(location); !opened) {
        PresentStartFailure(opened.failure());
        return false;
    }
    PresentWritesRefused(*s_connection);
    return true;
}

Result<void> OpenDatabase(const DataLocation& location)
{
    s_location = location;
    Result<std::shared_ptr<Database>> opened =
        OpenProgramDatabase(location.reference(), referenceTables(), AskPassword);
    if (!opened) {
        s_connection.reset();
        return opened.failure();
    }
    s_connection = std::move(opened.value());
    return {};
}

const DataLocation& Location()
{
    return s_location;
}

void CloseDatabase()
{
    s_connection.reset();
}

Database* Connection()
{
    return s_connection.get();
}

int FetchRows(const QString& sql, QueryTable& rows)
{
    if (!s_connection)
        return 0;
    const Result<int> count = s_connection->query(sql, rows);
    if (!count)
        PresentFailure(count.failure().at(s_location.reference(), sql),
                       QStringLiteral("Ошибка чтения базы данных"), MsgIcon::Exclamation,
                       QStringLiteral("Внимание"));
    return count.valueOr(-1);
}

bool FetchRecord(const QString& sql, QueryTable& row, const QString& title)
{
    const int count = FetchRows(sql, row);
    if (count == 0)
        Messages::show(QStringLiteral("Нарушена целостность БД!"), MsgIcon::Critical, title);
    return count > 0;
}

Result<void> ExecSql(const QString& sql)
{
    if (!s_connection)
        return notOpen();
    const Result<void> done = s_connection->execute(sql);
    if (!done)
        return done.failure().at(s_location.reference(), sql);
    return done;
}

bool RecordGone(const DatabaseFailure& failure)
{
    return !failure.fromEngine() && failure.reason == recordGoneReason();
}

QString FailureDescription(const DatabaseFailure& failure)
{
    const QString why = failure.fromEngine() ? failure.engineText : failure.reason;
    return failure.outcomeUnknown
               ? WriteAttempt::note(WriteAttempt::Outcome::Unknown) + QLatin1Char('\n') + why
               : why;
}

Result<void> ExecSqlChanging(const QString& sql)
{
    return ExecSqlAll({sql});
}

Result<void> ExecSqlAll(const QStringList& statements, bool shortKeys, const QList<int>& rowsEach,
                        qsizetype* failedStatement)
{
    return attemptWrite(statements, nullptr, [&](qint64*) {
        for (qsizetype i = 0; i < statements.size(); ++i) {
            const QString& sql = statements.at(i);
            Result<void> done = changing(sql);
            if (done && i < rowsEach.size() && s_connection->changedRows() != rowsEach.at(i))
                done = DatabaseFailure::own(recordGoneReason());
            if (done && shortKeys && sql.startsWith(QLatin1String("INSERT")) &&
                s_connection->lastInsertKey() > std::numeric_limits<qint16>::max())
                done = DatabaseFailure::own(keyTooLarge(s_connection->lastInsertKey()));
            if (!done) {
                if (failedStatement)
                    *failedStatement = i;
                return done;
            }
        }
        return Result<void>();
    });
}

Result<qint64> InsertRow(const QString& sql)
{
    qint64 key = 0;
    const Result<void> inserted = attemptWrite({sql}, &key, [&](qint64* newKey) {
        if (Result<void> done = ExecSql(sql); !done)
            return done;
        *newKey = s_connection->lastInsertKey();
        if (*newKey > std::numeric_limits<qint16>::max())
            return Result<void>(DatabaseFailure::own(keyTooLarge(*newKey)));
        return Result<void>();
    });
    if (!inserted)
        return inserted.failure();
    return key;
}

std::optional<qint16> PickKey(qint64 key)
{
    if (key < 1 || key > std::numeric_limits<qint16>::max()) {
        Messages::show(QStringLiteral("Ключ записи (%1) вне диапазона от 1 до 32767: "
                                      "такую запись программа изменить или удалить не может.")
                           .arg(key),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        return std::nullopt;
    }
    return static_cast<qint16>(key);
}

QString FixNumber(const QString& text)
{
    QString fixed = text;
    fixed.replace(QLatin1Char(','), QLatin1Char('.'));
    return fixed.trimmed();
}

std::optional<double> TypedNumber(const QString& text)
{
    const QString fixed = FixNumber(text);
    // The C locale takes a Unicode minus for a sign, which the reading then
    // does not: "−5" would be stored as 0.
    for (const QChar c : fixed)
        if (c.unicode() > 0x7E)
            return std::nullopt;
    if (!NumberText::isNumeric(fixed, QLocale::c()))
        return std::nullopt;
    return NumberText::read(fixed);
}

void RegisterListMenus(const QList<QAction*>& actions)
{
    s_listMenus.clear();
    for (QAction* action : actions)
        s_listMenus << action;
}

void DisableListMenus()
{
    setListMenusEnabled(false);
}

void EnableListMenus()
{
    setListMenusEnabled(true);
}

} // namespace Functions
