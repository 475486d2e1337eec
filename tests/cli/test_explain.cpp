// frostpick-calc --explain over the sample data and a generated data set: the
// steps it shows are the numbers the calculation stored.
#include "CalcRun.h"
#include "DataGenerator.h"
#include "DataLocation.h"
#include "Database.h"
#include "ProgramDatabases.h"
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

// A chamber that passes the input checks, yet holds no volume and no
// insulation: the load is what the rest of the object adds.
QByteArray noChamber(const QByteArray& json)
{
    return R"({"xk_length":1,"xk_width":1,"xk_height":1,"xk_bulk":0,)" + json.mid(1);
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

    // More saved calculations than a page holds (500): each is printed once,
    // in key order, the short last page included.
    void everyPageReadOnce()
    {
        QTemporaryDir paged;
        GeneratorSize size;
        size.products = 20;
        size.customers = 10;
        size.calculations = 1001;
        size.bigCustomerCalculations = 5;
        QString error;
        QVERIFY2(GenerateReference(paged.filePath(QStringLiteral("nv.mdb")), size, 5, &error),
                 qPrintable(error));
        QVERIFY2(GenerateOrders(paged.filePath(QStringLiteral("order.mdb")), size, 5, &error),
                 qPrintable(error));
        const QList<QByteArray> lines = calc({"--dir", paged.path(), "--all-orders"}).split('\n');
        QCOMPARE(lines.size(), size.calculations + 1); // and the empty rest after the last line break
        qint64 previous = 0;
        for (int i = 0; i + 1 < lines.size(); ++i) {
            const qint64 key = jsonObject(lines.at(i)).value("pkey_data").toInteger();
            QVERIFY2(key > previous, lines.at(i).left(60).constData());
            previous = key;
        }
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
    // 32 °C, loaded only by its sources, the compressor allowed to run all the
    // time: every capacity is a rated value and the load is the capacity
    // required. KMX075 rates exactly 2110 W.
    void alternativesFromTheRatedRows_data()
    {
        QTest::addColumn<int>("load");
        QTest::addColumn<int>("firstSufficient");
        QTest::addColumn<int>("chosen"); // the selection tries the KMX sizes only
        QTest::newRow("load equal to KMX075") << 2110 << 4 << 4;
        QTest::newRow("1 W more") << 2111 << 5 << 6;
    }
    void alternativesFromTheRatedRows()
    {
        QFETCH(int, load);
        QFETCH(int, firstSufficient);
        QFETCH(int, chosen);
        const QByteArray input =
            R"({"xk_temperature":-35,"xo_type1":3,"xo_type2":2,"xo_work":100,"xk_heat":)";
        const QJsonObject o = explain(m_sample.path(), noChamber(input + QByteArray::number(load) + '}'));
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
            QCOMPARE(a.value("sufficient").toBool(), i >= firstSufficient);
            QCOMPARE(a.value("chosen").toBool(), i == chosen);
        }
        const QJsonObject kmx075 = list.at(4).toObject();
        QVERIFY(qAbs(kmx075.value("reserve").toDouble() - (2110.0 / load * 100 - 100)) < 1e-6);
        QVERIFY(qAbs(kmx075.value("run_time").toDouble() - load / 2110.0 * 100) < 1e-6);
    }

    // A packaged unit's one set of rows read at the class's temperatures, and
    // a curve read above its last rated point, name what they read.
    void capacityLinesShowWhatWasRead()
    {
        const auto read = [this](const QByteArray& input) {
            return QString::fromUtf8(
                QJsonDocument(explain(m_sample.path(), noChamber(input)).value("trace").toArray()).toJson());
        };
        QVERIFY(
            read(
                R"({"xk_temperature":10,"px_end_t":10,"px_start_t":10,"xo_type1":5,"xo_type2":2,"xk_heat":1200})")
                .contains(
                    QStringLiteral("при 5 / 10 / 15 °C (в справочнике записаны при -25 / -22 / -18 °C)")));
        QVERIFY(read(R"({"xk_temperature":-10,"xo_type1":1,"xo_type2":2,"xk_heat":1200})")
                    .contains(QRegularExpression(QStringLiteral("G = \\d+ Вт, S = [\\d.,]+ Вт/°C: "))));
    }

    // Each warning on both sides of its limit. KMX at -35 °C is rated from 20
    // to 43 °C; KM for R404a from -26 to -9 °C reads class 2, rated at
    // -25 ... -18 °C; KMX200, the largest KMX, rates 5620 W at -35 °C and 32 °C.
    void warnings_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("codes");
        const auto input = [](int t, int type, const char* more = "", int heat = 1200) {
            // A door of no height lets in nothing by the door-opening formula:
            // its load is then the calculation's own.
            return noChamber(
                QStringLiteral(R"({"px_end_t":%1,"xk_temperature":%1,"xo_type1":%2,"xo_type2":2,)"
                               R"("xk_heat":%3%4,"second_opinion":{"door_height":0}})")
                    .arg(QString::number(t), QString::number(type), QString::number(heat),
                         QLatin1String(more))
                    .toUtf8());
        };
        const QStringList none, chamber{"chamber_outside_rated"}, ambient{"ambient_outside_rated"};
        QTest::newRow("ambient 20 °C") << input(-35, 3, R"(,"by_temperature":20)") << none;
        QTest::newRow("ambient 19 °C") << input(-35, 3, R"(,"by_temperature":19)") << ambient;
        QTest::newRow("ambient 43 °C") << input(-35, 3, R"(,"by_temperature":43)") << none;
        QTest::newRow("ambient 44 °C") << input(-35, 3, R"(,"by_temperature":44)") << ambient;
        QTest::newRow("packaged unit at 10 °C, its rows at -25 ... -18 °C")
            << input(10, 5, R"(,"px_start_t":10)") << none;
        QTest::newRow("chamber -25 °C") << input(-25, 1) << none;
        QTest::newRow("chamber -26 °C") << input(-26, 1) << chamber;
        QTest::newRow("chamber -18 °C") << input(-18, 1) << none;
        QTest::newRow("chamber -17 °C") << input(-17, 1) << chamber;
        QTest::newRow("load equal to the largest unit") << input(-35, 3, R"(,"xo_work":100)", 5620) << none;
        QTest::newRow("1 W more than the largest unit")
            << input(-35, 3, R"(,"xo_work":100)", 5621)
            << QStringList{"run_time_above_maximum", "reserve_below_minimum", "second_opinion_not_covered"};
        QTest::newRow("minimum reserve below 0")
            << input(-35, 3, R"(,"xo_power":-10)") << QStringList{"minimum_reserve_negative"};
        QTest::newRow("curtain no longer in the reference data")
            << input(-35, 3, R"(,"xk_curtain":999)") << QStringList{"missing_references"};
    }
    void warnings()
    {
        QFETCH(QByteArray, input);
        QFETCH(QStringList, codes);
        const QJsonObject o = explain(m_sample.path(), input);
        QVERIFY(o.contains("warnings")); // a refused input has none to compare
        QStringList found;
        for (const QJsonValue& w : o.value("warnings").toArray()) {
            found << w.toObject().value("code").toString();
            QVERIFY(!w.toObject().value("text").toString().isEmpty());
        }
        QCOMPARE(found, codes);
    }

    // Reference values changed by hand past their rules: the calculation
    // uses them as stored and its warning names each row, column and rule.
    void storedValuesPastTheRules()
    {
        QTemporaryDir dir;
        QVERIFY(TestDatabases::createSampleFolder(dir.path()));
        {
            const std::unique_ptr<Database> db =
                Database::open(TestDatabases::address(dir.filePath(QStringLiteral("nv.mdb"))), {})
                    .valueOr(nullptr);
            QVERIFY(db && db->execute(QStringLiteral("UPDATE Product SET tko=tnz WHERE pkey=1")) &&
                    db->execute(QStringLiteral("UPDATE curtain SET c_value=150 WHERE pkey=1")) &&
                    db->execute(QStringLiteral("UPDATE power SET power=0 WHERE model='KMX' AND out_t=43 AND "
                                               "in_t=-25")) &&
                    db->execute(QStringLiteral("UPDATE power SET in_t=-24 WHERE model='KMX' AND in_t=-25")));
        }
        const QJsonObject o = explain(
            dir.path(),
            noChamber(
                R"({"px_end_t":-35,"xk_temperature":-35,"xo_type1":3,"xo_type2":2,"px_product":1,"xk_curtain":1})"));
        QString text;
        for (const QJsonValue& w : o.value("warnings").toArray())
            if (w.toObject().value("code").toString() == QLatin1String("reference_values_out_of_rule"))
                text = w.toObject().value("text").toString();
        QVERIFY2(
            text.contains(QRegularExpression(QStringLiteral("продукт «[^»]+» \\(код 1\\), tko: должно быть "
                                                            "больше tnz: .* «-\\d+(\\.\\d+)?»"))),
            qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("(код 1), c_value: должно быть от 0 до 100 «150»")),
                 qPrintable(text));
        QVERIFY2(
            text.contains(QRegularExpression(QStringLiteral(
                "агрегат KMX\\d+ при 43 °C снаружи, power: должно быть больше 0 и не больше 10000000 «0»"))),
            qPrintable(text));
        QVERIFY2(
            text.contains(QRegularExpression(QStringLiteral(
                "агрегат KMX\\d+, in_t: мощности даны при -45/-35/-24 °C, а прочитаны при -45/-35/-25 °C"))),
            qPrintable(text));
    }

    // The assumptions come from the input or the saved row, each missing one
    // takes its default, and nothing of the specified output changes with
    // them or with the table that keeps them.
    void secondOpinion()
    {
        const QByteArray chamber =
            R"({"xk_length":6,"xk_width":4,"xk_height":3,"xk_temperature":-20,"px_end_t":-20,"xo_type1":1,)"
            R"("xo_type2":2,"xk_people":8)";
        const QJsonObject o =
            explain(m_sample.path(), chamber + R"(,"second_opinion":{"fans":350,"door_height":2.5}})");
        const QJsonObject so = o.value("second_opinion").toObject();
        QCOMPARE(
            so.value("assumptions").toObject(),
            QJsonObject({{"door_height", 2.5}, {"chamber_humidity", 90}, {"fans", 350}, {"defrost", 0}}));
        const QJsonObject parts = so.value("components").toObject();
        QCOMPARE(parts.value("fans").toDouble(), 350.0);
        QCOMPARE(parts.value("people").toDouble(), 8 * (272 + 120) / 24.0);
        QCOMPARE(so.value("total").toDouble(),
                 o.value("q_ceiling").toDouble() + o.value("q_walls").toDouble() +
                     o.value("q_floor").toDouble() + o.value("q_product").toDouble() +
                     o.value("q_packing").toDouble() + o.value("q_sources").toDouble() +
                     parts.value("infiltration").toDouble() + parts.value("people").toDouble() + 350);
        QCOMPARE(so.value("covered").toBool(), so.value("model").isNull());
        QCOMPARE(
            calc({"--dir", m_sample.path(), "--input", "-"}, chamber + "}"),
            calc({"--dir", m_sample.path(), "--input", "-"}, chamber + R"(,"second_opinion":{"fans":9e5}})"));
        for (const char* refused :
             {R"({"door_height":-1})", R"({"door_height":10.5})", R"({"fan":1})", R"({"fans":"1"})", "[]"}) {
            const CalcRun run = CalcRun::of({"--dir", m_sample.path(), "--input", "-"},
                                            chamber + R"(,"second_opinion":)" + refused + "}");
            QVERIFY2(run.exitCode == 2 && run.err.contains("second_opinion"), refused);
        }

        // The same saved calculations in a store without the table and in one
        // whose first calculation has other assumptions.
        QTemporaryDir without, with;
        QVERIFY(TestDatabases::createSampleFolder(without.path()) &&
                TestDatabases::createSampleFolder(with.path()));
        const auto store = [](const QTemporaryDir& dir) {
            return Database::open(TestDatabases::address(dir.filePath("order.mdb")), {}).valueOr(nullptr);
        };
        const bool files = TestDatabases::storage() == TestDatabases::Storage::Files;
        QVERIFY((files ? store(without)->execute("DROP TRIGGER data_deleted_second_opinion").ok() : true) &&
                store(without)->execute("DROP TABLE second_opinion"));
        QVERIFY(store(with)->execute("INSERT INTO second_opinion VALUES (1, 3, 60, 4000, 2500)"));
        QCOMPARE(calc({"--dir", with.path(), "--all-orders"}),
                 calc({"--dir", without.path(), "--all-orders"}));
        QCOMPARE(calc({"--dir", with.path(), "--all-orders"}),
                 calc({"--dir", m_sample.path(), "--all-orders"}));
        const auto assumed = [](const QByteArray& line) {
            return jsonObject(line).value("second_opinion").toObject().value("assumptions").toObject();
        };
        QCOMPARE(
            assumed(calc({"--dir", with.path(), "--order", "1", "--explain"})),
            QJsonObject({{"door_height", 3}, {"chamber_humidity", 60}, {"fans", 4000}, {"defrost", 2500}}));
        QCOMPARE(
            assumed(calc({"--dir", with.path(), "--all-orders", "--explain"}).split('\n').first()),
            QJsonObject({{"door_height", 3}, {"chamber_humidity", 60}, {"fans", 4000}, {"defrost", 2500}}));
        QCOMPARE(assumed(calc({"--dir", with.path(), "--order", "2", "--explain"})),
                 QJsonObject({{"door_height", 2}, {"chamber_humidity", 90}, {"fans", 0}, {"defrost", 0}}));
        QCOMPARE(assumed(calc({"--dir", without.path(), "--order", "1", "--explain"})),
                 QJsonObject({{"door_height", 2}, {"chamber_humidity", 90}, {"fans", 0}, {"defrost", 0}}));
    }

    // A saved calculation the screens would refuse is computed as saved,
    // with a warning for each check it fails, in the screens' order.
    void savedCalculationFailingTheInputChecks()
    {
        QTemporaryDir folder;
        QVERIFY(TestDatabases::createSampleFolder(folder.path()));
        auto orders =
            Database::open(DataLocation::folder(folder.path()).orders(), orderTables()).valueOr(nullptr);
        QVERIFY(
            orders &&
            orders->execute(QStringLiteral(
                "INSERT INTO data (pkey, xk_bulk, xk_length, xk_width, xk_height, xk_wall, xk_wall_stuff, "
                "xk_temperature, by_temperature, px_time, px_start_t, px_end_t, xo_count, xo_work, "
                "xo_type1, xo_type2) VALUES (900, 60, -5, 4, 3, 100, 1, 2, 32, 24, 0, -20, 1, 70, 1, 1)")));
        orders.reset();
        const QByteArray plain = calc({"--dir", folder.path(), "--order", "900"});
        const QJsonObject o = jsonObject(calc({"--dir", folder.path(), "--explain", "--order", "900"}));
        QCOMPARE(o.value("xk_length").toDouble(), -5.0);
        QVERIFY(o.value("q_walls").toInt() < 0);
        QVERIFY(!plain.contains("warnings"));
        QStringList checks;
        for (const QJsonValue& w : o.value("warnings").toArray())
            if (w.toObject().value("code") == QLatin1String("input_check_failed"))
                checks << w.toObject().value("text").toString();
        const QString failed = QStringLiteral("Исходные данные не проходят проверку ввода: «%1» (%2)");
        QCOMPARE(checks, (QStringList{failed.arg(QStringLiteral("Введите длину камеры"),
                                                 QStringLiteral("длина камеры -5")),
                                      failed.arg(QStringLiteral("Конечная температура должна быть больше, "
                                                                "чем температура в камере (2)!"),
                                                 QStringLiteral("конечная температура -20"))}));
    }

private:
    QTemporaryDir m_sample, m_generated;
};

QTEST_GUILESS_MAIN(TestExplain)
#include "test_explain.moc"
