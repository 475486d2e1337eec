#pragma once

#include <QString>

// How one of the three flat lists (insulation, curtains, packing) is shown
// and which table and columns hold it (its statements: ReferenceListStore).
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
};
