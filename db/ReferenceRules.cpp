#include "ReferenceRules.h"

#include "CsvFile.h"

#include <cmath>

namespace {

struct ColumnRule
{
    const char* table;
    const char* column;
    ValueRule rule;
};

constexpr ColumnRule Rules[] = {
    {"article", "s_name", ValueRule::Name},
    {"article", "s_value", ValueRule::AboveZero},
    {"article", "cls_n", ValueRule::Whole},
    {"curtain", "text_ru", ValueRule::Name},
    {"curtain", "c_value", ValueRule::Percent},
    {"packing", "text_ru", ValueRule::Name},
    {"packing", "mass", ValueRule::NotNegative},
    {"packing", "thermal", ValueRule::NotNegative},
    {"pgroup", "text_ru", ValueRule::Name},
    {"product", "text_ru", ValueRule::Name},
    {"product", "co", ValueRule::AboveZero},
    {"product", "cz", ValueRule::AboveZero},
    {"product", "cwr", ValueRule::AboveZero},
    {"product", "tko", ValueRule::Number},
    {"product", "tnz", ValueRule::Number},
    {"product", "td0", ValueRule::NotNegative},
    {"product", "td2", ValueRule::NotNegative},
    {"product", "td5", ValueRule::NotNegative},
    {"product", "td15", ValueRule::NotNegative},
    {"product", "fkey", ValueRule::Whole},
    {"gas", "model", ValueRule::Name},
    {"equipment", "text_ru", ValueRule::Name},
    {"equipment", "model", ValueRule::Name},
    {"power", "model", ValueRule::Name},
    {"power", "modification", ValueRule::WholeAboveZero},
    {"power", "in_t", ValueRule::Number},
    {"power", "out_t", ValueRule::Number},
    {"power", "power", ValueRule::AboveZero},
    {"power", "fkey", ValueRule::Whole},
};

} // namespace

namespace ReferenceRules {

ValueRule of(const QString& table, const QString& column)
{
    for (const ColumnRule& r : Rules)
        if (table.compare(QLatin1String(r.table), Qt::CaseInsensitive) == 0 &&
            column.compare(QLatin1String(r.column), Qt::CaseInsensitive) == 0)
            return r.rule;
    return ValueRule::Any;
}

bool isNumeric(ValueRule rule)
{
    return rule != ValueRule::Any && rule != ValueRule::Name;
}

bool accepts(ValueRule rule, double value)
{
    if (!std::isfinite(value))
        return false;
    switch (rule) {
    case ValueRule::AboveZero:
        return value > 0;
    case ValueRule::NotNegative:
        return value >= 0;
    case ValueRule::Percent:
        return value >= 0 && value <= 100;
    case ValueRule::WholeAboveZero:
        return value > 0 && value == std::floor(value);
    case ValueRule::Whole:
        return value == std::floor(value);
    default:
        return true;
    }
}

QString reason(ValueRule rule)
{
    switch (rule) {
    case ValueRule::Name:
        return QStringLiteral("пусто");
    case ValueRule::AboveZero:
        return QStringLiteral("должно быть больше нуля");
    case ValueRule::NotNegative:
        return QStringLiteral("не может быть меньше нуля");
    case ValueRule::Percent:
        return QStringLiteral("должно быть от 0 до 100");
    case ValueRule::WholeAboveZero:
        return QStringLiteral("должно быть целым числом больше нуля");
    case ValueRule::Whole:
        return QStringLiteral("должно быть целым числом");
    default:
        return QStringLiteral("не число");
    }
}

std::optional<double> fieldNumber(ValueRule rule, const QString& field, bool decimalComma, QString* problem)
{
    const std::optional<double> value = CsvFile::toNumber(field, decimalComma);
    if (!value) {
        *problem = (field.trimmed().isEmpty() ? QStringLiteral("пусто")
                                              : QStringLiteral("не число «%1»").arg(field));
        return std::nullopt;
    }
    if (!accepts(rule, *value)) {
        *problem = reason(rule) + QStringLiteral(" «%1»").arg(field);
        return std::nullopt;
    }
    return value;
}

} // namespace ReferenceRules
