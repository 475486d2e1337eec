#include "OrderPages.h"

#include "Orders.h"
#include "ProgramDatabases.h"

#include <limits>

namespace {

constexpr std::size_t PagesAhead = 2;

} // namespace

OrderPages::OrderPages(DatabaseAddress address, bool withSecondOpinion, int pageRows)
    : m_withSecondOpinion(withSecondOpinion), m_pageRows(pageRows),
      m_reader([this, address = std::move(address)] { read(address); })
{}

OrderPages::~OrderPages()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    m_reader.join();
}

// The reader's own connection, opened, used and closed in this thread alone.
void OrderPages::read(const DatabaseAddress& address)
{
    const Result<std::unique_ptr<Database>> db = Database::open(address, orderTables());
    std::optional<DatabaseFailure> failure;
    if (!db)
        failure = db.failure();
    for (qint64 after = std::numeric_limits<qint64>::min(); db;) {
        QueryTable page;
        const Result<int> read = ReadOrderPage(*db.value(), m_withSecondOpinion, after, m_pageRows, page);
        if (!read)
            failure = read.failure();
        const int rows = read.valueOr(0);
        if (rows <= 0)
            break;
        after = page.integer(rows - 1, OrderPageColumn::Key);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopped || m_ready.size() < PagesAhead; });
        if (m_stopped)
            return;
        m_ready.push_back(std::move(page));
        m_changed.notify_all();
        if (rows < m_pageRows)
            break;
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_failure = failure;
    m_finished = true;
    m_changed.notify_all();
}

Result<bool> OrderPages::next(QueryTable& page)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_ready.empty() || m_finished; });
    if (m_ready.empty()) {
        if (m_failure)
            return *m_failure;
        return false;
    }
    page = std::move(m_ready.front());
    m_ready.pop_front();
    m_changed.notify_all();
    return true;
}
