#include "CoreFigures.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DataGenerator.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "Orders.h"
#include "QueryTable.h"

#include <QDir>
#include <QElapsedTimer>
#include <time.h>

namespace {

qint64 threadCpuNanoseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

template <typename Work> double microseconds(Work&& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1000.0;
}

// The customer with the median number of calculations among those that
// have any, apart from the big one: the ordinary case. 0 when there is none.
qint16 ordinaryCustomer(Database& orders)
{
    QueryTable t;
    const int rows = orders
                         .query(QStringLiteral("SELECT contact, COUNT(*) AS n FROM data WHERE contact<>") +
                                    QString::number(BigCustomerKey) +
                                    QStringLiteral(" GROUP BY contact ORDER BY n, contact"),
                                t)
                         .valueOr(-1);
    return rows > 0 ? qint16(t.integer(rows / 2, 0)) : 0;
}

} // namespace

CoreSamples measureCore(const QString& folder, int reopens, int runs,
                        const std::function<qint64()>& requestsSent)
{
    const auto requests = [&] { return requestsSent ? double(requestsSent()) : 0.0; };
    CoreSamples out;
    // Opened as the wizard opens them.
    CalculationContext context;
    CalculationRecord record;
    if (!OpenDatabases(context, DataLocation::folder(folder))) {
        out.error = QStringLiteral("databases not opened");
        return out;
    }
    ApplyStartValues(record);

    QueryTable keys;
    const int rows =
        context.order_db->query(QStringLiteral("SELECT pkey FROM data ORDER BY pkey"), keys).valueOr(-1);
    const int count = qMin(reopens, rows);
    double before = requests();
    for (int i = 0; i < count; ++i) {
        const qint32 key = qint32(keys.integer(int(qint64(i) * rows / count), 0));
        const qint64 cpuBefore = threadCpuNanoseconds();
        // Each reopening is a user's action of its own.
        out.reopen.push_back(microseconds([&] {
            context.ref_db->beginAction();
            ReopenCalculation(context, record, key);
        }));
        out.reopenCpu.push_back(double(threadCpuNanoseconds() - cpuBefore) / 1000.0);
    }
    out.reopenRequests = (requests() - before) / qMax(1, count);

    const qint16 small = ordinaryCustomer(*context.order_db);
    // Each read `runs` times in a row, into a fresh table each time
    // (replacing a big one would count its release too), so one read's
    // memory churn does not land in another's figure.
    before = requests();
    for (int run = 0; run < runs; ++run) {
        QueryTable table;
        out.searchBig.push_back(
            microseconds([&] { out.bigCustomerRows = FindOrders(context, BigCustomerKey, table); }));
    }
    out.searchBigRequests = (requests() - before) / runs;
    for (int run = 0; run < runs && small > 0; ++run) {
        QueryTable table;
        out.searchSmall.push_back(
            microseconds([&] { out.smallCustomerRows = FindOrders(context, small, table); }));
    }
    for (int run = 0; run < runs; ++run) {
        QueryTable table;
        out.customerList.push_back(microseconds([&] { ReadCustomers(context, table); }));
    }
    return out;
}
