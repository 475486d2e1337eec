#include "DatabaseAccess.h"

#include "CalculationRecord.h"
#include "DataFolder.h"
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
    // Decided once per run: every part of a program must use the same files.
    static const QString folder =
        DataFolder::prepare(QCoreApplication::applicationDirPath(), DataFolder::userFolder());
    return folder;
}

void ShowOpenError(const DbError& error)
{
    Messages::show(QString::number(uint(error.number), 16).toUpper() + QLatin1Char('\r') + error.description);
}

std::shared_ptr<Database> OpenProgramDatabase(const QString& folder, const QString& fileName,
                                              const QStringList& tables, int* errorNumber)
{
    DbError error;
    std::shared_ptr<Database> db = Database::open(QDir(folder).filePath(fileName), tables, &error);
    if (!db)
        ShowOpenError(error);
    if (errorNumber)
        *errorNumber = db ? 0 : error.number;
    return db;
}

int OpenDatabases(CalculationRecord& record, const QString& folder)
{
    int error = 0;
    auto ref = OpenProgramDatabase(folder, QLatin1String(ReferenceFileName), referenceTables(), &error);
    if (!ref)
        return error;
    auto orders = OpenProgramDatabase(folder, QLatin1String(OrdersFileName), orderTables(), &error);
    if (!orders)
        return error;
    // The lookups read the same few reference rows again and again; kept rows
    // are given again only while no program has changed the file.
    ref->setResultReuse(Database::ResultReuse::WhileUnchanged);
    record.ref_db = std::move(ref);
    record.order_db = std::move(orders);
    return 0;
}

int OpenQuery(Database& db, const QString& sql, QueryTable& table)
{
    DbError error;
    const int rows = db.query(sql, table, &error);
    if (rows < 0) {
        Messages::show(QStringLiteral("Ошибка чтения базы данных") + QStringLiteral("\r\n") + sql +
                           QStringLiteral("\r\n") + error.description,
                       MsgIcon::Exclamation, QStringLiteral("Внимание"));
        return 0;
    }
    return rows;
}

bool ExecuteCommand(Database& db, const QString& sql)
{
    if (db.execute(sql))
        return true;
    Messages::show(QStringLiteral("Ошибка выполнения команды") + QStringLiteral("\r\n") + sql,
                   MsgIcon::Exclamation, QStringLiteral("Внимание"));
    return false;
}

void ShowDatabaseNotFound()
{
    Messages::show(QStringLiteral("Не найден файл БД") + QLatin1Char('\n') +
                       QStringLiteral("Измените настройки и запустите программу вновь"),
                   MsgIcon::Exclamation, QStringLiteral("Внимание"));
}
