#include "ProgramDatabases.h"

#include "Database.h"
#include "DatabaseFailure.h"

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

Result<std::shared_ptr<Database>> OpenProgramDatabase(const DatabaseAddress& address,
                                                      const QStringList& tables,
                                                      const PasswordPrompt& askPassword, Database* beside)
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
    // A password the server refused (the address's, libpq's files' or one
    // typed) is asked for again: three tries in all, as at a login.
    const auto passwordRefused = [&error] { return SqlStateOf(error.number) == QLatin1String("28P01"); };
    bool refused = passwordRefused();
    bool ask = !db && askPassword && (error.passwordRequired || refused);
    for (int tries = 0; ask && tries < PasswordTries; ++tries) {
        const std::optional<QString> password =
            askPassword((refused ? QStringLiteral("Сервер не принял пароль.\n") : QString()) +
                        QStringLiteral("Пароль для подключения к серверу\n%1").arg(address.shown()));
        if (!password)
            break;
        withPassword.password = *password;
        db = open(withPassword, &error);
        if (db)
            typedPassword = *password;
        ask = refused = !db && passwordRefused();
    }
    if (db)
        return db;
    DatabaseFailure failure(address, {}, error);
    if (address.engine == DatabaseEngine::PostgreSQL)
        failure.heading = refused ? QStringLiteral("Сервер базы данных не принял пароль.")
                                  : QStringLiteral("Не удалось открыть базу данных на сервере.");
    return failure;
}
