#include "CsvListLayouts.h"

#include "CsvFile.h"
#include "ProductStore.h"
#include "QueryTable.h"
#include "SimpleList.h"
#include "SqlLiteral.h"

namespace {

// What the list's statements store of a file row.
ReferenceListStore::Values values(const ExchangeRow& row)
{
    return {row.identity, row.values.at(1).toDouble(), row.values.value(2).toDouble(), {}, {}, {}};
}

} // namespace

CsvSimpleLayout::CsvSimpleLayout(AdminSession& session, int kind)
    : CsvLayout(session), m_list(SimpleList::forKind(kind)), m_store(session, kind)
{}

QString CsvSimpleLayout::fileName() const
{
    return m_list->caption + QStringLiteral(".csv");
}

QStringList CsvSimpleLayout::header() const
{
    QStringList columns = {m_list->nameColumn, m_list->valueColumn};
    if (m_list->hasSecondValue)
        columns << m_list->secondColumn;
    return columns;
}

Result<void> CsvSimpleLayout::readStored(QVector<ExchangeRow>& rows) const
{
    QueryTable table;
    if (const Result<int> read = m_store.entries(table); !read)
        return read.failure();
    const int values = int(header().size()) - 1;
    for (int r = 0; r < table.rowCount(); ++r) {
        ExchangeRow row;
        row.key = table.integer(r, ReferenceListStore::EntryKey);
        row.identity = table.text(r, ReferenceListStore::EntryName).trimmed();
        row.fields << table.text(r, ReferenceListStore::EntryName);
        row.values << SqlLiteral::text(row.identity);
        for (int v = 0; v < values; ++v) {
            row.fields << CsvFile::number(table.number(r, ReferenceListStore::EntryName + 1 + v));
            row.values << SqlLiteral::number(table.number(r, ReferenceListStore::EntryName + 1 + v));
        }
        rows << row;
    }
    return {};
}

std::optional<ExchangeRow> CsvSimpleLayout::fromFile(const QStringList& fields, bool decimalComma,
                                                     QString* problem) const
{
    const QStringList columns = header();
    const std::optional<QString> entry = name(columns.at(0), fields.at(0), problem);
    if (!entry)
        return std::nullopt;
    ExchangeRow row{*entry, fields, {SqlLiteral::text(*entry)}, 0, 0};
    for (int c = 1; c < columns.size(); ++c) {
        const std::optional<QString> value =
            number(m_list->table, columns.at(c), fields.at(c), decimalComma, problem);
        if (!value)
            return std::nullopt;
        row.values << *value;
    }
    return row;
}

QVector<CsvLayout::Statement> CsvSimpleLayout::insertStatements(const QVector<ExchangeRow>& rows) const
{
    return each(rows, [this](const ExchangeRow& row) { return m_store.insertStatement(values(row)); });
}

QVector<CsvLayout::Statement> CsvSimpleLayout::updateStatements(const QVector<Change>& changes) const
{
    return each(changes, [this](const Change& change) {
        return m_store.updateStatement(values(change.first), change.second);
    });
}

QVector<CsvLayout::Statement> CsvSimpleLayout::deleteStatements(const QVector<qint64>& keys) const
{
    return each(keys, [this](qint64 key) { return m_store.deleteStatement(key); });
}

QString CsvProductLayout::fileName() const
{
    return QStringLiteral("Продукты.csv");
}

QStringList CsvProductLayout::header() const
{
    return QStringList{QStringLiteral("group"), QStringLiteral("text_ru")} + ProductStore::valueColumns();
}

Result<void> CsvProductLayout::readStored(QVector<ExchangeRow>& rows) const
{
    QueryTable groups;
    if (const Result<int> read = query(QStringLiteral("SELECT Pkey,text_ru FROM PGroup"), groups); !read)
        return read.failure();
    m_groups.clear();
    QHash<qint64, QString> groupName;
    for (int r = 0; r < groups.rowCount(); ++r) {
        m_groups.insert(groups.text(r, 1).trimmed(), groups.integer(r, 0));
        groupName.insert(groups.integer(r, 0), groups.text(r, 1));
    }
    QueryTable table;
    if (const Result<int> read = query(QStringLiteral("SELECT pkey,fkey,text_ru,") +
                                           ProductStore::valueColumns().join(QLatin1Char(',')) +
                                           QStringLiteral(" FROM Product ORDER BY fkey,text_ru"),
                                       table);
        !read)
        return read.failure();
    for (int r = 0; r < table.rowCount(); ++r) {
        ExchangeRow row;
        row.key = table.integer(r, 0);
        row.identity = table.text(r, 2).trimmed();
        row.fields << groupName.value(table.integer(r, 1)) << table.text(r, 2);
        row.values << SqlLiteral::integer(table.integer(r, 1)) << SqlLiteral::text(row.identity);
        for (int c = 0; c < ProductStore::valueColumns().size(); ++c) {
            row.fields << CsvFile::number(table.number(r, 3 + c));
            row.values << SqlLiteral::number(table.number(r, 3 + c));
        }
        rows << row;
    }
    return {};
}

std::optional<ExchangeRow> CsvProductLayout::fromFile(const QStringList& fields, bool decimalComma,
                                                      QString* problem) const
{
    const QStringList columns = header();
    const QString group = fields.at(0).trimmed();
    if (!m_groups.contains(group)) {
        *problem = CsvFile::inColumn(columns.at(0)) + QStringLiteral("нет группы продуктов «%1»").arg(group);
        return std::nullopt;
    }
    const std::optional<QString> product = name(columns.at(1), fields.at(1), problem);
    if (!product)
        return std::nullopt;
    ExchangeRow row{
        *product, fields, {SqlLiteral::integer(m_groups.value(group)), SqlLiteral::text(*product)}, 0, 0};
    const QString table = QStringLiteral("Product");
    QVariantHash typed;
    for (int c = 2; c < columns.size(); ++c) {
        const std::optional<QString> value =
            number(table, columns.at(c), fields.at(c), decimalComma, problem);
        if (!value)
            return std::nullopt;
        row.values << *value;
        typed.insert(columns.at(c), value->toDouble());
    }
    *problem = rowProblem(table, typed);
    if (!problem->isEmpty())
        return std::nullopt;
    return row;
}

QVector<CsvLayout::Statement> CsvProductLayout::insertStatements(const QVector<ExchangeRow>& rows) const
{
    return each(rows, [](const ExchangeRow& row) { return ProductStore::insertStatement(row.values); });
}

QVector<CsvLayout::Statement> CsvProductLayout::updateStatements(const QVector<Change>& changes) const
{
    return each(changes, [](const Change& change) {
        return ProductStore::updateStatement(change.first.values, change.second);
    });
}

QVector<CsvLayout::Statement> CsvProductLayout::deleteStatements(const QVector<qint64>& keys) const
{
    return each(keys, [](qint64 key) { return ProductStore::deleteStatement(key); });
}
