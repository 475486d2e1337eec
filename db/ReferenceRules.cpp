#include "ReferenceRules.h"

#include <QLocale>
#include <cmath>

namespace {

using Kind = ColumnRule::Kind;
constexpr double Key[] = {ReferenceRules::LowestKey, ReferenceRules::HighestKey};

// The ranges are what a real catalogue can hold (README, "Reference tables
// and spreadsheets"): wide enough for every food, insulation and unit made,
// narrow enough that a slip of a digit or of a separator is refused.
constexpr ColumnRule Rules[] = {
    {"article", "pkey", Kind::Whole, Key[0], Key[1], false},
    {"article", "s_name", Kind::Name, 0, 0, false},
    // W/(m·°C): foams about 0.02, concrete 1.7
    {"article", "s_value", Kind::Number, 0, 5, true},
    {"article", "cls_n", Kind::Whole, 1, 32767, false},
    {"curtain", "pkey", Kind::Whole, Key[0], Key[1], false},
    {"curtain", "text_ru", Kind::Name, 0, 0, false},
    // a share of the door losses kept out: never more than all
    {"curtain", "c_value", Kind::Number, 0, 100, false},
    {"packing", "pkey", Kind::Whole, Key[0], Key[1], false},
    {"packing", "text_ru", Kind::Name, 0, 0, false},
    // The mass in % of the product's and the specific heat; the editor's
    // boxes carry each other's labels and the load uses only their product,
    // so both take the wider range. 0 is "no packing".
    {"packing", "mass", Kind::Number, 0, 100, false},
    {"packing", "thermal", Kind::Number, 0, 100, false},
    {"pgroup", "pkey", Kind::Whole, Key[0], Key[1], false},
    {"pgroup", "text_ru", Kind::Name, 0, 0, false},
    {"product", "pkey", Kind::Whole, Key[0], Key[1], false},
    {"product", "text_ru", Kind::Name, 0, 0, false},
    // kcal/(kg·°C): foods hold less heat than water (1), frozen about half
    {"product", "co", Kind::Number, 0, 1.2, true},
    {"product", "cz", Kind::Number, 0, 1.2, true},
    // kcal/kg: at most the latent heat of water, 79.7
    {"product", "cwr", Kind::Number, 0, 80, true},
    // °C: foods freeze below 0, the coldest completely by -60
    {"product", "tko", Kind::Number, -60, 0, false},
    {"product", "tnz", Kind::Number, -60, 0, false},
    // W/kg: the busiest vegetables breathe out about 0.5 W/kg at 15 °C
    {"product", "td0", Kind::Number, 0, 2, false},
    {"product", "td2", Kind::Number, 0, 2, false},
    {"product", "td5", Kind::Number, 0, 2, false},
    {"product", "td15", Kind::Number, 0, 2, false},
    {"product", "fkey", Kind::Whole, Key[0], Key[1], false},
    {"gas", "pkey", Kind::Whole, Key[0], Key[1], false},
    {"gas", "model", Kind::Name, 0, 0, false},
    {"equipment", "pkey", Kind::Whole, Key[0], Key[1], false},
    {"equipment", "text_ru", Kind::Name, 0, 0, false},
    {"equipment", "model", Kind::Name, 0, 0, false},
    {"power", "pkey", Kind::Whole, Key[0], Key[1], false},
    {"power", "model", Kind::Name, 0, 0, false},
    // listed with three digits (KMA050)
    {"power", "modification", Kind::Whole, 1, 999, false},
    // °C: rated points of cold rooms and of the air around them
    {"power", "in_t", Kind::Number, -60, 30, false},
    {"power", "out_t", Kind::Number, -50, 60, false},
    // W: above 0, at most 10 MW
    {"power", "power", Kind::Number, 0, 1e7, true},
    {"power", "fkey", Kind::Whole, Key[0], Key[1], false},
};

constexpr ColumnRule AnyText = {"", "", Kind::Any, 0, 0, false};

constexpr CrossRule CrossRules[] = {
    {"product", "tko", "tnz", "заморозка начинается при tko и заканчивается при tnz"},
};

QString plain(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isEdgeBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The value of a stored cell, nullopt when it is no number.
std::optional<double> storedNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::QString)
        return ReferenceRules::strictNumber(value.toString(), false);
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

} // namespace

bool ColumnRule::accepts(double value) const
{
    if (!isNumeric())
        return true;
    if (!std::isfinite(value) || value > high || value < low || (aboveLow && value == low))
        return false;
    return kind != Kind::Whole || value == std::floor(value);
}

QString ColumnRule::reason() const
{
    switch (kind) {
    case Kind::Name:
        return QStringLiteral("пусто");
    case Kind::Whole:
        return QStringLiteral("должно быть целым числом от %1 до %2").arg(plain(low), plain(high));
    case Kind::Number:
        if (aboveLow)
            return QStringLiteral("должно быть больше %1 и не больше %2").arg(plain(low), plain(high));
        return QStringLiteral("должно быть от %1 до %2").arg(plain(low), plain(high));
    default:
        return QStringLiteral("не число");
    }
}

namespace ReferenceRules {

const ColumnRule& of(const QString& table, const QString& column)
{
    for (const ColumnRule& r : Rules)
        if (table.compare(QLatin1String(r.table), Qt::CaseInsensitive) == 0 &&
            column.compare(QLatin1String(r.column), Qt::CaseInsensitive) == 0)
            return r;
    return AnyText;
}

QString shown(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() > 0x7E && !c.isLetterOrNumber()))
            out += QStringLiteral("<U+%1>").arg(
                QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
        else
            out += c;
    }
    return out;
}

QString problem(const QString& reason, const QString& text)
{
    return reason + QStringLiteral(" «%1»").arg(shown(text));
}

QString refusal(const QString& table, const QString& column, const QString& problemText)
{
    return QStringLiteral("Таблица %1, столбец «%2»: %3").arg(table, column, problemText);
}

std::optional<double> strictNumber(const QString& field, bool decimalComma)
{
    qsizetype begin = 0;
    qsizetype end = field.size();
    while (begin < end && isEdgeBlank(field.at(begin)))
        ++begin;
    while (end > begin && isEdgeBlank(field.at(end - 1)))
        --end;
    const QChar separator = decimalComma ? QLatin1Char(',') : QLatin1Char('.');
    QString ascii;
    qsizetype i = begin;
    if (i < end && (field.at(i) == QLatin1Char('+') || field.at(i) == QLatin1Char('-')))
        ascii += field.at(i++);
    int digits = 0;
    bool separated = false;
    for (; i < end; ++i) {
        const QChar c = field.at(i);
        if (isDigit(c)) {
            ++digits;
            ascii += c;
        } else if (c == separator && !separated) {
            separated = true;
            ascii += QLatin1Char('.');
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < end && (field.at(i) == QLatin1Char('e') || field.at(i) == QLatin1Char('E'))) {
        ascii += QLatin1Char('e');
        ++i;
        if (i < end && (field.at(i) == QLatin1Char('+') || field.at(i) == QLatin1Char('-')))
            ascii += field.at(i++);
        const qsizetype exponent = i;
        while (i < end && isDigit(field.at(i)))
            ascii += field.at(i++);
        if (i == exponent)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(ascii, &ok);
    // The C locale refuses a number a double cannot hold (1e400, 1e-400),
    // which would otherwise be read as an infinity or as 0.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> fieldNumber(const ColumnRule& rule, const QString& field, bool decimalComma,
                                  QString* problemText)
{
    if (field.trimmed().isEmpty()) {
        *problemText = QStringLiteral("пусто");
        return std::nullopt;
    }
    const std::optional<double> value = strictNumber(field, decimalComma);
    if (!value) {
        *problemText = problem(QStringLiteral("не число"), field);
        return std::nullopt;
    }
    if (!rule.accepts(*value)) {
        *problemText = problem(rule.reason(), field);
        return std::nullopt;
    }
    return value;
}

QString storedProblem(const ColumnRule& rule, const QVariant& value)
{
    if (rule.kind == ColumnRule::Kind::Any)
        return {};
    if (rule.kind == ColumnRule::Kind::Name)
        return value.toString().trimmed().isEmpty() ? rule.reason() : QString();
    if (value.isNull())
        return QStringLiteral("пусто");
    const std::optional<double> number = storedNumber(value);
    if (!number)
        return problem(QStringLiteral("не число"), value.toString());
    return rule.accepts(*number) ? QString() : problem(rule.reason(), value.toString());
}

QVector<RuleBreach> breaches(const QString& table, const QVariantHash& row)
{
    QVector<RuleBreach> found;
    for (const ColumnRule& rule : Rules) {
        const QString column = QLatin1String(rule.column);
        if (table.compare(QLatin1String(rule.table), Qt::CaseInsensitive) != 0 || !row.contains(column))
            continue;
        const QString problemText = storedProblem(rule, row.value(column));
        if (!problemText.isEmpty())
            found.append({column, problemText});
    }
    for (const CrossRule& rule : crossRules(table)) {
        const QString greater = QLatin1String(rule.greater);
        const std::optional<double> a = storedNumber(row.value(greater));
        const std::optional<double> b = storedNumber(row.value(QLatin1String(rule.smaller)));
        if (a && b && !(*a > *b))
            found.append({greater, problem(crossReason(rule), row.value(greater).toString())});
    }
    return found;
}

QVector<CrossRule> crossRules(const QString& table)
{
    QVector<CrossRule> found;
    for (const CrossRule& rule : CrossRules)
        if (table.compare(QLatin1String(rule.table), Qt::CaseInsensitive) == 0)
            found << rule;
    return found;
}

QString crossReason(const CrossRule& rule)
{
    return QStringLiteral("должно быть больше %1: %2")
        .arg(QLatin1String(rule.smaller), QString::fromUtf8(rule.why));
}

} // namespace ReferenceRules
