#include "Database.h"
#include "DatabaseAccess.h"
#include "TestDatabases.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// 5 x 4 x 3 m at 0 °C under 100 mm of material 1 (0.02 W/m/°C), a KM unit for
// R22 whose modifications 60 and 100 give 1200 and 1700 W at 10 °C / 32 °C.
const QByteArray Chamber =
    R"({"xk_length":5,"xk_width":4,"xk_height":3,"xk_ceiling_stuff":1,"xk_wall_stuff":1,
                               "xk_floor_stuff":1,"xo_type1":1,"xo_type2":1})";

} // namespace

class TestCalcTool : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(TestDatabases::createEmptyReference(path("nv.mdb")));
        QVERIFY(TestDatabases::createEmptyOrders(path("order.mdb")));
        auto ref = Database::open(TestDatabases::address(path("nv.mdb")), referenceTables());
        QVERIFY(ref);
        QVERIFY(ref->execute(QStringLiteral("INSERT INTO article (Pkey, s_name, s_value, cls_n) VALUES "
                                            "(1, 'Пенопласт \"ПС\"', 0.02, 1)")));
        QVERIFY(ref->execute(
            QStringLiteral("INSERT INTO equipment (Pkey, text_ru, model) VALUES (1, 'Моноблок', 'KM')")));
        for (int modification : {100, 60})
            for (int out : {20, 32, 43})
                for (int i = 0; i < 3; ++i)
                    QVERIFY(ref->execute(
                        QStringLiteral("INSERT INTO power (model, modification, in_t, out_t, power) "
                                       "VALUES ('KMH', %1, %2, %3, %4)")
                            .arg(modification)
                            .arg(5 + 5 * i)
                            .arg(out)
                            .arg((modification == 60 ? 1000 : 1500) + 200 * i)));
    }
    void cleanup() { m_dir.reset(); }

    void inputWorkedExample()
    {
        const Run run =
            calc({"--input", "-"}, R"({"xk_length":5,"xk_width":4,"xk_height":3,"xk_ceiling_stuff":1,
            "xk_wall_stuff":1,"xk_floor_stuff":1,"xo_type1":1,"xo_type2":1,"xk_temperature":10,"xk_people":0.1,
            "xk_bulk":0.30000000000000004})");
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QCOMPARE(run.out.count('\n'), 1);
        const QJsonObject o = object(run.out);
        QCOMPARE(o.value("xk_ceiling_name").toString(), QStringLiteral("Пенопласт \"ПС\""));
        QCOMPARE(o.value("q_floor").toInt(), 40);           // |10 - 20| x 20 x 0.02 / 0.1
        QCOMPARE(o.value("q_ceiling").toInt(), 88);         // 22 x 20 x 0.2
        QCOMPARE(o.value("q_walls").toInt(), 238);          // 22 x 54 x 0.2 = 237.6
        QCOMPARE(o.value("xk_bulk").toDouble(), 0.1 + 0.2); // full precision
        QCOMPARE(o.value("xo_series").toString(), QStringLiteral("KMH"));
        QCOMPARE(o.value("xo_gas").toString(), QStringLiteral("R22"));
        QCOMPARE(o.value("t_class").toInt(), 0);
        QCOMPARE(o.value("sel_modification").toString(), QStringLiteral("060"));
        QCOMPARE(o.value("unit_capacity").toDouble(), 1200.0);
        QCOMPARE(o.value("verdict").toString(), QString());
        QCOMPARE(o.value("sel_text").toString(), QStringLiteral("Моноблок модель KMH060 в количестве 1 шт."));
        // Integers are written as integers.
        QVERIFY(run.out.contains("\"q_floor\":40,"));
        QVERIFY(run.out.contains("\"xk_ceiling\":100,"));

        // Every field of the calculation record under its own name, and the
        // components named add up to their sums.
        QStringList fields = QString::fromLatin1(R"(
            xk_bulk xk_length xk_width xk_height xk_ceiling xk_wall xk_floor xk_ceiling_stuff xk_wall_stuff
            xk_floor_stuff xk_ceiling_name xk_wall_name xk_floor_name xk_ceiling_k xk_wall_k xk_floor_k
            xk_doors xk_doors_open xk_curtain xk_curtain_name xk_curtain_c xk_temperature xk_people xk_heat
            by_temperature by_moisture by_ground px_pgroup px_product px_product_name px_time px_start_t
            px_end_t px_weight px_turnover px_packing px_packing_name co cz cwr tko tnz td0 td2 td5 td15
            packing_mass packing_thermal xo_type1 xo_type2 xo_gas xo_count xo_power xo_work xo_series
            xo_type_name t_class xo_picture xo_scheme contact contact_organization contact_city
            contact_phones contact_email contact_name onote pkey_data NewCalculation NewContact q_ceiling
            q_walls q_floor q_cooling q_freezing q_frozen_cooling q_respiration q_product q_sources q_staff
            q_packing q_doors q_extra q_total q_unit_required sel_model sel_modification unit_capacity
            verdict sel_text)")
                                 .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        QStringList keys = o.keys();
        keys.sort();
        fields.sort();
        QCOMPARE(keys, fields);
        const auto q = [&o](const char* name) { return o.value(QLatin1String(name)).toInt(); };
        QCOMPARE(q("q_extra"), q("q_doors") + q("q_staff") + q("q_packing") + q("q_sources"));
        QCOMPARE(q("q_total"), q("q_ceiling") + q("q_walls") + q("q_floor") + q("q_product") + q("q_extra"));
        QVERIFY(q("q_doors") > 0 && q("q_staff") > 0);
    }

    void startValuesAndVolume()
    {
        const QString file = m_dir->filePath(QStringLiteral("input.json"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(R"({"xk_length":2.5,"xk_width":2,"xk_height":2})");
        f.close();
        const Run run = calc({"--input", file});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject o = object(run.out);
        QCOMPARE(o.value("xk_bulk").toDouble(), 10.0);
        const QList<QPair<const char*, double>> starts = {
            {"xk_ceiling", 100},  {"xk_wall", 100},       {"xk_floor", 100},   {"xk_doors", 2},
            {"xk_doors_open", 1}, {"by_temperature", 32}, {"by_moisture", 75}, {"by_ground", 20},
            {"xo_work", 70},      {"xo_count", 1},        {"px_time", 24},     {"xk_temperature", 0}};
        for (const auto& [name, value] : starts)
            QVERIFY2(o.value(QLatin1String(name)).toDouble() == value, name);
    }

    void refusedInput_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("named");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("unknown key") << QByteArray(R"({"xk_colour":1})") << "xk_colour" << 2;
        QTest::newRow("not saved in the record") << QByteArray(R"({"q_total":1})") << "q_total" << 2;
        QTest::newRow("wrong type") << QByteArray(R"({"xk_length":"5"})") << "xk_length" << 2;
        QTest::newRow("16-bit too large") << QByteArray(R"({"px_time":32768})") << "px_time" << 2;
        QTest::newRow("16-bit too small") << QByteArray(R"({"xk_heat":-32769})") << "xk_heat" << 2;
        QTest::newRow("16-bit fraction") << QByteArray(R"({"by_moisture":75.5})") << "by_moisture" << 2;
        QTest::newRow("bad JSON") << QByteArray(R"({"xk_length":)") << "JSON" << 2;
        QTest::newRow("not an object") << QByteArray("[1]") << "object" << 2;
        QTest::newRow("result beyond 32 bits")
            << QByteArray(R"({"xk_length":1000,"xk_width":1000,"xk_height":20,"xk_wall":1,
            "xk_wall_stuff":1,"xk_floor":0,"xk_ceiling":0,"by_temperature":3200})")
            << "q_walls" << 3;
    }
    void refusedInput()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, named);
        QFETCH(int, exitCode);
        const Run run = calc({"--input", "-"}, json);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.contains(named.toUtf8()), run.err.constData());
    }

    void edgesOfTheSixteenBitRangeAreAccepted()
    {
        const Run run = calc({"--input", "-"}, R"({"xk_heat":32767,"px_start_t":-32768,"xk_floor":0})");
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(object(run.out).value("q_sources").toInt(), 32767);
    }

    void missingDatabase()
    {
        QVERIFY(TestDatabases::remove(path("nv.mdb")));
        Run run = calc({"--input", "-"}, "{}");
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY(TestDatabases::createEmptyReference(path("nv.mdb")));
        QVERIFY(TestDatabases::remove(path("order.mdb")));
        run = calc({"--all-orders"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.count('\n'), 1);
    }

    void orders()
    {
        QCOMPARE(calc({"--all-orders"}).out, QByteArray()); // empty table
        QCOMPARE(calc({"--all-orders"}).exitCode, 0);
        auto orders = Database::open(TestDatabases::address(path("order.mdb")), orderTables());
        QVERIFY(orders);
        // Row 3 overflows, rows 5 and 4 are fine (printed in key order).
        for (const char* row : {
                 "(5, 60, 5.004, 4, 3, 100, 1, 100, 1, 100, 1, 2, 1, 24, 70, 1, 1, 'пять', 32, 20)",
                 "(3, 1, 1000, 1000, 20, 0, 1, 1, 1, 0, 1, 2, 1, 24, 70, 1, 1, 'три', 3200, 20)",
                 "(4, 60, 5, 4, 3, 100, 1, 100, 1, 100, 1, 2, 1, 24, 70, 1, 1, 'четыре', 32, 20)",
             })
            QVERIFY(orders->execute(
                QStringLiteral(
                    "INSERT INTO data (pkey, xk_bulk, xk_length, xk_width, xk_height, xk_ceiling, "
                    "xk_ceiling_stuff, xk_wall, xk_wall_stuff, xk_floor, xk_floor_stuff, xk_doors, "
                    "xk_doors_open, px_time, xo_work, xo_count, xo_type1, onote, by_temperature, by_ground) "
                    "VALUES ") +
                QString::fromUtf8(row)));
        orders.reset();

        const Run all = calc({"--all-orders"});
        QCOMPARE(all.exitCode, 3);
        QVERIFY2(all.err.contains("3") && all.err.contains("q_walls"), all.err.constData());
        const QList<QByteArray> lines = all.out.split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(2).isEmpty());
        QCOMPARE(object(lines.at(0)).value("pkey_data").toInt(), 4);
        QCOMPARE(object(lines.at(1)).value("pkey_data").toInt(), 5);

        const Run five = calc({"--order", "5"});
        QCOMPARE(five.exitCode, 0);
        QCOMPARE(five.out, lines.at(1) + '\n');
        const QJsonObject o = object(five.out);
        QCOMPARE(o.value("xk_length").toDouble(), 5.0);
        QCOMPARE(o.value("q_floor").toInt(), 80);
        QCOMPARE(o.value("q_ceiling").toInt(), 128);
        QCOMPARE(o.value("q_walls").toInt(), 346);
        QCOMPARE(o.value("onote").toString(), QStringLiteral("пять"));

        const Run missing = calc({"--order", "6"});
        QCOMPARE(missing.exitCode, 4);
        QVERIFY(missing.out.isEmpty());
        QCOMPARE(missing.err.count('\n'), 1);
        QCOMPARE(calc({"--order", "3"}).exitCode, 3);
    }

    // Every saved column of a reopened row comes back under its own name.
    void reopenedColumnsKeepTheirNames()
    {
        const QStringList columns =
            QStringLiteral("xk_bulk xk_length xk_width xk_height xk_ceiling xk_ceiling_stuff xk_wall "
                           "xk_wall_stuff xk_floor xk_floor_stuff xk_doors xk_doors_open xk_curtain "
                           "xk_temperature xk_people xk_heat by_temperature by_moisture by_ground px_product "
                           "px_time px_start_t px_end_t px_weight px_turnover px_packing xo_type1 xo_type2 "
                           "xo_count xo_power xo_work contact px_pgroup")
                .split(QLatin1Char(' '));
        QStringList values;
        for (int i = 1; i <= columns.size(); ++i)
            values << QString::number(i);
        auto orders = Database::open(TestDatabases::address(path("order.mdb")), orderTables());
        QVERIFY(orders &&
                orders->execute(QStringLiteral("INSERT INTO data (pkey, %1) VALUES (9, %2)")
                                    .arg(columns.join(QLatin1Char(',')), values.join(QLatin1Char(',')))));
        orders.reset();
        const Run run = calc({"--order", "9"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject o = object(run.out);
        for (int i = 0; i < columns.size(); ++i)
            QVERIFY2(o.value(columns.at(i)).toDouble() == i + 1, qPrintable(columns.at(i)));
    }

    void defaultFolderIsTheExecutables()
    {
        const QString copy = m_dir->filePath(QStringLiteral("frostpick-calc"));
        QVERIFY(QFile::copy(QStringLiteral(FROSTPICK_CALC_EXE), copy));
        QProcess p;
        p.setWorkingDirectory(QDir::tempPath());
        p.start(copy, {QStringLiteral("--input"), QStringLiteral("-")});
        p.write(Chamber);
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(object(p.readAllStandardOutput()).value("q_walls").toInt(), 346);
    }

    void helpAndBadArguments()
    {
        const Run help = calc({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("--all-orders"));
        for (const QStringList& args :
             {QStringList{}, QStringList{"--order", "x"}, QStringList{"--frobnicate"},
              QStringList{"--order", "1", "--all-orders"}}) {
            const Run run = calc(args);
            QCOMPARE(run.exitCode, 2);
            QCOMPARE(run.err.count('\n'), 1);
        }
    }

private:
    QString path(const char* name) const { return m_dir->filePath(QLatin1String(name)); }

    Run calc(const QStringList& args, const QByteArray& input = {})
    {
        QProcess p;
        p.start(QStringLiteral(FROSTPICK_CALC_EXE),
                QStringList{QStringLiteral("--dir"), m_dir->path()} + args);
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(30000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }

    static QJsonObject object(const QByteArray& line)
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError)
            qWarning("not JSON: %s", line.constData());
        return doc.object();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestCalcTool)
#include "test_calctool.moc"
