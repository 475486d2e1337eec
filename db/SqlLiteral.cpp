#include "SqlLiteral.h"

#include <cmath>

namespace SqlLiteral {

QString text(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString name(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString number(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("NULL");
    if (value == 0.0)
        return QStringLiteral("0"); // no "-0"
    // Whole numbers, the usual keys of a lookup, the same text without the
    // general conversion's cost.
    if (std::trunc(value) == value && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

QString integer(qint64 value)
{
    return QString::number(value);
}

} // namespace SqlLiteral
