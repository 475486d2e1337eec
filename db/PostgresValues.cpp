#include "PostgresValues.h"

#include <cmath>
#include <libpq-fe.h>

namespace PostgresValues {

namespace {

QVariant realValue(const QByteArray& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (ok)
        return value;
    if (text == "NaN")
        return std::nan("");
    return text.startsWith('-') ? -HUGE_VAL : HUGE_VAL;
}

// As a NUMERIC column of the file store: a whole value is an integer, any
// other a real.
QVariant numericValue(const QByteArray& text)
{
    const qsizetype point = text.indexOf('.');
    bool whole = true;
    for (qsizetype i = point + 1; point >= 0 && i < text.size(); ++i)
        whole = whole && text.at(i) == '0';
    bool fits = false;
    const qint64 integer = (point < 0 ? text : text.left(point)).toLongLong(&fits);
    return whole && fits ? QVariant(integer) : realValue(text);
}

} // namespace

QVariant valueAt(const PGresult* result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return {};
    const char* raw = PQgetvalue(result, row, column);
    const QByteArray text = QByteArray::fromRawData(raw, PQgetlength(result, row, column));
    switch (PQftype(result, column)) {
    case BoolType:
        return qint64(text == "t" ? 1 : 0);
    case Int2Type:
    case Int4Type:
    case Int8Type:
    case OidType:
        return text.toLongLong();
    case Float4Type:
    case Float8Type:
        return realValue(text);
    case NumericType:
        return numericValue(text);
    case ByteaType: {
        size_t length = 0;
        unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(raw), &length);
        const QByteArray value(reinterpret_cast<const char*>(bytes), qsizetype(length));
        PQfreemem(bytes);
        return value;
    }
    default:
        return QString::fromUtf8(text);
    }
}

Parameters::Parameters(const QVariantList& values)
{
    for (const QVariant& value : values) {
        if (value.typeId() == QMetaType::LongLong) {
            types << Int8Type;
            texts << QByteArray::number(value.toLongLong());
        } else if (value.typeId() == QMetaType::Double) {
            types << Float8Type;
            texts << QByteArray::number(value.toDouble(), 'g', 17);
        } else {
            types << 0;
            texts << value.toString().toUtf8();
        }
    }
    for (const QByteArray& text : texts)
        pointers << text.constData();
}

QByteArray Parameters::signature() const
{
    return QByteArray(reinterpret_cast<const char*>(types.constData()),
                      types.size() * qsizetype(sizeof(Oid)));
}

} // namespace PostgresValues
