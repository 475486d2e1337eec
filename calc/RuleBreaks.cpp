#include "RuleBreaks.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "CalculationTrace.h"
#include "Database.h"
#include "Lookups.h"
#include "PowerSet.h"
#include "QueryTable.h"
#include "ReferenceRules.h"

namespace {

struct Use
{
    const char* use;
    QString (*read)(qint16 pkey); // the lookup's own statement, whose rows are kept
    qint16 CalculationRecord::*key;
    QString CalculationRecord::*name;
    const char* table;
    int first;           // where the columns below begin in the lookup's row
    const char* columns; // in the lookup's order
};

const Use Uses[] = {
    {"продукт", LookupReads::product, &CalculationRecord::px_product, &CalculationRecord::px_product_name,
     "Product", 4, "co cz cwr tko tnz td0 td2 td5 td15"},
    {"упаковка", LookupReads::packing, &CalculationRecord::px_packing, &CalculationRecord::px_packing_name,
     "packing", 0, "mass thermal"},
    {"теплоизоляция потолка", LookupReads::article, &CalculationRecord::xk_ceiling_stuff,
     &CalculationRecord::xk_ceiling_name, "article", 0, "s_value"},
    {"теплоизоляция стен", LookupReads::article, &CalculationRecord::xk_wall_stuff,
     &CalculationRecord::xk_wall_name, "article", 0, "s_value"},
    {"теплоизоляция пола", LookupReads::article, &CalculationRecord::xk_floor_stuff,
     &CalculationRecord::xk_floor_name, "article", 0, "s_value"},
    {"занавесь", LookupReads::curtain, &CalculationRecord::xk_curtain, &CalculationRecord::xk_curtain_name,
     "curtain", 1, "c_value"},
};

void addRow(Database& db, const CalculationRecord& record, const Use& use, QStringList& lines)
{
    const qint16 key = record.*use.key;
    QueryTable rows;
    if (key == 0 || db.query(use.read(key), rows).valueOr(0) <= 0)
        return; // no choice, a row gone or unread: each has its own warning
    QVariantHash row;
    const QStringList columns = QString::fromLatin1(use.columns).split(QLatin1Char(' '));
    for (int c = 0; c < columns.size(); ++c)
        row.insert(columns.at(c), rows.value(0, use.first + c));
    const QString name = (record.*use.name).trimmed();
    const QString what = QString::fromUtf8(use.use) +
                         (name.isEmpty() ? QString() : QStringLiteral(" «%1»").arg(name)) +
                         QStringLiteral(" (код %1)").arg(key);
    for (const RuleBreach& breach : ReferenceRules::breaches(QLatin1String(use.table), row))
        lines << what + QStringLiteral(", ") + breach.column + QStringLiteral(": ") + breach.problem;
}

void addCapacities(const CalculationRecord& record, QStringList& lines)
{
    if (!record.trace || record.trace->trials.isEmpty())
        return;
    const ModelTrial& unit = record.trace->trials.last();
    // A set is read at its letter's class temperatures whatever chamber
    // temperatures its rows name: rows measured elsewhere (an editor's
    // default heads kept, a set changed by hand) stand for other temperatures
    // than they were measured at.
    const QStringList rated =
        unit.model.size() == PowerSet::CodeLength ? PowerSet::ratedChamber(unit.model.at(2)) : QStringList();
    for (const CapacityReading& reading : unit.readings) {
        const QString stored =
            PowerSet::temperatureList(reading.stored[0], reading.stored[1], reading.stored[2]);
        if (reading.found && !rated.isEmpty() && !rated.contains(stored)) {
            const QString readAt =
                PowerSet::temperatureList(reading.rated[0], reading.rated[1], reading.rated[2]);
            lines << QStringLiteral("агрегат %1%2, in_t: мощности даны при %3 °C, а прочитаны при %4 °C")
                         .arg(unit.model, unit.modification, stored, readAt);
            break;
        }
    }
    const ColumnRule& rule = ReferenceRules::of(QStringLiteral("power"), QStringLiteral("power"));
    for (const CapacityReading& reading : unit.readings) {
        for (int k = 0; reading.found && k < 3; ++k) {
            const QString problem = ReferenceRules::storedProblem(rule, reading.power[k]);
            if (!problem.isEmpty())
                lines << QStringLiteral("агрегат %1%2 при %3 °C снаружи, power: %4")
                             .arg(unit.model, unit.modification)
                             .arg(reading.outside)
                             .arg(problem);
        }
    }
}

} // namespace

QStringList RuleBreakLines(const CalculationContext& context, const CalculationRecord& record)
{
    QStringList lines;
    if (context.ref_db)
        for (const Use& use : Uses)
            addRow(*context.ref_db, record, use, lines);
    addCapacities(record, lines);
    return lines;
}
