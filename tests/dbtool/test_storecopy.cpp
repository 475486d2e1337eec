#include "DbToolFixture.h"
#include "ProgramDatabases.h"
#include "StoreCopy.h"
#include "TestDatabases.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using DbToolFixture::dump;

class TestStoreCopy : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    static QStringList tablesOf(const QString& file)
    {
        return file.startsWith(QLatin1String("nv")) ? referenceTables() : orderTables();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(TestDatabases::createSampleReference(path("nv.mdb")));
        QVERIFY(DbToolFixture::createHostileOrders(path("order.mdb")));
        QVERIFY(DbToolFixture::createHostileOrders(path("big.mdb"), 150000));
    }

    // What the target holds before the copy, the options, and the outcome:
    // the source's rows, or the target's rows left as they were.
    void copyIntoTarget_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("trap"); // a statement run on the target first
        QTest::addColumn<int>("status");
        QTest::addRow("new reference file") << "nv.mdb"
                                            << "none" << false << "" << int(StatusOk);
        QTest::addRow("new orders file") << "order.mdb"
                                         << "none" << false << "" << int(StatusOk);
        QTest::addRow("fresh reference store") << "nv.mdb"
                                               << "empty" << false << "" << int(StatusOk);
        QTest::addRow("rows kept") << "order.mdb"
                                   << "sample" << false << "" << int(StatusTargetNotEmpty);
        QTest::addRow("rows replaced") << "order.mdb"
                                       << "sample" << true << "" << int(StatusOk);
        QTest::addRow("conflict part-way") << "order.mdb"
                                           << "sample" << true
                                           << "CREATE TRIGGER trap BEFORE INSERT ON data WHEN NEW.pkey = 300 "
                                              "BEGIN SELECT RAISE(ABORT, 'trap'); END"
                                           << int(StatusRefused);
    }
    void copyIntoTarget()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(bool, replace);
        QFETCH(QString, trap);
        QFETCH(int, status);
        const QString to = path(QStringLiteral("%1.%2").arg(QTest::currentDataTag(), source));
        const bool reference = source.startsWith(QLatin1String("nv"));
        if (target == QLatin1String("empty"))
            QVERIFY(reference ? TestDatabases::createEmptyReference(to)
                              : TestDatabases::createEmptyOrders(to));
        if (target == QLatin1String("sample"))
            QVERIFY(reference ? TestDatabases::createSampleReference(to)
                              : TestDatabases::createSampleOrders(to));
        if (!trap.isEmpty()) {
            auto db = Database::open(DatabaseAddress::file(to), {});
            QVERIFY(db && db->execute(trap));
        }
        const QStringList before = dump(to, tablesOf(source));
        QStringList lines;
        const ToolOutcome outcome =
            copyStore(path(source), to, {replace, {}}, {[&](const QString& line) { lines << line; }, {}});
        QCOMPARE(int(outcome.status), status);
        QCOMPARE(dump(to, tablesOf(source)),
                 status == StatusOk ? dump(path(source), tablesOf(source)) : before);
        if (status == StatusOk) {
            QCOMPARE(lines.size(), tablesOf(source).size() + 1);
            QVERIFY(lines.last().startsWith(QLatin1String("check: ")));
        }
        QCOMPARE(QFileInfo::exists(to), target != QLatin1String("none") || status == StatusOk);
    }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // in the output or the error
        QTest::addRow("help") << QStringList{"--help"} << 0 << "Exit status: 0 done; 1";
        QTest::addRow("no command") << QStringList{} << 2 << "give a command";
        QTest::addRow("one operand") << QStringList{"copy", "nv.mdb"} << 2 << "copy takes FROM TO";
        QTest::addRow("unknown option") << QStringList{"copy", "--fast", "a", "b"} << 2 << "--fast";
        QTest::addRow("bad store") << QStringList{"copy", "--store", "x", "a", "b"} << 2
                                   << "reference or orders";
        QTest::addRow("init a file") << QStringList{"init", "nv.mdb"} << 2 << "no postgresql:// URI";
        QTest::addRow("missing source") << QStringList{"copy", "missing.mdb", "x.mdb"} << 1 << "missing.mdb";
        QTest::addRow("server unreachable")
            << QStringList{"copy", "nv.mdb", "host=/nonexistent port=1 dbname=x password=secret"} << 1
            << "/nonexistent";
        QTest::addRow("target holds rows") << QStringList{"copy", "order.mdb", "big.mdb"} << 3 << "--replace";
        QTest::addRow("no common store")
            << QStringList{"copy", "nv.mdb", "order.mdb"} << 4 << "no store in common";
        QTest::addRow("grants printed") << QStringList{"grant", "--print", "eng\"x", "admin"} << 0
                                        << "GRANT SELECT ON article, curtain, packing, PGroup, Product, gas, "
                                           "equipment, power TO \"eng\"\"x\";";
    }
    void exitStatuses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        for (QString& argument : arguments) {
            if (argument.endsWith(QLatin1String(".mdb")))
                argument = path(argument);
        }
        const DbToolFixture::Run run = DbToolFixture::runTool(arguments);
        QCOMPARE(run.exitCode, status);
        QVERIFY2((run.out + run.err).contains(said), qPrintable(run.out + run.err));
        QVERIFY(!run.err.contains(QLatin1String("secret")));
    }

    // Killed while writing a large table, the copy leaves an existing target
    // as it was and a new one absent.
    void killedCopy_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addRow("existing target") << true;
        QTest::addRow("new target") << false;
    }
    void killedCopy()
    {
        QFETCH(bool, existing);
        const QString to = path(existing ? "killed.mdb" : "new-killed.mdb");
        if (existing)
            QVERIFY(TestDatabases::createSampleOrders(to));
        const QStringList before = dump(to, orderTables());
        QProcess process;
        process.start(QStringLiteral(FROSTPICK_DB_EXE), {"copy", "--replace", path("big.mdb"), to});
        // The write-ahead log grows while the transaction writes.
        const QString log = (existing ? to : to + QStringLiteral(".copying")) + QStringLiteral("-wal");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(log).size() > 4 << 20, 60000);
        process.kill();
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(dump(to, orderTables()), before);
        QCOMPARE(QFileInfo::exists(to), existing);
    }
};

QTEST_GUILESS_MAIN(TestStoreCopy)
#include "test_storecopy.moc"
