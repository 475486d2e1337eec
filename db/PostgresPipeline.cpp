#include "PostgresConnection.h"
#include "PostgresDatabase.h"

#include <QDeadlineTimer>
#include <libpq-fe.h>
#include <sys/socket.h>

// The request pipeline of a server connection: one request, with the work
// deferred to it, sent and answered within a deadline, and what a lost
// connection leaves. Its state is six flags that change together:
// - m_lost: set by failed() when the connection broke or the server did not
//   answer in time; cleared only by usable() once it has connected again,
//   which also forgets the prepared statements, the kept rows and any COMMIT
//   in flight.
// - m_timedOut: set with m_lost when the server did not answer in time
//   rather than broke the connection; a read or begin() found broken goes
//   again once on a new connection only when it is clear.
// - m_inTransaction: a transaction is open on the server (begin(), or a read
//   snapshot whose BEGIN was answered). A lost connection leaves it set, so
//   usable() connects again only after rollback() or endRead() cleared it:
//   a transaction that lost its connection fails as a whole.
// - m_snapshotDeferred: beginRead() was called and no request has carried
//   its BEGIN yet. exchange() clears it, setting m_inTransaction, only when
//   the request was answered, so a failed one leaves the snapshot to begin
//   with the next request: a retry reads in it, not in autocommit.
// - m_commitInFlight: endRead() sent the snapshot's COMMIT without waiting;
//   the next request reads its answer first. failed() clears it.
// - the kept rows' check in a transaction (m_kept): the change counter was
//   read in the transaction open now; a new transaction and any statement
//   other than a read make the next read in a transaction read it again.

using PostgresConnection::completeConnection;
using PostgresConnection::failure;
using PostgresConnection::RoundTripMs;
using PostgresConnection::setError;
using PostgresConnection::waitFor;
using PostgresConnection::whyNotConnected;

bool PostgresDatabase::usable(DatabaseFailure* error)
{
    if (!m_conn) {
        setError(error, failure("08003", QStringLiteral("База данных не открыта")));
        return false;
    }
    if (!m_lost)
        return true;
    // The server has already ended the transaction; going on in a new
    // connection would write half of it.
    if (m_inTransaction) {
        setError(error, serverFailure("08006", QStringLiteral("Связь с сервером {server} прервалась посреди "
                                                              "транзакции, её изменения не сохранены")));
        return false;
    }
    if (!PQresetStart(m_conn) || !completeConnection(m_conn, PQresetPoll, QDeadlineTimer(RoundTripMs))) {
        setError(error,
                 serverFailure("08001",
                               QStringLiteral("Нет связи с сервером {server} (база данных {database}): "),
                               whyNotConnected(m_conn, RoundTripMs)));
        return false;
    }
    PQsetnonblocking(m_conn, 1);
    if (PQpipelineStatus(m_conn) != PQ_PIPELINE_OFF)
        PQexitPipelineMode(m_conn);
    m_lost = false;
    m_commitInFlight = false;
    m_statements.clear();
    m_kept.forget();
    return true;
}

// Sends the steps as one request and reads the answer to each within
// timeoutMs. Pipelined, each step is a statement of its own, all of them in
// one sync (a failed one fails those after it); the answer to a COMMIT still
// in flight is read first, and a deferred read snapshot begins with the
// request. Otherwise there is one step, which may hold several statements.
// Returns false, with m_lost set, when the connection failed or the server
// did not answer.
bool PostgresDatabase::exchange(std::vector<Step> steps, bool pipelined, std::vector<Answer>& answers,
                                int timeoutMs, DatabaseFailure* error)
{
    answers.clear();
    if (!usable(error))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    takeArrivedCommit();
    // A snapshot whose BEGIN went with a request that failed has read
    // nothing: it stays to begin with the next request, so that a retry reads
    // in it, not in autocommit.
    const bool begins = m_snapshotDeferred;
    if (begins) {
        steps.insert(steps.begin(), [](PGconn* c) {
            return PQsendQueryParams(c, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", 0, nullptr,
                                     nullptr, nullptr, nullptr, 0);
        });
    }
    if (pipelined && PQpipelineStatus(m_conn) == PQ_PIPELINE_OFF && !PQenterPipelineMode(m_conn))
        return failed(Outcome::Lost, timeoutMs, error);
    for (const Step& step : steps) {
        if (!step(m_conn))
            return failed(Outcome::Lost, timeoutMs, error);
    }
    // libpq sends at the sync.
    if (pipelined && !PQpipelineSync(m_conn))
        return failed(Outcome::Lost, timeoutMs, error);
    Outcome outcome = flush(deadline);
    if (outcome == Outcome::Answered && m_commitInFlight) {
        // Nothing was written in that snapshot: how its end went matters not.
        Answer commit;
        outcome = readAnswer(deadline, commit);
        if (outcome == Outcome::Answered)
            outcome = readSync(deadline);
        m_commitInFlight = false;
    }
    answers.resize(steps.size());
    for (Answer& answer : answers) {
        if (outcome == Outcome::Answered)
            outcome = readAnswer(deadline, answer);
    }
    if (outcome == Outcome::Answered && pipelined)
        outcome = readSync(deadline);
    if (outcome == Outcome::Answered && PQpipelineStatus(m_conn) != PQ_PIPELINE_OFF &&
        !PQexitPipelineMode(m_conn))
        outcome = Outcome::Lost;
    if (outcome != Outcome::Answered)
        return failed(outcome, timeoutMs, error);
    if (begins) {
        m_snapshotDeferred = false;
        m_inTransaction = !answers.front().error.fromEngine();
        m_kept.recheckInTransaction();
        answers.erase(answers.begin());
    }
    return true;
}

PostgresDatabase::Outcome PostgresDatabase::flush(const QDeadlineTimer& deadline)
{
    int flushed;
    while ((flushed = PQflush(m_conn)) == 1) {
        if (!waitFor(m_conn, true, deadline))
            return Outcome::Silent;
    }
    return flushed < 0 ? Outcome::Lost : Outcome::Answered;
}

PostgresDatabase::Outcome PostgresDatabase::awaitResult(const QDeadlineTimer& deadline)
{
    while (PQisBusy(m_conn)) {
        if (!waitFor(m_conn, false, deadline))
            return Outcome::Silent;
        if (!PQconsumeInput(m_conn))
            return Outcome::Lost;
    }
    return Outcome::Answered;
}

// Reads the results of one statement of a pipeline, or of one request that
// is not.
PostgresDatabase::Outcome PostgresDatabase::readAnswer(const QDeadlineTimer& deadline, Answer& answer)
{
    for (;;) {
        if (const Outcome waited = awaitResult(deadline); waited != Outcome::Answered)
            return waited;
        Result next(PQgetResult(m_conn));
        if (!next)
            return PQstatus(m_conn) == CONNECTION_BAD ? Outcome::Lost : Outcome::Answered;
        switch (PQresultStatus(next.get())) {
        case PGRES_PIPELINE_SYNC:
            return Outcome::Lost; // out of step with the server
        case PGRES_FATAL_ERROR:
        case PGRES_BAD_RESPONSE:
        case PGRES_PIPELINE_ABORTED:
            if (!answer.error.fromEngine()) {
                const char* state = PQresultErrorField(next.get(), PG_DIAG_SQLSTATE);
                answer.error =
                    failure(state ? state : "08006", QString::fromUtf8(PQresultErrorMessage(next.get())));
            }
            break;
        default:
            answer.result = std::move(next);
        }
    }
}

// Reads the end of a pipeline.
PostgresDatabase::Outcome PostgresDatabase::readSync(const QDeadlineTimer& deadline)
{
    if (const Outcome waited = awaitResult(deadline); waited != Outcome::Answered)
        return waited;
    const Result sync(PQgetResult(m_conn));
    return sync && PQresultStatus(sync.get()) == PGRES_PIPELINE_SYNC ? Outcome::Answered : Outcome::Lost;
}

// The connection is given up: the next action connects again. A server that
// did not answer in time is asked to cancel the statement, so that it cannot
// complete later, and gets its connection closed under libpq.
bool PostgresDatabase::failed(Outcome outcome, int timeoutMs, DatabaseFailure* error)
{
    m_lost = true;
    m_timedOut = outcome == Outcome::Silent;
    m_commitInFlight = false;
    if (outcome == Outcome::Silent) {
        PostgresConnection::requestCancel(m_conn);
        ::shutdown(PQsocket(m_conn), SHUT_RDWR);
        setError(error, serverFailure("08006", QStringLiteral(
                                                   "Сервер {server} не ответил за %1 с, связь с ним прервана")
                                                   .arg(timeoutMs / 1000)));
    } else {
        setError(error, serverFailure("08006", QStringLiteral("Связь с сервером {server} прервалась: "),
                                      QString::fromUtf8(PQerrorMessage(m_conn))));
    }
    return false;
}

// Before a request that must not be repeated, the deferred work goes on its
// own, so that a loss it meets never costs that request: the snapshot begins
// (or is given up), the answer to its end is read. Their failures stay silent.
void PostgresDatabase::settle()
{
    if (m_snapshotDeferred || m_commitInFlight) {
        std::vector<Answer> answers;
        exchange({}, true, answers, RoundTripMs, nullptr);
    }
}

// A read snapshot ends without waiting: its COMMIT goes now and its answer is
// read with the next request.
void PostgresDatabase::sendCommitAhead()
{
    if ((PQpipelineStatus(m_conn) == PQ_PIPELINE_OFF && !PQenterPipelineMode(m_conn)) ||
        !PQsendQueryParams(m_conn, "COMMIT", 0, nullptr, nullptr, nullptr, nullptr, 0) ||
        !PQpipelineSync(m_conn) || flush(QDeadlineTimer(RoundTripMs)) != Outcome::Answered) {
        failed(Outcome::Lost, RoundTripMs, nullptr);
        return;
    }
    m_commitInFlight = true;
}

// The answer to the COMMIT in flight, when it is here already, is read before
// anything goes after it: a connection lost since then fails the next
// request.
void PostgresDatabase::takeArrivedCommit()
{
    if (!m_commitInFlight)
        return;
    PQconsumeInput(m_conn);
    if (PQisBusy(m_conn))
        return;
    const QDeadlineTimer deadline(RoundTripMs);
    Answer commit;
    if (readAnswer(deadline, commit) == Outcome::Answered)
        readSync(deadline);
    m_commitInFlight = false;
}
