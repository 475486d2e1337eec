#include "Database.h"

#include "PostgresDatabase.h"
#include "SqliteDatabase.h"

std::unique_ptr<Database> Database::open(const DatabaseAddress& address, const QStringList& requiredTables,
                                         DbError* error)
{
    switch (address.engine) {
    case DatabaseEngine::SQLite:
        return SqliteDatabase::open(address.database, requiredTables, error);
    case DatabaseEngine::PostgreSQL:
        return PostgresDatabase::open(address, requiredTables, error);
    }
    return nullptr;
}

bool Database::create(const DatabaseAddress& address, const QStringList& scriptFiles, DbError* error)
{
    switch (address.engine) {
    case DatabaseEngine::SQLite:
        return SqliteDatabase::create(address.database, scriptFiles, error);
    case DatabaseEngine::PostgreSQL:
        return PostgresDatabase::create(address, scriptFiles, error);
    }
    return false;
}

std::optional<qint64> Database::peekCount(const DatabaseAddress& address, const QString& sql)
{
    switch (address.engine) {
    case DatabaseEngine::SQLite:
        return SqliteDatabase::peekCount(address.database, sql);
    case DatabaseEngine::PostgreSQL:
        return PostgresDatabase::peekCount(address, sql);
    }
    return std::nullopt;
}
