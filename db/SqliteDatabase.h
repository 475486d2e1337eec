#pragma once

#include "Database.h"
#include "KeptResults.h"
#include "PreparedStatements.h"

struct sqlite3;
struct sqlite3_stmt;

// A database in an SQLite file. Statements arrive in the programs' own
// dialect and are translated here; reads are prepared once per statement
// form; WAL lets one program read while the other writes, except on a network
// share, where the file keeps a rollback journal.
class SqliteDatabase final : public Database
{
public:
    static std::unique_ptr<Database> open(const QString& path, const QStringList& requiredTables,
                                          bool readOnly, DatabaseFailure* error);
    static bool create(const QString& path, const QStringList& scriptFiles, DatabaseFailure* error);
    static std::optional<qint64> peekCount(const QString& path, const QString& sql, DatabaseFailure* error);
    static void removeFile(const QString& path);
    // An empty database in memory, gone with the connection.
    static std::unique_ptr<SqliteDatabase> openInMemory(DatabaseFailure* error);

    ~SqliteDatabase() override;

    Result<int> query(const QString& sql, QueryTable& table) override;
    Result<void> execute(const QString& sql) override;
    Result<void> executeWith(const QString& sql, const QVariantList& values) override;
    qint64 lastInsertKey() const override;
    int changedRows() const override;
    Result<void> begin() override;
    Result<void> commit() override;
    void rollback() override;
    bool beginRead() override;
    void endRead() override;
    void setResultReuse(ResultReuse reuse) override;
    void beginAction() override;
    // A file is read without a round trip.
    void prefetch(const QStringList&) override {}
    bool readsAhead() const override { return false; }
    // The table is made by the first transaction that needs it.
    bool keepsWriteTokens() const override { return true; }
    Result<QStringList> columnsOf(const QString& table) override;
    Result<QStringList> grantStatements(const QList<TableRights>& rights) override;
    Result<void> checkIntegrity() override;
    QString writesRefused() const override { return m_writesRefused; }

private:
    explicit SqliteDatabase(sqlite3* handle);
    static std::unique_ptr<SqliteDatabase> openHandle(const QByteArray& name, int flags, const QString& shown,
                                                      DatabaseFailure* error);
    void chooseJournal(const QString& path);
    // Whether a statement may run here; refused with the reason otherwise.
    bool mayRun(sqlite3_stmt* statement, DatabaseFailure* error) const;
    sqlite3_stmt* preparedStatement(const QString& sql, DatabaseFailure* error);
    void finalizeStatements();
    bool keptRowsReusable();
    // Begins the read snapshot that beginRead() deferred, if any.
    void beginDeferredRead();

    sqlite3* m_handle = nullptr;
    // Why this connection only reads; empty when it may write.
    QString m_writesRefused;
    // Prepared statements by their text with literals taken out. A prepared
    // statement reads the data current at each run and is prepared again by
    // SQLite itself after a change of the schema.
    PreparedStatements<sqlite3_stmt*> m_statements;
    // Whether the file changed is asked of SQLite (PRAGMA data_version).
    KeptResults m_kept;
    // beginRead() was called and nothing has reached the file since: a
    // snapshot whose reads were all kept rows costs no statement.
    bool m_readDeferred = false;
};
