#include "CalcRun.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "OrderColumns.h"
#include "TestDatabases.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestCalcTool : public QObject
{
    Q_OBJECT

private slots:
    // Material 1 (0.02 W/m/°C) and a KM unit for R22 whose modifications 60
    // and 100 give 1200 and 1700 W at 10 °C / 32 °C.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(TestDatabases::createEmptyReference(path("nv.mdb")));
        QVERIFY(TestDatabases::createEmptyOrders(path("order.mdb")));
        auto ref = Database::open(TestDatabases::address(path("nv.mdb")), referenceTables()).valueOr(nullptr);
        QVERIFY(ref);
        QVERIFY(ref->execute(QStringLiteral("INSERT INTO article (Pkey, s_name, s_value, cls_n) VALUES "
                                            "(1, 'Пенопласт \"ПС\"', 0.02, 1)")));
        QVERIFY(ref->execute(
            QStringLiteral("INSERT INTO equipment (Pkey, text_ru, model) VALUES (1, 'Моноблок', 'KM')")));
        for (int modification : {100, 60})
            for (int out : {20, 32, 43})
                for (int i = 0; i < 3; ++i)
                    QVERIFY(
                        ref->execute(QStringLiteral("INSERT INTO power (model, modification, in_t, out_t, "
                                                    "power) VALUES ('KMH', %1, %2, %3, %4)")
                                         .arg(modification)
                                         .arg(5 + 5 * i)
                                         .arg(out)
                                         .arg((modification == 60 ? 1000 : 1500) + 200 * i)));
    }
    void cleanup() { m_dir.reset(); }

    // 5 x 4 x 3 m at 10 °C under 100 mm of material 1.
    void inputWorkedExample()
    {
        const CalcRun run =
            calc({"--input", "-"}, R"({"xk_length":5,"xk_width":4,"xk_height":3,"xk_ceiling_stuff":1,
            "xk_wall_stuff":1,"xk_floor_stuff":1,"xo_type1":1,"xo_type2":1,"xk_temperature":10,"xk_people":0.1,
            "px_start_t":10,"px_end_t":10,
            "xk_bulk":0.30000000000000004})");
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QCOMPARE(run.out.count('\n'), 1);
        const QJsonObject o = run.object();
        QCOMPARE(o.value("xk_ceiling_name").toString(), QStringLiteral("Пенопласт \"ПС\""));
        QCOMPARE(o.value("q_floor").toInt(), 40);           // |10 - 20| x 20 x 0.02 / 0.1
        QCOMPARE(o.value("q_ceiling").toInt(), 88);         // 22 x 20 x 0.2
        QCOMPARE(o.value("q_walls").toInt(), 238);          // 22 x 54 x 0.2 = 237.6
        QCOMPARE(o.value("xk_bulk").toDouble(), 0.1 + 0.2); // full precision
        QCOMPARE(o.value("unit_capacity").toDouble(), 1200.0);
        QCOMPARE(o.value("sel_text").toString(), QStringLiteral("Моноблок модель KMH060 в количестве 1 шт."));
        QVERIFY(run.out.contains("\"q_floor\":40,")); // integers are written as integers

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

    // A copy of the program in the folder finds its stores there without
    // --dir; input read from a file starts from the start values.
    void defaultFolderAndStartValues()
    {
        const QString copy = path("frostpick-calc"), input = path("input.json");
        QVERIFY(QFile::copy(QStringLiteral(FROSTPICK_CALC_EXE), copy));
        QFile f(input);
        QVERIFY(f.open(QIODevice::WriteOnly) &&
                f.write(R"({"xk_length":2.5,"xk_width":2,"xk_height":2})") > 0);
        f.close();
        const CalcRun run = CalcRun::of({"--input", input}, {}, copy);
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QJsonObject o = run.object();
        const QList<QPair<const char*, double>> starts = {
            {"xk_bulk", 10},   {"xk_ceiling", 100},  {"xk_wall", 100},       {"xk_floor", 100},
            {"xk_doors", 2},   {"xk_doors_open", 1}, {"by_temperature", 32}, {"by_moisture", 75},
            {"by_ground", 20}, {"xo_work", 70},      {"xo_count", 1},        {"px_time", 24}};
        for (const auto& [name, value] : starts)
            QVERIFY2(o.value(QLatin1String(name)).toDouble() == value, name);
    }

    void edgesOfTheSixteenBitRangeAreAccepted()
    {
        // The final temperature at the chamber's and the mass 0 pass the checks.
        const CalcRun run =
            calc({"--input", "-"}, R"({"xk_length":1,"xk_width":1,"xk_height":1,"xk_heat":32767,
            "px_start_t":32767,"px_end_t":-30,"xk_temperature":-30,"xk_floor":0})");
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.object().value("q_sources").toInt(), 32767);
    }

    // Each refusal: its exit status, nothing on stdout and one line on stderr
    // that names what was wrong.
    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("removed"); // store taken away first
        QTest::addColumn<QString>("named");
        QTest::addColumn<int>("exitCode");
        const QStringList input = {"--input", "-"};
        const auto json = [&](const char* name, const char* text, const char* named, int exitCode = 2) {
            QTest::newRow(name) << input << QByteArray(text) << QString() << named << exitCode;
        };
        json("unknown key", R"({"xk_colour":1})", "xk_colour");
        json("not saved in the record", R"({"q_total":1})", "q_total");
        json("wrong type", R"({"xk_length":"5"})", "xk_length");
        json("16-bit too large", R"({"px_time":32768})", "px_time");
        json("16-bit too small", R"({"xk_heat":-32769})", "xk_heat");
        json("16-bit fraction", R"({"by_moisture":75.5})", "by_moisture");
        json("bad JSON", R"({"xk_length":)", "JSON");
        json("not an object", "[1]", "object");
        json("result beyond 32 bits", R"({"xk_length":1000,"xk_width":1000,"xk_height":20,"xk_wall":1,
            "xk_wall_stuff":1,"xk_floor":0,"xk_ceiling":0,"by_temperature":3200})",
             "q_walls", 3);
        // The checks of the input screens, in their order: the first one failed is named.
        const auto check = [&](const char* name, const char* more, const char* named) {
            QTest::newRow(name) << input
                                << R"({"xk_length":5,"xk_width":4,"xk_height":3)" + QByteArray(more) + '}'
                                << QString() << QString::fromUtf8(named) << 2;
        };
        check("length 0", R"(,"xk_length":0,"xk_width":-1)", "xk_length: Введите длину камеры");
        check("width below 0", R"(,"xk_width":-0.1,"xk_height":0)", "xk_width: Введите ширину камеры");
        check("height 0", R"(,"xk_height":0,"px_time":0)", "xk_height: Введите высоту камеры");
        check("chamber beyond a double", R"(,"xk_length":1e308,"xk_width":1e308)",
              "xk_length: Размеры камеры слишком велики");
        check("process time 0", R"(,"px_time":0,"px_weight":-1)",
              "px_time: Должно быть положительное значение");
        check("mass below 0", R"(,"px_weight":-0.001,"px_start_t":-1)",
              "px_weight: Введите полную массу продукта в камере");
        check("entry below final", R"(,"px_start_t":4,"px_end_t":5,"xo_count":0)",
              "px_start_t: Температура поступления должна быть больше конечной температуры");
        check("final below chamber", R"(,"xk_temperature":2.5,"px_start_t":9,"px_end_t":2,"xo_count":0)",
              "px_end_t: Конечная температура должна быть больше, чем температура в камере (2.5)!");
        check("no units", R"(,"xo_count":0,"xo_work":0)", "xo_count: Введите количество агрегатов");
        check("units below 0", R"(,"xo_count":-1)", "xo_count: Введите количество агрегатов");
        check("run time 0", R"(,"xo_work":0)", "xo_work: Введите время работы компрессора");
        QTest::newRow("no reference store")
            << input << QByteArray(R"({"xk_length":5,"xk_width":4,"xk_height":3})") << "nv.mdb" << QString()
            << 1;
        QTest::newRow("no orders store")
            << QStringList{"--all-orders"} << QByteArray() << "order.mdb" << QString() << 1;
        QTest::newRow("no such order")
            << QStringList{"--order", "6"} << QByteArray() << QString() << "6" << 4;
        for (const QStringList& args :
             {QStringList{}, QStringList{"--order", "x"}, QStringList{"--frobnicate"},
              QStringList{"--order", "1", "--all-orders"}})
            QTest::newRow(qPrintable("arguments: " + args.join(' ')))
                << args << QByteArray() << QString() << QString() << 2;
    }
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, json);
        QFETCH(QString, removed);
        QFETCH(QString, named);
        QFETCH(int, exitCode);
        QVERIFY(removed.isEmpty() || TestDatabases::remove(path(removed)));
        const CalcRun run = calc(args, json);
        QVERIFY2(run.exitCode == exitCode && run.out.isEmpty() && run.err.count('\n') == 1 &&
                     run.err.contains(named.toUtf8()),
                 qPrintable(QStringLiteral("status %1, stdout \"%2\", stderr \"%3\"")
                                .arg(run.exitCode)
                                .arg(QString::fromUtf8(run.out), QString::fromUtf8(run.err))));
    }

    void orders()
    {
        const CalcRun none = calc({"--all-orders"});
        QVERIFY(none.exitCode == 0 && none.out.isEmpty());
        auto orders =
            Database::open(TestDatabases::address(path("order.mdb")), orderTables()).valueOr(nullptr);
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

        const CalcRun all = calc({"--all-orders"});
        QCOMPARE(all.exitCode, 3);
        QVERIFY2(all.err.contains("3") && all.err.contains("q_walls"), all.err.constData());
        const QList<QByteArray> lines = all.out.split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(jsonObject(lines.at(0)).value("pkey_data").toInt(), 4);

        const CalcRun five = calc({"--order", "5"});
        QCOMPARE(five.exitCode, 0);
        QCOMPARE(five.out, lines.at(1) + '\n');
        const QJsonObject o = five.object();
        QCOMPARE(o.value("xk_length").toDouble(), 5.0);
        QCOMPARE(o.value("q_walls").toInt(), 346);
        QCOMPARE(o.value("onote").toString(), QStringLiteral("пять"));
        QCOMPARE(calc({"--order", "3"}).exitCode, 3);
    }

    // Every saved column of a reopened row comes back under its own name.
    void reopenedColumnsKeepTheirNames()
    {
        QStringList columns = {QStringLiteral("px_pgroup")}, values = {QStringLiteral("1")};
        for (const OrderColumn& c : OrderColumns) {
            columns << QLatin1String(c.name);
            values << QString::number(values.size() + 1);
        }
        auto orders =
            Database::open(TestDatabases::address(path("order.mdb")), orderTables()).valueOr(nullptr);
        QVERIFY(orders && orders->execute(QStringLiteral("INSERT INTO data (pkey, %1) VALUES (9, %2)")
                                              .arg(columns.join(','), values.join(','))));
        orders.reset();
        const CalcRun run = calc({"--order", "9"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject o = run.object();
        for (int i = 0; i < columns.size(); ++i)
            QVERIFY2(o.value(columns.at(i)).toDouble() == i + 1, qPrintable(columns.at(i)));
    }

    void help()
    {
        const CalcRun help = calc({"--help"});
        QVERIFY(help.exitCode == 0 && help.out.contains("--all-orders"));
    }

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    CalcRun calc(const QStringList& args, const QByteArray& input = {}) const
    {
        return CalcRun::of(QStringList{QStringLiteral("--dir"), m_dir->path()} + args, input);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestCalcTool)
#include "test_calctool.moc"
