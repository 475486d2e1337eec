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
                                                      const PasswordPrompt& askPassword,
                                                      const OpeningWith& with)
{
    const auto headed = [&](DatabaseFailure failure, bool refused) {
        if (address.engine == DatabaseEngine::PostgreSQL)
            failure.heading = refused ? QStringLiteral("Сервер базы данных не принял пароль.")
                                      : QStringLiteral("Не удалось открыть базу данных на сервере.");
        return failure;
    };
    if (with.beside) {
        const Result<bool> shared = with.beside->serves(address, tables);
        if (!shared)
            return headed(shared.failure(), false);
        if (shared.value())
            return with.beside;
    }
    const auto open = [&](const DatabaseAddress& a) -> Result<std::unique_ptr<Database>> {
        if (with.beside)
            return with.beside->openBeside(a, tables);
        return Database::openReadingAhead(a, tables, with.reuse, with.reads);
    };
    // Both databases are often on one server for one user: the password typed
    // for the first is tried for the second before anyone is asked again.
    static QString typedPassword;
    DatabaseAddress withPassword = address;
    Result<std::unique_ptr<Database>> db = open(withPassword);
    if (!db && db.failure().passwordRequired && !typedPassword.isEmpty()) {
        withPassword.password = typedPassword;
        db = open(withPassword);
    }
    // A password the server refused (the address's, libpq's files' or one
    // typed) is asked for again: three tries in all, as at a login.
    const auto passwordRefused = [&db] {
        return !db && SqlStateOf(db.failure().engineCode) == QLatin1String("28P01");
    };
    bool refused = passwordRefused();
    bool ask = !db && askPassword && (db.failure().passwordRequired || refused);
    for (int tries = 0; ask && tries < PasswordTries; ++tries) {
        const std::optional<QString> password =
            askPassword((refused ? QStringLiteral("Сервер не принял пароль.\n") : QString()) +
                        QStringLiteral("Пароль для подключения к серверу\n%1").arg(address.shown()));
        if (!password)
            break;
        withPassword.password = *password;
        db = open(withPassword);
        if (db)
            typedPassword = *password;
        ask = refused = passwordRefused();
    }
    if (db)
        return std::shared_ptr<Database>(std::move(db.value()));
    return headed(db.failure().at(address), refused);
}
