#include "TableCopy.h"

#include "Database.h"
#include "QueryTable.h"
#include "ReferenceRules.h"
#include "StoreAccess.h"
#include "StoreLayout.h"

#include <QStringList>

namespace {

// Rows read from the source at a time, so that a large table never has to
// fit in memory at once, and rows per INSERT statement.
constexpr int RowsPerRead = 2000;
constexpr int RowsPerInsert = 200;

ToolOutcome refused(const StoreTable& table, const DatabaseFailure& failure)
{
    return StoreAccess::outcomeOf(QStringLiteral("table %1").arg(table.name), failure);
}

QString columnList(const StoreTable& table)
{
    return table.columns.join(QStringLiteral(", "));
}

// A row of the source that breaks a rule of its column would reach the
// target unchecked: the copy stops at the first.
ToolOutcome breach(const StoreTable& table, const QueryTable& rows)
{
    for (int r = 0; r < rows.rowCount(); ++r) {
        QVariantHash row;
        for (int c = 0; c < table.columns.size(); ++c)
            row.insert(table.columns.at(c).toLower(), rows.value(r, c));
        const QVector<RuleBreach> breaches = ReferenceRules::breaches(table.name, row);
        if (!breaches.isEmpty())
            return {StatusUsage, QStringLiteral("the row with key %1 breaks a rule: ").arg(rows.text(r, 0)) +
                                     ReferenceRules::refusal(table.name, breaches.first().column,
                                                             breaches.first().problem)};
    }
    return {};
}

QVariantList valuesOf(const QueryTable& rows, int row, int columns)
{
    QVariantList values;
    for (int c = 0; c < columns; ++c)
        values << rows.value(row, c);
    return values;
}

// The batch from first to end that the store refused, tried again row by row
// after its savepoint: the first row refused on its own is named.
ToolOutcome refusedRow(Database& target, const QString& head, const QString& tuple, const StoreTable& table,
                       const QueryTable& rows, int first, int end, const DatabaseFailure& batchFailure)
{
    if (!target.execute(QStringLiteral("ROLLBACK TO SAVEPOINT batch")))
        return refused(table, batchFailure);
    for (int r = first; r < end; ++r)
        if (const Result<void> inserted =
                target.executeWith(head + tuple, valuesOf(rows, r, int(table.columns.size())));
            !inserted)
            return StoreAccess::outcomeOf(
                QStringLiteral("table %1, row %2=%3").arg(table.name, table.key(), rows.text(r, 0)),
                inserted.failure());
    // Refused only together with the rows before it in the batch.
    return refused(table, batchFailure);
}

} // namespace

// Values go in bound, never as digits for the engine to read: SQLite before
// 3.43 reads about one double in two hundred written with 17 digits as its
// neighbour.
ToolOutcome insertRows(Database& target, const StoreTable& table, const QueryTable& rows, bool nameRefusedRow)
{
    const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table.name, columnList(table));
    const QString tuple = QLatin1Char('(') +
                          QStringList(table.columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                          QLatin1Char(')');
    for (int first = 0; first < rows.rowCount(); first += RowsPerInsert) {
        const int end = qMin(rows.rowCount(), first + RowsPerInsert);
        QStringList tuples;
        QVariantList values;
        for (int r = first; r < end; ++r) {
            tuples << tuple;
            values << valuesOf(rows, r, int(table.columns.size()));
        }
        if (nameRefusedRow) {
            if (const Result<void> saved = target.execute(QStringLiteral("SAVEPOINT batch")); !saved)
                return refused(table, saved.failure());
        }
        if (const Result<void> inserted = target.executeWith(head + tuples.join(QLatin1Char(',')), values);
            !inserted)
            return nameRefusedRow
                       ? refusedRow(target, head, tuple, table, rows, first, end, inserted.failure())
                       : refused(table, inserted.failure());
        if (nameRefusedRow) {
            if (const Result<void> released = target.execute(QStringLiteral("RELEASE SAVEPOINT batch"));
                !released)
                return refused(table, released.failure());
        }
    }
    return {};
}

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
        const Result<int> read = source.query(select + after + order, rows);
        if (!read)
            return refused(table, read.failure());
        const int n = read.value();
        if (n == 0)
            break;
        if (const ToolOutcome broken = breach(table, rows); !broken.ok())
            return broken;
        const ToolOutcome outcome = insertRows(target, table, rows);
        if (!outcome.ok())
            return outcome;
        done += n;
        if (progress)
            progress(table.name, done, total);
        if (n < RowsPerRead)
            break;
        // The key, a whole number, comes first.
        after = QStringLiteral(" WHERE %1 > %2").arg(table.key()).arg(rows.integer(n - 1, 0));
    }
    return {};
}
