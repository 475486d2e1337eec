#pragma once

#include "DatabaseAddress.h"
#include "Result.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <optional>

class QueryTable;
struct StoreTable;

// The scripts that make one store's tables, each for one kind of database.
struct StoreSchema
{
    QString file;
    QString server;
};

// Who may work with which tables, on an engine that has roles: readers read
// the tables, writers also add, change and delete rows.
struct TableRights
{
    QStringList tables;
    QStringList readers;
    QStringList writers;
};

// One open database. Callers see only these operations and the query table;
// each engine implements them in a class of its own, the only place that knows
// the engine's SQL, locking and change detection.
class Database
{
public:
    // Opens an existing database that holds at least the tables named. A
    // missing, empty, damaged or foreign one is refused with a failure at
    // address; it is never turned into a new empty database.
    static Result<std::unique_ptr<Database>> open(const DatabaseAddress& address,
                                                  const QStringList& requiredTables);
    // The same for a database this program only reads: nothing in it is
    // changed, not even the way it keeps its journal; every write is refused.
    static Result<std::unique_ptr<Database>> openReadOnly(const DatabaseAddress& address,
                                                          const QStringList& requiredTables);

    // Creates a database from SQL script files, run in order, all or nothing.
    // Refuses to touch one that already exists, so a user's data is never lost.
    static Result<void> create(const DatabaseAddress& address, const QStringList& scriptFiles);
    // The same with the scripts of each store that fit the address.
    static Result<void> createStores(const DatabaseAddress& address, const QList<StoreSchema>& stores);

    // Adds to the stores an earlier version made in a server database the
    // tables added since (with what the engine itself relies on), all or
    // nothing: the names of those added, none when they were complete. A
    // store the database does not hold is not made. Files are refused: their
    // programs add what they lack themselves and copy gives the rest.
    static Result<QStringList> complete(const DatabaseAddress& address, const QList<StoreSchema>& stores);

    // Whether the address can be read at all (a connection string or URI
    // that libpq understands); why not otherwise. Reaches nothing.
    static Result<void> checkAddress(const DatabaseAddress& address);

    // The number a counting query gives on a database this program only looks
    // into and never changes: nothing is written to it or created beside it.
    // A failure when the database is missing, is no database or refuses the
    // query.
    static Result<qint64> peekCount(const DatabaseAddress& address, const QString& sql);

    // Deletes a database file together with what the engine keeps beside it
    // (its journal, its write-ahead log), as a copy that was killed left them.
    static void removeFile(const QString& path);

    // A database in memory holding the tables of source with all their rows,
    // read in one snapshot, each table's columns in the order source keeps
    // them and typed as the file store types them, with the file store's
    // indexes: queried as a file store is. A failure when a read failed or
    // source lacks a table.
    static Result<std::unique_ptr<Database>> copyInMemory(Database& source, const QList<StoreTable>& tables);

    // The statements that give roles their rights (see grantStatements) on a
    // database with roles that create() made, written without reaching it,
    // for an administrator who runs them himself.
    static QStringList grantStatementsFor(const QList<TableRights>& rights);

    virtual ~Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens another connection as open() does. Where address names the
    // database this one was opened on, the tables found then stand for the
    // check of those required: a program that keeps both stores in one
    // database of a server opens its second connection without asking for
    // them again. For right after this one was opened.
    virtual Result<std::unique_ptr<Database>> openBeside(const DatabaseAddress& address,
                                                         const QStringList& requiredTables);

    // The failures of the operations below carry the engine's code and text
    // only: the caller knows where the database is and which statement it
    // wants shown, and adds them (DatabaseFailure::at).

    // Runs a SELECT. Gives the row count and fills the table; with 0 rows
    // the table is left as it was.
    virtual Result<int> query(const QString& sql, QueryTable& table) = 0;

    // Runs a statement that returns no rows.
    virtual Result<void> execute(const QString& sql) = 0;

    // Runs a statement that returns no rows with its ? placeholders bound, in
    // order, to values: qint64, double, QString, or an invalid QVariant for
    // NULL. The engine takes each value as it is, never by reading digits.
    virtual Result<void> executeWith(const QString& sql, const QVariantList& values) = 0;

    // Key of the row inserted last on this connection.
    virtual qint64 lastInsertKey() const = 0;

    // Rows the last INSERT, UPDATE or DELETE on this connection changed.
    virtual int changedRows() const = 0;

    // Write transactions: begin() takes the write lock at once, so two
    // programs writing the same database wait for each other instead of
    // failing.
    virtual Result<void> begin() = 0;
    virtual Result<void> commit() = 0;
    virtual void rollback() = 0;

    // A read snapshot: until endRead() every query sees one version of the
    // data, whatever another program commits meanwhile. beginRead() fails
    // inside a transaction that is already open. Used through ReadTransaction.
    virtual bool beginRead() = 0;
    virtual void endRead() = 0;

    // Whether a query's rows are kept by its text and given again when the
    // same text is read once more.
    enum class ResultReuse {
        None,
        // Until a statement is run through execute(). Only for a run over a
        // database nobody changes meanwhile: the batch recomputation reads the
        // reference data once.
        ForTheRun,
        // While the data is unchanged, which the engine is asked once per
        // user action (see beginAction()) and once per transaction: a change
        // made by another program shows at the user's next action, and a
        // transaction sees kept rows of its own snapshot only.
        CheckedEachAction,
    };
    virtual void setResultReuse(ResultReuse reuse) = 0;
    // The user began an action (a screen shown, a button pressed): under
    // CheckedEachAction its first read asks the engine again whether any
    // connection has committed a change.
    virtual void beginAction() = 0;

    // Reads statements ahead, where each read waits for a network: all of
    // them in one request, their rows then kept under result reuse and given
    // to the queries of the same texts that follow. A statement the server
    // refused fails those queries in the same way; one that could not be
    // read ahead is read by its query. Does nothing without result reuse or
    // where a read costs no round trip.
    virtual void prefetch(const QStringList& sqls) = 0;
    // Whether prefetch() sends anything, so that a caller makes its list of
    // statements only where it saves a round trip.
    virtual bool readsAhead() const = 0;

    // Opens as open() does, with result reuse set and the statements given
    // read ahead (see prefetch()) in the request that asks which tables the
    // database holds: a program's first reads cost no round trip of their own.
    static Result<std::unique_ptr<Database>> openReadingAhead(const DatabaseAddress& address,
                                                              const QStringList& requiredTables,
                                                              ResultReuse reuse, const QStringList& reads);
    // Whether this connection also stands for one to address: the same
    // database on an engine where one connection serves both stores of a
    // program (a server's, whose connections cost round trips to make). The
    // tables named are then checked as open() checks them, from what the
    // engine said when this one was opened; a failure when one is missing.
    virtual Result<bool> serves(const DatabaseAddress& address, const QStringList& requiredTables);

    // Whether a write can store its token beside it (see WriteAttempt): not
    // in a server store made before the tokens were kept, until frostpick-db
    // init completes it. Asks nothing of the engine.
    virtual bool keepsWriteTokens() const = 0;

    // The columns of a table in the order the database keeps them; none when
    // there is no such table, a failure when it cannot be read.
    virtual Result<QStringList> columnsOf(const QString& table) = 0;
    // The columns of each table named, as columnsOf() gives them, in one
    // read where each read costs a round trip.
    virtual Result<QList<QStringList>> columnsOfEach(const QStringList& tables);
    // Whether the database holds the table: on a server as it did when this
    // connection was opened, which asks nothing again.
    virtual Result<bool> holdsTable(const QString& table);

    // The statements that give roles their rights on this database: on the
    // tables, on the counters that give their new rows keys, and on what the
    // engine needs to tell every connection of a change. A failure when the
    // engine has no roles (a file's readers and writers are those the file
    // system lets in) or the database did not answer.
    virtual Result<QStringList> grantStatements(const QList<TableRights>& rights) = 0;

    // Whether the stored data is undamaged; a failure describing the damage
    // found otherwise.
    virtual Result<void> checkIntegrity() = 0;

    // Why this connection, opened for writing, refuses every write (a file
    // that may not be written safely from here); empty when it writes.
    virtual QString writesRefused() const { return {}; }

protected:
    Database() = default;
};

// Reads in one snapshot: every query on the database while it lives sees the
// same version of the data. Inside a transaction that is already open it does
// nothing.
class ReadTransaction
{
public:
    explicit ReadTransaction(Database* db) : m_db(db && db->beginRead() ? db : nullptr) {}
    ~ReadTransaction()
    {
        if (m_db)
            m_db->endRead();
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Database* m_db;
};
