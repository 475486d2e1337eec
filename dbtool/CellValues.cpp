#include "CellValues.h"

#include "SqlLiteral.h"

#include <QLocale>
#include <cstring>

namespace {

bool isNull(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

bool isReal(const QVariant& v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

bool isWhole(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

QString shortestReal(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool sameReal(double a, double b)
{
    if (a == 0.0 && b == 0.0)
        return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

namespace CellValues {

QString literal(const QVariant& value)
{
    if (isNull(value))
        return QStringLiteral("NULL");
    if (isReal(value))
        return shortestReal(value.toDouble());
    if (isWhole(value))
        return QString::number(value.toLongLong());
    return SqlLiteral::text(value.toString());
}

QString assignedLiteral(const QVariant& value)
{
    // The database layer binds a number that directly follows "=" as a
    // parameter; a minus sign in front would keep it in the text.
    if (isReal(value) && value.toDouble() < 0)
        return shortestReal(-value.toDouble()) + QStringLiteral(" * -1");
    return literal(value);
}

bool same(const QVariant& a, const QVariant& b)
{
    if (isNull(a) || isNull(b))
        return isNull(a) && isNull(b);
    bool okA = true;
    bool okB = true;
    if (isReal(a) || isReal(b))
        return sameReal(a.toDouble(&okA), b.toDouble(&okB)) && okA && okB;
    if (isWhole(a) || isWhole(b))
        return a.toLongLong(&okA) == b.toLongLong(&okB) && okA && okB;
    return a.toString() == b.toString();
}

} // namespace CellValues
