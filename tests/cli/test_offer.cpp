#include "CalcRun.h"
#include "Database.h"
#include "OfferStore.h"
#include "ProgramDatabases.h"
#include "QueryTable.h"
#include "TestDatabases.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The sums of an offer worked out from the chambers' own --order lines.
struct ExpectedSums
{
    qint64 qTotal = 0;
    QMap<QString, int> units; // "model modification" -> count
    double capacity = 0;
};

ExpectedSums sumsOf(const QList<QJsonObject>& chambers)
{
    ExpectedSums sums;
    for (const QJsonObject& c : chambers) {
        sums.qTotal += c[QStringLiteral("q_total")].toInteger();
        if (!c[QStringLiteral("verdict")].toString().isEmpty())
            continue;
        const int count = c[QStringLiteral("xo_count")].toInt();
        sums.units[c[QStringLiteral("sel_model")].toString() + QLatin1Char(' ') +
                   c[QStringLiteral("sel_modification")].toString()] += count;
        sums.capacity += c[QStringLiteral("unit_capacity")].toDouble() * count;
    }
    return sums;
}

QList<QByteArray> linesOf(const QByteArray& out)
{
    QList<QByteArray> lines = out.split('\n');
    lines.removeAll(QByteArray());
    return lines;
}

} // namespace

class TestOffer : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(TestDatabases::createSampleFolder(m_dir->path()));
        m_orders = Database::open(TestDatabases::address(m_dir->filePath(QStringLiteral("order.mdb"))),
                                  orderTables())
                       .valueOr(nullptr);
        QVERIFY(m_orders);
    }
    void cleanup()
    {
        m_orders.reset();
        m_dir.reset();
    }

    // Each chamber's line exactly as --order prints it, in the offer's
    // order, then the sums worked out here from those lines.
    void chambersAsOrderPrintsThemThenTheSums()
    {
        const qint64 offer = save({3, 1, 2});
        QList<QByteArray> expectedLines;
        QList<QJsonObject> chambers;
        for (int key : {3, 1, 2}) {
            const CalcRun order = run({QStringLiteral("--order"), QString::number(key)});
            QCOMPARE(order.exitCode, 0);
            expectedLines << linesOf(order.out).first();
            chambers << order.object();
        }
        const CalcRun run = this->run({QStringLiteral("--offer"), QString::number(offer)});
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> lines = linesOf(run.out);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.mid(0, 3), expectedLines);
        checkSums(jsonObject(lines.last()), offer, chambers);

        const CalcRun list = this->run({QStringLiteral("--offers")});
        QCOMPARE(list.exitCode, 0);
        QCOMPARE(list.object()[QStringLiteral("calculations")].toArray(), (QJsonArray{3, 1, 2}));
        QCOMPARE(list.object()[QStringLiteral("name")].toString(), QStringLiteral("Три камеры"));
    }

    // A chamber whose product is gone from the reference data, or whose
    // calculation is deleted, is named and not summed.
    void chamberNotComputedOrMissingIsNotSummed_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("named");
        // The sample's calculation 1 alone keeps product 1.
        QTest::newRow("product gone") << QStringLiteral("reference:DELETE FROM Product WHERE pkey=1") << 3
                                      << QByteArray("calculation 1: ");
        QTest::newRow("calculation deleted") << QStringLiteral("orders:DELETE FROM data WHERE pkey=1") << 4
                                             << QByteArray("no saved calculation has the key 1");
    }
    void chamberNotComputedOrMissingIsNotSummed()
    {
        QFETCH(QString, damage);
        QFETCH(int, status);
        QFETCH(QByteArray, named);
        const qint64 offer = save({2, 1, 3});
        QList<QJsonObject> summed;
        for (int key : {2, 3})
            summed << run({QStringLiteral("--order"), QString::number(key)}).object();
        const QString store = damage.section(QLatin1Char(':'), 0, 0);
        if (store == QLatin1String("orders")) {
            QVERIFY(m_orders->execute(damage.section(QLatin1Char(':'), 1)));
        } else {
            auto ref = Database::open(TestDatabases::address(m_dir->filePath(QStringLiteral("nv.mdb"))),
                                      referenceTables())
                           .valueOr(nullptr);
            QVERIFY(ref && ref->execute(damage.section(QLatin1Char(':'), 1)));
        }
        const CalcRun run = this->run({QStringLiteral("--offer"), QString::number(offer)});
        QCOMPARE(run.exitCode, status);
        QVERIFY2(run.err.contains(named), run.err.constData());
        const QList<QByteArray> lines = linesOf(run.out);
        QCOMPARE(lines.size(), 3);
        checkSums(jsonObject(lines.last()), offer, summed);
    }

    // Chambers of one model add up per modification; a chamber whose count of
    // units is not enough adds its load and no unit. Calculation 3 is KSM 035
    // x 2; its copies with 1, 3 and 4 units choose KSM 075 x 1 and KSM 020, and
    // the large one is refused.
    void unitsOfOneModelAddUpPerModification()
    {
        QList<qint32> keys{3};
        for (const char* change :
             {"xo_count=3", "xo_count=1", "xo_count=4", "xo_count=1, xk_length=60, xk_width=40"})
            keys << copyOfThree(QLatin1String(change));
        const qint64 offer = save(keys);
        QList<QJsonObject> chambers;
        for (qint32 key : keys)
            chambers << run({QStringLiteral("--order"), QString::number(key)}).object();
        const QMap<QString, int> worked{
            {QStringLiteral("KSM 035"), 2}, {QStringLiteral("KSM 075"), 1}, {QStringLiteral("KSM 020"), 7}};
        QCOMPARE(sumsOf(chambers).units, worked);
        const CalcRun run = this->run({QStringLiteral("--offer"), QString::number(offer)});
        QCOMPARE(run.exitCode, 0);
        checkSums(jsonObject(linesOf(run.out).last()), offer, chambers);
    }

    void offerDeletedMeanwhileIsNotSavedIntoNothing()
    {
        SavedOffer offer{save({1, 2}), 1, QStringLiteral("Две камеры"), QStringLiteral("2024-03-05"), {2}};
        QVERIFY(m_orders->execute(QStringLiteral("DELETE FROM offer_row")));
        QVERIFY(m_orders->execute(QStringLiteral("DELETE FROM offer")));
        OfferStore::Saving saving;
        const Result<void> saved = OfferStore::Save(*m_orders, offer, saving);
        QVERIFY(!saved);
        QVERIFY(saved.failure().reason.contains(QStringLiteral("больше нет")));
        QCOMPARE(offer.key, 0);
        QueryTable rows;
        QCOMPARE(m_orders->query(QStringLiteral("SELECT offer FROM offer_row"), rows).valueOr(-1), 0);
        // Saved again, it is a new offer with its rows.
        QVERIFY(OfferStore::Save(*m_orders, offer, saving));
        QVERIFY(offer.key > 0);
        QCOMPARE(OfferStore::ReadOne(*m_orders, offer.key).value()->calculations, QList<qint32>{2});
    }

    void unknownOfferAndStoreWithoutOffers()
    {
        QCOMPARE(run({QStringLiteral("--offer"), QStringLiteral("77")}).exitCode, 4);
        QCOMPARE(run({QStringLiteral("--offer"), QStringLiteral("x")}).exitCode, 2);
        save({1});
        QVERIFY(m_orders->execute(QStringLiteral("DROP TABLE offer_row")));
        QVERIFY(m_orders->execute(QStringLiteral("DROP TABLE offer")));
        const CalcRun list = run({QStringLiteral("--offers")});
        QCOMPARE(list.exitCode, 0);
        QVERIFY(list.out.isEmpty());
        QVERIFY(list.err.contains("holds none"));
        QCOMPARE(run({QStringLiteral("--offer"), QStringLiteral("1")}).exitCode, 4);
        // The calculations themselves still reopen.
        QCOMPARE(run({QStringLiteral("--order"), QStringLiteral("1")}).exitCode, 0);
    }

private:
    CalcRun run(const QStringList& args)
    {
        return CalcRun::of(QStringList{QStringLiteral("--dir"), m_dir->path()} + args);
    }

    qint64 save(const QList<qint32>& calculations)
    {
        SavedOffer offer{0, 1, QStringLiteral("Три камеры"), QStringLiteral("2024-03-05"), calculations};
        OfferStore::Saving saving;
        if (const Result<void> saved = OfferStore::Save(*m_orders, offer, saving); !saved)
            qWarning() << saved.failure().engineText;
        return offer.key;
    }

    // A copy of calculation 3 with `change` made to it; its key.
    qint32 copyOfThree(const QString& change)
    {
        QStringList columns = m_orders->columnsOf(QStringLiteral("data")).valueOr({});
        columns.removeIf(
            [](const QString& c) { return c.compare(QLatin1String("pkey"), Qt::CaseInsensitive) == 0; });
        const QString list = columns.join(QLatin1Char(','));
        if (!m_orders->execute(
                QStringLiteral("INSERT INTO data (%1) SELECT %1 FROM data WHERE pkey=3").arg(list)))
            qWarning() << "calculation 3 not copied";
        const qint64 key = m_orders->lastInsertKey();
        if (!m_orders->execute(QStringLiteral("UPDATE data SET %1 WHERE pkey=%2").arg(change).arg(key)))
            qWarning() << "copy" << key << "not changed";
        return qint32(key);
    }

    static void checkSums(const QJsonObject& line, qint64 offer, const QList<QJsonObject>& chambers)
    {
        const ExpectedSums expected = sumsOf(chambers);
        QCOMPARE(line[QStringLiteral("offer")].toInteger(), offer);
        QCOMPARE(line[QStringLiteral("chambers")].toInt(), chambers.size());
        QCOMPARE(line[QStringLiteral("q_total")].toInteger(), expected.qTotal);
        QMap<QString, int> units;
        for (const QJsonValue& u : line[QStringLiteral("units")].toArray())
            units[u[QStringLiteral("model")].toString() + QLatin1Char(' ') +
                  u[QStringLiteral("modification")].toString()] += u[QStringLiteral("count")].toInt();
        QCOMPARE(units, expected.units);
        QVERIFY(qAbs(line[QStringLiteral("capacity")].toDouble() - expected.capacity) < 1e-6);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_orders;
};

QTEST_GUILESS_MAIN(TestOffer)
#include "test_offer.moc"
