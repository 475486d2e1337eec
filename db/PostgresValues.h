#pragma once

#include <QByteArray>
#include <QVariantList>
#include <QVector>
#include <postgres_ext.h>

struct pg_result;

// Values between the server's text form and what the callers see, the same
// on both engines: whole numbers as qint64, reals as double, text as QString,
// bytes as QByteArray, NULL as an empty value.
namespace PostgresValues {

// Type numbers of the server's built-in types.
enum : Oid {
    BoolType = 16,
    ByteaType = 17,
    Int8Type = 20,
    Int2Type = 21,
    Int4Type = 23,
    OidType = 26,
    Float4Type = 700,
    Float8Type = 701,
    NumericType = 1700
};

QVariant valueAt(const pg_result* result, int row, int column);
// The same for a column of this type, read once for all rows.
QVariant valueAt(const pg_result* result, int row, int column, Oid type);

// Whole numbers and reals go typed; text goes untyped, so the server reads
// it as the type the statement needs there, as it reads a quoted literal.
struct Parameters
{
    QVector<Oid> types;
    QVector<QByteArray> texts;
    QVector<const char*> pointers;

    explicit Parameters(const QVariantList& values);
    int count() const { return int(types.size()); }
    // The types as bytes: one statement form is prepared per text and types.
    QByteArray signature() const;
};

} // namespace PostgresValues
