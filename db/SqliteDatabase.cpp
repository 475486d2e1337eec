#include "SqliteDatabase.h"

#include "LiteralBinding.h"
#include "NetworkFileSystem.h"
#include "QueryTable.h"
#include "RussianCollation.h"
#include "SqlDialect.h"
#include "SqlLiteral.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QVector>
#include <sqlite3.h>
#include <utility>

namespace {

constexpr int BusyTimeoutMs = 10000;

DatabaseFailure lastError(sqlite3* handle)
{
    const int number = sqlite3_errcode(handle);
    return {number == SQLITE_OK ? SQLITE_ERROR : number, QString::fromUtf8(sqlite3_errmsg(handle))};
}

int russianCompare(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return RussianCollation::compare(QStringView(static_cast<const char16_t*>(a), lengthA / 2),
                                     QStringView(static_cast<const char16_t*>(b), lengthB / 2));
}

void setError(DatabaseFailure* target, const DatabaseFailure& value)
{
    if (target)
        *target = value;
}

void bindValues(sqlite3_stmt* statement, const QVariantList& values)
{
    int parameter = 0;
    for (const QVariant& value : values) {
        ++parameter;
        if (!value.isValid()) {
            sqlite3_bind_null(statement, parameter);
        } else if (value.typeId() == QMetaType::LongLong) {
            sqlite3_bind_int64(statement, parameter, value.toLongLong());
        } else if (value.typeId() == QMetaType::Double) {
            sqlite3_bind_double(statement, parameter, value.toDouble());
        } else {
            const QString text = value.toString();
            sqlite3_bind_text16(statement, parameter, text.utf16(), int(text.size() * sizeof(char16_t)),
                                SQLITE_TRANSIENT);
        }
    }
}

// Values as the callers take them: whole numbers as qint64, reals as
// double, text as QString, NULL as an empty value.
void appendRow(sqlite3_stmt* statement, int columns, QVector<QVariant>& cells)
{
    for (int c = 0; c < columns; ++c) {
        switch (sqlite3_column_type(statement, c)) {
        case SQLITE_INTEGER:
            cells.append(QVariant(qint64(sqlite3_column_int64(statement, c))));
            break;
        case SQLITE_FLOAT:
            cells.append(QVariant(sqlite3_column_double(statement, c)));
            break;
        case SQLITE_NULL:
            cells.append(QVariant());
            break;
        case SQLITE_BLOB:
            cells.append(QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, c)),
                                             sqlite3_column_bytes(statement, c))));
            break;
        default:
            cells.append(
                QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                                           sqlite3_column_bytes(statement, c))));
        }
    }
}

// Runs a prepared statement to its end with the values bound, handing each
// row to onRow. The statement is reset at once: one left part-way would hold
// its read snapshot and keep later reads from seeing other programs' changes.
template <typename OnRow>
DatabaseFailure run(sqlite3_stmt* statement, const QVariantList& values, OnRow&& onRow)
{
    bindValues(statement, values);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        onRow();
    sqlite3* handle = sqlite3_db_handle(statement);
    const DatabaseFailure failure =
        rc == SQLITE_DONE
            ? DatabaseFailure{}
            : DatabaseFailure{sqlite3_errcode(handle), QString::fromUtf8(sqlite3_errmsg(handle))};
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return failure;
}

} // namespace

SqliteDatabase::SqliteDatabase(sqlite3* handle) : m_handle(handle) {}

SqliteDatabase::~SqliteDatabase()
{
    finalizeStatements();
    sqlite3_close_v2(m_handle);
}

// A connection set up as every connection of the programs is: extended
// result codes, the busy wait, the Russian collation.
std::unique_ptr<SqliteDatabase> SqliteDatabase::openHandle(const QByteArray& name, int flags,
                                                           const QString& shown, DatabaseFailure* error)
{
    sqlite3* handle = nullptr;
    // A connection serves one thread (the batch's page reader opens one of
    // its own), so it needs no lock around each call.
    const int opened = sqlite3_open_v2(name.constData(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (!handle) {
        setError(error, {SQLITE_NOMEM, QStringLiteral("Не хватает памяти, чтобы открыть %1").arg(shown)});
        return nullptr;
    }
    std::unique_ptr<SqliteDatabase> result(new SqliteDatabase(handle));
    if (opened != SQLITE_OK) {
        setError(error, lastError(handle));
        return nullptr;
    }
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, BusyTimeoutMs);
    sqlite3_create_collation_v2(handle, SqlDialect::RussianCollationName, SQLITE_UTF16_ALIGNED, nullptr,
                                &russianCompare, nullptr);
    return result;
}

std::unique_ptr<SqliteDatabase> SqliteDatabase::openInMemory(DatabaseFailure* error)
{
    return openHandle(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      QStringLiteral("базу данных в памяти"), error);
}

std::unique_ptr<Database> SqliteDatabase::open(const QString& path, const QStringList& requiredTables,
                                               bool readOnly, DatabaseFailure* error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        setError(error, {SQLITE_CANTOPEN, QStringLiteral("Файл не найден: %1").arg(path)});
        return nullptr;
    }
    if (!info.isFile()) {
        setError(error, {SQLITE_CANTOPEN, QStringLiteral("Это не файл: %1").arg(path)});
        return nullptr;
    }
    if (info.size() == 0) {
        setError(error, {SQLITE_NOTADB, QStringLiteral("Файл пуст: %1").arg(path)});
        return nullptr;
    }

    // Never SQLITE_OPEN_CREATE: a file that vanished since the check above is
    // refused, not made anew. A file this user may not write opens read-only.
    std::unique_ptr<SqliteDatabase> result = openHandle(
        QFile::encodeName(path), readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, path, error);
    if (!result)
        return nullptr;

    // Reading the catalogue is the first real access: a damaged or foreign
    // file fails here.
    QueryTable catalogue;
    const Result<int> tableCount =
        result->query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"), catalogue);
    if (!tableCount) {
        setError(error, tableCount.failure());
        return nullptr;
    }
    QStringList tables;
    for (int r = 0; r < tableCount.value(); ++r)
        tables << catalogue.text(r, 0).toLower();
    for (const QString& table : requiredTables) {
        if (!tables.contains(table.toLower())) {
            setError(error, {SQLITE_NOTADB, QStringLiteral("В файле %1 нет таблицы %2").arg(path, table)});
            return nullptr;
        }
    }
    if (!readOnly)
        result->chooseJournal(path);
    setError(error, {});
    return result;
}

// Write-ahead logging lets one program read while the other writes, but keeps
// its index in the shared memory of one computer: a file on a network share,
// which programs on several computers may open at once, keeps a rollback
// journal instead. A file in a read-only place stays in its journal mode. A
// shared file that another program holds in write-ahead logging cannot leave
// it while that program has it open; writing to it then could damage it for
// the other computers, so this connection only reads.
void SqliteDatabase::chooseJournal(const QString& path)
{
    QueryTable answer;
    if (!NetworkFileSystem::holds(path)) {
        (void)query(QStringLiteral("PRAGMA journal_mode=WAL"), answer);
        (void)execute(QStringLiteral("PRAGMA synchronous=NORMAL"));
        return;
    }
    // Leaving write-ahead logging fails at once while another connection
    // uses the log; the mode the file has then tells.
    if (query(QStringLiteral("PRAGMA journal_mode=DELETE"), answer).valueOr(-1) != 1 &&
        query(QStringLiteral("PRAGMA journal_mode"), answer).valueOr(-1) != 1)
        return;
    if (answer.text(0, 0).compare(u"wal", Qt::CaseInsensitive) != 0)
        return;
    m_writesRefused = QStringLiteral("Файл %1 лежит на сетевом диске, а другая программа держит его в режиме "
                                     "WAL, в котором с сетевого диска писать нельзя. Изменения в него не "
                                     "записываются: закройте программы, работающие с этим файлом, и откройте "
                                     "его снова.")
                          .arg(path);
}

bool SqliteDatabase::create(const QString& path, const QStringList& scriptFiles, DatabaseFailure* error)
{
    if (QFileInfo::exists(path)) {
        setError(error, {SQLITE_CANTOPEN, QStringLiteral("Файл уже существует: %1").arg(path)});
        return false;
    }
    QString script;
    for (const QString& file : scriptFiles) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            setError(error, {SQLITE_CANTOPEN, QStringLiteral("Не удалось прочитать %1").arg(file)});
            return false;
        }
        script += QString::fromUtf8(f.readAll()) + QLatin1Char('\n');
    }

    // Built under a temporary name and renamed at the end, so a failure never
    // leaves a half-made database behind.
    const QString temporary = path + QStringLiteral(".part");
    QFile::remove(temporary);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temporary.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    char* message = nullptr;
    if (rc == SQLITE_OK) {
        const QByteArray utf8 = (QStringLiteral("BEGIN;\n") + script + QStringLiteral("\nCOMMIT;")).toUtf8();
        rc = sqlite3_exec(db, utf8.constData(), nullptr, nullptr, &message);
    }
    const QString description =
        message ? QString::fromUtf8(message) : QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK || !QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        setError(error, {rc == SQLITE_OK ? SQLITE_CANTOPEN : rc, description});
        return false;
    }
    setError(error, {});
    return true;
}

void SqliteDatabase::finalizeStatements()
{
    m_statements.clear(&sqlite3_finalize);
}

sqlite3_stmt* SqliteDatabase::preparedStatement(const QString& sql, DatabaseFailure* error)
{
    if (sqlite3_stmt* cached = m_statements.find(sql))
        return cached;
    if (!m_handle) {
        setError(error, {SQLITE_MISUSE, QStringLiteral("База данных не открыта")});
        return nullptr;
    }
    const QString translated = SqlDialect::translate(sql);
    sqlite3_stmt* statement = nullptr;
    const void* tail = nullptr;
    if (sqlite3_prepare16_v2(m_handle, translated.utf16(), int(translated.size() * sizeof(char16_t)),
                             &statement, &tail) != SQLITE_OK) {
        setError(error, {sqlite3_errcode(m_handle), QString::fromUtf8(sqlite3_errmsg(m_handle))});
        sqlite3_finalize(statement);
        return nullptr;
    }
    const qsizetype used = static_cast<const ushort*>(tail) - translated.utf16();
    if (!statement || !QStringView(translated).mid(used).trimmed().isEmpty()) {
        sqlite3_finalize(statement);
        setError(error,
                 {SQLITE_MISUSE, statement ? QStringLiteral("Unable to execute multiple statements at a time")
                                           : QStringLiteral("Пустой запрос")});
        return nullptr;
    }
    if (m_statements.full())
        finalizeStatements();
    m_statements.add(sql, statement);
    return statement;
}

void SqliteDatabase::setResultReuse(ResultReuse reuse)
{
    m_kept.setReuse(reuse);
}

void SqliteDatabase::beginAction()
{
    m_kept.beginAction();
}

// False when the rows kept may be out of date and the file could not tell.
bool SqliteDatabase::keptRowsReusable()
{
    const bool inTransaction = m_readDeferred || !sqlite3_get_autocommit(m_handle);
    if (m_kept.mustCheck(inTransaction)) {
        // The counter read belongs to the snapshot the kept rows are given in.
        beginDeferredRead();
        qint64 version = -1;
        if (sqlite3_stmt* pragma = preparedStatement(QStringLiteral("PRAGMA data_version"), nullptr))
            run(pragma, {}, [&] { version = sqlite3_column_int64(pragma, 0); });
        m_kept.checked(version, inTransaction);
    }
    return m_kept.reusable();
}

Result<int> SqliteDatabase::query(const QString& sql, QueryTable& table)
{
    const bool reuse = keptRowsReusable();
    if (reuse) {
        const int kept = m_kept.give(sql, table);
        if (kept >= 0)
            return kept;
    }
    beginDeferredRead();
    const LiteralBinding::BoundStatement bound = LiteralBinding::bind(sql);
    DatabaseFailure failure;
    sqlite3_stmt* statement = preparedStatement(bound.text, &failure);
    if (!statement)
        return failure;
    const int columns = sqlite3_column_count(statement);
    QVector<QVariant> cells;
    int rows = 0;
    failure = run(statement, bound.values, [&] {
        appendRow(statement, columns, cells);
        ++rows;
    });
    if (failure.fromEngine())
        return failure;
    if (rows > 0)
        table.assign(rows, columns, std::move(cells));
    if (reuse && sqlite3_stmt_readonly(statement))
        m_kept.keep(sql, rows, table);
    return rows;
}

Result<void> SqliteDatabase::execute(const QString& sql)
{
    beginDeferredRead();
    m_kept.recheckInTransaction();
    const LiteralBinding::BoundStatement bound = LiteralBinding::bind(sql);
    DatabaseFailure failure;
    sqlite3_stmt* statement = preparedStatement(bound.text, &failure);
    // Opening or committing a transaction changes no data the kept rows
    // hold; a rollback may take back rows read since a write.
    if (!statement || !sqlite3_stmt_readonly(statement) ||
        QStringView(sql).trimmed().startsWith(u"ROLLBACK", Qt::CaseInsensitive))
        m_kept.drop();
    if (!statement || !mayRun(statement, &failure))
        return failure;
    return EngineOutcome(run(statement, bound.values, [] {}));
}

Result<void> SqliteDatabase::executeWith(const QString& sql, const QVariantList& values)
{
    beginDeferredRead();
    m_kept.recheckInTransaction();
    m_kept.drop();
    DatabaseFailure failure;
    sqlite3_stmt* statement = preparedStatement(sql, &failure);
    if (!statement || !mayRun(statement, &failure))
        return failure;
    return EngineOutcome(run(statement, values, [] {}));
}

bool SqliteDatabase::mayRun(sqlite3_stmt* statement, DatabaseFailure* error) const
{
    if (m_writesRefused.isEmpty() || sqlite3_stmt_readonly(statement))
        return true;
    setError(error, {SQLITE_READONLY, m_writesRefused});
    return false;
}

qint64 SqliteDatabase::lastInsertKey() const
{
    return sqlite3_last_insert_rowid(m_handle);
}

int SqliteDatabase::changedRows() const
{
    return sqlite3_changes(m_handle);
}

// A file made before writes stored their tokens gets the table with its
// first write. Without a rowid, a token stored leaves the key of the row
// inserted last as it was.
Result<void> SqliteDatabase::begin()
{
    Result<void> begun = execute(QStringLiteral("BEGIN IMMEDIATE"));
    if (!begun)
        return begun;
    Result<void> made =
        execute(QStringLiteral("CREATE TABLE IF NOT EXISTS frostpick_write (token TEXT PRIMARY KEY, "
                               "written INTEGER NOT NULL) WITHOUT ROWID"));
    if (!made)
        rollback();
    return made;
}

Result<void> SqliteDatabase::commit()
{
    return execute(QStringLiteral("COMMIT"));
}

void SqliteDatabase::rollback()
{
    (void)execute(QStringLiteral("ROLLBACK"));
}

// A deferred transaction takes its snapshot at the first read anyway; its
// BEGIN waits for the first statement that reaches the file.
bool SqliteDatabase::beginRead()
{
    if (m_readDeferred || !m_handle || !sqlite3_get_autocommit(m_handle))
        return false;
    m_readDeferred = true;
    m_kept.recheckInTransaction();
    return true;
}

void SqliteDatabase::beginDeferredRead()
{
    if (!std::exchange(m_readDeferred, false))
        return;
    // One that cannot begin leaves the reads without a snapshot, as before.
    (void)execute(QStringLiteral("BEGIN"));
}

void SqliteDatabase::endRead()
{
    if (!std::exchange(m_readDeferred, false) && !sqlite3_get_autocommit(m_handle))
        (void)execute(QStringLiteral("COMMIT"));
}

Result<QStringList> SqliteDatabase::columnsOf(const QString& table)
{
    QueryTable result;
    const Result<int> rows =
        query(QStringLiteral("SELECT name FROM pragma_table_info(%1)").arg(SqlLiteral::text(table)), result);
    if (!rows)
        return rows.failure();
    QStringList columns;
    for (int r = 0; r < rows.value(); ++r)
        columns << result.text(r, 0);
    return columns;
}

Result<QStringList> SqliteDatabase::grantStatements(const QList<TableRights>&)
{
    return DatabaseFailure(SQLITE_MISUSE,
                           QStringLiteral("У файла базы данных нет ролей: читать и изменять его "
                                          "может тот, кому это разрешают права на сам файл"));
}

Result<void> SqliteDatabase::checkIntegrity()
{
    QueryTable result;
    const Result<int> read = query(QStringLiteral("PRAGMA integrity_check"), result);
    if (!read)
        return read.failure();
    if (result.rowCount() == 1 && result.text(0, 0) == QLatin1String("ok"))
        return {};
    return DatabaseFailure(SQLITE_CORRUPT, result.text(0, 0));
}

// The file is opened read-only; when no program has it open (no write-ahead
// log beside it) it is read as it lies, so that no -wal or -shm file appears.
// Not on a network share: there a program on another computer may be writing
// it through a rollback journal, whose locks only a normal read respects.
std::optional<qint64> SqliteDatabase::peekCount(const QString& path, const QString& sql,
                                                DatabaseFailure* error)
{
    if (!QFileInfo(path).isFile()) {
        setError(error, {SQLITE_CANTOPEN, QStringLiteral("Файл не найден: %1").arg(path)});
        return std::nullopt;
    }
    QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
    if (!QFileInfo::exists(path + QStringLiteral("-wal")) && !NetworkFileSystem::holds(path))
        uri += QStringLiteral("&immutable=1");
    std::optional<qint64> count;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(uri.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) ==
        SQLITE_OK) {
        sqlite3_busy_timeout(db, BusyTimeoutMs);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * sizeof(char16_t)), &statement, nullptr) ==
                SQLITE_OK &&
            statement && sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    if (!count)
        setError(error, {db ? sqlite3_extended_errcode(db) : SQLITE_NOMEM,
                         db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString()});
    sqlite3_close(db);
    return count;
}

void SqliteDatabase::removeFile(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}
