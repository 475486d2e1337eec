#pragma once

#include <QString>

// How one of the three flat lists (insulation, curtains, packing) is shown
// and stored.
struct SimpleList
{
    QString table;
    QString caption;
    QString nameColumn;
    QString nameLabel;
    QString valueLabel;
    QString valueColumn;
    bool hasSecondValue = false; // packing: "Масса тары", column thermal

    static const SimpleList* forKind(int kind);

    QString listQuery() const;
    QString readQuery(qint64 key) const;
    QString insertStatement(const QString& name, double value, double second) const;
    QString updateStatement(const QString& name, double value, double second, qint64 key) const;
    QString deleteStatement(qint64 key) const;
};
