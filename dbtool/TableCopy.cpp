#include "TableCopy.h"

#include "CellValues.h"
#include "Database.h"
#include "QueryTable.h"
#include "StoreLayout.h"

#include <QStringList>

namespace {

// Rows read from the source at a time, so that a large table never has to
// fit in memory at once, and rows per INSERT statement.
constexpr int RowsPerRead = 2000;
constexpr int RowsPerInsert = 200;

ToolOutcome refused(const StoreTable& table, const DbError& error)
{
    return {StatusRefused, QStringLiteral("table %1: %2").arg(table.name, error.description.trimmed())};
}

QString columnList(const StoreTable& table)
{
    return table.columns.join(QStringLiteral(", "));
}

ToolOutcome insertRows(Database& target, const StoreTable& table, const QueryTable& rows)
{
    const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table.name, columnList(table));
    for (int first = 0; first < rows.rowCount(); first += RowsPerInsert) {
        QStringList tuples;
        for (int r = first; r < qMin(rows.rowCount(), first + RowsPerInsert); ++r) {
            QStringList values;
            for (int c = 0; c < table.columns.size(); ++c)
                values << CellValues::literal(rows.value(r, c));
            tuples << QLatin1Char('(') + values.join(QLatin1Char(',')) + QLatin1Char(')');
        }
        DbError error;
        if (!target.execute(head + tuples.join(QLatin1Char(',')), &error))
            return refused(table, error);
    }
    return {};
}

// The columns of a target row that differ from the source row.
QList<int> differingColumns(const QueryTable& source, int sourceRow, const QueryTable& target, int targetRow)
{
    QList<int> columns;
    for (int c = 0; c < source.columnCount(); ++c) {
        if (!CellValues::same(source.value(sourceRow, c), target.value(targetRow, c)))
            columns << c;
    }
    return columns;
}

// Writes the differing columns of one row again through bound parameters and
// checks the row once more. Only a real can differ after the INSERT: an
// engine whose reading of decimal digits is not correctly rounded (SQLite
// before 3.43 misreads about one in two hundred doubles by one unit in the
// last place) stores a neighbour of the value written.
ToolOutcome rewriteRow(Database& target, const StoreTable& table, const QueryTable& source, int row,
                       const QList<int>& columns)
{
    const QString key =
        QStringLiteral(" WHERE %1 = %2").arg(table.key(), CellValues::literal(source.value(row, 0)));
    QStringList assignments;
    for (int c : columns)
        assignments << table.columns.at(c) + QStringLiteral(" = ") +
                           CellValues::assignedLiteral(source.value(row, c));
    DbError error;
    if (!target.execute(
            QStringLiteral("UPDATE %1 SET %2").arg(table.name, assignments.join(QStringLiteral(", "))) + key,
            &error))
        return refused(table, error);
    QueryTable written;
    if (target.query(QStringLiteral("SELECT %1 FROM %2").arg(columnList(table), table.name) + key, written,
                     &error) != 1)
        return refused(table, error);
    const QList<int> still = differingColumns(source, row, written, 0);
    if (still.isEmpty())
        return {};
    return {StatusRefused,
            QStringLiteral("table %1, key %2, column %3: the target does not keep the value %4")
                .arg(table.name, source.text(row, 0), table.columns.at(still.first()),
                     CellValues::literal(source.value(row, still.first())))};
}

ToolOutcome checkRows(Database& target, const StoreTable& table, const QueryTable& source)
{
    const int n = source.rowCount();
    QueryTable written;
    DbError error;
    const int found = target.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 >= %4 AND %3 <= %5 ORDER BY %3")
                                       .arg(columnList(table), table.name, table.key(),
                                            CellValues::literal(source.value(0, 0)),
                                            CellValues::literal(source.value(n - 1, 0))),
                                   written, &error);
    if (found < 0)
        return refused(table, error);
    if (found != n)
        return {StatusRefused,
                QStringLiteral("table %1: %2 rows written, %3 found").arg(table.name).arg(n).arg(found)};
    for (int r = 0; r < n; ++r) {
        const QList<int> columns = differingColumns(source, r, written, r);
        if (columns.isEmpty())
            continue;
        const ToolOutcome outcome = rewriteRow(target, table, source, r, columns);
        if (!outcome.ok())
            return outcome;
    }
    return {};
}

} // namespace

ToolOutcome copyTable(Database& source, Database& target, const StoreTable& table, qint64 total,
                      const CopyProgressFn& progress)
{
    const QString select =
        QStringLiteral("SELECT TOP %1 %2 FROM %3").arg(RowsPerRead).arg(columnList(table), table.name);
    const QString order = QStringLiteral(" ORDER BY %1").arg(table.key());
    QString after; // the keys read so far
    qint64 done = 0;
    for (;;) {
        QueryTable rows;
        DbError error;
        const int n = source.query(select + after + order, rows, &error);
        if (n < 0)
            return refused(table, error);
        if (n == 0)
            break;
        ToolOutcome outcome = insertRows(target, table, rows);
        if (outcome.ok())
            outcome = checkRows(target, table, rows);
        if (!outcome.ok())
            return outcome;
        done += n;
        if (progress)
            progress(table.name, done, total);
        if (n < RowsPerRead)
            break;
        after = QStringLiteral(" WHERE %1 > %2").arg(table.key(), CellValues::literal(rows.value(n - 1, 0)));
    }
    return {};
}
