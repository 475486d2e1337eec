#include "RussianCollation.h"

#include <QString>

namespace {

char16_t fold(QChar c)
{
    const char16_t lower = c.toLower().unicode();
    if (lower == u'ё')
        return u'е';
    return lower;
}

} // namespace

namespace RussianCollation {

int compare(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = fold(a.at(i));
        const char16_t y = fold(b.at(i));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    // Equal when folded: fall back to the exact text, so the order is total
    // and repeatable.
    return a.compare(b, Qt::CaseSensitive);
}

} // namespace RussianCollation
