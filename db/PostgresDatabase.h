#pragma once

#include "Database.h"
#include "KeptResults.h"
#include "PreparedStatements.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QSet>
#include <QVariantList>
#include <functional>
#include <vector>

struct pg_conn;
struct pg_result;

// A database on a PostgreSQL server that several computers share, spoken to
// with libpq: reads are prepared once per statement form, every round trip,
// connecting included, waits at most a few seconds, and a connection the
// server dropped is made again at the next action, never in the middle of a
// transaction.
class PostgresDatabase final : public Database
{
public:
    // Reads ahead with the check of the tables (see Database::openReadingAhead).
    static std::unique_ptr<Database> open(const DatabaseAddress& address, const QStringList& requiredTables,
                                          bool readOnly, DatabaseFailure* error,
                                          ResultReuse reuse = ResultReuse::None,
                                          const QStringList& reads = {});
    static bool create(const DatabaseAddress& address, const QStringList& scriptFiles,
                       DatabaseFailure* error);
    static std::optional<QStringList> complete(const DatabaseAddress& address, const QStringList& scriptFiles,
                                               DatabaseFailure* error);
    static std::optional<qint64> peekCount(const DatabaseAddress& address, const QString& sql,
                                           DatabaseFailure* error);
    static bool checkAddress(const DatabaseAddress& address, DatabaseFailure* error);
    static QStringList grantStatementsForCreated(const QList<TableRights>& rights);

    ~PostgresDatabase() override;

    ::Result<std::unique_ptr<Database>> openBeside(const DatabaseAddress& address,
                                                   const QStringList& requiredTables) override;
    ::Result<bool> serves(const DatabaseAddress& address, const QStringList& requiredTables) override;

    ::Result<int> query(const QString& sql, QueryTable& table) override;
    ::Result<void> execute(const QString& sql) override;
    ::Result<void> executeWith(const QString& sql, const QVariantList& values) override;
    qint64 lastInsertKey() const override;
    int changedRows() const override;
    ::Result<void> begin() override;
    ::Result<void> commit() override;
    void rollback() override;
    bool beginRead() override;
    void endRead() override;
    void setResultReuse(ResultReuse reuse) override;
    void beginAction() override;
    void prefetch(const QStringList& sqls) override;
    bool readsAhead() const override { return m_kept.on(); }
    bool keepsWriteTokens() const override;
    ::Result<QStringList> columnsOf(const QString& table) override;
    ::Result<QList<QStringList>> columnsOfEach(const QStringList& tables) override;
    ::Result<bool> holdsTable(const QString& table) override;
    ::Result<QStringList> grantStatements(const QList<TableRights>& rights) override;
    ::Result<void> checkIntegrity() override;

private:
    struct ResultDeleter
    {
        void operator()(pg_result* result) const;
    };
    using Result = std::unique_ptr<pg_result, ResultDeleter>;
    // One statement of a request: sends it, returns libpq's success.
    using Step = std::function<int(pg_conn*)>;
    // What the server answered to one statement: its last result, or its
    // first error.
    struct Answer
    {
        Result result;
        DatabaseFailure error;
    };
    struct PreparedRun;
    enum class Outcome { Answered, Lost, Silent };

    PostgresDatabase(QString server, QString database);
    static std::unique_ptr<PostgresDatabase> connect(const DatabaseAddress& address, bool readOnly,
                                                     DatabaseFailure* error);
    // The support script's text followed by each of the files'.
    static std::optional<QStringList> readScripts(const QStringList& scriptFiles, DatabaseFailure* error);
    // text names the server as {server} and the database as {database}.
    DatabaseFailure serverFailure(const char* sqlState, QString text, const QString& detail = {}) const;
    bool usable(DatabaseFailure* error);
    bool exchange(std::vector<Step> steps, bool pipelined, std::vector<Answer>& answers, int timeoutMs,
                  DatabaseFailure* error);
    Outcome flush(const QDeadlineTimer& deadline);
    Outcome awaitResult(const QDeadlineTimer& deadline);
    Outcome readAnswer(const QDeadlineTimer& deadline, Answer& answer);
    Outcome readSync(const QDeadlineTimer& deadline);
    bool failed(Outcome outcome, int timeoutMs, DatabaseFailure* error);
    void settle();
    void sendCommitAhead();
    void takeArrivedCommit();
    Result single(std::vector<Step> steps, int timeoutMs, DatabaseFailure* error);
    Result run(const QByteArray& sql, const QVariantList& values, DatabaseFailure* error);
    bool makeRoomForStatements(DatabaseFailure* error, int adding = 2);
    // Statement names prepared by a request still on its way, by their key.
    using Preparing = QHash<QString, QByteArray>;
    void addPrepared(PreparedRun& run, std::vector<Step>& steps, Preparing* preparing = nullptr);
    Answer takePrepared(const PreparedRun& run, std::vector<Answer>::iterator& answer);
    Result runPrepared(const QString& sql, const QVariantList& values, DatabaseFailure* error);
    bool runScript(const QString& script, int timeoutMs, DatabaseFailure* error);
    // Reads which tables the database holds, and which of them have a key.
    bool readTables(DatabaseFailure* error);
    void takeTables(const pg_result* present);
    // prefetch(), and with readingTables which tables the database holds in
    // the same request: false only when those could not be read.
    bool readAhead(const QStringList& sqls, bool readingTables, DatabaseFailure* error);
    // The failure of a check that found a table missing.
    DatabaseFailure missingTable(const QString& table) const;
    // Those of tables the database did not hold when last read.
    QStringList missingTables(const QStringList& tables) const;
    bool requireTables(const QStringList& tables, DatabaseFailure* error);
    bool inTransaction() const;
    int queryOnce(const QString& sql, QueryTable& table, bool* carried, DatabaseFailure* error);
    int keptRows(const QString& sql, const pg_result* result, QueryTable& table);
    Result request(bool checkChanges, const QString* read, const QVariantList& values,
                   DatabaseFailure* error);

    QString m_server;     // host and port, for messages
    QString m_database;   // its name on the server, for messages
    QString m_connection; // the connection string or URI it was opened with
    // The tables the database held when this connection was opened, in lower
    // case.
    QStringList m_tablesFound;
    pg_conn* m_conn = nullptr;
    QStringList m_requiredTables;
    // Tables with a pkey column, in lower case: their rows are read in key
    // order, as a file gives them.
    QSet<QString> m_keyedTables;
    // Set when the server stopped answering or dropped the connection: the
    // next action connects again.
    bool m_lost = false;
    bool m_timedOut = false; // the loss was a server that did not answer in time
    bool m_inTransaction = false;
    // A read snapshot begins with its first statement, its BEGIN sent
    // together with it; one that reads nothing sends nothing.
    bool m_snapshotDeferred = false;
    // The COMMIT of a read snapshot was sent; its answer is read with the
    // next request.
    bool m_commitInFlight = false;
    int m_changedRows = 0;
    // What a read ahead met that the reads after it meet too: a statement
    // the server refused in a read snapshot (the server then refuses every
    // later one of it), or a server that did not answer in time (never
    // waited for twice in one action).
    std::optional<DatabaseFailure> m_failedAhead;
    // Names of the prepared reads by their text with literals taken out and
    // the types of the values; the server forgets them with the connection.
    PreparedStatements<QByteArray> m_statements;
    int m_statementsMade = 0;
    // Whether anything changed is read from the change counter the schema's
    // triggers keep.
    KeptResults m_kept;
};
