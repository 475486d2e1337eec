// Database::copyInMemory: tables of any database copied into an SQLite
// database in memory, to be queried there as a file store is.
#include "Database.h"

#include "QueryTable.h"
#include "SqlLiteral.h"
#include "SqliteDatabase.h"
#include "StoreTables.h"

#include <sqlite3.h>

namespace {

// The affinity the file schema declares for a column, found by name since the
// source may keep its columns in another order; none for a column the schema
// does not have, whose values SQLite then keeps as they come.
QString declaredType(const StoreTable& table, const QString& column)
{
    if (column.compare(table.key(), Qt::CaseInsensitive) == 0)
        return QStringLiteral(" INTEGER PRIMARY KEY");
    static const char* const declared[] = {" INTEGER", " REAL", " NUMERIC", " TEXT"}; // by ColumnType
    for (int c = 0; c < table.columns.size(); ++c) {
        if (table.columns.at(c).compare(column, Qt::CaseInsensitive) == 0)
            return QLatin1String(declared[int(table.types.at(c))]);
    }
    return {};
}

QStringList quotedAll(const QStringList& names)
{
    QStringList result;
    for (const QString& name : names)
        result << SqlLiteral::name(name);
    return result;
}

// Creates the table with the source's columns in the source's order (the
// wizard reads a product by position), fills it and makes its indexes.
bool writeTable(Database& copy, const StoreTable& table, const QStringList& columns, const QueryTable& rows,
                DbError* error)
{
    QStringList declared;
    for (const QString& column : columns)
        declared << SqlLiteral::name(column) + declaredType(table, column);
    if (!copy.execute(
            QStringLiteral("CREATE TABLE %1 (%2)").arg(SqlLiteral::name(table.name), declared.join(u", ")),
            error))
        return false;
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(SqlLiteral::name(table.name), quotedAll(columns).join(u", "),
                                    QStringList(columns.size(), QStringLiteral("?")).join(u", "));
    for (int r = 0; r < rows.rowCount(); ++r) {
        QVariantList values;
        for (int c = 0; c < columns.size(); ++c)
            values << rows.value(r, c);
        if (!copy.executeWith(insert, values, error))
            return false;
    }
    for (int i = 0; i < table.indexes.size(); ++i) {
        if (!copy.execute(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                              .arg(SqlLiteral::name(table.name + QStringLiteral("_index%1").arg(i)),
                                   SqlLiteral::name(table.name), table.indexes.at(i)),
                          error))
            return false;
    }
    return true;
}

std::unique_ptr<Database> failed(DbError* error, const DbError& reason)
{
    if (error)
        *error = reason;
    return nullptr;
}

} // namespace

std::unique_ptr<Database> Database::copyInMemory(Database& source, const QList<StoreTable>& tables,
                                                 DbError* error)
{
    DbError failure;
    QList<QStringList> columns;
    QList<QueryTable> rows(tables.size());
    {
        ReadTransaction snapshot(&source);
        QStringList selects;
        for (const StoreTable& table : tables) {
            columns << source.columnsOf(table.name, &failure);
            if (failure.isError())
                return failed(error, failure);
            if (columns.last().isEmpty())
                return failed(error,
                              {SQLITE_ERROR, QStringLiteral("В базе данных нет таблицы %1").arg(table.name)});
            selects
                << QStringLiteral("SELECT %1 FROM %2").arg(quotedAll(columns.last()).join(u", "), table.name);
        }
        source.prefetch(selects);
        for (int t = 0; t < selects.size(); ++t) {
            if (source.query(selects.at(t), rows[t], &failure) < 0)
                return failed(error, failure);
        }
    }
    std::unique_ptr<Database> copy = SqliteDatabase::openInMemory(&failure);
    if (!copy || !copy->begin(&failure))
        return failed(error, failure);
    for (int t = 0; t < tables.size(); ++t) {
        if (!writeTable(*copy, tables.at(t), columns.at(t), rows.at(t), &failure))
            return failed(error, failure);
    }
    if (!copy->commit(&failure))
        return failed(error, failure);
    if (error)
        *error = {};
    return copy;
}
