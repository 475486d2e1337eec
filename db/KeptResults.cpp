#include "KeptResults.h"

#include "QueryTable.h"

namespace {

// The reference data of a whole run fits easily.
constexpr int MaxKeptResults = 8192;

} // namespace

void KeptResults::setReuse(Database::ResultReuse reuse)
{
    m_reuse = reuse;
    forget();
}

bool KeptResults::mustCheck(bool inTransaction) const
{
    if (m_reuse != Database::ResultReuse::CheckedEachAction)
        return false;
    return !(inTransaction ? m_checkedInTransaction : m_checkedInAction);
}

void KeptResults::checked(qint64 version, bool inTransaction)
{
    if (version < 0 || version != m_version)
        m_rows.clear();
    m_version = version;
    m_checkedInTransaction = version >= 0 && inTransaction;
    m_checkedInAction = version >= 0;
}

bool KeptResults::reusable() const
{
    return m_reuse == Database::ResultReuse::ForTheRun || (on() && m_version >= 0);
}

int KeptResults::give(const QString& sql, QueryTable& table) const
{
    const auto found = m_rows.constFind(sql);
    if (found == m_rows.constEnd())
        return -1;
    if (found->rows > 0)
        table = *found->table;
    return found->rows;
}

void KeptResults::keep(const QString& sql, int rows, const QueryTable& table)
{
    if (!reusable())
        return;
    if (m_rows.size() >= MaxKeptResults)
        m_rows.clear();
    m_rows.insert(sql, {rows, rows > 0 ? std::make_shared<const QueryTable>(table) : nullptr});
}

void KeptResults::forget()
{
    m_rows.clear();
    m_version = -1;
    m_checkedInTransaction = false;
    m_checkedInAction = false;
}
