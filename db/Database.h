#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

class QueryTable;
struct sqlite3;
struct sqlite3_stmt;

struct DbError
{
    int number = 0;
    QString description;
    bool isError() const { return number != 0; }
};

// One open database file. Callers see only these operations and the query
// table, so the engine behind them can change without touching them.
class Database
{
public:
    // Opens an existing database file that holds at least the tables named.
    // A missing, empty, damaged or foreign file is refused with an error; it
    // is never turned into a new empty database.
    static std::unique_ptr<Database> open(const QString& path, const QStringList& requiredTables,
                                          DbError* error = nullptr);

    // Creates a database file from SQL script files, run in order. Refuses to
    // touch a file that already exists, so a user's data is never lost.
    static bool createFromScripts(const QString& path, const QStringList& scriptFiles,
                                  DbError* error = nullptr);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs a SELECT. Returns the row count and fills the table; with 0 rows
    // the table is left as it was. Returns -1 when the statement fails.
    int query(const QString& sql, QueryTable& table, DbError* error = nullptr);

    // Whether a query's rows are kept by its text and given again when the
    // same text is read once more.
    enum class ResultReuse {
        None,
        // Until a statement is run through execute(). Only for a run over a
        // file nobody changes meanwhile: the batch recomputation reads the
        // reference data once.
        ForTheRun,
        // While the file is unchanged: every read first asks SQLite whether
        // any connection has committed a change since (PRAGMA data_version),
        // so a change made by another program shows at the next read.
        WhileUnchanged,
    };
    void setResultReuse(ResultReuse reuse);

    // Runs a statement that returns no rows.
    bool execute(const QString& sql, DbError* error = nullptr);

    // Key of the row inserted last on this connection.
    qint64 lastInsertKey() const;

    // Write transactions: begin() takes the write lock at once, so two
    // programs writing the same file wait for each other instead of failing.
    bool begin(DbError* error = nullptr);
    bool commit(DbError* error = nullptr);
    void rollback();

    QString path() const { return m_path; }

private:
    explicit Database(QString connectionName, QString path);
    sqlite3_stmt* preparedStatement(const QString& sql, DbError* error);
    void finalizeStatements();

    QString m_connectionName;
    QString m_path;
    sqlite3* m_handle = nullptr;
    // Prepared SELECTs by their text with literals taken out. A prepared
    // statement reads the data current at each run and is prepared again by
    // SQLite itself after a change of the schema.
    QHash<QString, sqlite3_stmt*> m_statements;
    struct Memo
    {
        int rows = 0;
        std::shared_ptr<const QueryTable> table;
    };
    bool memoValid();
    ResultReuse m_reuse = ResultReuse::None;
    qint64 m_memoVersion = -1;
    bool m_checkedInTransaction = false;
    QHash<QString, Memo> m_memo;
};

// Reads in one snapshot: every query on the database while it lives sees
// the same version of the file, whatever another program commits meanwhile.
// Inside a transaction that is already open it does nothing.
class ReadTransaction
{
public:
    explicit ReadTransaction(Database* db) : m_db(db && db->execute(QStringLiteral("BEGIN")) ? db : nullptr)
    {}
    ~ReadTransaction()
    {
        if (m_db)
            m_db->execute(QStringLiteral("COMMIT"));
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Database* m_db;
};
