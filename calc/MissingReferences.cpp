#include "MissingReferences.h"

#include "CalculationRecord.h"
#include "Database.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

namespace {

struct Use
{
    const char* use;
    const char* table;
    qint16 CalculationRecord::*key;
};

const Use Uses[] = {
    {"продукт", "Product", &CalculationRecord::px_product},
    {"упаковка", "packing", &CalculationRecord::px_packing},
    {"теплоизоляция потолка", "article", &CalculationRecord::xk_ceiling_stuff},
    {"теплоизоляция стен", "article", &CalculationRecord::xk_wall_stuff},
    {"теплоизоляция пола", "article", &CalculationRecord::xk_floor_stuff},
    {"занавесь", "curtain", &CalculationRecord::xk_curtain},
    {"тип оборудования", "equipment", &CalculationRecord::xo_type1},
};

// A refused query (-1) says nothing about the row.
bool rowIsGone(Database& db, const char* table, qint16 key)
{
    QueryTable rows;
    return db.query(QStringLiteral("SELECT pkey FROM ") + QLatin1String(table) +
                        QStringLiteral(" WHERE pkey=") + SqlLiteral::integer(key),
                    rows) == 0;
}

} // namespace

QVector<MissingReference> MissingReferences(const CalculationRecord& record)
{
    QVector<MissingReference> missing;
    if (!record.ref_db)
        return missing;
    for (const Use& use : Uses) {
        const qint16 key = record.*use.key;
        if (key != 0 && rowIsGone(*record.ref_db, use.table, key))
            missing.append({QString::fromUtf8(use.use), key});
    }
    return missing;
}

QStringList MissingReferenceLines(const QVector<MissingReference>& missing)
{
    QStringList lines;
    for (const MissingReference& m : missing)
        lines << m.use + QStringLiteral(" (код %1)").arg(m.key);
    return lines;
}
