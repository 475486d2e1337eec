// A process that saves calculations is killed at random moments; afterwards
// the orders database must be intact, every committed save complete, and
// every calculation's customer present.
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "FakeMessages.h"
#include "SaveScenario.h"
#include "TestDatabases.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

class TestCrashSave : public QObject
{
    Q_OBJECT

private slots:
    void killedInTheMiddleOfSaving()
    {
        QTemporaryDir dir;
        QVERIFY(TestDatabases::createSampleFolder(dir.path()));
        QRandomGenerator random(20261206);
        SaveScenario::SaveLog log;
        int confirmed = 0;
        for (int round = 0; round < 50; ++round) {
            const int first = round * 100000 + 1;
            QProcess saver;
            saver.start(QStringLiteral(SAVE_LOOP_EXE), {dir.path(), QString::number(first)});
            QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
            QTest::qWait(int(60 + random.bounded(250)));
            QVERIFY2(saver.state() == QProcess::Running, saver.readAllStandardError().constData());
            saver.kill(); // SIGKILL
            QVERIFY(saver.waitForFinished());
            confirmed += log.addRun(0, first, saver.readAllStandardOutput());

            auto db = Database::open(DataLocation::folder(dir.path()).orders(), orderTables());
            QVERIFY(db);
            const QString problem = log.check(*db);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }

        FakeMessages messages;
        CalculationRecord record;
        QCOMPARE(OpenDatabases(record, DataLocation::folder(dir.path())), 0);
        QVERIFY(confirmed > 50);
        qInfo("saves confirmed: %d", confirmed);
    }
};

QTEST_GUILESS_MAIN(TestCrashSave)
#include "test_crashsave.moc"
