#include "DatabaseFailure.h"

#include "PostgresConnection.h"

#include <sqlite3.h>

namespace {

DatabaseFailure::Kind fileKind(int code)
{
    using Kind = DatabaseFailure::Kind;
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Kind::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return Kind::Damaged;
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_FULL:
    case SQLITE_AUTH:
        return Kind::Unavailable;
    default:
        return Kind::Refused;
    }
}

DatabaseFailure::Kind serverKind(const QString& state)
{
    using Kind = DatabaseFailure::Kind;
    const QStringView stateClass = QStringView(state).left(2);
    // 57P01..57P03: the server is being shut down or is starting; 53300: no
    // connection left. Either way nothing reached the data.
    if (stateClass == u"08" || state.startsWith(QLatin1String("57P")) || state == QLatin1String("53300"))
        return Kind::Connection;
    if (state == QLatin1String("55P03") || state == QLatin1String("40001") || state == QLatin1String("40P01"))
        return Kind::Busy;
    if (stateClass == u"28")
        return Kind::Login;
    if (state == QLatin1String("42501"))
        return Kind::Rights;
    if (state == QLatin1String("42P01"))
        return Kind::NotMade;
    if (stateClass == u"53" || stateClass == u"58")
        return Kind::Unavailable;
    return Kind::Refused;
}

QString serverName(const DatabaseAddress& address)
{
    const std::optional<PostgresConnection::ConnectionSettings> settings =
        PostgresConnection::settingsOf(address, false, nullptr);
    return settings ? settings->server() : address.shown();
}

} // namespace

QString SqlStateOf(int number)
{
    const QString hex = QString::number(uint(number), 16).rightJustified(5, QLatin1Char('0'));
    // Five digits read as hex stay below 0x9999A; one with a letter read in
    // base 36 ("28P01") may show only digits in hex, but is larger.
    bool digits = number < 0x9999A;
    for (const QChar c : hex)
        digits = digits && c.isDigit();
    return digits ? hex : QString::number(uint(number), 36).toUpper().rightJustified(5, QLatin1Char('0'));
}

DatabaseFailure::Kind DatabaseFailure::kind() const
{
    // The server asked for a password nobody gave.
    if (passwordRequired)
        return Kind::Login;
    return address.engine == DatabaseEngine::PostgreSQL ? serverKind(SqlStateOf(engineCode))
                                                        : fileKind(engineCode);
}

QString DatabaseFailure::advice() const
{
    if (!fromEngine())
        return reason;
    if (address.engine == DatabaseEngine::PostgreSQL) {
        const QString server = serverName(address);
        switch (kind()) {
        case Kind::Connection:
            return QStringLiteral("Нет связи с сервером базы данных %1. Проверьте сеть и повторите действие.")
                .arg(server);
        case Kind::Busy:
            return QStringLiteral("Данные на сервере %1 заняты другим пользователем. Повторите действие "
                                  "немного позже.")
                .arg(server);
        case Kind::Login:
            return QStringLiteral("Сервер базы данных %1 не принял имя пользователя или пароль. Проверьте "
                                  "настройки подключения или обратитесь к администратору.")
                .arg(server);
        case Kind::Rights:
            return QStringLiteral("Недостаточно прав на сервере базы данных %1. Обратитесь к администратору.")
                .arg(server);
        default:
            return QStringLiteral("Сервер базы данных %1 не выполнил запрос. Повторите действие; если ошибка "
                                  "повторится, обратитесь к администратору.")
                .arg(server);
        }
    }
    const QString file = address.database;
    switch (kind()) {
    case Kind::Busy:
        return QStringLiteral("Файл %1 занят другой программой. Дождитесь, пока она закончит работу с ним, "
                              "и повторите действие.")
            .arg(file);
    case Kind::Damaged:
        return QStringLiteral("Файл %1 поврежден или не является базой данных. Восстановите его из "
                              "резервной копии.")
            .arg(file);
    case Kind::Unavailable:
        return QStringLiteral("Файл %1 не удается прочитать или записать. Проверьте, что файл на месте, "
                              "доступен для записи и на диске есть место, и повторите действие.")
            .arg(file);
    default:
        return QStringLiteral(
                   "База данных в файле %1 не выполнила запрос. Повторите действие; если ошибка повторится, "
                   "обратитесь к администратору.")
            .arg(file);
    }
}

QString DatabaseFailure::details() const
{
    if (!fromEngine())
        return {};
    const QString engineSays =
        QStringLiteral("%1 (%2)").arg(engineText, QString::number(uint(engineCode), 16).toUpper());
    return statement.isEmpty() ? engineSays : statement + QStringLiteral("\n\n") + engineSays;
}
