#include "KeptLookups.h"

int KeptLookups::give(const Key& key, QueryTable& table) const
{
    const auto found = m_kept.constFind(key);
    if (found == m_kept.constEnd())
        return -1;
    if (found->rows > 0)
        table = found->table;
    return found->rows;
}

void KeptLookups::keep(const Key& key, int rows, const QueryTable& table)
{
    m_kept.insert(key, {rows, rows > 0 ? table : QueryTable()});
}

size_t qHash(const KeptLookups::Key& key, size_t seed)
{
    return qHashMulti(seed, quint8(key.kind), key.number, key.first, key.second);
}
