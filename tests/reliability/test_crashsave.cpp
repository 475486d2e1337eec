// A process that saves calculations is killed after a chosen number of
// confirmed saves, on its way through the next one; afterwards the orders
// database must be intact, every committed save complete, and every
// calculation's customer present.
#include "CalculationContext.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "FakeMessages.h"
#include "SaveScenario.h"
#include "TestDatabases.h"

#include <QProcess>
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
        SaveScenario::SaveLog log;
        for (int round = 0; round < 50; ++round) {
            const int first = round * 100000 + 1;
            // 1 to 5 saves: each kind of save (SaveScenario) is cut short.
            const int killAfter = 1 + round % 5;
            QProcess saver;
            saver.start(QStringLiteral(SAVE_LOOP_EXE), {dir.path(), QString::number(first)});
            QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
            QByteArray output;
            while (output.count('\n') < killAfter) {
                QVERIFY2(saver.waitForReadyRead(60000), saver.readAllStandardError().constData());
                output += saver.readAllStandardOutput();
            }
            saver.kill(); // SIGKILL
            QVERIFY(saver.waitForFinished());
            QVERIFY(log.addRun(0, first, output + saver.readAllStandardOutput()) >= killAfter);

            auto db =
                Database::open(DataLocation::folder(dir.path()).orders(), orderTables()).valueOr(nullptr);
            QVERIFY(db);
            const QString problem = log.check(*db);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }

        FakeMessages messages;
        CalculationContext context;
        QVERIFY(OpenDatabases(context, DataLocation::folder(dir.path())));
    }
};

QTEST_GUILESS_MAIN(TestCrashSave)
#include "test_crashsave.moc"
