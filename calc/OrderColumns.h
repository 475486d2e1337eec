#pragma once

#include <QtGlobal>

struct CalculationRecord;

// The saved columns of a calculation from xk_bulk to contact, in the column
// order of the data table; each is either a double or a 16-bit field of the
// record with the same name. odate, onote and px_pgroup follow them in the
// statements and are handled apart.
struct OrderColumn
{
    const char* name;
    double CalculationRecord::*real;
    qint16 CalculationRecord::*whole;
};

extern const OrderColumn OrderColumns[32];
