// frostpick-calc --explain over the sample data and a generated data set: the
// steps it shows are the numbers the calculation stored.
#include "CalcRun.h"
#include "DataGenerator.h"
#include "TestDatabases.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The output of a run that must succeed; empty when it did not.
QByteArray calc(const QStringList& args, const QByteArray& input = {})
{
    const CalcRun run = CalcRun::of(args, input);
    if (run.exitCode != 0)
        qWarning("frostpick-calc %s: status %d, %s", qPrintable(args.join(' ')), run.exitCode,
                 run.err.constData());
    return run.exitCode == 0 ? run.out : QByteArray();
}

QJsonObject explain(const QString& folder, const QByteArray& input)
{
    return jsonObject(calc({"--dir", folder, "--explain", "--input", "-"}, input));
}

} // namespace

class TestExplain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_sample.isValid() && m_generated.isValid());
        QVERIFY(TestDatabases::createSampleFolder(m_sample.path()));
        GeneratorSize size;
        size.products = 60;
        size.customers = 10;
        size.calculations = 150;
        size.bigCustomerCalculations = 5;
        QString error;
        QVERIFY2(GenerateReference(m_generated.filePath(QStringLiteral("nv.mdb")), size, 11, &error),
                 qPrintable(error));
        QVERIFY2(GenerateOrders(m_generated.filePath(QStringLiteral("order.mdb")), size, 11, &error),
                 qPrintable(error));
    }

    // Every saved calculation: the component lines add up to q_total and
    // each is its stored field; the selection's capacity is unit_capacity.
    // Without --explain every line is the same object without the three fields.
    void stepsAddUpToTheStoredResults_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("sample") << m_sample.path();
        QTest::newRow("generated") << m_generated.path();
    }
    void stepsAddUpToTheStoredResults()
    {
        QFETCH(QString, folder);
        const QList<QByteArray> plain = calc({"--dir", folder, "--all-orders"}).split('\n');
        const QList<QByteArray> explained = calc({"--dir", folder, "--all-orders", "--explain"}).split('\n');
        QCOMPARE(explained.size(), plain.size());
        QVERIFY(plain.size() > 5);
        int shortfalls = 0;
        for (int i = 0; i + 1 < plain.size(); ++i) {
            QVERIFY(!plain.at(i).contains("\"trace\""));
            QVERIFY(explained.at(i).startsWith(plain.at(i).chopped(1) + ",\"trace\":["));
            const QJsonObject o = jsonObject(explained.at(i));
            QVERIFY(o.value("warnings").isArray() && o.value("alternatives").isArray());
            qint64 sum = 0;
            int components = 0;
            QJsonObject chosen, lastRead;
            for (const QJsonValue& v : o.value("trace").toArray()) {
                const QJsonObject line = v.toObject();
                const QString key = line.value("key").toString();
                if (line.value("kind") == QLatin1String("component")) {
                    QCOMPARE(line.value("result").toInteger(), o.value(key).toInteger());
                    sum += line.value("result").toInteger();
                    ++components;
                }
                if (line.value("kind") == QLatin1String("step") && line.value("result").isDouble())
                    QVERIFY2(!line.value("unit").toString().isEmpty(), qPrintable(key));
                QVERIFY(key != QLatin1String("q_extra") ||
                        line.value("name") != QLatin1String("Дополнительное тепло"));
                if (key == QLatin1String("capacity_ambient"))
                    lastRead = line;
                if (key == QLatin1String("unit_capacity"))
                    chosen = line;
            }
            QCOMPARE(components, 11);
            QCOMPARE(sum, o.value("q_total").toInteger());
            QCOMPARE(chosen.value("result").toDouble(), o.value("unit_capacity").toDouble());
            QCOMPARE(lastRead.value("result").toDouble(), o.value("unit_capacity").toDouble());
            shortfalls += !o.value("verdict").toString().isEmpty();
        }
        QVERIFY(shortfalls > 0 || folder == m_sample.path());
    }

    // The same sample store prints the same bytes from either storage.
    void allOrdersAlikeOnFilesAndServer()
    {
        if (TestDatabases::storage() != TestDatabases::Storage::Server)
            QSKIP("compared in the server run");
        QTemporaryDir files;
        QVERIFY(TestDatabases::createSampleFolder(files.path(), TestDatabases::Storage::Files));
        const QByteArray fromFiles = calc({"--dir", files.path(), "--all-orders"});
        QVERIFY(!fromFiles.isEmpty());
        QCOMPARE(calc({"--dir", m_sample.path(), "--all-orders"}), fromFiles);
    }

    // Sample chamber at -35 °C (the middle rated point of KMX and KSX) and
    // 32 °C, loaded only by 1200 W of sources: every capacity is a rated
    // value, 1200 / 0.7 = 1714 W is required.
    void alternativesFromTheRatedRows()
    {
        const QJsonObject o =
            explain(m_sample.path(), R"({"xk_temperature":-35,"xo_type1":3,"xo_type2":2,"xk_heat":1200})");
        const QStringList models = {"KMX035", "KSX035", "KMX050", "KSX050", "KMX075", "KSX075",
                                    "KMX100", "KSX100", "KMX150", "KSX150", "KMX200", "KSX200"};
        const QList<double> capacities = {980,  1060, 1400, 1520, 2110, 2270,
                                          2810, 3030, 4210, 4550, 5620, 6070};
        const QJsonArray list = o.value("alternatives").toArray();
        QCOMPARE(list.size(), models.size());
        for (int i = 0; i < list.size(); ++i) {
            const QJsonObject a = list.at(i).toObject();
            QCOMPARE(a.value("model").toString() + a.value("modification").toString(), models.at(i));
            QVERIFY(qAbs(a.value("capacity").toDouble() - capacities.at(i)) < 1e-6);
            QCOMPARE(a.value("sufficient").toBool(), i >= 4);
            QCOMPARE(a.value("chosen").toBool(), i == 4);
        }
        // KMX075: 2110 x 0.7 = 1477 W against 1200 W.
        const QJsonObject kmx075 = list.at(4).toObject();
        QVERIFY(qAbs(kmx075.value("reserve").toDouble() - (1477.0 / 1200 * 100 - 100)) < 1e-6);
        QVERIFY(qAbs(kmx075.value("run_time").toDouble() - 1200.0 / 1477 * 70) < 1e-6);
    }

    // A packaged unit's one set of rows read at the class's temperatures, and
    // a curve read above its last rated point, name what they read.
    void capacityLinesShowWhatWasRead()
    {
        const auto read = [this](const QByteArray& input) {
            return QString::fromUtf8(
                QJsonDocument(explain(m_sample.path(), input).value("trace").toArray()).toJson());
        };
        QVERIFY(read(R"({"xk_temperature":10,"xo_type1":5,"xo_type2":2,"xk_heat":1200})")
                    .contains(QStringLiteral(
                        "при 5 / 10 / 15 °C (в справочнике записаны при -25 / -22 / -18 °C)")));
        QVERIFY(read(R"({"xk_temperature":-10,"xo_type1":1,"xo_type2":2,"xk_heat":1200})")
                    .contains(QRegularExpression(QStringLiteral("G = \\d+ Вт, S = [\\d.,]+ Вт/°C: "))));
    }

    void warnings_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("rated points")
            << QByteArray(R"({"xk_temperature":-35,"xo_type1":3,"xo_type2":2,"xk_heat":1200})")
            << QStringList();
        // KM for R404a at -10 °C reads the curve of class 2, rated at -25 ... -18 °C.
        QTest::newRow("chamber above the class")
            << QByteArray(R"({"xk_temperature":-10,"xo_type1":1,"xo_type2":2,"xk_heat":1200})")
            << QStringList{"chamber_outside_rated"};
        QTest::newRow("ambient 45 °C")
            << QByteArray(R"({"xk_temperature":-35,"xo_type1":3,"xo_type2":2,"xk_heat":1200,
                                           "by_temperature":45})")
            << QStringList{"ambient_outside_rated"};
        QTest::newRow("no unit covers the load")
            << QByteArray(R"({"xk_temperature":-35,"xo_type1":3,"xo_type2":2,"xk_heat":20000})")
            << QStringList{"run_time_above_maximum", "reserve_below_minimum"};
        QTest::newRow("minimum reserve below 0")
            << QByteArray(R"({"xk_temperature":-35,"xo_type1":3,"xo_type2":2,"xk_heat":1200,"xo_power":-10})")
            << QStringList{"minimum_reserve_negative"};
        QTest::newRow("curtain no longer in the reference data")
            << QByteArray(
                   R"({"xk_temperature":-35,"xo_type1":3,"xo_type2":2,"xk_heat":1200,"xk_curtain":999})")
            << QStringList{"missing_references"};
    }
    void warnings()
    {
        QFETCH(QByteArray, input);
        QFETCH(QStringList, codes);
        const QJsonObject o = explain(m_sample.path(), input);
        QStringList found;
        for (const QJsonValue& w : o.value("warnings").toArray()) {
            found << w.toObject().value("code").toString();
            QVERIFY(!w.toObject().value("text").toString().isEmpty());
        }
        QCOMPARE(found, codes);
    }

private:
    QTemporaryDir m_sample, m_generated;
};

QTEST_GUILESS_MAIN(TestExplain)
#include "test_explain.moc"
