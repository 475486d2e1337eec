#include "ProgramDatabases.h"

#include "Database.h"
#include "DatabaseFailure.h"
#include "Messages.h"

namespace {

constexpr int PasswordTries = 3;

} // namespace

QStringList referenceTables()
{
    return {QStringLiteral("article"),   QStringLiteral("curtain"), QStringLiteral("packing"),
            QStringLiteral("PGroup"),    QStringLiteral("Product"), QStringLiteral("gas"),
            QStringLiteral("equipment"), QStringLiteral("power")};
}

QStringList orderTables()
{
    return {QStringLiteral("data"), QStringLiteral("contact")};
}

void ShowOpenError(const DbError& error)
{
    Messages::show(QString::number(uint(error.number), 16).toUpper() + QLatin1Char('\r') + error.description);
}

std::shared_ptr<Database> OpenProgramDatabase(const DatabaseAddress& address, const QStringList& tables,
                                              int* errorNumber, Database* beside)
{
    const auto open = [&](const DatabaseAddress& a, DbError* e) {
        return beside ? beside->openBeside(a, tables, e) : Database::open(a, tables, e);
    };
    // Both databases are often on one server for one user: the password typed
    // for the first is tried for the second before anyone is asked again.
    static QString typedPassword;
    DatabaseAddress withPassword = address;
    DbError error;
    std::shared_ptr<Database> db = open(withPassword, &error);
    if (!db && error.passwordRequired && !typedPassword.isEmpty()) {
        withPassword.password = typedPassword;
        db = open(withPassword, &error);
    }
    // A mistyped password is asked again: the server then refuses the
    // connection as it did without one. Three tries in all, as at a login.
    const int refusal = error.number;
    bool refused = !withPassword.password.isEmpty();
    bool ask = !db && (error.passwordRequired || refused);
    for (int tries = 0; ask && tries < PasswordTries; ++tries) {
        const std::optional<QString> password = Messages::password(
            (refused ? QStringLiteral("Сервер не принял пароль.\n") : QString()) +
                QStringLiteral("Пароль для подключения к серверу\n%1").arg(address.shown()),
            QString());
        if (!password)
            break;
        withPassword.password = *password;
        db = open(withPassword, &error);
        if (db)
            typedPassword = *password;
        ask = refused = !db && error.number == refusal;
    }
    if (!db && address.engine == DatabaseEngine::PostgreSQL)
        ShowDatabaseFailure(refused ? QStringLiteral("Сервер базы данных не принял пароль.")
                                    : QStringLiteral("Не удалось открыть базу данных на сервере."),
                            DatabaseFailure{address, {}, error});
    else if (!db)
        ShowOpenError(error);
    if (errorNumber)
        *errorNumber = db ? 0 : error.number;
    return db;
}

void ShowDatabaseNotFound(const DatabaseAddress& failed)
{
    if (failed.engine == DatabaseEngine::PostgreSQL)
        return;
    Messages::show(QStringLiteral("Не найден файл БД") + QLatin1Char('\n') +
                       QStringLiteral("Измените настройки и запустите программу вновь"),
                   MsgIcon::Exclamation, QStringLiteral("Внимание"));
}
