#include "Database.h"

#include "QueryTable.h"
#include "RussianCollation.h"
#include "SqlDialect.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVector>
#include <sqlite3.h>

namespace {

constexpr int BusyTimeoutMs = 10000;

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("frostpick-db-%1").arg(counter.fetchAndAddRelaxed(1));
}

DbError fromSqlError(const QSqlError& e)
{
    bool ok = false;
    int number = e.nativeErrorCode().toInt(&ok);
    if (!ok || number == 0)
        number = SQLITE_ERROR;
    QString text = e.databaseText();
    if (text.isEmpty())
        text = e.text();
    return {number, text};
}

void setError(DbError* target, const DbError& value)
{
    if (target)
        *target = value;
}

sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant v = db.driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(v.constData());
    return nullptr;
}

} // namespace

Database::Database(QString connectionName, QString path)
    : m_connectionName(std::move(connectionName)), m_path(std::move(path))
{}

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<Database> Database::open(const QString& path, const QStringList& requiredTables,
                                         DbError* error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        setError(error, {SQLITE_CANTOPEN, QStringLiteral("Файл не найден: %1").arg(path)});
        return nullptr;
    }
    if (!info.isFile()) {
        setError(error, {SQLITE_CANTOPEN, QStringLiteral("Это не файл: %1").arg(path)});
        return nullptr;
    }
    if (info.size() == 0) {
        setError(error, {SQLITE_NOTADB, QStringLiteral("Файл пуст: %1").arg(path)});
        return nullptr;
    }

    const QString name = nextConnectionName();
    std::unique_ptr<Database> result(new Database(name, path));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        if (!db.open()) {
            setError(error, fromSqlError(db.lastError()));
            return nullptr;
        }

        // Reading the catalogue is the first real access: a damaged or
        // foreign file fails here.
        QSqlQuery catalogue(db);
        if (!catalogue.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"))) {
            setError(error, fromSqlError(catalogue.lastError()));
            return nullptr;
        }
        QStringList tables;
        while (catalogue.next())
            tables << catalogue.value(0).toString().toLower();
        for (const QString& table : requiredTables) {
            if (!tables.contains(table.toLower())) {
                setError(error,
                         {SQLITE_NOTADB, QStringLiteral("В файле %1 нет таблицы %2").arg(path, table)});
                return nullptr;
            }
        }

        RussianCollation::registerOn(handleOf(db));
        // Write-ahead logging lets one program read while the other writes.
        // A file in a read-only place stays in its journal mode.
        QSqlQuery pragma(db);
        pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    setError(error, {});
    return result;
}

bool Database::createFromScripts(const QString& path, const QStringList& scriptFiles, DbError* error)
{
    if (QFileInfo::exists(path)) {
        setError(error, {SQLITE_CANTOPEN, QStringLiteral("Файл уже существует: %1").arg(path)});
        return false;
    }
    QString script;
    for (const QString& file : scriptFiles) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            setError(error, {SQLITE_CANTOPEN, QStringLiteral("Не удалось прочитать %1").arg(file)});
            return false;
        }
        script += QString::fromUtf8(f.readAll()) + QLatin1Char('\n');
    }

    // Built under a temporary name and renamed at the end, so a failure never
    // leaves a half-made database behind.
    const QString temporary = path + QStringLiteral(".part");
    QFile::remove(temporary);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temporary.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    char* message = nullptr;
    if (rc == SQLITE_OK) {
        const QByteArray utf8 = (QStringLiteral("BEGIN;\n") + script + QStringLiteral("\nCOMMIT;")).toUtf8();
        rc = sqlite3_exec(db, utf8.constData(), nullptr, nullptr, &message);
    }
    const QString description =
        message ? QString::fromUtf8(message) : QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK || !QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        setError(error, {rc == SQLITE_OK ? SQLITE_CANTOPEN : rc, description});
        return false;
    }
    setError(error, {});
    return true;
}

int Database::query(const QString& sql, QueryTable& table, DbError* error)
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    if (!q.exec(SqlDialect::translate(sql))) {
        setError(error, fromSqlError(q.lastError()));
        return -1;
    }
    const int columns = q.record().count();
    QVector<QVariant> cells;
    int rows = 0;
    while (q.next()) {
        for (int c = 0; c < columns; ++c)
            cells.append(q.value(c));
        ++rows;
    }
    if (q.lastError().isValid()) {
        setError(error, fromSqlError(q.lastError()));
        return -1;
    }
    setError(error, {});
    if (rows == 0)
        return 0;
    table.resize(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            table.set(r, c, cells.at(r * columns + c));
    return rows;
}

bool Database::execute(const QString& sql, DbError* error)
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    if (!q.exec(SqlDialect::translate(sql))) {
        setError(error, fromSqlError(q.lastError()));
        return false;
    }
    setError(error, {});
    return true;
}

qint64 Database::lastInsertKey() const
{
    sqlite3* handle = handleOf(QSqlDatabase::database(m_connectionName, false));
    return handle ? sqlite3_last_insert_rowid(handle) : 0;
}

bool Database::begin(DbError* error)
{
    return execute(QStringLiteral("BEGIN IMMEDIATE"), error);
}

bool Database::commit(DbError* error)
{
    return execute(QStringLiteral("COMMIT"), error);
}

void Database::rollback()
{
    execute(QStringLiteral("ROLLBACK"));
}
