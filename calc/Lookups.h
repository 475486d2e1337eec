#pragma once

#include <QString>

struct CalculationRecord;

// Reference lookups: copy properties from nv.mdb into the record by key. A
// lookup that finds no row leaves the record as it was.

// Conductivity and name of an insulation material into value and name.
// Returns the row count, or -1 when there is no row (outputs untouched).
int GetArticle(CalculationRecord& record, qint16 pkey, QString& name, double& value);

// Product name (stored position 3) and co ... td15 (positions 4 to 12).
// Always returns 0.
int GetProduct(CalculationRecord& record, qint16 pkey);

// packing_mass, packing_thermal, px_packing_name. Returns the row count.
int GetPacking(CalculationRecord& record, qint16 pkey);

// xk_curtain_name, xk_curtain_c. Returns the row count.
int GetCurtain(CalculationRecord& record, qint16 pkey);

// xo_gas. Returns the row count.
int GetGas(CalculationRecord& record, qint16 pkey);
