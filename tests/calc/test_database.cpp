// The query layer over SQLite: the dialect translation, the 0-row rule,
// Russian ordering, and that files are never silently replaced.
#include "Database.h"
#include "NetworkFileSystem.h"
#include "QueryTable.h"
#include "RussianCollation.h"
#include "SqlDialect.h"
#include "TestDatabases.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = m_dir->filePath(QStringLiteral("nv.mdb"));
        QVERIFY(TestDatabases::createEmptyReference(m_path));
        m_db = Database::open(DatabaseAddress::file(m_path), {QStringLiteral("article")});
        QVERIFY(m_db);
    }
    void cleanup()
    {
        m_db.reset();
        m_dir.reset();
    }

    void dialect_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("top") << "SELECT TOP 1 pkey FROM contact ORDER BY pkey DESC"
                             << "SELECT pkey FROM contact ORDER BY pkey COLLATE RU DESC LIMIT 1";
        QTest::newRow("several terms")
            << "SELECT DISTINCT model,modification FROM power where model = 'KMA' ORDER BY "
               "model, modification"
            << "SELECT DISTINCT model,modification FROM power where model = 'KMA' ORDER BY "
               "model COLLATE RU, modification COLLATE RU";
        QTest::newRow("no blank after comma")
            << "SELECT in_t FROM power ORDER BY out_t,in_t"
            << "SELECT in_t FROM power ORDER BY out_t COLLATE RU,in_t COLLATE RU";
        QTest::newRow("keyword inside a text is left alone") << "SELECT a FROM t WHERE b='x ORDER BY y'"
                                                             << "SELECT a FROM t WHERE b='x ORDER BY y'";
        QTest::newRow("sub-query untouched")
            << "SELECT Pkey,text_ru FROM PGroup WHERE Pkey IN (SELECT Fkey FROM "
               "Product) ORDER BY text_ru"
            << "SELECT Pkey,text_ru FROM PGroup WHERE Pkey IN (SELECT Fkey FROM "
               "Product) ORDER BY text_ru COLLATE RU";
        QTest::newRow("plain statement") << "UPDATE contact SET city='a' WHERE pkey=1"
                                         << "UPDATE contact SET city='a' WHERE pkey=1";
    }
    void dialect()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(SqlDialect::translate(sql), expected);
    }
    void zeroRowsLeaveTheTableAsItWas()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO curtain (text_ru, c_value) VALUES ('нет', 0)")));
        QueryTable table;
        QCOMPARE(m_db->query(QStringLiteral("SELECT text_ru, c_value FROM curtain"), table), 1);
        QCOMPARE(table.text(0, 0), QStringLiteral("нет"));

        QCOMPARE(m_db->query(QStringLiteral("SELECT text_ru, c_value FROM curtain WHERE pkey=99"), table), 0);
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(table.text(0, 0), QStringLiteral("нет"));
        QVERIFY(table.isEmpty(5, 5)); // outside the filled area: empty, no crash
    }
    void topReturnsTheFirstRows()
    {
        for (int i = 0; i < 3; ++i)
            QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('g%1')").arg(i)));
        QueryTable table;
        QCOMPARE(m_db->query(QStringLiteral("SELECT TOP 1 Pkey FROM PGroup ORDER BY Pkey DESC"), table), 1);
        QCOMPARE(table.integer(0, 0), 3);
    }
    void namesSortAsARussianReaderExpects()
    {
        const QStringList names = {QStringLiteral("ёлка"),     QStringLiteral("Яблоки"),
                                   QStringLiteral("абрикосы"), QStringLiteral("Ель"),
                                   QStringLiteral("Жёлудь"),   QStringLiteral("енот")};
        for (const QString& n : names)
            QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('%1')").arg(n)));
        QueryTable table;
        QCOMPARE(m_db->query(QStringLiteral("SELECT text_ru FROM PGroup ORDER BY text_ru"), table), 6);
        QStringList sorted;
        for (int r = 0; r < table.rowCount(); ++r)
            sorted << table.text(r, 0);
        // Case is ignored and ё sorts as е, so "ёлка" comes before "Ель" (к < ь).
        QCOMPARE(sorted,
                 (QStringList{QStringLiteral("абрикосы"), QStringLiteral("ёлка"), QStringLiteral("Ель"),
                              QStringLiteral("енот"), QStringLiteral("Жёлудь"), QStringLiteral("Яблоки")}));
        QVERIFY(RussianCollation::compare(u"Ёж", u"ежи") < 0);
        QVERIFY(RussianCollation::compare(u"ЯЩИК", u"ящик") != 0); // total order, not equality
    }
    void numbersStillSortAsNumbers()
    {
        for (int m : {100, 20, 5})
            QVERIFY(m_db->execute(
                QStringLiteral("INSERT INTO power (model, modification) VALUES ('KMA', %1)").arg(m)));
        QueryTable table;
        QCOMPARE(m_db->query(QStringLiteral("SELECT DISTINCT model,modification FROM power ORDER BY model, "
                                            "modification"),
                             table),
                 3);
        QCOMPARE(table.text(0, 1), QStringLiteral("5"));
        QCOMPARE(table.text(2, 1), QStringLiteral("100"));
    }
    void createRefusesToOverwrite()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('мой')")));
        DbError error;
        QVERIFY(!Database::create(DatabaseAddress::file(m_path),
                                  {TestDatabases::dataFile(QStringLiteral("schema_nv.sql"))}, &error));
        QueryTable table;
        QCOMPARE(m_db->query(QStringLiteral("SELECT text_ru FROM PGroup"), table), 1);
    }
    void aFailedScriptLeavesNoFile()
    {
        const QString script = m_dir->filePath(QStringLiteral("bad.sql"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("CREATE TABLE a (x INTEGER);\nTHIS IS NOT SQL;\n");
        f.close();
        const QString target = m_dir->filePath(QStringLiteral("new.mdb"));
        DbError error;
        QVERIFY(!Database::create(DatabaseAddress::file(target), {script}, &error));
        QVERIFY(error.isError());
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(target + QStringLiteral(".part")));
    }
    void fileStaysReadableWithoutTheCollation()
    {
        // The collation lives in the connection, not in the file: a tool that
        // does not know it still reads and sorts the tables.
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('б'), ('а')")));
        m_db.reset();
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(m_path);
        QVERIFY(raw.open());
        {
            QSqlQuery q(raw);
            QVERIFY(q.exec(QStringLiteral("SELECT text_ru FROM PGroup ORDER BY text_ru")));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("а"));
        }
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    }
    void secondConnectionReadsWhileOneWrites()
    {
        auto reader = Database::open(DatabaseAddress::file(m_path), {QStringLiteral("PGroup")});
        QVERIFY(reader);
        QVERIFY(m_db->begin());
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('пишется')")));
        QueryTable table;
        DbError error;
        // The uncommitted row is not seen, and reading does not fail as locked.
        QCOMPARE(reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table, &error), 0);
        QVERIFY(!error.isError());
        QVERIFY(m_db->commit());
        QCOMPARE(reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table), 1);
        QCOMPARE(m_db->lastInsertKey(), 1);
    }
    void readTransactionKeepsOneVersion()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('старое')")));
        auto reader = Database::open(DatabaseAddress::file(m_path), {QStringLiteral("PGroup")});
        QVERIFY(reader);
        QueryTable table;
        {
            const ReadTransaction outer(reader.get());
            QCOMPARE(reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table), 1);
            {
                // A nested one neither starts nor ends anything.
                const ReadTransaction inner(reader.get());
            }
            QVERIFY(m_db->execute(QStringLiteral("UPDATE PGroup SET text_ru='новое'")));
            QCOMPARE(reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table), 1);
            QCOMPARE(table.text(0, 0), QStringLiteral("старое"));
        }
        QCOMPARE(reader->query(QStringLiteral("SELECT text_ru FROM PGroup"), table), 1);
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
        static qint64 s_fileSystem;
        QFETCH(qint64, fileSystem);
        s_fileSystem = fileSystem;
        const QString path = m_dir->filePath(QStringLiteral("shared.mdb"));
        QVERIFY(TestDatabases::createEmptyReference(path));
        NetworkFileSystem::setTypeProbe([](const QString&) -> std::optional<qint64> { return s_fileSystem; });
        auto db = Database::open(DatabaseAddress::file(path), {QStringLiteral("PGroup")});
        NetworkFileSystem::setTypeProbe(nullptr);
        QVERIFY(db);
        QVERIFY(db->execute(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES ('общая папка')")));
        QTEST(QFile::exists(path + QStringLiteral("-wal")), "writeAheadLog");
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_db;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
