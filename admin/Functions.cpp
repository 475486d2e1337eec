#include "Functions.h"

#include "DataLocation.h"
#include "Database.h"
#include "Messages.h"
#include "NumberText.h"
#include "ProgramDatabases.h"

#include <QAction>
#include <QLocale>
#include <limits>

namespace Functions {

namespace {

DataLocation s_location;
std::shared_ptr<Database> s_connection;
QString s_lastError;
QList<QPointer<QAction>> s_listMenus;

int fail(const DbError& error)
{
    s_lastError = error.description;
    return error.number;
}

int recordGone()
{
    s_lastError = QStringLiteral("Записи больше нет в базе данных: ее, вероятно, удалили в другой копии "
                                 "программы. Список прочитан заново.");
    return RecordGone;
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
    if (OpenDatabase(location) == 0)
        return true;
    ShowDatabaseNotFound();
    return false;
}

int OpenDatabase(const DataLocation& location)
{
    s_location = location;
    int error = 0;
    s_connection = OpenProgramDatabase(location.reference(), referenceTables(), &error);
    return s_connection ? 0 : error;
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
    DbError error;
    const int count = s_connection->query(sql, rows, &error);
    if (count < 0) {
        fail(error);
        Messages::show(QStringLiteral("Ошибка чтения базы данных") + QStringLiteral("\r\n") +
                           error.description,
                       MsgIcon::Exclamation, QStringLiteral("Внимание"));
    }
    return count;
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
        return fail({1, QStringLiteral("База данных не открыта")});
    DbError error;
    return s_connection->execute(sql, &error) ? 0 : fail(error);
}

QString LastErrorDescription()
{
    return s_lastError;
}

int ExecSqlChanging(const QString& sql)
{
    if (const int rc = ExecSql(sql))
        return rc;
    return s_connection->changedRows() > 0 ? 0 : recordGone();
}

QString FailureText(const QString& message, int rc)
{
    return rc == RecordGone ? message + QStringLiteral("\r\n") + s_lastError : message;
}

int ExecSqlAll(const QStringList& statements, bool shortKeys, const QList<int>& rowsEach,
               qsizetype* failedStatement)
{
    if (!s_connection)
        return fail({1, QStringLiteral("База данных не открыта")});
    DbError error;
    if (!s_connection->begin(&error))
        return fail(error);
    for (qsizetype i = 0; i < statements.size(); ++i) {
        const QString& sql = statements.at(i);
        int rc = ExecSqlChanging(sql);
        if (!rc && i < rowsEach.size() && s_connection->changedRows() != rowsEach.at(i))
            rc = recordGone();
        if (!rc && shortKeys && sql.startsWith(QLatin1String("INSERT")) &&
            s_connection->lastInsertKey() > std::numeric_limits<qint16>::max())
            rc = fail({1, keyTooLarge(s_connection->lastInsertKey())});
        if (rc) {
            s_connection->rollback();
            if (failedStatement)
                *failedStatement = i;
            return rc;
        }
    }
    if (!s_connection->commit(&error)) {
        s_connection->rollback();
        return fail(error);
    }
    return 0;
}

int InsertRow(const QString& sql, qint64* key)
{
    if (!s_connection)
        return fail({1, QStringLiteral("База данных не открыта")});
    DbError error;
    if (!s_connection->begin(&error))
        return fail(error);
    if (const int rc = ExecSql(sql)) {
        s_connection->rollback();
        return rc;
    }
    const qint64 newKey = s_connection->lastInsertKey();
    if (newKey > std::numeric_limits<qint16>::max()) {
        s_connection->rollback();
        return fail({1, keyTooLarge(newKey)});
    }
    if (!s_connection->commit(&error)) {
        s_connection->rollback();
        return fail(error);
    }
    *key = newKey;
    return 0;
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
