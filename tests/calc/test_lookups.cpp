#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "FakeMessages.h"
#include "Lookups.h"
#include "TestDatabases.h"

#include <QTemporaryDir>
#include <QtTest>

class TestLookups : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("nv.mdb"));
        QVERIFY(TestDatabases::createEmptyReference(path));
        m_context.ref_db = Database::open(TestDatabases::address(path), referenceTables()).valueOr(nullptr);
        QVERIFY(m_context.ref_db);
        for (const char* sql : {
                 "INSERT INTO article (Pkey, s_name, s_value, cls_n) VALUES (3, 'Пенополиуретан', 0.025, 1)",
                 "INSERT INTO curtain (Pkey, text_ru, c_value) VALUES (4, 'Завеса', 60)",
                 "INSERT INTO packing (Pkey, text_ru, mass, thermal) VALUES (5, 'Ящик', 10, 0.4)",
                 "INSERT INTO Product VALUES (6, 'Apples', 'Mele', 'Яблоки', 0.92, 0.48, 68, -1.2, -5, 0.01, "
                 "0.02, "
                 "0.03, 0.08, 1)",
             })
            QVERIFY(m_context.ref_db->execute(QString::fromUtf8(sql)));
    }

    void articleFoundAndMissing()
    {
        QString name = QStringLiteral("old");
        double value = 7;
        QCOMPARE(GetArticle(m_context, 3, name, value), 1);
        QCOMPARE(name, QStringLiteral("Пенополиуретан"));
        QCOMPARE(value, 0.025);

        name = QStringLiteral("old");
        value = 7;
        QCOMPARE(GetArticle(m_context, 99, name, value), -1);
        QCOMPARE(name, QStringLiteral("old"));
        QCOMPARE(value, 7.0);
    }

    void productTakesColumnsByPosition()
    {
        CalculationRecord& r = m_record;
        QCOMPARE(GetProduct(m_context, r, 6), 0);
        QCOMPARE(r.px_product_name, QStringLiteral("Яблоки"));
        const double expected[] = {0.92, 0.48, 68, -1.2, -5, 0.01, 0.02, 0.03, 0.08};
        const double actual[] = {r.co, r.cz, r.cwr, r.tko, r.tnz, r.td0, r.td2, r.td5, r.td15};
        for (int i = 0; i < 9; ++i)
            QCOMPARE(actual[i], expected[i]);

        QCOMPARE(GetProduct(m_context, r, 99), 0);
        QCOMPARE(r.px_product_name, QStringLiteral("Яблоки"));
        QCOMPARE(r.td15, 0.08);
    }

    void packingCurtainGas()
    {
        CalculationRecord& r = m_record;
        QCOMPARE(GetPacking(m_context, r, 5), 1);
        QCOMPARE(r.packing_mass, 10.0);
        QCOMPARE(r.packing_thermal, 0.4);
        QCOMPARE(r.px_packing_name, QStringLiteral("Ящик"));
        QCOMPARE(GetCurtain(m_context, r, 4), 1);
        QCOMPARE(r.xk_curtain_name, QStringLiteral("Завеса"));
        QCOMPARE(r.xk_curtain_c, 60.0);
        QCOMPARE(GetGas(m_context, r, 2), 1);
        QCOMPARE(r.xo_gas, QStringLiteral("R404a"));

        QCOMPARE(GetPacking(m_context, r, 99), 0);
        QCOMPARE(GetCurtain(m_context, r, 0), 0);
        QCOMPARE(GetGas(m_context, r, -1), 0);
        QCOMPARE(r.px_packing_name, QStringLiteral("Ящик"));
        QCOMPARE(r.packing_thermal, 0.4);
        QCOMPARE(r.xk_curtain_name, QStringLiteral("Завеса"));
        QCOMPARE(r.xk_curtain_c, 60.0);
        QCOMPARE(r.xo_gas, QStringLiteral("R404a"));
        QVERIFY(m_messages.shown().isEmpty());
    }

    void cleanup() { m_messages.checkSeen(); }
    void cleanupTestCase() { m_context.ref_db.reset(); }

private:
    FakeMessages m_messages;
    QTemporaryDir m_dir;
    CalculationContext m_context;
    CalculationRecord m_record;
};

QTEST_GUILESS_MAIN(TestLookups)
#include "test_lookups.moc"
