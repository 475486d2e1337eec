#include "CsvLayout.h"

#include "AdminSession.h"
#include "CsvCapacityLayout.h"
#include "CsvFile.h"
#include "CsvListLayouts.h"
#include "Functions.h"
#include "QueryTable.h"
#include "ReferenceRules.h"
#include "SqlLiteral.h"

std::unique_ptr<CsvLayout> CsvLayout::forKind(AdminSession& session, int kind, qint32 parentKey)
{
    switch (kind) {
    case Functions::KindEquipment:
        return std::make_unique<CsvCapacityLayout>(session, parentKey);
    case Functions::KindProduct:
        return std::make_unique<CsvProductLayout>(session);
    case Functions::KindInsulation:
    case Functions::KindCurtain:
    case Functions::KindPacking:
        return std::make_unique<CsvSimpleLayout>(session, kind);
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

Result<int> CsvLayout::query(const QString& sql, QueryTable& rows) const
{
    return m_session.query(sql, rows);
}
