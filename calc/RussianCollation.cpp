#include "RussianCollation.h"

#include "SqlDialect.h"

#include <QString>
#include <sqlite3.h>

namespace {

char16_t fold(QChar c)
{
    const char16_t lower = c.toLower().unicode();
    if (lower == u'ё')
        return u'е';
    return lower;
}

int sqliteCompare(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const QStringView viewA(static_cast<const char16_t*>(a), lengthA / 2);
    const QStringView viewB(static_cast<const char16_t*>(b), lengthB / 2);
    return RussianCollation::compare(viewA, viewB);
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

bool registerOn(void* sqliteHandle)
{
    auto* db = static_cast<sqlite3*>(sqliteHandle);
    return db && sqlite3_create_collation_v2(db, SqlDialect::RussianCollationName, SQLITE_UTF16_ALIGNED,
                                             nullptr, &sqliteCompare, nullptr) == SQLITE_OK;
}

} // namespace RussianCollation
