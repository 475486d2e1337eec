// Reads through reused prepared statements: literals compared in a WHERE
// become parameters with the literal's meaning, and a reused statement still
// sees every change, also one made by another connection.
#include "Database.h"
#include "LiteralBinding.h"
#include "QueryTable.h"
#include "TestDatabases.h"

#include <QTemporaryDir>
#include <QtTest>

class TestPreparedReads : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(QStringLiteral("nv.mdb"));
        QVERIFY(TestDatabases::createEmptyReference(m_path));
        m_db = Database::open(TestDatabases::address(m_path), {QStringLiteral("power")}).valueOr(nullptr);
        QVERIFY(m_db);
        QVERIFY(m_db->execute(
            QStringLiteral("INSERT INTO power (model, modification, in_t, out_t, power) VALUES "
                           "('KMA', 50, -5, 20, 1000), ('KMA', 50, 0, 20, 1100), ('KMA', 100, -5, 20, 2000), "
                           "('K''M', 7, 0, 20, 10)")));
    }
    void cleanup()
    {
        m_db.reset();
        m_dir.reset();
    }

    void literalsBecomeParameters_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariantList>("values");
        QTest::newRow("key") << "SELECT * FROM product WHERE pkey=17"
                             << "SELECT * FROM product WHERE pkey=?" << QVariantList{qint64(17)};
        QTest::newRow("text, number with leading zero, real")
            << "SELECT in_t FROM power where model ='KMA' AND out_t=20 AND modification=050 AND power>=1.5e3"
            << "SELECT in_t FROM power where model =? AND out_t=? AND modification=? AND power>=?"
            << QVariantList{QStringLiteral("KMA"), qint64(20), qint64(50), 1500.0};
        QTest::newRow("doubled apostrophe")
            << "SELECT 1 FROM t WHERE a='O''Brien'"
            << "SELECT 1 FROM t WHERE a=?" << QVariantList{QStringLiteral("O'Brien")};
        QTest::newRow("ordinals, limits, names with digits and signs stay")
            << "SELECT TOP 1 td15 FROM t WHERE x<>-2 ORDER BY 1"
            << "SELECT TOP 1 td15 FROM t WHERE x<>-2 ORDER BY 1" << QVariantList{};
        QTest::newRow("literal away from a comparison stays")
            << "SELECT 'a', 5 FROM t WHERE b IN (1, 2)"
            << "SELECT 'a', 5 FROM t WHERE b IN (1, 2)" << QVariantList{};
        QTest::newRow("number glued to a name stays") << "SELECT * FROM t WHERE a=5x"
                                                      << "SELECT * FROM t WHERE a=5x" << QVariantList{};
        QTest::newRow("existing parameter: left whole")
            << "SELECT * FROM t WHERE a=? AND b=3"
            << "SELECT * FROM t WHERE a=? AND b=3" << QVariantList{};
        QTest::newRow("trigger: left whole")
            << "CREATE TRIGGER t AFTER INSERT ON c WHEN NEW.pkey < 500 BEGIN DELETE FROM c WHERE pkey=1; END"
            << "CREATE TRIGGER t AFTER INSERT ON c WHEN NEW.pkey < 500 BEGIN DELETE FROM c WHERE pkey=1; END"
            << QVariantList{};
        QTest::newRow("update") << "UPDATE contact SET city='Тверь' WHERE pkey=3"
                                << "UPDATE contact SET city=? WHERE pkey=?"
                                << QVariantList{QStringLiteral("Тверь"), qint64(3)};
        QTest::newRow("comment: left whole") << "SELECT * FROM t WHERE a=3 -- b=4"
                                             << "SELECT * FROM t WHERE a=3 -- b=4" << QVariantList{};
        QTest::newRow("unclosed literal: left whole") << "SELECT * FROM t WHERE a='x"
                                                      << "SELECT * FROM t WHERE a='x" << QVariantList{};
    }
    void literalsBecomeParameters()
    {
        QFETCH(QString, sql);
        QFETCH(QString, text);
        QFETCH(QVariantList, values);
        const LiteralBinding::BoundStatement bound = LiteralBinding::bind(sql);
        QCOMPARE(bound.text, text);
        QCOMPARE(bound.values, values);
    }

    // The same prepared form serves different values, and each value means
    // what the literal meant: 050 is the number 50, a text matches text.
    void oneStatementServesManyValues()
    {
        QueryTable t;
        QCOMPARE(m_db->query(QStringLiteral("SELECT power FROM power WHERE model='KMA' AND modification=050 "
                                            "ORDER BY in_t"),
                             t)
                     .valueOr(-1),
                 2);
        QCOMPARE(t.number(1, 0), 1100.0);
        QCOMPARE(m_db->query(QStringLiteral("SELECT power FROM power WHERE model='KMA' AND modification=100 "
                                            "ORDER BY in_t"),
                             t)
                     .valueOr(-1),
                 1);
        QCOMPARE(t.number(0, 0), 2000.0);
        QCOMPARE(t.rowCount(), 1);
        QCOMPARE(
            m_db->query(QStringLiteral("SELECT modification FROM power WHERE model='K''M'"), t).valueOr(-1),
            1);
        QCOMPARE(t.text(0, 0), QStringLiteral("7"));
    }

    void valuesKeepTheirKinds()
    {
        QVERIFY(m_db->execute(QStringLiteral("INSERT INTO article (Pkey, s_name, s_value, cls_n) VALUES "
                                             "(3, 'Пенополиуретан ё', 0.025, NULL)")));
        QueryTable t;
        QCOMPARE(
            m_db->query(QStringLiteral("SELECT Pkey, s_name, s_value, cls_n FROM article WHERE Pkey=3"), t)
                .valueOr(-1),
            1);
        QCOMPARE(t.value(0, 0).typeId(), int(QMetaType::LongLong));
        QCOMPARE(t.text(0, 1), QStringLiteral("Пенополиуретан ё"));
        QCOMPARE(t.value(0, 2).typeId(), int(QMetaType::Double));
        QVERIFY(t.isEmpty(0, 3));
    }

    // A statement kept prepared must still see what another program wrote
    // and committed since its last run, schema changes included.
    void reusedStatementSeesOtherConnectionsChanges()
    {
        const QString sql = QStringLiteral("SELECT power FROM power WHERE model='KMA' AND modification=100");
        QueryTable t;
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        auto other =
            Database::open(TestDatabases::address(m_path), {QStringLiteral("power")}).valueOr(nullptr);
        QVERIFY(other);
        QVERIFY(other->execute(QStringLiteral("UPDATE power SET power=2500 WHERE modification=100")));
        QVERIFY(other->execute(QStringLiteral("ALTER TABLE power ADD COLUMN note TEXT")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2500.0);
        QCOMPARE(m_db->query(QStringLiteral("SELECT note FROM power WHERE modification=100"), t).valueOr(-1),
                 1);
    }

    void twoStatementsInOneTextAreRefused()
    {
        const Result<void> refused =
            m_db->execute(QStringLiteral("UPDATE power SET fkey=1; DELETE FROM power"));
        QVERIFY(!refused && refused.failure().fromEngine());
        QueryTable t;
        QCOMPARE(m_db->query(QStringLiteral("SELECT power FROM power WHERE fkey IS NULL"), t).valueOr(-1), 4);
    }

    void failedStatementLeavesLaterReadsWorking()
    {
        QueryTable t;
        QCOMPARE(m_db->query(QStringLiteral("SELECT power FROM power WHERE modification=100"), t).valueOr(-1),
                 1);
        const Result<int> refused =
            m_db->query(QStringLiteral("SELECT nothing FROM power WHERE model='KMA'"), t);
        QVERIFY(!refused && refused.failure().fromEngine());
        QVERIFY(refused.failure().engineText.contains(QStringLiteral("nothing")));
        QCOMPARE(t.number(0, 0), 2000.0); // the table is left as it was
        QCOMPARE(m_db->query(QStringLiteral("SELECT power FROM power WHERE model='KMA'"), t).valueOr(-1), 3);
    }

    // Many different statement texts: the cache is bounded and every read
    // still gives its own answer.
    void manyDistinctStatements()
    {
        QueryTable t;
        for (int i = 0; i < 300; ++i) {
            const QString sql =
                QStringLiteral("SELECT %1 + power FROM power WHERE model='KMA' AND in_t=-5 AND "
                               "modification=50")
                    .arg(i);
            QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
            QCOMPARE(t.number(0, 0), 1000.0 + i);
        }
    }

    // The batch memo answers repeated reads from memory until a statement
    // writes; switched off, every read goes to the file again.
    void memoHoldsUntilAWrite()
    {
        const QString sql = QStringLiteral("SELECT power FROM power WHERE model='KMA' AND modification=100");
        auto other =
            Database::open(TestDatabases::address(m_path), {QStringLiteral("power")}).valueOr(nullptr);
        QVERIFY(other);
        m_db->setResultReuse(Database::ResultReuse::ForTheRun);
        QueryTable t;
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QVERIFY(other->execute(QStringLiteral("UPDATE power SET power=3000 WHERE modification=100")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2000.0); // read once per run, by design
        QCOMPARE(m_db->query(QStringLiteral("SELECT power FROM power WHERE model='none'"), t).valueOr(-1), 0);
        QCOMPARE(t.number(0, 0), 2000.0);
        // A read transaction around the reads writes nothing: the memo stays.
        QVERIFY(m_db->execute(QStringLiteral("BEGIN")));
        QVERIFY(m_db->execute(QStringLiteral("COMMIT")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2000.0);
        QVERIFY(m_db->execute(QStringLiteral("UPDATE power SET fkey=1")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 3000.0);
        m_db->setResultReuse(Database::ResultReuse::None);
        QVERIFY(other->execute(QStringLiteral("UPDATE power SET power=3100 WHERE modification=100")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 3100.0);
    }

    // Kept while the data is unchanged, which is asked once per user action:
    // another connection's commit shows at the next action, never later, and
    // not within the action; a transaction sees kept rows of its own
    // snapshot only; a write of its own and a rolled-back write show at once.
    void keptRowsFollowEveryChange()
    {
        const QString sql = QStringLiteral("SELECT power FROM power WHERE model='KMA' AND modification=100");
        auto other =
            Database::open(TestDatabases::address(m_path), {QStringLiteral("power")}).valueOr(nullptr);
        QVERIFY(other);
        m_db->setResultReuse(Database::ResultReuse::CheckedEachAction);
        QueryTable t;
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2000.0);
        QVERIFY(other->execute(QStringLiteral("UPDATE power SET power=2100 WHERE modification=100")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2000.0);
        m_db->beginAction();
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2100.0);
        QVERIFY(other->execute(QStringLiteral("DELETE FROM power WHERE modification=100")));
        m_db->beginAction();
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 0);
        // A read that failed is not kept: once it can succeed, it does.
        QCOMPARE(m_db->query(QStringLiteral("SELECT note FROM power WHERE model='KMA'"), t).valueOr(-1), -1);
        QVERIFY(other->execute(QStringLiteral("ALTER TABLE power ADD COLUMN note TEXT")));
        QCOMPARE(m_db->query(QStringLiteral("SELECT note FROM power WHERE model='KMA'"), t).valueOr(-1), 2);

        // A read transaction within the action sees one snapshot, kept rows
        // included.
        QVERIFY(other->execute(
            QStringLiteral("INSERT INTO power (model, modification, power) VALUES ('KMA', 100, 2150)")));
        QVERIFY(m_db->execute(QStringLiteral("BEGIN")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2150.0);
        QVERIFY(other->execute(QStringLiteral("DELETE FROM power WHERE modification=100")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QVERIFY(m_db->execute(QStringLiteral("COMMIT")));
        m_db->beginAction();
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 0);

        QVERIFY(m_db->execute(
            QStringLiteral("INSERT INTO power (model, modification, power) VALUES ('KMA', 100, 2200)")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2200.0);
        QVERIFY(m_db->begin());
        QVERIFY(m_db->execute(QStringLiteral("UPDATE power SET power=2300 WHERE modification=100")));
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2300.0);
        m_db->rollback();
        QCOMPARE(m_db->query(sql, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2200.0);
    }

    // Rows read ahead are what the reads would give, kept as theirs. In a
    // snapshot where the server refused a statement read ahead, every later
    // read fails with that refusal, not with the server's "transaction
    // aborted"; the next snapshot is unharmed.
    void readAheadGivesWhatTheReadsWould()
    {
        const QString kma = QStringLiteral("SELECT power FROM power WHERE model='KMA' AND modification=100");
        const QString none = QStringLiteral("SELECT power FROM power WHERE model='none'");
        const QString refused = QStringLiteral("SELECT no_such_column FROM power WHERE model='KMA'");
        const QString other = QStringLiteral("SELECT power FROM power WHERE model='K''M'");
        auto writer =
            Database::open(TestDatabases::address(m_path), {QStringLiteral("power")}).valueOr(nullptr);
        QVERIFY(writer);
        m_db->setResultReuse(Database::ResultReuse::CheckedEachAction);
        QueryTable t;
        {
            const ReadTransaction snapshot(m_db.get());
            m_db->prefetch({none, kma, kma});
            QCOMPARE(m_db->query(none, t).valueOr(-1), 0);
            QVERIFY(writer->execute(QStringLiteral("UPDATE power SET power=2500 WHERE modification=100")));
            QCOMPARE(m_db->query(kma, t).valueOr(-1), 1);
            QCOMPARE(t.number(0, 0), 2000.0);
        }
        m_db->beginAction();
        m_db->prefetch({kma});
        QCOMPARE(m_db->query(kma, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 2500.0);
        {
            const ReadTransaction snapshot(m_db.get());
            m_db->prefetch({refused, other});
            const bool server = TestDatabases::storage() == TestDatabases::Storage::Server;
            const Result<int> otherRead = m_db->query(other, t);
            QCOMPARE(otherRead.valueOr(-1), server ? -1 : 1);
            const QString otherWhy = TestDatabases::whyNot(otherRead);
            QVERIFY2(!server || otherWhy.contains(QLatin1String("no_such_column")), qPrintable(otherWhy));
            const Result<int> refusedRead = m_db->query(refused, t);
            QVERIFY(!refusedRead);
            QVERIFY(refusedRead.failure().engineText.contains(QLatin1String("no_such_column")));
        }
        QCOMPARE(m_db->query(other, t).valueOr(-1), 1);
        QCOMPARE(t.number(0, 0), 10.0);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_db;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestPreparedReads)
#include "test_preparedreads.moc"
