#pragma once

#include <QString>

class DataLocation;

// Saved calculations in order.mdb beside the program keep the keys of the
// materials, curtains, packing, products and equipment types they use.
// Before such a record goes, the administrator says how many use it and
// asks; it never changes order.mdb.
namespace OrderUsage {

// How many saved calculations use the record of the list kind (kind 3: a
// product, kind 5: an equipment type); 0 when order.mdb is missing or the
// server has no orders store set up, -1 when the use could not be counted.
int count(const DataLocation& location, int kind, qint64 key);

// Whether the record may go: when saved calculations use it, the user is
// asked with their number; otherwise plainQuestion is asked, or nothing
// when it is empty. When the use could not be checked the user is told so
// and asked in any case.
bool confirmDelete(const DataLocation& location, int kind, qint64 key, const QString& name,
                   const QString& plainQuestion = {});

} // namespace OrderUsage
