#include "MissingReferences.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "Database.h"
#include "Lookups.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

namespace {

struct Use
{
    const char* use;
    // The lookup's own statement: a reopen has just read it, so its rows
    // are kept, and no request goes to a server for the check.
    QString (*read)(qint16 pkey);
    qint16 CalculationRecord::*key;
    QString CalculationRecord::*name; // the row's name as the lookup copied it
};

const Use Uses[] = {
    {"продукт", LookupReads::product, &CalculationRecord::px_product, &CalculationRecord::px_product_name},
    {"упаковка", LookupReads::packing, &CalculationRecord::px_packing, &CalculationRecord::px_packing_name},
    {"теплоизоляция потолка", LookupReads::article, &CalculationRecord::xk_ceiling_stuff,
     &CalculationRecord::xk_ceiling_name},
    {"теплоизоляция стен", LookupReads::article, &CalculationRecord::xk_wall_stuff,
     &CalculationRecord::xk_wall_name},
    {"теплоизоляция пола", LookupReads::article, &CalculationRecord::xk_floor_stuff,
     &CalculationRecord::xk_floor_name},
    {"занавесь", LookupReads::curtain, &CalculationRecord::xk_curtain, &CalculationRecord::xk_curtain_name},
    {"тип оборудования", LookupReads::equipment, &CalculationRecord::xo_type1,
     &CalculationRecord::xo_type_name},
};

// A product the record knows no name of is still known by its group, which
// the saved calculation keeps.
QString groupOf(Database& db, qint16 group)
{
    QueryTable rows;
    if (group == 0 ||
        db.query(QStringLiteral("SELECT text_ru FROM PGroup WHERE pkey=") + SqlLiteral::integer(group), rows)
                .valueOr(0) <= 0)
        return {};
    return QStringLiteral("группы «%1»").arg(rows.text(0, 0));
}

// A refused query says nothing about the row.
bool rowIsGone(Database& db, const QString& read)
{
    QueryTable rows;
    return db.query(read, rows).valueOr(-1) == 0;
}

} // namespace

QVector<MissingReference> MissingReferences(const CalculationContext& context,
                                            const CalculationRecord& record)
{
    QVector<MissingReference> missing;
    if (!context.ref_db)
        return missing;
    for (const Use& use : Uses) {
        const qint16 key = record.*use.key;
        if (key == 0 || !rowIsGone(*context.ref_db, use.read(key)))
            continue;
        const QString name = (record.*use.name).trimmed();
        const bool product = use.key == &CalculationRecord::px_product;
        missing.append({QString::fromUtf8(use.use), key,
                        !name.isEmpty() ? QStringLiteral("«%1»").arg(name)
                        : product       ? groupOf(*context.ref_db, record.px_pgroup)
                                        : QString()});
    }
    return missing;
}

QStringList MissingReferenceLines(const QVector<MissingReference>& missing)
{
    QStringList lines;
    for (const MissingReference& m : missing)
        lines << m.use + (m.known.isEmpty() ? QString() : QLatin1Char(' ') + m.known) +
                     QStringLiteral(" (код %1)").arg(m.key);
    return lines;
}
