#include "ProgramDatabases.h"

#include "Database.h"
#include "Messages.h"

#include <QCoreApplication>
#include <QDir>

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

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

void ShowOpenError(const DbError& error)
{
    Messages::show(QString::number(uint(error.number), 16).toUpper() + QLatin1Char('\r') + error.description);
}

std::shared_ptr<Database> OpenProgramDatabase(const QString& folder, const QString& fileName,
                                              const QStringList& tables, int* errorNumber)
{
    DbError error;
    std::shared_ptr<Database> db =
        Database::open(DatabaseAddress::file(QDir(folder).filePath(fileName)), tables, &error);
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
