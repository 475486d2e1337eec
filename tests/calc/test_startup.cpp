// Start-up: the record's start and reset values, and every way the program
// files can fail to open, with the messages the user sees.
#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "FakeMessages.h"
#include "TestDatabases.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void resetKeepsWhatTheNextCalculationNeeds()
    {
        CalculationRecord r;
        ApplyStartValues(r);
        r.xk_length = 5;
        r.xk_wall = 80;
        r.xk_ceiling_name = QStringLiteral("пенополиуретан панели");
        r.by_moisture = 90;
        r.px_product = 7;
        r.px_pgroup = 3;
        r.px_product_name = QStringLiteral("Яблоки");
        r.co = 0.9;
        r.contact = 12;
        r.contact_organization = QStringLiteral("Холод");
        r.pkey_data = 40000;
        r.onote = QStringLiteral("вариант");
        r.NewCalculation = true;
        r.NewContact = true;
        r.q_total = 1234;
        r.sel_model = QStringLiteral("KMN");
        r.xo_count = 3;

        ResetRecordFields(r);
        QCOMPARE(r.xk_length, 0.0);
        QCOMPARE(r.xk_wall, qint16(100));
        QVERIFY(r.xk_ceiling_name.isEmpty());
        QCOMPARE(r.by_moisture, qint16(70)); // not the start value 75
        QCOMPARE(r.px_product, qint16(0));
        QCOMPARE(r.xo_count, qint16(1));
        QVERIFY(r.onote.isEmpty());
        QVERIFY(!r.NewCalculation);
        QVERIFY(!r.NewContact);
        // kept
        QCOMPARE(r.px_pgroup, qint16(3));
        QCOMPARE(r.px_product_name, QStringLiteral("Яблоки"));
        QCOMPARE(r.co, 0.9);
        QCOMPARE(r.contact, qint16(12));
        QCOMPARE(r.contact_organization, QStringLiteral("Холод"));
        QCOMPARE(r.pkey_data, 40000);
        QCOMPARE(r.q_total, 1234);
        QCOMPARE(r.sel_model, QStringLiteral("KMN"));
    }
    void failures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("damage");
        for (const char* file : {"nv.mdb", "order.mdb"}) {
            for (const char* damage : {"absent", "empty", "random", "truncated", "foreign", "folder"})
                QTest::addRow("%s %s", file, damage)
                    << QString::fromLatin1(file) << QString::fromLatin1(damage);
        }
    }
    void failures()
    {
        QFETCH(QString, file);
        QFETCH(QString, damage);
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QVERIFY(TestDatabases::createEmptyReference(folder.filePath(QStringLiteral("nv.mdb"))));
        QVERIFY(TestDatabases::createEmptyOrders(folder.filePath(QStringLiteral("order.mdb"))));
        const QString path = folder.filePath(file);
        QVERIFY(QFile::remove(path));

        QVERIFY(TestDatabases::createDamaged(path, damage));
        const QFileInfo before(path);
        const qint64 sizeBefore = before.exists() && before.isFile() ? before.size() : -1;

        CalculationContext context;
        const Result<void> opened = OpenDatabases(context, DataLocation::folder(dir.path()));
        QVERIFY(!opened);
        // The engine's error, for the program that opens to show.
        QCOMPARE(opened.failure().address.database, path);
        QVERIFY(opened.failure().fromEngine());
        QVERIFY(!opened.failure().engineText.isEmpty());
        QVERIFY(!context.ref_db && !context.order_db);

        // The damaged file is neither replaced nor turned into a new database.
        const QFileInfo after(path);
        if (damage == QLatin1String("absent"))
            QVERIFY(!after.exists());
        else if (sizeBefore >= 0)
            QCOMPARE(after.size(), sizeBefore);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
