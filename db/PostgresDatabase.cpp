#include "PostgresDatabase.h"

#include "LiteralBinding.h"
#include "PostgresConnection.h"
#include "PostgresValues.h"
#include "QueryTable.h"
#include "SqlDialect.h"

#include <QAtomicInt>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVector>
#include <libpq-fe.h>
#include <sys/socket.h>

using PostgresConnection::completeConnection;
using PostgresConnection::ConnectionSettings;
using PostgresConnection::failure;
using PostgresConnection::setError;
using PostgresConnection::settingsOf;
using PostgresConnection::waitFor;
using PostgresValues::Parameters;
using PostgresValues::valueAt;

namespace {

// Each round trip waits at most this long: a server that stopped answering
// must not freeze the program. Lock waits end earlier on the server, so a
// busy database reports itself as such while the connection stays usable.
constexpr int RoundTripMs = 10000;
// Creating a store sends its whole script at once.
constexpr int ScriptMs = 120000;
constexpr int MaxPreparedStatements = 128;
constexpr int MaxKeptResults = 8192;
constexpr char ChangeTable[] = "frostpick_change";

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("frostpick-pg-%1").arg(counter.fetchAndAddRelaxed(1));
}

PGconn* handleOf(const QSqlDatabase& db)
{
    const QVariant v = db.driver()->handle();
    // Qt registers the handle under the typedef's name or the struct's.
    if (v.isValid() && (qstrcmp(v.typeName(), "PGconn*") == 0 || qstrcmp(v.typeName(), "pg_conn*") == 0))
        return *static_cast<PGconn* const*>(v.constData());
    return nullptr;
}

void ignoreNotice(void*, const char*) {}

bool commandIs(const PGresult* result, const char* verb)
{
    return qstrncmp(PQcmdStatus(const_cast<PGresult*>(result)), verb, qstrlen(verb)) == 0;
}

} // namespace

void PostgresDatabase::ResultDeleter::operator()(pg_result* result) const
{
    PQclear(result);
}

PostgresDatabase::PostgresDatabase(QString connectionName, QString server, QString database)
    : m_connectionName(std::move(connectionName)), m_server(std::move(server)),
      m_database(std::move(database))
{}

PostgresDatabase::~PostgresDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

DbError PostgresDatabase::serverFailure(const char* sqlState, QString text, const QString& detail) const
{
    text.replace(QLatin1String("{server}"), m_server).replace(QLatin1String("{database}"), m_database);
    return failure(sqlState, text + detail);
}

std::unique_ptr<PostgresDatabase> PostgresDatabase::connect(const DatabaseAddress& address, bool readOnly,
                                                            DbError* error)
{
    const QDeadlineTimer deadline(RoundTripMs);
    const std::optional<ConnectionSettings> settings = settingsOf(address, readOnly, error);
    if (!settings)
        return nullptr;
    std::unique_ptr<PostgresDatabase> result(
        new PostgresDatabase(nextConnectionName(), settings->server(), settings->database()));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), result->m_connectionName);
    settings->applyTo(db);
    if (!db.open()) {
        DbError e = result->serverFailure(
            "08001", QStringLiteral("Нет связи с сервером {server} (база данных {database}): "),
            db.lastError().databaseText());
        e.passwordRequired = passwordWanted(*settings, deadline);
        setError(error, e);
        return nullptr;
    }
    result->m_conn = handleOf(db);
    if (!result->m_conn) {
        setError(error, failure("08001", QStringLiteral("Драйвер Qt для PostgreSQL не дал соединения")));
        return nullptr;
    }
    PQsetNoticeProcessor(result->m_conn, &ignoreNotice, nullptr);
    PQsetnonblocking(result->m_conn, 1);
    return result;
}

std::unique_ptr<Database> PostgresDatabase::open(const DatabaseAddress& address,
                                                 const QStringList& requiredTables, DbError* error)
{
    std::unique_ptr<PostgresDatabase> db = connect(address, false, error);
    if (!db)
        return nullptr;
    db->m_requiredTables = requiredTables;
    db->m_requiredTables << QLatin1String(ChangeTable);
    const std::optional<QStringList> missing = db->missingTables(db->m_requiredTables, error);
    if (!missing)
        return nullptr;
    if (!missing->isEmpty()) {
        setError(error,
                 db->serverFailure(
                     "42P01", QStringLiteral("В базе данных {database} на сервере {server} нет таблицы "),
                     missing->first()));
        return nullptr;
    }
    setError(error, {});
    return db;
}

std::optional<QStringList> PostgresDatabase::missingTables(const QStringList& tables, DbError* error)
{
    const Result present = run("SELECT relname FROM pg_class WHERE relkind IN ('r', 'p', 'v') AND "
                               "pg_table_is_visible(oid)",
                               {}, error);
    if (!present)
        return std::nullopt;
    QStringList names;
    for (int r = 0; r < PQntuples(present.get()); ++r)
        names << QString::fromUtf8(PQgetvalue(present.get(), r, 0));
    QStringList missing;
    for (const QString& table : tables) {
        // Unquoted names are stored folded to lower case.
        if (!names.contains(table.toLower()))
            missing << table;
    }
    return missing;
}

bool PostgresDatabase::usable(DbError* error)
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
        const QString cause = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        setError(error,
                 serverFailure("08001",
                               QStringLiteral("Нет связи с сервером {server} (база данных {database}): "),
                               cause.endsWith(QLatin1String("failed:")) || cause.isEmpty()
                                   ? cause + QStringLiteral(" нет ответа за %1 с").arg(RoundTripMs / 1000)
                                   : cause));
        return false;
    }
    PQsetnonblocking(m_conn, 1);
    m_lost = false;
    m_statements.clear();
    m_memo.clear();
    m_memoVersion = -1;
    return true;
}

// Sends one request and collects its results within timeoutMs. Returns the
// last result, or nothing with the first error.
template <typename Send>
PostgresDatabase::Result PostgresDatabase::exchange(Send&& send, int timeoutMs, DbError* error)
{
    if (!usable(error))
        return {};
    const QDeadlineTimer deadline(timeoutMs);
    const auto lost = [&] {
        m_lost = true;
        setError(error, serverFailure("08006", QStringLiteral("Связь с сервером {server} прервалась: "),
                                      QString::fromUtf8(PQerrorMessage(m_conn))));
        return Result();
    };
    // No answer in time: the connection is closed under libpq, so that the
    // server, once it wakes, ends the statement, and the next action starts
    // afresh.
    const auto silent = [&] {
        m_lost = true;
        ::shutdown(PQsocket(m_conn), SHUT_RDWR);
        setError(error, serverFailure("08006", QStringLiteral(
                                                   "Сервер {server} не ответил за %1 с, связь с ним прервана")
                                                   .arg(timeoutMs / 1000)));
        return Result();
    };
    if (!send(m_conn))
        return lost();
    int flushed;
    while ((flushed = PQflush(m_conn)) == 1) {
        if (!waitFor(m_conn, true, deadline))
            return silent();
    }
    if (flushed < 0)
        return lost();
    Result last;
    DbError first;
    for (;;) {
        while (PQisBusy(m_conn)) {
            if (!waitFor(m_conn, false, deadline))
                return silent();
            if (!PQconsumeInput(m_conn))
                return lost();
        }
        Result next(PQgetResult(m_conn));
        if (!next)
            break;
        const ExecStatusType status = PQresultStatus(next.get());
        if ((status == PGRES_FATAL_ERROR || status == PGRES_BAD_RESPONSE) && !first.isError()) {
            const char* state = PQresultErrorField(next.get(), PG_DIAG_SQLSTATE);
            first = failure(state ? state : "08006", QString::fromUtf8(PQresultErrorMessage(next.get())));
        }
        last = std::move(next);
    }
    if (PQstatus(m_conn) == CONNECTION_BAD) {
        m_lost = true;
        setError(error, serverFailure("08006", QStringLiteral("Связь с сервером {server} прервалась: "),
                                      first.isError() ? first.description
                                                      : QString::fromUtf8(PQerrorMessage(m_conn))));
        return {};
    }
    setError(error, first);
    return first.isError() ? Result() : std::move(last);
}

PostgresDatabase::Result PostgresDatabase::run(const QByteArray& sql, const QVariantList& values,
                                               DbError* error)
{
    const Parameters p(values);
    return exchange(
        [&](PGconn* c) {
            return PQsendQueryParams(c, sql.constData(), p.count(), p.types.constData(),
                                     p.pointers.constData(), nullptr, nullptr, 0);
        },
        RoundTripMs, error);
}

PostgresDatabase::Result PostgresDatabase::runPrepared(const QString& sql, const QVariantList& values,
                                                       DbError* error)
{
    // A connection made again has forgotten every prepared statement.
    if (!usable(error))
        return {};
    const Parameters p(values);
    const QString key = sql + QLatin1Char('\0') + QString::fromLatin1(p.signature().toHex());
    QByteArray name = m_statements.value(key);
    if (name.isEmpty()) {
        if (m_statements.size() >= MaxPreparedStatements) {
            if (!run("DEALLOCATE ALL", {}, error))
                return {};
            m_statements.clear();
        }
        name = "frostpick_" + QByteArray::number(++m_statementsMade);
        const QByteArray text = SqlDialect::translateForServer(sql).toUtf8();
        if (!exchange(
                [&](PGconn* c) {
                    return PQsendPrepare(c, name.constData(), text.constData(), p.count(),
                                         p.types.constData());
                },
                RoundTripMs, error))
            return {};
        m_statements.insert(key, name);
    }
    return exchange(
        [&](PGconn* c) {
            return PQsendQueryPrepared(c, name.constData(), p.count(), p.pointers.constData(), nullptr,
                                       nullptr, 0);
        },
        RoundTripMs, error);
}

bool PostgresDatabase::runScript(const QString& script, int timeoutMs, DbError* error)
{
    const QByteArray text = script.toUtf8();
    return bool(exchange([&](PGconn* c) { return PQsendQuery(c, text.constData()); }, timeoutMs, error));
}

void PostgresDatabase::setResultReuse(ResultReuse reuse)
{
    m_reuse = reuse;
    m_memo.clear();
    m_memoVersion = -1;
}

// False when the rows kept so far may be out of date; they are then dropped.
bool PostgresDatabase::memoValid()
{
    if (m_reuse == ResultReuse::None)
        return false;
    if (m_memo.size() >= MaxKeptResults)
        m_memo.clear();
    if (m_reuse == ResultReuse::ForTheRun)
        return true;
    // Inside a transaction the first check fixed the snapshot every later
    // read of it sees.
    const bool inTransaction = m_conn && !m_lost && PQtransactionStatus(m_conn) == PQTRANS_INTRANS;
    if (m_checkedInTransaction && inTransaction)
        return true;
    qint64 version = -1;
    if (const Result r = runPrepared(QStringLiteral("SELECT counter FROM frostpick_change"), {}, nullptr);
        r && PQntuples(r.get()) == 1)
        version = valueAt(r.get(), 0, 0).toLongLong();
    if (version < 0 || version != m_memoVersion)
        m_memo.clear();
    m_memoVersion = version;
    m_checkedInTransaction = version >= 0 && inTransaction;
    return version >= 0;
}

int PostgresDatabase::query(const QString& sql, QueryTable& table, DbError* error)
{
    const bool reuse = memoValid();
    if (reuse) {
        const auto found = m_memo.constFind(sql);
        if (found != m_memo.constEnd()) {
            setError(error, {});
            if (found->rows > 0)
                table = *found->table;
            return found->rows;
        }
    }
    const LiteralBinding::BoundStatement bound = LiteralBinding::bind(sql);
    const Result result = runPrepared(bound.text, bound.values, error);
    if (!result)
        return -1;
    const int rows = PQntuples(result.get());
    const int columns = PQnfields(result.get());
    if (rows > 0) {
        QVector<QVariant> cells;
        cells.reserve(qsizetype(rows) * columns);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c)
                cells.append(valueAt(result.get(), r, c));
        }
        table.assign(rows, columns, std::move(cells));
    }
    if (reuse && commandIs(result.get(), "SELECT"))
        m_memo.insert(sql, {rows, rows > 0 ? std::make_shared<const QueryTable>(table) : nullptr});
    return rows;
}

bool PostgresDatabase::execute(const QString& sql, DbError* error)
{
    m_checkedInTransaction = false;
    const LiteralBinding::BoundStatement bound = LiteralBinding::bind(sql);
    const Result result = run(SqlDialect::translateForServer(bound.text).toUtf8(), bound.values, error);
    // Opening or committing a transaction changes no data the kept rows
    // hold; a rollback may take back rows read since a write.
    if (!result || !(commandIs(result.get(), "BEGIN") || commandIs(result.get(), "COMMIT") ||
                     commandIs(result.get(), "SELECT") || commandIs(result.get(), "SET")))
        m_memo.clear();
    if (!result)
        return false;
    if (commandIs(result.get(), "INSERT") || commandIs(result.get(), "UPDATE") ||
        commandIs(result.get(), "DELETE"))
        m_changedRows = QByteArray(PQcmdTuples(result.get())).toInt();
    return true;
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

bool PostgresDatabase::begin(DbError* error)
{
    // The change counter's row is the write lock: writers take it here, as a
    // file store's writer takes the file's, and wait for each other at once.
    m_memo.clear();
    if (!runScript(QStringLiteral("BEGIN; SELECT counter FROM frostpick_change FOR UPDATE"), RoundTripMs,
                   error)) {
        rollback();
        return false;
    }
    m_inTransaction = true;
    return true;
}

bool PostgresDatabase::commit(DbError* error)
{
    const Result result = run("COMMIT", {}, error);
    // A transaction a failed statement spoiled ends in a rollback.
    if (result && commandIs(result.get(), "ROLLBACK")) {
        setError(error, serverFailure("25P02",
                                      QStringLiteral("Транзакция отменена сервером {server} из-за ошибки")));
        return false;
    }
    if (result)
        m_inTransaction = false;
    return bool(result);
}

void PostgresDatabase::rollback()
{
    m_memo.clear();
    if (!m_lost)
        run("ROLLBACK", {}, nullptr);
    m_inTransaction = false;
}

bool PostgresDatabase::beginRead()
{
    if (m_inTransaction || !run("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", {}, nullptr))
        return false;
    m_inTransaction = true;
    m_checkedInTransaction = false;
    return true;
}

void PostgresDatabase::endRead()
{
    if (!m_lost)
        run("COMMIT", {}, nullptr);
    m_inTransaction = false;
}

bool PostgresDatabase::checkIntegrity(DbError* error)
{
    const std::optional<QStringList> missing = missingTables(m_requiredTables, error);
    if (!missing)
        return false;
    const Result counter = run("SELECT counter FROM frostpick_change", {}, error);
    if (!counter)
        return false;
    if (!missing->isEmpty() || PQntuples(counter.get()) != 1) {
        setError(error,
                 serverFailure("XX001", QStringLiteral("В базе данных {database} на сервере {server} нет "),
                               (missing->isEmpty() ? QStringLiteral("счётчика изменений")
                                                   : QStringLiteral("таблицы ") + missing->first())));
        return false;
    }
    return true;
}

bool PostgresDatabase::continueKeysAfterCopy(const QString& table, DbError* error)
{
    const Result key = run("SELECT attname FROM pg_attribute WHERE attrelid = to_regclass($1) AND "
                           "attidentity <> '' AND NOT attisdropped",
                           {table.toLower()}, error);
    if (!key)
        return false;
    if (PQntuples(key.get()) != 1) {
        setError(error,
                 serverFailure("42P01",
                               QStringLiteral("В базе данных {database} на сервере {server} нет таблицы "),
                               table + QStringLiteral(" с ключом")));
        return false;
    }
    const auto identifier = [this](const QByteArray& name) {
        char* quoted = PQescapeIdentifier(m_conn, name.constData(), size_t(name.size()));
        const QByteArray result(quoted);
        PQfreemem(quoted);
        return result;
    };
    const QByteArray column = PQgetvalue(key.get(), 0, 0);
    const QByteArray sql = "SELECT setval(pg_get_serial_sequence($1, $2), coalesce(max(" +
                           identifier(column) + "), 0) + 1, false) FROM " +
                           identifier(table.toLower().toUtf8());
    return bool(run(sql, {table.toLower(), QString::fromUtf8(column)}, error));
}

bool PostgresDatabase::create(const DatabaseAddress& address, const QStringList& scriptFiles, DbError* error)
{
    QString script;
    for (const QString& file : scriptFiles) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            setError(error, failure("58030", QStringLiteral("Не удалось прочитать %1").arg(file)));
            return false;
        }
        script += QString::fromUtf8(f.readAll()) + QLatin1Char('\n');
    }
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
    const std::optional<QStringList> missing = db->missingTables(tables, error);
    if (!missing)
        return false;
    if (missing->size() != tables.size()) {
        setError(error, db->serverFailure(
                            "42P07", QStringLiteral("В базе данных {database} на сервере {server} уже есть "
                                                    "таблицы этого хранилища; она не изменена")));
        return false;
    }
    // All or nothing; rows given with their keys leave the key generators
    // past them.
    db->m_inTransaction = true;
    bool ok = db->runScript(QStringLiteral("BEGIN;\n") + script, ScriptMs, error);
    for (const QString& table : std::as_const(tables))
        ok = ok && db->continueKeysAfterCopy(table, error);
    ok = ok && db->commit(error);
    if (!ok)
        db->rollback();
    return ok;
}

std::optional<qint64> PostgresDatabase::peekCount(const DatabaseAddress& address, const QString& sql)
{
    const std::unique_ptr<PostgresDatabase> db = connect(address, true, nullptr);
    QueryTable table;
    if (!db || db->query(sql, table, nullptr) < 1)
        return std::nullopt;
    return table.integer(0, 0);
}
