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
// The last failure: the database's refusal, or one of the program's own (a
// record gone, a key too large).
std::optional<DatabaseFailure> s_lastFailure;
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

int fail(const DatabaseFailure& engine, const QString& sql = {})
{
    s_lastFailure = engine.at(s_location.reference(), sql);
    return engine.engineCode;
}

// A failure of the program's own, told by description.
int refuse(const QString& description)
{
    s_lastFailure = DatabaseFailure::own(description);
    return 1;
}

int recordGone()
{
    s_lastFailure = DatabaseFailure::own(QStringLiteral(
        "Записи больше нет в базе данных: ее, вероятно, удалили в другой копии программы. Список прочитан "
        "заново."));
    return RecordGone;
}

int changing(const QString& sql)
{
    if (const int rc = ExecSql(sql))
        return rc;
    return s_connection->changedRows() > 0 ? 0 : recordGone();
}

// Runs writes (0 or the failure) as one attempt of a write of statements:
// 0 when it is stored, told when its answer was lost; the failure, told
// as unknown when nobody could say whether it was stored.
int attemptWrite(const QStringList& statements, qint64* key, const std::function<int(qint64*)>& writes)
{
    if (!s_connection)
        return refuse(QStringLiteral("База данных не открыта"));
    const QString what = statements.join(QLatin1Char('\n'));
    UnknownWrite write;
    if (const auto earlier = s_unknownWrites.find(what); earlier != s_unknownWrites.end()) {
        write = earlier->second;
        s_unknownWrites.erase(earlier);
    }
    WriteAttempt& attempt = write.attempt;
    Result<void> written = attempt.begin(*s_connection);
    if (written) {
        if (const int rc = writes(&write.key)) {
            attempt.rollback();
            return rc;
        }
        written = attempt.commit();
    }
    if (attempt.outcome() == WriteAttempt::Outcome::StoredAnswerLost)
        Messages::show(attempt.note(), MsgIcon::Information);
    if (attempt.stored()) {
        if (key)
            *key = write.key;
        return 0;
    }
    if (attempt.outcome() != WriteAttempt::Outcome::Unknown)
        return fail(written.failure());
    s_unknownWrites[what] = write;
    const int rc = fail(written.failure());
    s_lastFailure->outcomeUnknown = true;
    return rc;
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
    if (OpenDatabase(location) != 0) {
        PresentStartFailure(*s_lastFailure);
        return false;
    }
    PresentWritesRefused(*s_connection);
    return true;
}

int OpenDatabase(const DataLocation& location)
{
    s_location = location;
    Result<std::shared_ptr<Database>> opened =
        OpenProgramDatabase(location.reference(), referenceTables(), AskPassword);
    if (!opened) {
        s_connection.reset();
        s_lastFailure = opened.failure();
        return opened.failure().fromEngine() ? opened.failure().engineCode : 1;
    }
    s_connection = std::move(opened.value());
    return 0;
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
    if (!count) {
        fail(count.failure(), sql);
        ShowFailure(QStringLiteral("Ошибка чтения базы данных"), MsgIcon::Exclamation,
                    QStringLiteral("Внимание"));
    }
    return count.valueOr(-1);
}

bool FetchRecord(const QString& sql, QueryTable& row, const QString& title)
{
    const int count = FetchRows(sql, row);
    if (count == 0)
        Messages::show(QStringLiteral("Нарушена целостность БД!"), MsgIcon::Critical, title);
    return count > 0;
}

int ExecSql(const QString& sql)
{
    if (!s_connection)
        return refuse(QStringLiteral("База данных не открыта"));
    const Result<void> done = s_connection->execute(sql);
    return done ? 0 : fail(done.failure(), sql);
}

QString LastErrorDescription()
{
    if (!s_lastFailure)
        return {};
    const DatabaseFailure& failure = *s_lastFailure;
    const QString why = failure.fromEngine() ? failure.engineText : failure.reason;
    return failure.outcomeUnknown
               ? WriteAttempt::note(WriteAttempt::Outcome::Unknown) + QLatin1Char('\n') + why
               : why;
}

int ExecSqlChanging(const QString& sql)
{
    return ExecSqlAll({sql});
}

void ShowFailure(const QString& heading, MsgIcon icon, const QString& title)
{
    PresentFailure(s_lastFailure.value_or(DatabaseFailure()), heading, icon, title);
}

int ExecSqlAll(const QStringList& statements, bool shortKeys, const QList<int>& rowsEach,
               qsizetype* failedStatement)
{
    return attemptWrite(statements, nullptr, [&](qint64*) {
        for (qsizetype i = 0; i < statements.size(); ++i) {
            const QString& sql = statements.at(i);
            int rc = changing(sql);
            if (!rc && i < rowsEach.size() && s_connection->changedRows() != rowsEach.at(i))
                rc = recordGone();
            if (!rc && shortKeys && sql.startsWith(QLatin1String("INSERT")) &&
                s_connection->lastInsertKey() > std::numeric_limits<qint16>::max())
                rc = refuse(keyTooLarge(s_connection->lastInsertKey()));
            if (rc) {
                if (failedStatement)
                    *failedStatement = i;
                return rc;
            }
        }
        return 0;
    });
}

int InsertRow(const QString& sql, qint64* key)
{
    return attemptWrite({sql}, key, [&](qint64* newKey) {
        if (const int rc = ExecSql(sql))
            return rc;
        *newKey = s_connection->lastInsertKey();
        return *newKey > std::numeric_limits<qint16>::max() ? refuse(keyTooLarge(*newKey)) : 0;
    });
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
