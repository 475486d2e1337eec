// A process that saves calculations is killed at random moments; afterwards
// the orders file must be intact, every committed save complete, and every
// calculation's customer present.
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "FakeMessages.h"
#include "QueryTable.h"
#include "SaveScenario.h"
#include "TestDatabases.h"

#include <QDir>
#include <QMap>
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
        QMap<qint64, int> lastConfirmed; // data key -> number of its last confirmed save
        int kills = 0, confirmed = 0, rowsChecked = 0;

        for (int round = 0; round < 50; ++round) {
            QProcess saver;
            saver.start(QStringLiteral(SAVE_LOOP_EXE), {dir.path(), QString::number(round * 100000 + 1)});
            QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
            QTest::qWait(int(60 + random.bounded(250)));
            QVERIFY2(saver.state() == QProcess::Running, saver.readAllStandardError().constData());
            saver.kill(); // SIGKILL
            QVERIFY(saver.waitForFinished());
            ++kills;
            for (const QByteArray& line : saver.readAllStandardOutput().split('\n')) {
                const QList<QByteArray> parts = line.split(' ');
                if (parts.size() == 3 && parts.at(0) == "saved") {
                    lastConfirmed[parts.at(2).toLongLong()] = parts.at(1).toInt();
                    ++confirmed;
                }
            }

            auto db =
                Database::open(TestDatabases::address(QDir(dir.path()).filePath(QStringLiteral("order.mdb"))),
                               orderTables());
            QVERIFY(db);
            DbError damage;
            QVERIFY2(db->checkIntegrity(&damage), qPrintable(damage.description));
            QueryTable orphans;
            QCOMPARE(db->query(QStringLiteral(
                                   "SELECT pkey FROM data WHERE contact NOT IN (SELECT pkey FROM contact)"),
                               orphans),
                     0);
            // A customer saved without its calculation would be half a save.
            QCOMPARE(db->query(QStringLiteral(
                                   "SELECT pkey FROM contact WHERE pkey NOT IN (SELECT contact FROM data)"),
                               orphans),
                     0);
            QueryTable rows;
            const int count = db->query(QStringLiteral("SELECT * FROM data WHERE onote LIKE 'save %'"), rows);
            QMap<qint64, int> found;
            for (int r = 0; r < count; ++r) {
                const QString problem = SaveScenario::checkDataRow(rows, r);
                QVERIFY2(problem.isEmpty(), qPrintable(problem));
                found[rows.integer(r, 0)] = rows.text(r, 34).section(QLatin1Char(' '), 1, 1).toInt();
                ++rowsChecked;
            }
            for (auto it = lastConfirmed.cbegin(); it != lastConfirmed.cend(); ++it) {
                // A save may have committed after the last line it printed.
                QVERIFY2(found.contains(it.key()) && found.value(it.key()) >= it.value(),
                         qPrintable(QStringLiteral("confirmed save %1 of row %2 is missing")
                                        .arg(it.value())
                                        .arg(it.key())));
            }
            db.reset();
        }

        FakeMessages messages;
        CalculationRecord record;
        QCOMPARE(OpenDatabases(record, DataLocation::folder(dir.path())), 0);
        QVERIFY(confirmed > 50);
        qInfo("kills survived: %d, saves confirmed: %d, rows checked: %d", kills, confirmed, rowsChecked);
    }
};

QTEST_GUILESS_MAIN(TestCrashSave)
#include "test_crashsave.moc"
