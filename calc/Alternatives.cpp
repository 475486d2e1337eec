#include "Alternatives.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "OfferedTypes.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

#include <QSet>
#include <algorithm>

namespace {

// The modifications of a model code, each with the rated ambients the table
// holds rows for: a modification missing one would make GetPower report it.
QVector<QPair<QString, bool>> modificationsOf(CalculationContext& context, const QString& model)
{
    QueryTable table;
    const int rows = ReadReference(context,
                                   QStringLiteral("SELECT modification, out_t FROM power WHERE model=") +
                                       SqlLiteral::text(model) +
                                       QStringLiteral(" GROUP BY modification, out_t ORDER BY modification"),
                                   table);
    QVector<QPair<QString, bool>> result;
    QSet<qint64> outsides;
    for (int row = 0; row < rows; ++row) {
        const QString modification = table.text(row, 0);
        if (result.isEmpty() || result.last().first != modification) {
            outsides.clear();
            result.append({modification, false});
        }
        outsides.insert(table.integer(row, 1));
        result.last().second =
            std::all_of(std::begin(RatedAmbientTemperatures), std::end(RatedAmbientTemperatures),
                        [&](int t) { return outsides.contains(t); });
    }
    return result;
}

} // namespace

QVector<Alternative> ListAlternatives(CalculationContext& context, const CalculationRecord& record)
{
    QVector<Alternative> list;
    if (!context.ref_db)
        return list;
    const ReadTransaction snapshot(context.ref_db.get());
    // The selection's own functions, on a copy that records no steps.
    CalculationRecord scratch = record;
    scratch.trace.reset();
    const bool failedBefore = context.failedReads.any();
    for (const OfferedType& type : OfferedEquipmentTypes(context, record)) {
        scratch.xo_type1 = qint16(type.key);
        const QString model = GetSeries(context, scratch);
        // The equipment screen refuses a code without its letter.
        if (model.size() < 3)
            continue;
        for (const auto& [stored, complete] : modificationsOf(context, model)) {
            Alternative a;
            a.typeName = type.name;
            a.model = model;
            a.modification = ModificationText(stored);
            if (complete) {
                scratch.sel_model = model;
                scratch.sel_modification = a.modification;
                scratch.unit_capacity = GetPower(context, scratch);
                a.capacity = scratch.unit_capacity;
                a.figures = ComputeSelectionFigures(scratch);
                a.sufficient = scratch.unit_capacity >= record.q_unit_required;
            }
            a.chosen = record.verdict.isEmpty() && type.key == record.xo_type1 && model == record.sel_model &&
                       a.modification == record.sel_modification;
            list.append(a);
        }
    }
    // Figures read in part are no figures.
    if (!failedBefore && context.failedReads.any())
        return {};
    std::stable_sort(list.begin(), list.end(), [](const Alternative& a, const Alternative& b) {
        if (a.capacity && b.capacity)
            return *a.capacity < *b.capacity;
        return a.capacity.has_value() && !b.capacity.has_value();
    });
    return list;
}
