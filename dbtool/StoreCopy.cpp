#include "StoreCopy.h"

#include "DataLocation.h"
#include "Database.h"
#include "StoreAccess.h"
#include "WriteAttempt.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A new file takes the store its name gives, if it is one of the programs'.
QList<StoreKind> storesForNewFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (name == QLatin1String(ReferenceFileName))
        return {StoreKind::Reference};
    if (name == QLatin1String(OrdersFileName))
        return {StoreKind::Orders};
    return StoreLayout::kinds();
}

ToolOutcome chooseStore(const QList<StoreKind>& inSource, const QList<StoreKind>& inTarget,
                        const CopyOptions& options, const DatabaseAddress& from, const DatabaseAddress& to,
                        StoreKind& chosen)
{
    if (inSource.isEmpty())
        return {StatusNotAStore, QStringLiteral("%1 holds neither the reference nor the orders tables")
                                     .arg(StoreAccess::describe(from))};
    if (inTarget.isEmpty()) {
        if (to.isMadeApart())
            return {StatusNotAStore,
                    QStringLiteral("%1 has no store tables; run frostpick-db init on it first")
                        .arg(StoreAccess::describe(to))};
        return {StatusNotAStore, QStringLiteral("%1 holds neither the reference nor the orders tables")
                                     .arg(StoreAccess::describe(to))};
    }
    QList<StoreKind> both;
    for (StoreKind kind : inSource) {
        if (inTarget.contains(kind) && (!options.store || *options.store == kind))
            both << kind;
    }
    if (both.isEmpty())
        return {StatusNotAStore, QStringLiteral("%1 and %2 hold no store in common")
                                     .arg(StoreAccess::describe(from), StoreAccess::describe(to))};
    if (both.size() > 1)
        return {StatusUsage, QStringLiteral("both databases hold both stores; choose one with --store")};
    chosen = both.first();
    return {};
}

// The programs read Product by column position, and which name column stands
// where is each store's own: a copy into another arrangement would show other
// names, so it is refused.
ToolOutcome sameArrangement(Database& source, Database& target, const StoreLayout& store)
{
    static const QString positional = QStringLiteral("Product");
    if (!store.tableNames().contains(positional))
        return {};
    // Columns that cannot be read show as none.
    const QStringList from = source.columnsOf(positional).valueOr({});
    const QStringList to = target.columnsOf(positional).valueOr({});
    if (from.join(QLatin1Char(',')).compare(to.join(QLatin1Char(',')), Qt::CaseInsensitive) == 0)
        return {};
    return {StatusRefused,
            QStringLiteral("table %1 is read by column position, and its columns stand otherwise in "
                           "the source (%2) than in the target (%3)")
                .arg(positional, from.join(QStringLiteral(", ")), to.join(QStringLiteral(", ")))};
}

ToolOutcome copyInTransaction(Database& source, Database& target, const StoreLayout& store,
                              const QVector<qint64>& sourceCounts, const CopyOptions& options,
                              const CopyObserver& observer, QStringList& lines)
{
    if (const ToolOutcome arranged = sameArrangement(source, target, store); !arranged.ok())
        return arranged;
    const std::optional<QVector<qint64>> targetCounts = StoreAccess::rowCounts(target, store);
    if (!targetCounts)
        return {StatusRefused, QStringLiteral("the target's tables cannot be counted")};
    // A store just made from its schema holds the refrigerants it starts
    // with; they are replaced without asking.
    if (!options.replace && !StoreAccess::isFresh(store, *targetCounts))
        return {StatusTargetNotEmpty,
                QStringLiteral("the target already holds rows of the %1; --replace deletes them")
                    .arg(store.title)};
    for (int i = 0; i < store.tables.size(); ++i) {
        const StoreTable& table = store.tables.at(i);
        if (targetCounts->at(i) == StoreAccess::Lacking && sourceCounts.at(i) > 0)
            return {StatusRefused,
                    QStringLiteral("the target was made before table %1 and lacks it; copy into "
                                   "a new file or a store made by frostpick-db init")
                        .arg(table.name)};
        if (targetCounts->at(i) == StoreAccess::Lacking)
            continue;
        if (const Result<void> emptied = target.execute(QStringLiteral("DELETE FROM %1").arg(table.name));
            !emptied)
            return StoreAccess::outcomeOf(QStringLiteral("table %1").arg(table.name), emptied.failure());
    }
    for (int i = 0; i < store.tables.size(); ++i) {
        const qint64 count = qMax(sourceCounts.at(i), qint64(0));
        if (count > 0) {
            const ToolOutcome outcome =
                copyTable(source, target, store.tables.at(i), count, observer.progress);
            if (!outcome.ok())
                return outcome;
        }
        lines << QStringLiteral("%1: %2 rows copied").arg(store.tables.at(i).name).arg(count);
    }
    return {};
}

ToolOutcome copyAndCommit(Database& source, Database& target, const StoreLayout& store,
                          const QVector<qint64>& sourceCounts, const CopyOptions& options,
                          const CopyObserver& observer)
{
    WriteAttempt attempt;
    if (const Result<void> begun = attempt.begin(target); !begun)
        return StoreAccess::outcomeOf(QStringLiteral("the target refused a transaction"), begun.failure());
    QStringList lines;
    ToolOutcome outcome = copyInTransaction(source, target, store, sourceCounts, options, observer, lines);
    if (!outcome.ok()) {
        attempt.rollback();
        return outcome;
    }
    if (!(outcome = StoreAccess::commitWrite(attempt, QStringLiteral("the copy"), observer.report)).ok())
        return outcome;
    for (const QString& line : std::as_const(lines))
        observer.report(line);
    return {};
}

// Counts the target again through a connection of its own.
ToolOutcome checkCounts(const DatabaseAddress& to, const StoreLayout& store,
                        const QVector<qint64>& sourceCounts, const CopyObserver& observer)
{
    std::unique_ptr<Database> target;
    const ToolOutcome opened = StoreAccess::open(to, target);
    const std::optional<QVector<qint64>> counts =
        opened.ok() ? StoreAccess::rowCounts(*target, store) : std::nullopt;
    if (!counts)
        return {StatusCheckFailed,
                QStringLiteral("check failed: the copy was committed, but the target's tables cannot be "
                               "counted again%1")
                    .arg(opened.ok() ? QString() : QStringLiteral(": ") + opened.message)};
    // A table added later counts 0 rows where a store lacks it.
    for (int i = 0; i < store.tables.size(); ++i) {
        if (qMax(counts->at(i), qint64(0)) != qMax(sourceCounts.at(i), qint64(0)))
            return {StatusCheckFailed,
                    QStringLiteral("check failed: table %1 of the target holds %2 rows, the source %3")
                        .arg(store.tables.at(i).name)
                        .arg(counts->at(i))
                        .arg(sourceCounts.at(i))};
    }
    observer.report(QStringLiteral("check: every table of the target holds as many rows as the source"));
    return {};
}

} // namespace

ToolOutcome copyStore(const QString& from, const QString& to, const CopyOptions& options,
                      const CopyObserver& observer)
{
    const DatabaseAddress source = DatabaseAddress::parse(from);
    const DatabaseAddress target = DatabaseAddress::parse(to);
    if (source.sameDatabase(target))
        return {StatusUsage, QStringLiteral("FROM and TO are the same database")};

    // Copying never writes to its source, not even its journal mode.
    std::unique_ptr<Database> sourceDb;
    ToolOutcome outcome = StoreAccess::open(source, sourceDb, StoreAccess::Access::ReadOnly);
    if (!outcome.ok())
        return outcome;
    const bool newFile = target.isMissing();
    std::unique_ptr<Database> targetDb;
    if (!newFile && !(outcome = StoreAccess::open(target, targetDb)).ok())
        return outcome;
    const std::optional<QList<StoreKind>> inSource = StoreAccess::storesHeld(*sourceDb);
    const std::optional<QList<StoreKind>> inTarget =
        newFile ? storesForNewFile(target.database) : StoreAccess::storesHeld(*targetDb);
    if (!inSource || !inTarget)
        return {
            StatusRefused,
            QStringLiteral("%1 stopped answering").arg(StoreAccess::describe(inSource ? target : source))};
    StoreKind kind = StoreKind::Reference;
    outcome = chooseStore(*inSource, *inTarget, options, source, target, kind);
    if (!outcome.ok())
        return outcome;
    const StoreLayout& store = StoreLayout::of(kind);

    // All reads of the source see one version of it.
    ReadTransaction snapshot(sourceDb.get());
    const std::optional<QVector<qint64>> sourceCounts = StoreAccess::rowCounts(*sourceDb, store);
    if (!sourceCounts)
        return {StatusRefused, QStringLiteral("the source's tables cannot be counted")};

    const QString working = target.database + QStringLiteral(".copying");
    if (newFile) {
        Database::removeFile(working); // left by a copy that was killed
        if (const Result<void> made = Database::createStores(DatabaseAddress::file(working), {store.schema});
            !made)
            return StoreAccess::outcomeOf(working, made.failure());
        if (!(outcome = StoreAccess::open(DatabaseAddress::file(working), targetDb)).ok()) {
            Database::removeFile(working);
            return outcome;
        }
    }
    outcome = copyAndCommit(*sourceDb, *targetDb, store, *sourceCounts, options, observer);
    targetDb.reset();
    if (newFile) {
        if (outcome.ok() && !QFile::rename(working, target.database))
            outcome = {StatusRefused, QStringLiteral("cannot rename %1 to %2").arg(working, target.database)};
        Database::removeFile(working);
    }
    if (!outcome.ok())
        return outcome;
    return checkCounts(target, store, *sourceCounts, observer);
}
