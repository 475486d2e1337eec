#include "CalcTool.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "CalculationTrace.h"
#include "DataLocation.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "ExplainJson.h"
#include "Explanation.h"
#include "HeatLoad.h"
#include "InputChecks.h"
#include "JsonLine.h"
#include "Lookups.h"
#include "OfferJson.h"
#include "OfferStore.h"
#include "OfferSummary.h"
#include "OrderPages.h"
#include "Orders.h"
#include "QueryTable.h"
#include "RecordJson.h"
#include "SecondOpinionStore.h"
#include "Selection.h"
#include "StoreTables.h"
#include "ToolExit.h"
#include "WatchedDatabase.h"

#include <QFile>
#include <cstdio>
#include <limits>
#include <utility>

namespace {

// Standard output is buffered: what was printed before a message comes
// before it where both go to one place.
void printError(const QString& message)
{
    std::fflush(stdout);
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    std::fprintf(stderr, "frostpick-calc: %s\n", line.toUtf8().constData());
}

// Says why a store failed, as frostpick-db says it; the status to end with.
int storeFailed(const QString& what, const DatabaseFailure& failure)
{
    const ToolExit exit = ToolExitFor(what, failure);
    printError(exit.line);
    return exit.status;
}

std::shared_ptr<WatchedDatabase> openDatabase(const DatabaseAddress& address, const QStringList& tables)
{
    Result<std::unique_ptr<Database>> db = Database::open(address, tables);
    if (!db) {
        storeFailed(QStringLiteral("cannot open %1").arg(address.shown()), db.failure());
        return nullptr;
    }
    return std::make_shared<WatchedDatabase>(std::move(db.value()), address.shown());
}

// The orders store on the reference store's connection where that one serves
// both (one database of a server): a connection costs round trips to make.
std::shared_ptr<WatchedDatabase> openOrders(const std::shared_ptr<WatchedDatabase>& ref,
                                            const DatabaseAddress& address)
{
    const Result<bool> shared = ref->serves(address, orderTables());
    if (!shared) {
        storeFailed(QStringLiteral("cannot open %1").arg(address.shown()), shared.failure().at(address));
        return nullptr;
    }
    return shared.value() ? ref : openDatabase(address, orderTables());
}

// Whether a read for the calculation failed, reported after what the
// calculation had to tell. What the core computed from the empty rows such a
// read leaves is never printed: the run stops.
bool readFailed(CalculationContext& context, const QString& calculation,
                std::initializer_list<WatchedDatabase*> stores)
{
    if (!context.notices.isEmpty())
        std::fflush(stdout);
    for (const QString& notice : std::exchange(context.notices, {}))
        std::fprintf(stderr, "%s\n", notice.simplified().toUtf8().constData());
    bool failed = false;
    for (WatchedDatabase* store : stores) {
        const std::optional<DatabaseFailure> failure = store ? store->takeFailure() : std::nullopt;
        if (failure && !failed)
            storeFailed(QStringLiteral("%1cannot read %2").arg(calculation, store->shown()), *failure);
        failed = failed || failure;
    }
    return failed;
}

// With --explain the calculation and the selection record their steps.
void traceIfExplained(CalculationRecord& record, bool explain)
{
    if (explain)
        record.trace = std::make_shared<CalculationTrace>();
}

// Prints the record as one line, written into the line kept for the run;
// false (already reported) when a double of it cannot be written as a JSON
// number.
bool printRecord(CalculationContext& context, const CalculationRecord& record, JsonLine& line)
{
    QString error;
    if (!recordToJson(record, SelectionLine(record), line, &error)) {
        printError(error);
        return false;
    }
    if (record.trace) {
        const QByteArray fields = explanationFields(Explain(context, record));
        line.text().append(fields.constData(), size_t(fields.size()));
    }
    line.close();
    line.text() += '\n';
    std::fwrite(line.text().data(), 1, line.text().size(), stdout);
    return true;
}

QByteArray readInput(const QString& name, QString* error)
{
    QFile file;
    const bool opened = name == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                   : (file.setFileName(name), file.open(QIODevice::ReadOnly));
    if (!opened) {
        *error = QStringLiteral("cannot read input %1: %2").arg(name, file.errorString());
        return {};
    }
    return file.readAll();
}

int runInput(const CliArguments& args, const DataLocation& location)
{
    CalculationRecord record;
    ApplyStartValues(record);
    QString error;
    const QByteArray json = readInput(args.input, &error);
    if (!error.isEmpty() || !readInputRecord(json, record, &error)) {
        printError(error);
        return ExitRefused;
    }
    // What the screens would not let through is not computed either.
    if (const QVector<FailedInputCheck> failed = FailedInputChecks(record); !failed.isEmpty()) {
        printError(failed.first().field + QStringLiteral(": ") + failed.first().text);
        return ExitRefused;
    }
    const auto ref = openDatabase(location.reference(), referenceTables());
    if (!ref)
        return ExitDatabase;
    CalculationContext context;
    context.ref_db = ref;
    context.location = location;
    traceIfExplained(record, args.explain);

    GetArticle(context, record.xk_ceiling_stuff, record.xk_ceiling_name, record.xk_ceiling_k);
    GetArticle(context, record.xk_wall_stuff, record.xk_wall_name, record.xk_wall_k);
    GetArticle(context, record.xk_floor_stuff, record.xk_floor_name, record.xk_floor_k);
    GetCurtain(context, record, record.xk_curtain);
    GetProduct(context, record, record.px_product);
    GetPacking(context, record, record.px_packing);
    GetGas(context, record, record.xo_type2);
    GetSeries(context, record);
    const bool computed = CalculateLoad(record, &error);
    if (computed)
        SelectUnit(context, record);
    if (readFailed(context, {}, {ref.get()}))
        return ExitDatabase;
    if (!computed) {
        printError(error);
        return ExitRange;
    }
    JsonLine line;
    return printRecord(context, record, line) ? ExitOk : ExitRange;
}

// A fresh record, as the customer screen reopens into.
CalculationRecord freshRecord(bool explain)
{
    CalculationRecord record;
    ApplyStartValues(record);
    traceIfExplained(record, explain);
    return record;
}

// Prints a reopened calculation, or why it was not computed.
int printReopened(CalculationContext& context, const CalculationRecord& record, qint64 key, bool computed,
                  const QString& error, JsonLine& line)
{
    if (!computed) {
        printError(QStringLiteral("calculation %1: %2").arg(key).arg(error));
        return ExitRange;
    }
    if (!printRecord(context, record, line)) {
        printError(QStringLiteral("calculation %1 left out").arg(key));
        return ExitRange;
    }
    return ExitOk;
}

// Reopens one saved calculation, as the customer screen does, and prints it.
// The context's connections are ref and orders.
int reopenAndPrint(CalculationContext& context, WatchedDatabase* ref, WatchedDatabase* orders, qint32 key,
                   bool explain)
{
    CalculationRecord record = freshRecord(explain);
    bool found = false;
    QString error;
    const bool computed = ReopenCalculation(context, record, key, &found, &error);
    if (readFailed(context, QStringLiteral("calculation %1: ").arg(key), {orders, ref}))
        return ExitDatabase;
    if (!found) {
        printError(QStringLiteral("no saved calculation has the key %1").arg(key));
        return ExitNoOrder;
    }
    JsonLine line;
    return printReopened(context, record, key, computed, error, line);
}

// Reopens and prints every saved calculation in key order, reading them a
// page at a time: one statement per page instead of one per calculation.
int reopenAndPrintAll(CalculationContext& context, OrderPages& pages, WatchedDatabase* ref,
                      WatchedDatabase* orders, bool explain)
{
    const DataLocation& location = context.location;
    // Lines of about 2 KB each: a write to standard output per many of them.
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    QueryTable page;
    JsonLine line;
    int status = ExitOk;
    Result<bool> paged = false;
    while ((paged = pages.next(page)).valueOr(false)) {
        for (int row = 0; row < page.rowCount(); ++row) {
            const qint64 key = page.integer(row, OrderPageColumn::Key);
            if (key < std::numeric_limits<qint32>::min() || key > std::numeric_limits<qint32>::max()) {
                printError(QStringLiteral("calculation %1: the key does not fit 32 bits; left out").arg(key));
                status = ExitRange;
                continue;
            }
            CalculationRecord record = freshRecord(explain);
            QString rangeError;
            const bool computed = ReopenCalculation(context, record, page, row, &rangeError);
            if (readFailed(context, QStringLiteral("calculation %1: ").arg(key), {orders, ref}))
                return ExitDatabase;
            if (printReopened(context, record, key, computed, rangeError, line) != ExitOk)
                status = ExitRange;
        }
    }
    if (!paged)
        return storeFailed(QStringLiteral("cannot read %1").arg(location.orders().shown()),
                           paged.failure().at(location.orders()));
    return status;
}

// The reference data a run over every saved calculation reads from, kept for
// the whole run. The run reads it thousands of times, and each read from a
// server costs a round trip: from a server it reads a copy in memory made at
// its start in one snapshot (its tables read in one request), the same rows
// the server would have given the run. Null, reported, when the copy cannot
// be made.
std::shared_ptr<WatchedDatabase> referenceForTheRun(std::shared_ptr<WatchedDatabase> ref)
{
    // Also what lets the server's connection keep the rows it reads ahead.
    ref->setResultReuse(Database::ResultReuse::ForTheRun);
    if (!ref->readsAhead())
        return ref;
    Result<std::unique_ptr<Database>> copy = Database::copyInMemory(*ref, StoreTables::reference());
    if (!copy) {
        storeFailed(QStringLiteral("cannot read %1").arg(ref->shown()), copy.failure());
        return nullptr;
    }
    auto inMemory = std::make_shared<WatchedDatabase>(std::move(copy.value()), ref->shown());
    inMemory->setResultReuse(Database::ResultReuse::ForTheRun);
    return inMemory;
}

int runOrders(const CliArguments& args, const DataLocation& location)
{
    auto ref = openDatabase(location.reference(), referenceTables());
    if (!ref)
        return ExitDatabase;
    const auto orders = openOrders(ref, location.orders());
    if (!orders)
        return ExitDatabase;
    CalculationContext context;
    context.order_db = orders;
    context.ordersKeepSecondOpinion = SecondOpinionStore::IsKept(*orders);
    context.location = location;
    std::unique_ptr<OrderPages> pages;
    if (args.mode == CliArguments::Mode::AllOrders) {
        context.keptLookups.emplace();
        // The orders change from row to row and are read a page at a time,
        // on a connection made while the reference store is read; where each
        // page costs a round trip, in fewer, larger pages.
        pages = std::make_unique<OrderPages>(location.orders(), context.ordersKeepSecondOpinion,
                                             location.orders().isFile() ? 500 : 2000);
        ref = referenceForTheRun(std::move(ref));
        if (!ref)
            return ExitDatabase;
    }
    context.ref_db = ref;
    if (args.mode == CliArguments::Mode::Order)
        return reopenAndPrint(context, ref.get(), orders.get(), args.orderKey, args.explain);
    return reopenAndPrintAll(context, *pages, ref.get(), orders.get(), args.explain);
}

void printLine(const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
}

// Each chamber of the offer as --order prints it, then the sums over those printed.
int printOffer(CalculationContext& context, WatchedDatabase* ref, WatchedDatabase* orders,
               const SavedOffer& offer, bool explain)
{
    int status = ExitOk;
    QList<OfferChamber> chambers;
    JsonLine line;
    for (qint32 key : offer.calculations) {
        OfferChamber chamber = OfferSummary::Compute(context, key);
        if (readFailed(context, QStringLiteral("calculation %1: ").arg(key), {orders, ref}))
            return ExitDatabase;
        if (!explain)
            chamber.record.trace.reset();
        if (chamber.summed() && !printRecord(context, chamber.record, line))
            chamber.state = OfferChamber::State::NotComputed;
        const bool missing = chamber.state == OfferChamber::State::Missing;
        if (!chamber.summed()) {
            printError(missing
                           ? QStringLiteral("no saved calculation has the key %1; not summed").arg(key)
                           : QStringLiteral("calculation %1: %2; not summed").arg(key).arg(chamber.reason));
            if (status == ExitOk)
                status = missing ? ExitNoOrder : ExitRange;
        }
        chambers << chamber;
    }
    printLine(offerSumsLine(offer.key, OfferSummary::Sum(chambers)));
    return status;
}

int runOffers(const CliArguments& args, const DataLocation& location)
{
    const auto ref = openDatabase(location.reference(), referenceTables());
    const auto orders = ref ? openOrders(ref, location.orders()) : nullptr;
    if (!orders)
        return ExitDatabase;
    if (!OfferStore::IsKept(*orders)) {
        printError(QStringLiteral("%1 was made before offers were kept and holds none").arg(orders->shown()));
        return args.mode == CliArguments::Mode::Offers ? ExitOk : ExitNoOrder;
    }
    std::optional<DatabaseFailure> failure;
    if (args.mode == CliArguments::Mode::Offers) {
        const Result<QList<SavedOffer>> offers = OfferStore::Read(*orders, std::nullopt);
        if (!offers)
            failure = offers.failure();
        for (const SavedOffer& offer : offers.valueOr({}))
            printLine(offerListLine(offer));
    } else {
        const Result<std::optional<SavedOffer>> offer = OfferStore::ReadOne(*orders, args.offerKey);
        if (!offer) {
            failure = offer.failure();
        } else if (offer.value()) {
            CalculationContext context;
            context.ref_db = ref;
            context.order_db = orders;
            context.ordersKeepSecondOpinion = SecondOpinionStore::IsKept(*orders);
            context.location = location;
            return printOffer(context, ref.get(), orders.get(), *offer.value(), args.explain);
        } else {
            printError(QStringLiteral("no offer has the key %1").arg(args.offerKey));
            return ExitNoOrder;
        }
    }
    if (!failure)
        return ExitOk;
    return storeFailed(QStringLiteral("cannot read %1").arg(orders->shown()), *failure);
}

} // namespace

int runCalcTool(const CliArguments& args)
{
    const DataLocation location =
        args.dir.isEmpty() ? DataLocation::programFolder() : DataLocation::folder(args.dir);
    switch (args.mode) {
    case CliArguments::Mode::Help: {
        const QByteArray usage =
            (usageText() + QStringLiteral("\nData folder: ") + location.describe() + QLatin1Char('\n'))
                .toUtf8();
        std::fwrite(usage.constData(), 1, size_t(usage.size()), stdout);
        return ExitOk;
    }
    case CliArguments::Mode::Input:
        return runInput(args, location);
    case CliArguments::Mode::Order:
    case CliArguments::Mode::AllOrders:
        return runOrders(args, location);
    case CliArguments::Mode::Offer:
    case CliArguments::Mode::Offers:
        return runOffers(args, location);
    }
    return ExitRefused;
}
