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
    QString secondColumn;        // the values' rules are in ReferenceRules

    static const SimpleList* forKind(int kind);

    // The list's entries and the columns read from them.
    QString listQuery() const;
    enum ListColumn { ListKey, ListName };
    // One record for its editor and the columns read from it.
    QString readQuery(qint64 key) const;
    enum ReadColumn { ReadName, ReadSecondValue, ReadValue };
    QString insertStatement(const QString& name, double value, double second) const;
    QString updateStatement(const QString& name, double value, double second, qint64 key) const;
    QString deleteStatement(qint64 key) const;
};
