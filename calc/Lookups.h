#pragma once

#include <QString>
#include <QStringList>

struct CalculationContext;
struct CalculationRecord;

// Reference lookups: copy properties from the context's nv.mdb into the
// record by key. A lookup that finds no row leaves the record as it was.

// Conductivity and name of an insulation material into value and name.
// Returns the row count, or -1 when there is no row (outputs untouched).
int GetArticle(CalculationContext& context, qint16 pkey, QString& name, double& value);

// Product name (stored position 3) and co ... td15 (positions 4 to 12).
// Always returns 0.
int GetProduct(CalculationContext& context, CalculationRecord& record, qint16 pkey);

// packing_mass, packing_thermal, px_packing_name. Returns the row count.
int GetPacking(CalculationContext& context, CalculationRecord& record, qint16 pkey);

// xk_curtain_name, xk_curtain_c. Returns the row count.
int GetCurtain(CalculationContext& context, CalculationRecord& record, qint16 pkey);

// xo_gas. Returns the row count.
int GetGas(CalculationContext& context, CalculationRecord& record, qint16 pkey);

// The statements the lookups read, by key. Reading them ahead saves a
// server a round trip each, and the check of which references are gone
// asks them again, when their rows are still kept.
namespace LookupReads {

QString article(qint16 pkey);
QString product(qint16 pkey);
QString packing(qint16 pkey);
QString curtain(qint16 pkey);
QString gas(qint16 pkey);
QString equipment(qint16 pkey);
// Those of a reopen of the record, in the order it reads them.
QStringList of(const CalculationRecord& record);

} // namespace LookupReads
