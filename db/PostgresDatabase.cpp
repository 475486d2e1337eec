#include "PostgresDatabase.h"

#include "LiteralBinding.h"
#include "PostgresConnection.h"
#include "PostgresValues.h"
#include "QueryTable.h"
#include "Result.h"
#include "SqlDialect.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QVarLengthArray>
#include <QVector>
#include <cstdlib>
#include <deque>
#include <libpq-fe.h>

using PostgresConnection::ConnectionSettings;
using PostgresConnection::failure;
using PostgresConnection::RoundTripMs;
using PostgresConnection::setError;
using PostgresConnection::settingsOf;
using PostgresValues::Parameters;
using PostgresValues::valueAt;

namespace {

// Creating a store sends its whole script at once.
constexpr int ScriptMs = 120000;
constexpr char ChangeTable[] = "frostpick_change";
const QString ChangeCounter = QStringLiteral("SELECT counter FROM frostpick_change");
// Which tables the database holds, and whether each has a key column.
constexpr char TablesPresent[] =
    "SELECT relname, EXISTS (SELECT 1 FROM pg_attribute WHERE attrelid = pg_class.oid "
    "AND attname = 'pkey' AND NOT attisdropped) FROM pg_class WHERE relkind IN ('r', "
    "'p', 'v') AND pg_table_is_visible(oid)";

void ignoreNotice(void*, const char*) {}

bool commandIs(const PGresult* result, const char* verb)
{
    return qstrncmp(PQcmdStatus(const_cast<PGresult*>(result)), verb, qstrlen(verb)) == 0;
}

// The rows of a result into the table, left as it was without rows.
int tableOf(const PGresult* result, QueryTable& table)
{
    const int rows = PQntuples(result);
    const int columns = PQnfields(result);
    if (rows > 0) {
        QVarLengthArray<Oid, 64> types;
        for (int c = 0; c < columns; ++c)
            types.append(PQftype(result, c));
        QVector<QVariant> cells;
        cells.reserve(qsizetype(rows) * columns);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c)
                cells.append(valueAt(result, r, c, types[c]));
        }
        table.assign(rows, columns, std::move(cells));
    }
    return rows;
}

// The change counter's value in its answer; -1 when it was not read.
qint64 counterIn(const PGresult* result)
{
    return result && PQntuples(result) == 1 ? valueAt(result, 0, 0).toLongLong() : -1;
}

} // namespace

void PostgresDatabase::ResultDeleter::operator()(pg_result* result) const
{
    PQclear(result);
}

PostgresDatabase::PostgresDatabase(QString server, QString database)
    : m_server(std::move(server)), m_database(std::move(database))
{}

PostgresDatabase::~PostgresDatabase()
{
    PQfinish(m_conn);
}

DatabaseFailure PostgresDatabase::serverFailure(const char* sqlState, QString text,
                                                const QString& detail) const
{
    text.replace(QLatin1String("{server}"), m_server).replace(QLatin1String("{database}"), m_database);
    return failure(sqlState, text + detail);
}

std::unique_ptr<PostgresDatabase> PostgresDatabase::connect(const DatabaseAddress& address, bool readOnly,
                                                            DatabaseFailure* error)
{
    const std::optional<ConnectionSettings> settings = settingsOf(address, readOnly, error);
    if (!settings)
        return nullptr;
    std::unique_ptr<PostgresDatabase> result(new PostgresDatabase(settings->server(), settings->database()));
    result->m_connection = address.database;
    QString cause;
    result->m_conn = PostgresConnection::connectWithin(*settings, RoundTripMs, &cause);
    if (PQstatus(result->m_conn) != CONNECTION_OK) {
        const QByteArray state = result->m_conn ? PostgresConnection::refusalState(result->m_conn) : "08001";
        DatabaseFailure e = result->serverFailure(
            state.constData(),
            state == "08001" ? QStringLiteral("Нет связи с сервером {server} (база данных {database}): ")
                             : QStringLiteral("Сервер {server} не открыл базу данных {database}: "),
            cause);
        e.passwordRequired = result->m_conn && PQconnectionNeedsPassword(result->m_conn);
        e.notConnected = true;
        setError(error, e);
        return nullptr;
    }
    PQsetNoticeProcessor(result->m_conn, &ignoreNotice, nullptr);
    PQsetnonblocking(result->m_conn, 1);
    return result;
}

std::unique_ptr<Database> PostgresDatabase::open(const DatabaseAddress& address,
                                                 const QStringList& requiredTables, bool readOnly,
                                                 DatabaseFailure* error, ResultReuse reuse,
                                                 const QStringList& reads)
{
    std::unique_ptr<PostgresDatabase> db = connect(address, readOnly, error);
    if (!db)
        return nullptr;
    db->m_kept.setReuse(reuse);
    if (!db->readAhead(reads, true, error) || !db->requireTables(requiredTables, error))
        return nullptr;
    return db;
}

::Result<bool> PostgresDatabase::serves(const DatabaseAddress& address, const QStringList& requiredTables)
{
    if (!address.sameDatabase(DatabaseAddress::server(m_connection)))
        return false;
    const QStringList missing = missingTables(requiredTables);
    if (!missing.isEmpty())
        return missingTable(missing.first()).at(address);
    m_requiredTables << requiredTables;
    return true;
}

::Result<std::unique_ptr<Database>> PostgresDatabase::openBeside(const DatabaseAddress& address,
                                                                 const QStringList& requiredTables)
{
    if (address.engine != DatabaseEngine::PostgreSQL || address.database != m_connection)
        return Database::openBeside(address, requiredTables);
    DatabaseFailure failure;
    std::unique_ptr<PostgresDatabase> db = connect(address, false, &failure);
    if (!db)
        return failure.at(address);
    db->m_tablesFound = m_tablesFound;
    db->m_keyedTables = m_keyedTables;
    if (!db->requireTables(requiredTables, &failure))
        return failure.at(address);
    return std::unique_ptr<Database>(std::move(db));
}

// Refuses a database without every table named (and the change counter's),
// asking the server which it holds unless this connection knows already.
bool PostgresDatabase::requireTables(const QStringList& tables, DatabaseFailure* error)
{
    m_requiredTables = tables;
    m_requiredTables << QLatin1String(ChangeTable);
    if (m_tablesFound.isEmpty() && !readTables(error))
        return false;
    const QStringList missing = missingTables(m_requiredTables);
    if (!missing.isEmpty()) {
        setError(error, missingTable(missing.first()));
        return false;
    }
    setError(error, {});
    return true;
}

DatabaseFailure PostgresDatabase::missingTable(const QString& table) const
{
    return serverFailure("42P01", QStringLiteral("В базе данных {database} на сервере {server} нет таблицы "),
                         table);
}

bool PostgresDatabase::readTables(DatabaseFailure* error)
{
    const Result present = run(TablesPresent, {}, error);
    if (!present)
        return false;
    takeTables(present.get());
    return true;
}

void PostgresDatabase::takeTables(const PGresult* present)
{
    m_tablesFound.clear();
    m_keyedTables.clear();
    for (int r = 0; r < PQntuples(present); ++r) {
        m_tablesFound << QString::fromUtf8(PQgetvalue(present, r, 0));
        if (*PQgetvalue(present, r, 1) == 't')
            m_keyedTables.insert(m_tablesFound.last());
    }
}

QStringList PostgresDatabase::missingTables(const QStringList& tables) const
{
    QStringList missing;
    for (const QString& table : tables) {
        // Unquoted names are stored folded to lower case.
        if (!m_tablesFound.contains(table.toLower()))
            missing << table;
    }
    return missing;
}

// Runs the steps as one request; the last step's result, or nothing with the
// first error.
PostgresDatabase::Result PostgresDatabase::single(std::vector<Step> steps, int timeoutMs,
                                                  DatabaseFailure* error)
{
    std::vector<Answer> answers;
    if (!exchange(std::move(steps), true, answers, timeoutMs, error))
        return {};
    for (Answer& answer : answers) {
        if (answer.error.fromEngine()) {
            setError(error, answer.error);
            return {};
        }
    }
    setError(error, {});
    return std::move(answers.back().result);
}

PostgresDatabase::Result PostgresDatabase::run(const QByteArray& sql, const QVariantList& values,
                                               DatabaseFailure* error)
{
    settle();
    const Parameters p(values);
    return single({[&](PGconn* c) {
                      return PQsendQueryParams(c, sql.constData(), p.count(), p.types.constData(),
                                               p.pointers.constData(), nullptr, nullptr, 0);
                  }},
                  RoundTripMs, error);
}

// A statement run prepared: made on the server with its first run, in the
// same request.
struct PostgresDatabase::PreparedRun
{
    PreparedRun(const QString& statement, const QVariantList& values)
        : sql(statement), parameters(values),
          key(statement + QLatin1Char('\0') + QString::fromLatin1(parameters.signature().toHex()))
    {}
    const QString& sql;
    const Parameters parameters;
    const QString key;
    QByteArray name;
    QByteArray text; // empty when the connection has it already
};

// The server forgets the oldest statements only all at once.
bool PostgresDatabase::makeRoomForStatements(DatabaseFailure* error, int adding)
{
    if (!m_statements.full(adding))
        return true;
    if (!run("DEALLOCATE ALL", {}, error))
        return false;
    m_statements.clear();
    return true;
}

void PostgresDatabase::addPrepared(PreparedRun& run, std::vector<Step>& steps, Preparing* preparing)
{
    run.name = m_statements.find(run.key);
    if (run.name.isEmpty() && preparing)
        run.name = preparing->value(run.key);
    if (run.name.isEmpty()) {
        run.name = "frostpick_" + QByteArray::number(++m_statementsMade);
        run.text = SqlDialect::translateForServer(run.sql, m_keyedTables).toUtf8();
        steps.push_back([&run](PGconn* c) {
            return PQsendPrepare(c, run.name.constData(), run.text.constData(), run.parameters.count(),
                                 run.parameters.types.constData());
        });
        if (preparing)
            preparing->insert(run.key, run.name);
    }
    steps.push_back([&run](PGconn* c) {
        return PQsendQueryPrepared(c, run.name.constData(), run.parameters.count(),
                                   run.parameters.pointers.constData(), nullptr, nullptr, 0);
    });
}

// The answer to a prepared run, the failure of its preparation first.
PostgresDatabase::Answer PostgresDatabase::takePrepared(const PreparedRun& run,
                                                        std::vector<Answer>::iterator& answer)
{
    if (!run.text.isEmpty()) {
        if ((answer++)->error.fromEngine())
            return std::move(*(answer - 1));
        m_statements.add(run.key, run.name);
    }
    return std::move(*answer++);
}

PostgresDatabase::Result PostgresDatabase::runPrepared(const QString& sql, const QVariantList& values,
                                                       DatabaseFailure* error)
{
    settle();
    if (!usable(error) || !makeRoomForStatements(error))
        return {};
    PreparedRun prepared(sql, values);
    std::vector<Step> steps;
    addPrepared(prepared, steps);
    std::vector<Answer> answers;
    if (!exchange(std::move(steps), true, answers, RoundTripMs, error))
        return {};
    auto answer = answers.begin();
    Answer result = takePrepared(prepared, answer);
    setError(error, result.error);
    return std::move(result.result);
}

bool PostgresDatabase::runScript(const QString& script, int timeoutMs, DatabaseFailure* error)
{
    settle();
    const QByteArray text = script.toUtf8();
    std::vector<Answer> answers;
    if (!exchange({[&](PGconn* c) { return PQsendQuery(c, text.constData()); }}, false, answers, timeoutMs,
                  error))
        return false;
    setError(error, answers.front().error);
    return !answers.front().error.fromEngine();
}

void PostgresDatabase::setResultReuse(ResultReuse reuse)
{
    m_kept.setReuse(reuse);
}

void PostgresDatabase::beginAction()
{
    m_kept.beginAction();
    m_failedAhead.reset();
}

void PostgresDatabase::prefetch(const QStringList& sqls)
{
    readAhead(sqls, false, nullptr);
}

bool PostgresDatabase::readAhead(const QStringList& sqls, bool readingTables, DatabaseFailure* error)
{
    takeArrivedCommit();
    const bool checkChanges = m_kept.mustCheck(inTransaction());
    // Only what can be kept is read ahead.
    const bool keeping = m_kept.on() && !m_failedAhead && (checkChanges || m_kept.reusable());
    QStringList wanted;
    QSet<QString> seen;
    for (const QString& sql : sqls) {
        if (keeping && !m_kept.contains(sql) && !seen.contains(sql)) {
            seen.insert(sql);
            wanted << sql;
        }
    }
    if ((wanted.isEmpty() && !readingTables) || !usable(error))
        return !readingTables;
    const bool checking = checkChanges && !wanted.isEmpty();
    std::deque<LiteralBinding::BoundStatement> bound;
    std::deque<PreparedRun> runs; // the steps refer to them: they must stay where they are
    if (checking)
        runs.emplace_back(ChangeCounter, QVariantList());
    QSet<QString> forms; // those the connection has not prepared yet
    for (const QString& sql : std::as_const(wanted)) {
        const LiteralBinding::BoundStatement& statement = bound.emplace_back(LiteralBinding::bind(sql));
        if (m_statements.find(runs.emplace_back(statement.text, statement.values).key).isEmpty())
            forms.insert(runs.back().key);
    }
    if (!makeRoomForStatements(error, int(forms.size()) + 1))
        return !readingTables;
    std::vector<Step> steps;
    if (readingTables) {
        steps.push_back([](PGconn* c) {
            return PQsendQueryParams(c, TablesPresent, 0, nullptr, nullptr, nullptr, nullptr, 0);
        });
    }
    Preparing preparing;
    for (PreparedRun& run : runs)
        addPrepared(run, steps, &preparing);
    const bool inSnapshot = m_snapshotDeferred || m_inTransaction;
    std::vector<Answer> answers;
    DatabaseFailure failure;
    if (!exchange(std::move(steps), true, answers, RoundTripMs, &failure)) {
        // A connection found broken is made again by the read that follows;
        // a server that did not answer is not waited for again.
        if (m_timedOut)
            m_failedAhead = failure;
        setError(error, failure);
        return !readingTables;
    }
    auto answer = answers.begin();
    if (readingTables) {
        const Answer present = std::move(*answer++);
        if (present.error.fromEngine()) {
            setError(error, present.error);
            return false;
        }
        takeTables(present.result.get());
    }
    auto run = runs.cbegin();
    if (checking) {
        const Answer check = takePrepared(*run++, answer);
        const qint64 version = counterIn(check.result.get());
        m_kept.checked(version, inTransaction());
        if (version < 0) {
            if (inSnapshot && check.error.fromEngine())
                m_failedAhead = check.error;
            return true;
        }
    }
    for (const QString& sql : std::as_const(wanted)) {
        const Answer result = takePrepared(*run++, answer);
        // The statements after a refused one were not run.
        if (result.error.fromEngine()) {
            if (inSnapshot)
                m_failedAhead = result.error;
            return true;
        }
        QueryTable table;
        keptRows(sql, result.result.get(), table);
    }
    return true;
}

// One request: a read, and before it, when asked, the change counter. Rows
// kept while the counter changed are dropped. Gives the read's result, or
// nothing when there was none or it failed.
PostgresDatabase::Result PostgresDatabase::request(bool checkChanges, const QString* read,
                                                   const QVariantList& values, DatabaseFailure* error)
{
    // A connection made again has forgotten every prepared statement.
    if (!usable(error) || !makeRoomForStatements(error))
        return {};
    PreparedRun counter(ChangeCounter, {});
    std::optional<PreparedRun> statement;
    std::vector<Step> steps;
    if (checkChanges)
        addPrepared(counter, steps);
    if (read)
        addPrepared(statement.emplace(*read, values), steps);
    std::vector<Answer> answers;
    const bool answered = exchange(std::move(steps), true, answers, RoundTripMs, error);
    auto answer = answers.begin();
    if (checkChanges) {
        const qint64 version = answered ? counterIn(takePrepared(counter, answer).result.get()) : -1;
        // Asked after the request: a snapshot begun with it fixed what
        // every later read of it sees.
        m_kept.checked(version, inTransaction());
    }
    if (!answered || !statement)
        return {};
    // A failed check failed the read after it; that goes alone then, as
    // without a check.
    if (checkChanges && !m_kept.reusable() && !m_lost)
        return request(false, read, values, error);
    Answer result = takePrepared(*statement, answer);
    setError(error, result.error);
    return std::move(result.result);
}

// Whether statements run in a transaction: a read snapshot, begun or still to
// begin, or one the caller opened.
bool PostgresDatabase::inTransaction() const
{
    return m_snapshotDeferred ||
           (!m_lost && !m_commitInFlight && PQtransactionStatus(m_conn) == PQTRANS_INTRANS);
}

::Result<int> PostgresDatabase::query(const QString& sql, QueryTable& table)
{
    bool carried = false;
    const bool idleAndLive = !m_inTransaction && !m_lost;
    DatabaseFailure failure;
    int rows = queryOnce(sql, table, &carried, &failure);
    // The start or end of a read snapshot and the change counter go in the
    // same request as the read: a lost connection that they meet first must
    // not fail the read, which goes again on a new connection.
    // A connection that broke while it stood idle (the network dropped, the
    // server restarted) shows it only to its next request: a read outside a
    // transaction goes again on a new connection rather than report a failure
    // that is already over. One that timed out is not asked to wait twice.
    if (rows < 0 && m_lost && (carried || (idleAndLive && !m_timedOut)))
        rows = queryOnce(sql, table, &carried, &failure);
    if (rows < 0)
        return failure;
    return rows;
}

int PostgresDatabase::queryOnce(const QString& sql, QueryTable& table, bool* carried, DatabaseFailure* error)
{
    if (m_failedAhead) {
        setError(error, *m_failedAhead);
        return -1;
    }
    bool checkChanges = m_kept.mustCheck(inTransaction());
    // Rows kept already need only the check; it goes alone.
    if (checkChanges && m_kept.contains(sql)) {
        request(true, nullptr, {}, nullptr);
        checkChanges = false;
    }
    if (!checkChanges && m_kept.reusable()) {
        const int kept = m_kept.give(sql, table);
        if (kept >= 0) {
            setError(error, {});
            return kept;
        }
    }
    takeArrivedCommit();
    *carried = checkChanges || m_snapshotDeferred || m_commitInFlight;
    const LiteralBinding::BoundStatement bound = LiteralBinding::bind(sql);
    const Result result = request(checkChanges, &bound.text, bound.values, error);
    if (!result)
        return -1;
    return keptRows(sql, result.get(), table);
}

// The rows of a read into the table, kept for the reads of the same text.
int PostgresDatabase::keptRows(const QString& sql, const PGresult* result, QueryTable& table)
{
    const int rows = tableOf(result, table);
    if (commandIs(result, "SELECT"))
        m_kept.keep(sql, rows, table);
    return rows;
}

::Result<void> PostgresDatabase::execute(const QString& sql)
{
    m_kept.recheckInTransaction();
    const LiteralBinding::BoundStatement bound = LiteralBinding::bind(sql);
    DatabaseFailure failure;
    const Result result =
        run(SqlDialect::translateForServer(bound.text, m_keyedTables).toUtf8(), bound.values, &failure);
    // Opening or committing a transaction changes no data the kept rows
    // hold; a rollback may take back rows read since a write.
    if (!result || !(commandIs(result.get(), "BEGIN") || commandIs(result.get(), "COMMIT") ||
                     commandIs(result.get(), "SELECT") || commandIs(result.get(), "SET")))
        m_kept.drop();
    if (!result)
        return failure;
    if (commandIs(result.get(), "INSERT") || commandIs(result.get(), "UPDATE") ||
        commandIs(result.get(), "DELETE"))
        m_changedRows = QByteArray(PQcmdTuples(result.get())).toInt();
    return {};
}

::Result<void> PostgresDatabase::executeWith(const QString& sql, const QVariantList& values)
{
    m_kept.recheckInTransaction();
    m_kept.drop();
    DatabaseFailure failure;
    const Result result = run(SqlDialect::translateForServer(sql, m_keyedTables).toUtf8(), values, &failure);
    if (!result)
        return failure;
    m_changedRows = QByteArray(PQcmdTuples(result.get())).toInt();
    return {};
}

qint64 PostgresDatabase::lastInsertKey() const
{
    // Asking the server changes nothing this object shows.
    auto* self = const_cast<PostgresDatabase*>(this);
    const Result r = self->runPrepared(QStringLiteral("SELECT frostpick_last_key()"), {}, nullptr);
    return r && PQntuples(r.get()) == 1 ? valueAt(r.get(), 0, 0).toLongLong() : 0;
}

int PostgresDatabase::changedRows() const
{
    return m_changedRows;
}

::Result<void> PostgresDatabase::begin()
{
    DatabaseFailure failure;
    m_failedAhead.reset();
    // The change counter's row is the write lock: writers take it here, as a
    // file store's writer takes the file's, and wait for each other at once.
    m_kept.drop();
    const QString begin = QStringLiteral("BEGIN; SELECT counter FROM frostpick_change FOR UPDATE");
    const bool live = !m_lost;
    bool begun = runScript(begin, RoundTripMs, &failure);
    // As for a read: nothing was written yet, so a connection found broken
    // by its first request is made again once.
    if (!begun && live && m_lost && !m_timedOut) {
        rollback();
        begun = runScript(begin, RoundTripMs, &failure);
    }
    if (!begun) {
        rollback();
        return failure;
    }
    m_inTransaction = true;
    m_kept.recheckInTransaction();
    return {};
}

::Result<void> PostgresDatabase::commit()
{
    const bool live = !m_lost;
    DatabaseFailure failure;
    const Result result = run("COMMIT", {}, &failure);
    failure.answerLost = !result && live && m_lost;
    if (!result)
        return failure;
    // A transaction a failed statement spoiled ends in a rollback.
    if (commandIs(result.get(), "ROLLBACK"))
        return serverFailure("25P02", QStringLiteral("Транзакция отменена сервером {server} из-за ошибки"));
    m_inTransaction = false;
    return {};
}

void PostgresDatabase::rollback()
{
    m_failedAhead.reset();
    m_kept.drop();
    if (!m_lost)
        run("ROLLBACK", {}, nullptr);
    m_inTransaction = false;
}

// The snapshot begins with the first statement that reaches the server: the
// server fixes what a snapshot sees at its first statement, not at BEGIN.
bool PostgresDatabase::beginRead()
{
    if (m_inTransaction || m_snapshotDeferred)
        return false;
    m_snapshotDeferred = true;
    m_kept.recheckInTransaction();
    return true;
}

void PostgresDatabase::endRead()
{
    m_failedAhead.reset();
    const bool begun = m_inTransaction;
    m_snapshotDeferred = false;
    m_inTransaction = false;
    if (begun && !m_lost)
        sendCommitAhead();
}

bool PostgresDatabase::keepsWriteTokens() const
{
    // The tables are read when the connection is opened; until then a write
    // is taken to find the table.
    return m_tablesFound.isEmpty() || m_tablesFound.contains(QLatin1String("frostpick_write"));
}

::Result<QStringList> PostgresDatabase::columnsOf(const QString& table)
{
    DatabaseFailure failure;
    const Result result =
        run("SELECT attname FROM pg_attribute WHERE attrelid = to_regclass($1) AND attnum > 0 "
            "AND NOT attisdropped ORDER BY attnum",
            {table}, &failure);
    if (!result)
        return failure;
    QStringList columns;
    for (int r = 0; r < PQntuples(result.get()); ++r)
        columns << QString::fromUtf8(PQgetvalue(result.get(), r, 0));
    return columns;
}

::Result<QList<QStringList>> PostgresDatabase::columnsOfEach(const QStringList& tables)
{
    if (tables.isEmpty())
        return QList<QStringList>();
    QStringList named;
    QVariantList names;
    for (const QString& table : tables) {
        names << table;
        named << QStringLiteral("(%1, $%1::text)").arg(names.size());
    }
    const QByteArray sql = "SELECT t.n, a.attname FROM (VALUES " + named.join(u", ").toUtf8() +
                           ") AS t(n, name) JOIN pg_attribute a ON a.attrelid = to_regclass(t.name) "
                           "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY t.n, a.attnum";
    // A read: a snapshot begun before it begins in the same request.
    const Parameters p(names);
    DatabaseFailure failure;
    const Result result =
        single({[&](PGconn* c) {
                   return PQsendQueryParams(c, sql.constData(), p.count(), p.types.constData(),
                                            p.pointers.constData(), nullptr, nullptr, 0);
               }},
               RoundTripMs, &failure);
    if (!result)
        return failure;
    QList<QStringList> columns(tables.size());
    for (int r = 0; r < PQntuples(result.get()); ++r)
        columns[std::atoi(PQgetvalue(result.get(), r, 0)) - 1]
            << QString::fromUtf8(PQgetvalue(result.get(), r, 1));
    return columns;
}

::Result<bool> PostgresDatabase::holdsTable(const QString& table)
{
    if (m_tablesFound.isEmpty())
        return Database::holdsTable(table);
    return missingTables({table}).isEmpty();
}

::Result<void> PostgresDatabase::checkIntegrity()
{
    DatabaseFailure failure;
    if (!readTables(&failure))
        return failure;
    const QStringList missing = missingTables(m_requiredTables);
    const Result counter = run("SELECT counter FROM frostpick_change", {}, &failure);
    if (!counter)
        return failure;
    if (!missing.isEmpty() || PQntuples(counter.get()) != 1)
        return serverFailure("XX001", QStringLiteral("В базе данных {database} на сервере {server} нет "),
                             (missing.isEmpty() ? QStringLiteral("счётчика изменений")
                                                : QStringLiteral("таблицы ") + missing.first()));
    return {};
}

std::optional<QStringList> PostgresDatabase::readScripts(const QStringList& scriptFiles,
                                                         DatabaseFailure* error)
{
    QStringList scripts;
    for (const QString& file :
         QStringList{QStringLiteral(":/frostpick-db/postgres_support.sql")} + scriptFiles) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            setError(error, failure("58030", QStringLiteral("Не удалось прочитать %1").arg(file)));
            return std::nullopt;
        }
        scripts << QString::fromUtf8(f.readAll());
    }
    return scripts;
}

bool PostgresDatabase::create(const DatabaseAddress& address, const QStringList& scriptFiles,
                              DatabaseFailure* error)
{
    const std::optional<QStringList> scripts = readScripts(scriptFiles, error);
    if (!scripts)
        return false;
    const QString script = scripts->join(QLatin1Char('\n'));
    std::unique_ptr<PostgresDatabase> db = connect(address, false, error);
    if (!db)
        return false;
    // The sort keys compare UTF-8 bytes.
    if (qstrcmp(PQparameterStatus(db->m_conn, "server_encoding"), "UTF8") != 0) {
        setError(error,
                 db->serverFailure("22021",
                                   QStringLiteral("База данных {database} на сервере {server} не в кодировке "
                                                  "UTF8")));
        return false;
    }
    static const QRegularExpression createTable(QStringLiteral("CREATE\\s+TABLE\\s+(?!IF\\s)(\\w+)"),
                                                QRegularExpression::CaseInsensitiveOption);
    QStringList tables;
    for (auto it = createTable.globalMatch(script); it.hasNext();)
        tables << it.next().captured(1);
    if (!db->readTables(error))
        return false;
    if (db->missingTables(tables).size() != tables.size()) {
        setError(error, db->serverFailure(
                            "42P07", QStringLiteral("В базе данных {database} на сервере {server} уже есть "
                                                    "таблицы этого хранилища; она не изменена")));
        return false;
    }
    // All or nothing.
    db->m_inTransaction = true;
    bool ok = db->runScript(QStringLiteral("BEGIN;\n") + script, ScriptMs, error);
    ok = ok && PostgresConnection::done(db->commit(), error);
    if (!ok)
        db->rollback();
    return ok;
}

bool PostgresDatabase::checkAddress(const DatabaseAddress& address, DatabaseFailure* error)
{
    return settingsOf(address, false, error).has_value();
}

std::optional<qint64> PostgresDatabase::peekCount(const DatabaseAddress& address, const QString& sql,
                                                  DatabaseFailure* error)
{
    const std::unique_ptr<PostgresDatabase> db = connect(address, true, error);
    QueryTable table;
    if (!db)
        return std::nullopt;
    const ::Result<int> rows = db->query(sql, table);
    if (!PostgresConnection::done(rows, error) || rows.value() < 1)
        return std::nullopt;
    return table.integer(0, 0);
}
