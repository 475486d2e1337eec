#include "StoreExport.h"

#include "CsvFile.h"
#include "Database.h"
#include "QueryTable.h"
#include "StoreAccess.h"

#include <QDir>
#include <QSaveFile>

namespace {

QString field(const QVariant& value)
{
    if (!value.isValid())
        return {};
    if (value.typeId() == QMetaType::Double)
        return CsvFile::number(value.toDouble());
    const QString text = value.toString();
    return text.isEmpty() ? QStringLiteral("") : text;
}

ToolOutcome writeTable(Database& db, const StoreTable& table, const QString& path, qint64* count)
{
    QueryTable rows;
    const Result<int> read =
        db.query(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                     .arg(table.columns.join(QStringLiteral(", ")), table.name, table.key()),
                 rows);
    if (!read)
        return StoreAccess::outcomeOf(QStringLiteral("table %1").arg(table.name), read.failure());
    const int n = read.value();
    QList<QStringList> lines;
    lines.reserve(n);
    for (int r = 0; r < n; ++r) {
        QStringList fields;
        for (int c = 0; c < table.columns.size(); ++c)
            fields << field(rows.value(r, c));
        lines << fields;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(CsvFile::write(table.columns, lines)) < 0 ||
        !file.commit())
        return {StatusRefused, QStringLiteral("%1: %2").arg(path, file.errorString())};
    *count = n;
    return {};
}

} // namespace

ToolOutcome exportStore(const QString& from, const QString& folder,
                        const std::function<void(const QString& line)>& report)
{
    const DatabaseAddress source = DatabaseAddress::parse(from);
    std::unique_ptr<Database> db;
    QList<StoreKind> stores;
    ToolOutcome outcome = StoreAccess::openHolding(source, db, stores);
    if (!outcome.ok())
        return outcome;
    if (!QDir().mkpath(folder))
        return {StatusRefused, QStringLiteral("cannot create the folder %1").arg(folder)};
    ReadTransaction snapshot(db.get());
    QStringList lines;
    for (StoreKind kind : stores) {
        for (const StoreTable& table : StoreLayout::of(kind).tables) {
            if (StoreAccess::lacks(*db, table)) {
                lines << QStringLiteral("%1: not in this store").arg(table.name);
                continue;
            }
            qint64 count = 0;
            outcome =
                writeTable(*db, table, QDir(folder).filePath(table.name + QStringLiteral(".csv")), &count);
            if (!outcome.ok())
                return outcome;
            lines << QStringLiteral("%1: %2 rows written").arg(table.name).arg(count);
        }
    }
    for (const QString& line : std::as_const(lines))
        report(line);
    return {};
}
