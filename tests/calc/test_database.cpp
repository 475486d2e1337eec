// The query layer over both engines, each case run against a file and, when
// FROSTPICK_TEST_SERVER names a PostgreSQL server, against a fresh database
// there: the dialect translation, the 0-row rule, Russian ordering, value
// types, snapshots and change detection, and that nothing is silently replaced.
#include "Database.h"
#include "DatabaseFailure.h"
#include "FakeMessages.h"
#include "NetworkFileSystem.h"
#include "QueryTable.h"
#include "RussianCollation.h"
#include "ServerStores.h"
#include "SqlDialect.h"
#include "TestDatabases.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

QString testServer()
{
    return qEnvironmentVariable("FROSTPICK_TEST_SERVER");
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    // The server run takes the server, the plain run the files.
    void initTestCase_data()
    {
        QTest::addColumn<DatabaseEngine>("engine");
        if (testServer().isEmpty())
            QTest::newRow("file") << DatabaseEngine::SQLite;
        else
            QTest::newRow("server") << DatabaseEngine::PostgreSQL;
    }
    // A server that was named must be there: its cases fail, never skip.
    void initTestCase()
    {
        if (!testServer().isEmpty())
            QVERIFY(ServerStores::execute(QStringLiteral("SELECT 1")));
    }
    void init()
    {
        QFETCH_GLOBAL(DatabaseEngine, engine);
        m_engine = engine;
        m_dir = std::make_unique<QTemporaryDir>();
        m_address = newAddress();
        const Result<void> made = Database::create(m_address, {schema()});
        QVERIFY2(made, qPrintable(TestDatabases::whyNot(made)));
        m_db = Database::open(m_address, {QStringLiteral("article")}).valueOr(nullptr);
        QVERIFY(m_db);
    }
    void cleanup()
    {
        m_db.reset();
        m_dir.reset();
        for (const QString& name : std::as_const(m_serverDatabases))
            admin(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(name));
        m_serverDatabases.clear();
    }

    void dialect_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("server");
        QTest::newRow("top") << "SELECT TOP 1 k FROM t ORDER BY k DESC"
                             << "SELECT k FROM t ORDER BY k COLLATE RU DESC LIMIT 1"
                             << "SELECT k FROM t ORDER BY frostpick_order(k) DESC NULLS LAST LIMIT 1";
        QTest::newRow("several terms")
            << "SELECT DISTINCT a,b FROM t where a = 'K' ORDER BY a, b"
            << "SELECT DISTINCT a,b FROM t where a = 'K' ORDER BY a COLLATE RU, b COLLATE RU"
            << "SELECT * FROM (SELECT DISTINCT a,b FROM t where a = 'K') AS frostpick_rows ORDER BY "
               "frostpick_order(a) NULLS FIRST, frostpick_order(b) NULLS FIRST";
        QTest::newRow("no blank after comma")
            << "SELECT a FROM t ORDER BY b,a"
            << "SELECT a FROM t ORDER BY b COLLATE RU,a COLLATE RU"
            << "SELECT a FROM t ORDER BY frostpick_order(b) NULLS FIRST,frostpick_order(a) NULLS FIRST";
        const char* quoted = "SELECT a FROM t WHERE b='x ORDER BY y'";
        QTest::newRow("keyword inside a text is left alone") << quoted << quoted << quoted;
        const char* subQuery = "SELECT a FROM t WHERE k IN (SELECT f FROM p ORDER BY 1)";
        QTest::newRow("sub-query untouched") << subQuery << subQuery << subQuery;
        QTest::newRow("parameters") << "UPDATE t SET c=? WHERE n='?' AND k=?"
                                    << "UPDATE t SET c=? WHERE n='?' AND k=?"
                                    << "UPDATE t SET c=$1 WHERE n='?' AND k=$2";
    }
    void dialect()
    {
        QFETCH(QString, sql);
        if (m_engine == DatabaseEngine::SQLite)
            QTEST(SqlDialect::translate(sql), "file");
        else
            QTEST(SqlDialect::translateForServer(sql), "server");
    }
    // A query that finds nothing leaves the table as it was; a failing
    // statement says so.
    void queryResultsAndErrors()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO curtain (text_ru, c_value) VALUES ('нет', 0)")));
        QueryTable table;
        QCOMPARE(m_db->query(QStringLiteral("SELECT text_ru, c_value FROM curtain"), table).valueOr(-1), 1);
        QCOMPARE(m_db->query(QStringLiteral("SELECT text_ru, c_value FROM curtain WHERE pkey=99"), table)
                     .valueOr(-1),
                 0);
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(table.text(0, 0), QStringLiteral("нет"));
        QVERIFY(table.isEmpty(5, 5)); // outside the filled area: empty, no crash
        const Result<int> twoStatements = m_db->query(QStringLiteral("SELECT 1; SELECT 2"), table);
        QVERIFY(!twoStatements && twoStatements.failure().engineCode != 0);
        const Result<void> nowhere = m_db->execute(QStringLiteral("INSERT INTO nowhere (a) VALUES (1)"));
        QVERIFY(!nowhere && nowhere.failure().engineCode != 0);
        QVERIFY(m_db->checkIntegrity());
    }
    // What the user reads of a failure: one plain line by the engine's code,
    // the statement and the engine's text only in the details.
    void failuresAreToldInPlainWords_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("code"); // SQLSTATE, or SQLite's result code
        QTest::addColumn<QString>("advice");
        const QString unreachable = QStringLiteral(
            "Нет связи с сервером базы данных dbhost:5432. Проверьте сеть и повторите действие.");
        const QString fileBusy =
            QStringLiteral("Файл /data/order.mdb занят другой программой. Дождитесь, пока "
                           "она закончит работу с ним, и повторите действие.");
        QTest::newRow("connection lost") << true << "08006" << unreachable;
        QTest::newRow("server shutting down") << true << "57P01" << unreachable;
        QTest::newRow("lock wait over")
            << true << "55P03"
            << "Данные на сервере dbhost:5432 заняты другим пользователем. Повторите действие немного позже.";
        QTest::newRow("file locked") << false << "5" << fileBusy;
        QTest::newRow("file locked, extended code") << false << "517" << fileBusy;
        QTest::newRow("not a database") << false << "26"
                                        << "Файл /data/order.mdb поврежден или не является базой данных. "
                                           "Восстановите его из резервной копии.";
    }
    void failuresAreToldInPlainWords()
    {
        QFETCH(bool, server);
        QFETCH(QString, code);
        // As the engines number them: a SQLSTATE of digits read in hexadecimal, any other in base 36.
        const int number = !server                   ? code.toInt()
                           : code.toInt(nullptr, 16) ? code.toInt(nullptr, 16)
                                                     : code.toInt(nullptr, 36);
        const DatabaseAddress address =
            server ? DatabaseAddress::server(QStringLiteral("host=dbhost port=5432 dbname=frostpick"))
                   : DatabaseAddress::file(QStringLiteral("/data/order.mdb"));
        const DatabaseFailure failure =
            DatabaseFailure(number, QStringLiteral("engine text")).at(address, QStringLiteral("SELECT 1"));
        QTEST(failure.advice(), "advice");
        QVERIFY(failure.details().startsWith(QStringLiteral("SELECT 1\n\nengine text (")));
    }
    // A hostile list: ё and е, case, Latin, digits, prefixes, an empty name
    // and none. Both engines give the order of the file store's collation.
    void namesSortAsARussianReaderExpects()
    {
        const QStringList names =
            QStringLiteral("ёлка|Яблоки|абрикосы|Ель|Жёлудь|енот|ЁЖ|еж|Ёж|ель|Zebra|apple|Apple|10 т|9 т|ел|")
                .split(QLatin1Char('|'));
        for (const QString& n : names)
            QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('%1')").arg(n)));
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES (NULL)")));
        QueryTable table;
        QCOMPARE(
            m_db->query(QStringLiteral("SELECT text_ru FROM PGroup ORDER BY text_ru"), table).valueOr(-1),
            int(names.size()) + 1);
        QVERIFY(table.isEmpty(0, 0)); // no name first, as the file store sorts it
        QStringList sorted;
        for (int r = 1; r < table.rowCount(); ++r)
            sorted << table.text(r, 0);
        QStringList expected = names;
        std::sort(expected.begin(), expected.end(),
                  [](const QString& a, const QString& b) { return RussianCollation::compare(a, b) < 0; });
        QCOMPARE(sorted, expected);
        // Case is ignored and ё sorts as е, so "ёлка" comes before "Ель" (к < ь).
        QCOMPARE(sorted.mid(sorted.indexOf(QStringLiteral("абрикосы")), 9),
                 QStringLiteral("абрикосы|ЁЖ|Ёж|еж|ел|ёлка|Ель|ель|енот").split(QLatin1Char('|')));
        QVERIFY(RussianCollation::compare(u"ЯЩИК", u"ящик") != 0); // total order, not equality
    }
    void numbersStillSortAsNumbers()
    {
        for (int m : {100, 20, 5})
            QVERIFY(m_db->execute(
                QStringLiteral("INSERT INTO power (model, modification) VALUES ('K', %1)").arg(m)));
        QueryTable table;
        QCOMPARE(m_db->query(QStringLiteral("SELECT DISTINCT model,modification FROM power ORDER BY model, "
                                            "modification"),
                             table)
                     .valueOr(-1),
                 3);
        QCOMPARE(table.text(0, 1), QStringLiteral("5"));
        QCOMPARE(table.text(2, 1), QStringLiteral("100"));
    }
    // Whole numbers come as qint64 (a NUMERIC column's whole values too),
    // reals as double, text as QString, NULL as an empty value.
    void valuesKeepTheirTypes()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO power (model, modification, in_t, out_t, power) "
                                             "VALUES ('KMA 60', 60, 2.5, -7, 1200)")));
        QueryTable table;
        QCOMPARE(m_db->query(QStringLiteral("SELECT pkey, model, modification, in_t, out_t, power, fkey FROM "
                                            "power WHERE modification=60 AND power>1199.5"),
                             table)
                     .valueOr(-1),
                 1);
        const QList<int> types = {QMetaType::LongLong,   QMetaType::QString,  QMetaType::LongLong,
                                  QMetaType::Double,     QMetaType::LongLong, QMetaType::Double,
                                  QMetaType::UnknownType};
        for (int c = 0; c < int(types.size()); ++c)
            QCOMPARE(table.value(0, c).typeId(), types.at(c));
        QCOMPARE(table.value(0, 4), QVariant(qint64(-7)));
        QCOMPARE(table.value(0, 5), QVariant(1200.0));
        if (m_engine == DatabaseEngine::PostgreSQL) { // a file keeps no NaN
            QCOMPARE(m_db->query(QStringLiteral("SELECT CAST('NaN' AS float8), CAST('-Infinity' AS float8), "
                                                "CAST('NaN' AS numeric)"),
                                 table)
                         .valueOr(-1),
                     1);
            QVERIFY(std::isnan(table.value(0, 0).toDouble()) && std::isnan(table.value(0, 2).toDouble()));
            QCOMPARE(table.value(0, 1).toDouble(), -qInf());
        }
    }
    // Keys beyond 16 bits are given as they are: the programs refuse them
    // themselves. A row stored with a key of its own moves the key generator
    // on, as a copy's rows do.
    void keysContinueAfterCopiedRows()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (Pkey, text_ru) VALUES (32767, 'copied')")));
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('new')")));
        QCOMPARE(m_db->lastInsertKey(), 32768);
        QVERIFY(m_db->execute(QStringLiteral("UPDATE PGroup SET text_ru='x' WHERE Pkey>0")));
        QCOMPARE(m_db->changedRows(), 2);
    }
    // Neither a store that exists nor a half-made one: create refuses the
    // first and leaves nothing of a script that fails.
    void createLeavesNoHalfStore()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('мой')")));
        const Result<void> again = Database::create(m_address, {schema()});
        QVERIFY(!again && again.failure().fromEngine());
        QueryTable table;
        QCOMPARE(m_db->query(QStringLiteral("SELECT text_ru FROM PGroup"), table).valueOr(-1), 1);

        QFile script(m_dir->filePath(QStringLiteral("bad.sql")));
        QVERIFY(script.open(QIODevice::WriteOnly) &&
                script.write("CREATE TABLE a (x INTEGER);\nNOT SQL;\n") > 0);
        script.close();
        const DatabaseAddress target = newAddress();
        const Result<void> bad = Database::create(target, {script.fileName()});
        QVERIFY(!bad && bad.failure().fromEngine());
        QVERIFY(!Database::open(target, {QStringLiteral("a")}).valueOr(nullptr));
        QVERIFY(!QFile::exists(target.database + QStringLiteral(".part")));
    }
    void peekingNeverWrites()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('а'), ('б')")));
        const QString count = QStringLiteral("SELECT count(*) FROM PGroup");
        QCOMPARE(Database::peekCount(m_address, count).valueOr(-1), 2);
        QVERIFY(!Database::peekCount(m_address, QStringLiteral("DELETE FROM PGroup RETURNING 1")));
        QCOMPARE(Database::peekCount(m_address, count).valueOr(-1), 2);
    }
    void fileStaysReadableWithoutTheCollation()
    {
        if (m_engine != DatabaseEngine::SQLite)
            QSKIP("a property of the file store");
        // The collation lives in the connection, not in the file: a tool that
        // does not know it still reads and sorts the tables.
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('б'), ('а')")));
        m_db.reset();
        QProcess cli;
        cli.start(QStringLiteral("sqlite3"),
                  {m_address.database, "SELECT text_ru FROM PGroup ORDER BY text_ru"});
        QVERIFY(cli.waitForFinished());
        QCOMPARE(cli.readAllStandardOutput(), QByteArray("а\nб\n"));
    }
    // A second connection neither sees the uncommitted row nor fails as
    // locked; a read transaction keeps one version.
    void secondConnectionReadsWhileOneWrites()
    {
        auto reader = Database::open(m_address, {QStringLiteral("PGroup")}).valueOr(nullptr);
        QVERIFY(reader);
        QVERIFY(m_db->begin());
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('пишется')")));
        QueryTable table;
        const Result<int> read = reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table);
        QVERIFY2(read, qPrintable(TestDatabases::whyNot(read)));
        QCOMPARE(read.value(), 0);
        QVERIFY(m_db->commit());
        QCOMPARE(reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table).valueOr(-1), 1);
        QCOMPARE(m_db->lastInsertKey(), 1);
    }
    void readTransactionKeepsOneVersion()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('старое')")));
        auto reader = Database::open(m_address, {QStringLiteral("PGroup")}).valueOr(nullptr);
        QVERIFY(reader);
        QueryTable table;
        {
            const ReadTransaction outer(reader.get());
            QCOMPARE(reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table).valueOr(-1), 1);
            { // a nested one neither starts nor ends anything
                const ReadTransaction inner(reader.get());
            }
            QVERIFY(m_db->execute(QStringLiteral("UPDATE PGroup SET text_ru='новое'")));
            QCOMPARE(reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table).valueOr(-1), 1);
            QCOMPARE(table.text(0, 0), QStringLiteral("старое"));
        }
        QCOMPARE(reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table).valueOr(-1), 1);
        QCOMPARE(table.text(0, 0), QStringLiteral("новое"));
    }
    void journalFollowsTheFileSystem_data()
    {
        QTest::addColumn<qint64>("fileSystem");
        QTest::addColumn<bool>("writeAheadLog");
        QTest::newRow("ext4") << qint64(0xEF53) << true;
        QTest::newRow("tmpfs") << qint64(0x01021994) << true;
        QTest::newRow("NFS") << qint64(0x6969) << false;
        QTest::newRow("SMB") << qint64(0x517B) << false;
        QTest::newRow("CIFS") << qint64(0xFF534D42) << false;
        QTest::newRow("SMB2") << qint64(0xFE534D42) << false;
    }
    void journalFollowsTheFileSystem()
    {
        if (m_engine != DatabaseEngine::SQLite)
            QSKIP("a property of the file store");
        static qint64 s_fileSystem;
        QFETCH(qint64, fileSystem);
        s_fileSystem = fileSystem;
        const QString path = m_dir->filePath(QStringLiteral("shared.mdb"));
        QVERIFY(TestDatabases::createEmptyReference(path, TestDatabases::Storage::Files));
        NetworkFileSystem::setTypeProbe([](const QString&) -> std::optional<qint64> { return s_fileSystem; });
        auto db = Database::open(DatabaseAddress::file(path), {QStringLiteral("PGroup")}).valueOr(nullptr);
        NetworkFileSystem::setTypeProbe(nullptr);
        QVERIFY(db);
        QVERIFY(db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('общая папка')")));
        QTEST(QFile::exists(path + QStringLiteral("-wal")), "writeAheadLog");
    }
    // A shared file that another program holds in write-ahead logging cannot
    // leave it: the connection says why it takes no write (the program tells
    // the user), reading goes on, nothing is written.
    void sharedFileHeldInWriteAheadLogIsOnlyRead()
    {
        if (m_engine != DatabaseEngine::SQLite)
            QSKIP("a property of the file store");
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('а')")));
        FakeMessages messages;
        NetworkFileSystem::setTypeProbe([](const QString&) -> std::optional<qint64> { return 0x517B; });
        auto first = Database::open(m_address, {QStringLiteral("PGroup")}).valueOr(nullptr);
        auto second = Database::open(m_address, {QStringLiteral("PGroup")}).valueOr(nullptr);
        NetworkFileSystem::setTypeProbe(nullptr);
        QVERIFY(first && second);
        QVERIFY2(second->writesRefused().contains(QStringLiteral("WAL")),
                 qPrintable(second->writesRefused()));
        QueryTable table;
        const Result<void> refused =
            second->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('б')"));
        QVERIFY(!refused);
        QCOMPARE(refused.failure().engineText, second->writesRefused());
        QCOMPARE(second->query(QStringLiteral("SELECT text_ru FROM PGroup"), table).valueOr(-1), 1);
    }
    // On a share another computer's write is waited for, never read half-done
    // from under its lock.
    void peekOnAShareWaitsForAWriter()
    {
        if (m_engine != DatabaseEngine::SQLite)
            QSKIP("a property of the file store");
        const QString path = m_dir->filePath(QStringLiteral("shared.mdb"));
        QVERIFY(TestDatabases::createEmptyReference(path, TestDatabases::Storage::Files));
        NetworkFileSystem::setTypeProbe([](const QString&) -> std::optional<qint64> { return 0x6969; });
        auto writer =
            Database::open(DatabaseAddress::file(path), {QStringLiteral("PGroup")}).valueOr(nullptr);
        QVERIFY(writer && writer->execute(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(writer->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('а')")));
        std::thread commit([&writer] {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            (void)writer->execute(QStringLiteral("COMMIT"));
        });
        const qint64 seen =
            Database::peekCount(DatabaseAddress::file(path), QStringLiteral("SELECT count(*) FROM PGroup"))
                .valueOr(-1);
        commit.join();
        NetworkFileSystem::setTypeProbe(nullptr);
        QCOMPARE(seen, 1);
    }
    // A renamed row keeps its place: the server gives a table's rows in key
    // order, as a file does, without an ORDER BY and for an ORDER BY's ties.
    void renamedRowKeepsItsPlace()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO curtain (text_ru, c_value) VALUES ('нет', 5), "
                                             "('ленточная', 5), ('воздушная', 5)")));
        QVERIFY(m_db->execute(QStringLiteral("UPDATE curtain SET text_ru='нет завесы' WHERE text_ru='нет'")));
        QueryTable table;
        for (const char* sql :
             {"SELECT text_ru FROM curtain", "SELECT TOP 1 text_ru FROM curtain c WHERE c_value=5",
              "SELECT text_ru FROM curtain ORDER BY c_value"}) {
            QVERIFY(m_db->query(QString::fromLatin1(sql), table).valueOr(-1) > 0);
            QCOMPARE(table.text(0, 0), QStringLiteral("нет завесы"));
        }
        // Statements whose order is their own are sent as written.
        QCOMPARE(
            m_db->query(QStringLiteral("SELECT COUNT(*) FROM curtain WHERE c_value=5"), table).valueOr(-1),
            1);
        QCOMPARE(m_db->query(QStringLiteral("SELECT DISTINCT c_value FROM curtain"), table).valueOr(-1), 1);
    }
    // A read or a transaction's start finds the connection a restart broke
    // and connects again at once; a server that is down fails the action; a
    // transaction that lost its connection stays failed until it ends.
    void serverRestartedMidSession()
    {
        const QString cluster = qEnvironmentVariable("FROSTPICK_TEST_SERVER_CLUSTER");
        if (m_engine != DatabaseEngine::PostgreSQL || cluster.isEmpty())
            QSKIP("restarts the cluster FROSTPICK_TEST_SERVER_CLUSTER names");
        const QString read = QStringLiteral("SELECT text_ru FROM PGroup");
        QueryTable table;
        QCOMPARE(m_db->query(read, table).valueOr(-1), 0);
        QVERIFY(m_db->begin());
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('потеряно')")));
        restartCluster(cluster);
        const Result<void> lost =
            m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('тоже')"));
        QVERIFY(!lost && lost.failure().fromEngine());
        QVERIFY(!m_db->commit());
        m_db->rollback();
        Result<int> rows = m_db->query(read, table);
        QVERIFY2(rows.valueOr(-1) == 0, qPrintable(TestDatabases::whyNot(rows)));
        restartCluster(cluster, "stop");
        rows = m_db->query(read, table);
        QVERIFY(!rows);
        QVERIFY(rows.failure().engineText.contains(QStringLiteral("SQLSTATE")));
        QCOMPARE(rows.failure().at(m_address, read).kind(), DatabaseFailure::Kind::Connection);
        restartCluster(cluster, "start");
        QCOMPARE(m_db->query(read, table).valueOr(-1), 0);
        // A read snapshot ends without waiting for the server; a restart
        // after it is not seen by the next read, nor by the next write.
        {
            const ReadTransaction snapshot(m_db.get());
            QCOMPARE(m_db->query(read, table).valueOr(-1), 0);
        }
        restartCluster(cluster);
        rows = m_db->query(read, table);
        QVERIFY2(rows.valueOr(-1) == 0, qPrintable(TestDatabases::whyNot(rows)));
        restartCluster(cluster);
        const Result<void> begun = m_db->begin();
        QVERIFY2(begun, qPrintable(TestDatabases::whyNot(begun)));
        m_db->rollback();
        // One that begins after a restart reads on a new connection, still
        // in one snapshot; one that lost its connection after a read fails
        // as a whole.
        restartCluster(cluster);
        auto writer = Database::open(m_address, {QStringLiteral("PGroup")}).valueOr(nullptr);
        QVERIFY(writer);
        {
            const ReadTransaction snapshot(m_db.get());
            rows = m_db->query(read, table);
            QVERIFY2(rows.valueOr(-1) == 0, qPrintable(TestDatabases::whyNot(rows)));
            QVERIFY(writer->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('позже')")));
            QCOMPARE(m_db->query(read, table).valueOr(-1), 0);
            restartCluster(cluster);
            QCOMPARE(m_db->query(read, table).valueOr(-1), -1);
            QCOMPARE(m_db->query(read, table).valueOr(-1), -1);
        }
        QCOMPARE(m_db->query(read, table).valueOr(-1), 1);
    }

private:
    static bool admin(const QString& sql) { return ServerStores::execute(sql); }
    QString schema() const
    {
        return TestDatabases::dataFile(m_engine == DatabaseEngine::SQLite
                                           ? QStringLiteral("schema_nv.sql")
                                           : QStringLiteral("server_schema_nv.sql"));
    }
    // A file that does not exist yet, or an empty database on the server.
    DatabaseAddress newAddress()
    {
        const QString name = QStringLiteral("%1_%2").arg(m_prefix).arg(++m_made);
        if (m_engine == DatabaseEngine::SQLite)
            return DatabaseAddress::file(m_dir->filePath(name));
        if (admin(QStringLiteral("CREATE DATABASE %1").arg(name)))
            m_serverDatabases << name;
        return DatabaseAddress::server(testServer() + QStringLiteral(" dbname=") + name);
    }
    // Stops and starts the cluster, or takes only the step named.
    void restartCluster(const QString& cluster, const char* only = nullptr)
    {
        const QString script = TestDatabases::dataFile(QStringLiteral("../scripts/pg-cluster.sh"));
        for (const char* step : {"stop", "start"})
            if (!only || qstrcmp(only, step) == 0)
                QCOMPARE(QProcess::execute(script, {QLatin1String(step), cluster}), 0);
        if (!only || qstrcmp(only, "start") == 0)
            ServerStores::reconnect();
    }

    DatabaseEngine m_engine = DatabaseEngine::SQLite;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_db;
    DatabaseAddress m_address;
    const QString m_prefix = QStringLiteral("frostpick_test_%1").arg(QCoreApplication::applicationPid());
    int m_made = 0;
    QStringList m_serverDatabases;
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
