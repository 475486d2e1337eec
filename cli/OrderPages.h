#pragma once

#include "Database.h"
#include "QueryTable.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

// The saved calculations of a store, page after page in key order, read by
// a thread of their own on a connection of their own: the next page is on
// its way while the calculations of the current one are computed, so the
// wait for the database (a server's answer above all) overlaps the work.
class OrderPages
{
public:
    // withSecondOpinion: the store keeps the second opinion's assumptions,
    // which each row then carries after the saved columns.
    OrderPages(DatabaseAddress address, bool withSecondOpinion, int pageRows);
    ~OrderPages();
    OrderPages(const OrderPages&) = delete;
    OrderPages& operator=(const OrderPages&) = delete;

    // Whether a next page was given: false after the last one.
    Result<bool> next(QueryTable& page);

private:
    void read(const DatabaseAddress& address);

    const bool m_withSecondOpinion;
    const int m_pageRows;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QueryTable> m_ready; // at most two pages ahead
    bool m_finished = false;
    bool m_stopped = false;
    std::optional<DatabaseFailure> m_failure;
    std::thread m_reader;
};
