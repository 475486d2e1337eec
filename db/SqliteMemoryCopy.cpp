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
Result<void> writeTable(Database& copy, const StoreTable& table, const QStringList& columns,
                        const QueryTable& rows)
{
    QStringList declared;
    for (const QString& column : columns)
        declared << SqlLiteral::name(column) + declaredType(table, column);
    Result<void> done = copy.execute(
        QStringLiteral("CREATE TABLE %1 (%2)").arg(SqlLiteral::name(table.name), declared.join(u", ")));
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(SqlLiteral::name(table.name), quotedAll(columns).join(u", "),
                                    QStringList(columns.size(), QStringLiteral("?")).join(u", "));
    for (int r = 0; done && r < rows.rowCount(); ++r) {
        QVariantList values;
        for (int c = 0; c < columns.size(); ++c)
            values << rows.value(r, c);
        done = copy.executeWith(insert, values);
    }
    for (int i = 0; done && i < table.indexes.size(); ++i) {
        done = copy.execute(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                                .arg(SqlLiteral::name(table.name + QStringLiteral("_index%1").arg(i)),
                                     SqlLiteral::name(table.name), table.indexes.at(i)));
    }
    return done;
}

} // namespace

Result<std::unique_ptr<Database>> Database::copyInMemory(Database& source, const QList<StoreTable>& tables)
{
    QList<QStringList> columns;
    QList<QueryTable> rows(tables.size());
    {
        ReadTransaction snapshot(&source);
        QStringList names;
        for (const StoreTable& table : tables)
            names << table.name;
        const Result<QList<QStringList>> found = source.columnsOfEach(names);
        if (!found)
            return found.failure();
        columns = found.value();
        QStringList selects;
        for (int t = 0; t < tables.size(); ++t) {
            if (columns.at(t).isEmpty())
                return DatabaseFailure(SQLITE_ERROR,
                                       QStringLiteral("В базе данных нет таблицы %1").arg(names.at(t)));
            selects
                << QStringLiteral("SELECT %1 FROM %2").arg(quotedAll(columns.at(t)).join(u", "), names.at(t));
        }
        source.prefetch(selects);
        for (int t = 0; t < selects.size(); ++t) {
            const Result<int> read = source.query(selects.at(t), rows[t]);
            if (!read)
                return read.failure();
        }
    }
    DatabaseFailure failure;
    std::unique_ptr<Database> copy = SqliteDatabase::openInMemory(&failure);
    if (!copy)
        return failure;
    Result<void> done = copy->begin();
    for (int t = 0; done && t < tables.size(); ++t)
        done = writeTable(*copy, tables.at(t), columns.at(t), rows.at(t));
    if (done)
        done = copy->commit();
    if (!done)
        return done.failure();
    return copy;
}
