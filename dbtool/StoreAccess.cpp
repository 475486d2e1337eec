#include "StoreAccess.h"

#include "WriteAttempt.h"

#include "Database.h"
#include "DatabaseFailure.h"
#include "QueryTable.h"
#include "ToolExit.h"

namespace StoreAccess {

QString describe(const DatabaseAddress& address)
{
    return address.shown();
}

ToolOutcome outcomeOf(const QString& what, const DatabaseFailure& failure)
{
    const ToolExit exit = ToolExitFor(what, failure);
    return {ToolStatus(exit.status), exit.line};
}

ToolOutcome open(const DatabaseAddress& address, std::unique_ptr<Database>& db, Access access)
{
    Result<std::unique_ptr<Database>> opened =
        access == Access::ReadOnly ? Database::openReadOnly(address, {}) : Database::open(address, {});
    if (opened) {
        db = std::move(opened.value());
        return {};
    }
    db.reset();
    const DatabaseFailure& failure = opened.failure();
    // A server that answers but lacks the programs' tables was not set up;
    // one that could not be reached is not asked a second time.
    if (address.isMadeApart() && !failure.notConnected &&
        Database::peekCount(address, QStringLiteral("SELECT 1")))
        return {StatusNotAStore, QStringLiteral("%1 has no store tables; run frostpick-db init on it first")
                                     .arg(describe(address))};
    if (failure.passwordRequired)
        return {StatusRefused, QStringLiteral("%1: the server wants a password; give it in ~/.pgpass or "
                                              "PGPASSWORD (frostpick-db never asks for one)")
                                   .arg(describe(address))};
    return outcomeOf(describe(address), failure);
}

bool lacks(Database& db, const StoreTable& table)
{
    // Asked of the catalogue: a failed count would end a server's transaction.
    return table.addedLater && db.columnsOf(table.name).valueOr({}).isEmpty();
}

std::optional<QVector<qint64>> rowCounts(Database& db, const StoreLayout& store)
{
    QVector<qint64> counts;
    for (const StoreTable& table : store.tables) {
        if (lacks(db, table)) {
            counts << Lacking;
            continue;
        }
        QueryTable result;
        if (db.query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table.name), result).valueOr(-1) != 1)
            return std::nullopt;
        counts << result.integer(0, 0);
    }
    return counts;
}

std::optional<QList<StoreKind>> storesHeld(Database& db)
{
    QList<StoreKind> held;
    for (StoreKind kind : StoreLayout::kinds()) {
        QueryTable answer;
        if (rowCounts(db, StoreLayout::of(kind)))
            held << kind;
        else if (db.query(QStringLiteral("SELECT 1"), answer).valueOr(-1) != 1)
            return std::nullopt;
    }
    return held;
}

ToolOutcome openHolding(const DatabaseAddress& address, std::unique_ptr<Database>& db,
                        QList<StoreKind>& stores)
{
    ToolOutcome outcome = open(address, db);
    if (!outcome.ok())
        return outcome;
    const std::optional<QList<StoreKind>> held = storesHeld(*db);
    if (!held)
        return {StatusRefused, QStringLiteral("%1 stopped answering").arg(describe(address))};
    if (held->isEmpty())
        return {
            StatusNotAStore,
            QStringLiteral("%1 holds neither the reference nor the orders tables").arg(describe(address))};
    stores = *held;
    return outcome;
}

bool isFresh(const StoreLayout& store, const QVector<qint64>& counts)
{
    for (int i = 0; i < store.tables.size(); ++i) {
        if (counts.at(i) != Lacking && counts.at(i) != store.tables.at(i).seedRows)
            return false;
    }
    return true;
}

ToolOutcome commitWrite(WriteAttempt& attempt, const QString& what,
                        const std::function<void(const QString& line)>& report)
{
    const Result<void> committed = attempt.commit();
    switch (attempt.outcome()) {
    case WriteAttempt::Outcome::Stored:
        return {};
    case WriteAttempt::Outcome::StoredAnswerLost:
        report(QStringLiteral("the connection broke after the commit; %1 is stored").arg(what));
        return {};
    case WriteAttempt::Outcome::Unknown: {
        DatabaseFailure failure = committed.failure();
        failure.outcomeUnknown = true;
        return outcomeOf(QStringLiteral("the connection broke after the commit and the server could not "
                                        "be asked again whether %1 is stored; check once it is back")
                             .arg(what),
                         failure);
    }
    default:
        return outcomeOf(QStringLiteral("the target refused the commit"), committed.failure());
    }
}

} // namespace StoreAccess
