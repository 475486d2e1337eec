#pragma once

#include <QStringView>

// Order of names as a Russian reader expects it: letter case is ignored and
// "ё" sorts with "е". Independent of the machine's locale, so both programs
// and every machine list the same names in the same order.
namespace RussianCollation {

int compare(QStringView a, QStringView b);

} // namespace RussianCollation
