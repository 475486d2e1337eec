#include "ProgramDatabases.h"

#include "Database.h"
#include "Messages.h"

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
                                              int* errorNumber)
{
    DbError error;
    std::shared_ptr<Database> db = Database::open(address, tables, &error);
    if (!db)
        ShowOpenError(error);
    if (errorNumber)
        *errorNumber = db ? 0 : error.number;
    return db;
}

void ShowDatabaseNotFound()
{
    Messages::show(QStringLiteral("Не найден файл БД") + QLatin1Char('\n') +
                       QStringLiteral("Измените настройки и запустите программу вновь"),
                   MsgIcon::Exclamation, QStringLiteral("Внимание"));
}
