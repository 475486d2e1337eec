#include "CsvCapacityLayout.h"

#include "CapacityTable.h"
#include "CsvFile.h"
#include "Functions.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

namespace {

enum Field { Model, Modification, OutT, InT, Power };

QString identityOf(const QStringList& values)
{
    return QStringList(values.mid(0, 4)).join(QLatin1Char('|'));
}

} // namespace

QString CsvCapacityLayout::fileName() const
{
    QueryTable row;
    query(QStringLiteral("SELECT model FROM equipment WHERE Pkey=") + SqlLiteral::integer(m_type), row);
    return QStringLiteral("Производительность %1.csv").arg(row.text(0, 0));
}

QStringList CsvCapacityLayout::header() const
{
    return {QStringLiteral("model"), QStringLiteral("modification"), QStringLiteral("out_t"),
            QStringLiteral("in_t"), QStringLiteral("power")};
}

Result<void> CsvCapacityLayout::readStored(QVector<ExchangeRow>& rows) const
{
    QueryTable table;
    if (const Result<int> read =
            query(QStringLiteral("SELECT pkey,model,modification,out_t,in_t,power FROM power WHERE fkey=") +
                      SqlLiteral::integer(m_type) + QStringLiteral(" ORDER BY model,modification,in_t,out_t"),
                  table);
        !read)
        return read.failure();
    for (int r = 0; r < table.rowCount(); ++r) {
        ExchangeRow row;
        row.key = table.integer(r, 0);
        row.values = CapacitySetStore::literals(
            table.text(r, 1), SqlLiteral::number(table.number(r, 2)), SqlLiteral::number(table.number(r, 4)),
            SqlLiteral::number(table.number(r, 3)), SqlLiteral::number(table.number(r, 5)));
        row.fields = {table.text(r, 1), CsvFile::number(table.number(r, 2)),
                      CsvFile::number(table.number(r, 3)), CsvFile::number(table.number(r, 4)),
                      CsvFile::number(table.number(r, 5))};
        row.identity = identityOf(row.values);
        rows << row;
    }
    return {};
}

std::optional<ExchangeRow> CsvCapacityLayout::fromFile(const QStringList& fields, bool decimalComma,
                                                       QString* problem) const
{
    const QString table = QStringLiteral("power");
    const QStringList columns = header();
    std::optional<QString> model = name(columns.at(Model), fields.at(Model), problem);
    if (!model)
        return std::nullopt;
    QStringList numbers;
    for (int f = Modification; f <= Power; ++f) {
        const std::optional<QString> value =
            number(table, columns.at(f), fields.at(f), decimalComma, problem);
        if (!value)
            return std::nullopt;
        numbers << *value;
    }
    ExchangeRow row;
    row.fields = fields;
    row.values =
        CapacitySetStore::literals(*model, numbers.at(0), numbers.at(2), numbers.at(1), numbers.at(3));
    row.identity = identityOf(row.values);
    return row;
}

QStringList CsvCapacityLayout::listProblems(const QVector<ExchangeRow>& after, int limit) const
{
    QueryTable others;
    QueryTable types;
    Result<int> read =
        query(QStringLiteral("SELECT model,modification,in_t,out_t,power,fkey FROM power WHERE fkey<>") +
                  SqlLiteral::integer(m_type),
              others);
    if (read)
        read = query(QStringLiteral("SELECT Pkey,model FROM equipment"), types);
    if (!read)
        return {Functions::FailureDescription(read.failure())};
    QHash<qint64, QString> series;
    for (int r = 0; r < types.rowCount(); ++r)
        series.insert(types.integer(r, 0), types.text(r, 1));
    QVector<CapacityTable::Row> rows;
    rows.reserve(after.size() + others.rowCount());
    for (const ExchangeRow& row : after)
        rows.append({row.fields.at(Model).trimmed(), row.values.at(1).toDouble(), row.values.at(2).toDouble(),
                     row.values.at(3).toDouble(), row.values.at(4).toDouble(), m_type, row.line});
    for (int r = 0; r < others.rowCount(); ++r)
        rows.append({others.text(r, 0), others.number(r, 1), others.number(r, 2), others.number(r, 3),
                     others.number(r, 4), others.integer(r, 5), 0});
    return CapacityTable::problems(rows, series, limit);
}

QVector<CsvLayout::Statement> CsvCapacityLayout::insertStatements(const QVector<ExchangeRow>& rows) const
{
    QVector<QStringList> values;
    for (const ExchangeRow& row : rows)
        values << row.values;
    return m_store.insertStatements(values);
}

QVector<CsvLayout::Statement> CsvCapacityLayout::updateStatements(const QVector<Change>& changes) const
{
    QVector<CapacitySetStore::Change> values;
    for (const Change& change : changes)
        values.append({change.first.values, change.second});
    return m_store.updateStatements(values);
}

QVector<CsvLayout::Statement> CsvCapacityLayout::deleteStatements(const QVector<qint64>& keys) const
{
    return CapacitySetStore::deleteStatements(keys);
}
