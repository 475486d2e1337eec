#include "CsvLayout.h"

#include "CsvCapacityLayout.h"
#include "CsvFile.h"
#include "CsvListLayouts.h"
#include "Database.h"
#include "Functions.h"
#include "QueryTable.h"
#include "ReferenceRules.h"
#include "SqlLiteral.h"

std::unique_ptr<CsvLayout> CsvLayout::forKind(int kind, qint32 parentKey)
{
    switch (kind) {
    case Functions::KindEquipment:
        return std::make_unique<CsvCapacityLayout>(parentKey);
    case Functions::KindProduct:
        return std::make_unique<CsvProductLayout>();
    case Functions::KindInsulation:
    case Functions::KindCurtain:
    case Functions::KindPacking:
        return std::make_unique<CsvSimpleLayout>(kind);
    default:
        return nullptr;
    }
}

std::optional<QString> CsvLayout::number(const QString& table, const QString& column, const QString& field,
                                         bool decimalComma, QString* problem)
{
    QString reason;
    const std::optional<double> value =
        ReferenceRules::fieldNumber(ReferenceRules::of(table, column), field, decimalComma, &reason);
    if (!value) {
        *problem = CsvFile::inColumn(column) + reason;
        return std::nullopt;
    }
    return SqlLiteral::number(*value);
}

std::optional<QString> CsvLayout::name(const QString& column, const QString& field, QString* problem)
{
    if (field.trimmed().isEmpty()) {
        *problem = CsvFile::inColumn(column) + QStringLiteral("пусто");
        return std::nullopt;
    }
    return field.trimmed();
}

QString CsvLayout::rowProblem(const QString& table, const QVariantHash& row)
{
    const QVector<RuleBreach> breaches = ReferenceRules::breaches(table, row);
    return breaches.isEmpty() ? QString()
                              : CsvFile::inColumn(breaches.first().column) + breaches.first().problem;
}

bool CsvLayout::query(const QString& sql, QueryTable& rows, QString* error)
{
    Database* db = Functions::Connection();
    if (!db) {
        *error = QStringLiteral("База данных не открыта");
        return false;
    }
    const Result<int> read = db->query(sql, rows);
    if (!read)
        *error = read.failure().engineText;
    return read.ok();
}
