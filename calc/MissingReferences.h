#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

struct CalculationContext;
struct CalculationRecord;

// A saved calculation keeps only the keys of the reference rows it uses;
// when the administrator has deleted one of those rows since, reopening the
// calculation recomputes it without that row's data. These functions tell
// which rows are gone, so that the user learns it before the results.

struct MissingReference
{
    QString use; // what the calculation used the row for, e.g. "продукт"
    qint16 key = 0;
    QString known; // what is known of the row besides its key: «its name», or its group; may be empty
};

// The reference rows of the record's product, packing, insulation of
// ceiling, walls and floor, curtain and equipment type that the context's
// nv.mdb no longer holds, in that order, with the names the record carries
// for them. A key of 0 stands for no choice and is never missing; a query
// the database refuses counts as the row being there.
QVector<MissingReference> MissingReferences(const CalculationContext& context,
                                            const CalculationRecord& record);

// One line per missing row: "продукт «Говядина» (код 7)", "продукт группы
// «Мясо» (код 7)", "занавесь (код 2)".
QStringList MissingReferenceLines(const QVector<MissingReference>& missing);
