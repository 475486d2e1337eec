#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "CalculationTrace.h"
#include "CalculationWarnings.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "Selection.h"
#include "TestDatabases.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString NoSufficientUnit = QStringLiteral(
    "Выбранные тип оборудования и количество агрегатов не обеспечивают результат расчета тепловой нагрузки");

} // namespace

class TestSelection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("nv.mdb"));
        QVERIFY(TestDatabases::createEmptyReference(path));
        m_db = Database::open(TestDatabases::address(path), referenceTables()).valueOr(nullptr);
        QVERIFY(m_db);
        m_context.ref_db = m_db;
        exec(
            "INSERT INTO equipment (Pkey, text_ru, model) VALUES (1, 'Моноблок', 'KM'), (2, 'Сплит', 'KMC'), "
            "(3, 'Агрегат', 'KMP'), (4, 'Стеллаж', 'KS')");
        // Modification 100 first, so the order must come from the query.
        addCapacities("KMH", "100", {{2000, 2200, 2400}, {1500, 1700, 1900}, {500, 600, 700}});
        addCapacities("KMH", "60", {{1000, 1200, 1400}, {1000, 1200, 1400}, {1000, 1200, 1400}});
        addCapacities("KMH", "150", {{3000, 3200, 3400}, {3000, 3200, 3400}, {3000, 3200, 3400}});
        // One outside temperature missing.
        addCapacities("KMQ", "80", {{900, 1000, 1100}, {900, 1000, 1100}});
        // One rated point missing at 20 °C outside.
        addCapacities("KSZ", "10", {{2000, 2200}, {1500, 1700, 1900}, {500, 600, 700}});
        for (const char* code : {"KMM", "KMN", "KMK", "KMX", "KMB", "KMC", "KMP"})
            addCapacities(code, "10", {{1, 2, 3}});
        // Falling from T2 to T3: above T3 the levelling-off curve has a pole
        // at 16 °C (S = 100, G = -100).
        addCapacities("KSN", "40", {{2300, 1000, 900}, {2300, 1000, 900}, {2300, 1000, 900}});
        addCapacities("KSM", "20", {{0, 100, 200}, {0, 100, 200}, {0, 100, 200}});
        // A modification that is stored as text, not a number (a server's
        // numeric column refuses it).
        if (TestDatabases::storage() == TestDatabases::Storage::Files)
            addCapacities("KSA", "1 OR 1=1", {{1000, 1200, 1400}, {1000, 1200, 1400}, {1000, 1200, 1400}});
    }

    void series_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("gas");
        QTest::addColumn<double>("t");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("tClass");
        QTest::newRow("KM R22 10") << 1 << "R22" << 10.0 << "KMH" << 0;
        QTest::newRow("KM R22 8 exactly") << 1 << "R22" << 8.0 << "KMM" << 1;
        QTest::newRow("KM other 2") << 1 << "R404a" << 2.0 << "KMN" << 1;
        QTest::newRow("KM other -8 exactly") << 1 << "R404a" << -8.0 << "KMK" << 2;
        QTest::newRow("KM R22 -20") << 1 << "R22" << -20.0 << "KMB" << 2;
        QTest::newRow("KM other -28 exactly") << 1 << "R404a" << -28.0 << "KMX" << 3;
        QTest::newRow("KMC R22 -10") << 2 << "R22" << -10.0 << "KMC" << 3;
        QTest::newRow("KMC other -20") << 2 << "R404a" << -20.0 << "KMX" << 3;
        QTest::newRow("KMC other 10") << 2 << "R404a" << 10.0 << "KMC" << 0;
        QTest::newRow("KMP other 2") << 3 << "r22" << 2.0 << "KMQ" << 1;
        QTest::newRow("KMP R22 12") << 3 << "R22" << 12.0 << "KMP" << 0;
        QTest::newRow("KMP R22 -10") << 3 << "R22" << -10.0 << "KMP" << 2;
        QTest::newRow("no rows with the letter") << 4 << "R22" << 10.0 << "KS" << 0;
    }
    void series()
    {
        QFETCH(int, type);
        QFETCH(QString, gas);
        QFETCH(double, t);
        CalculationRecord r = record();
        r.xo_type1 = qint16(type);
        r.xo_gas = gas;
        r.xk_temperature = t;
        QTEST(GetSeries(m_context, r), "code");
        QTEST(r.xo_series, "code");
        QTEST(int(r.t_class), "tClass");
    }

    void unknownTypeKeepsTheTypeName()
    {
        CalculationRecord r = record();
        r.xo_type1 = 99;
        r.xo_type_name = QStringLiteral("прежний");
        GetSeries(m_context, r);
        QCOMPARE(r.xo_type_name, QStringLiteral("прежний"));
        QCOMPARE(r.xo_series, QString());
        r.xo_type1 = 2;
        GetSeries(m_context, r);
        QCOMPARE(r.xo_type_name, QStringLiteral("Сплит"));
    }

    void powerQuadraticAndLevellingOff()
    {
        CalculationRecord r = unit("KMH", "060", 10, 32);
        QCOMPARE(GetPower(m_context, r), 1200.0);
        r.xk_temperature = 20; // above T3: S = 40, G = 200
        QCOMPARE(GetPower(m_context, r), 1500.0);
        r.xk_temperature = 15;
        QCOMPARE(GetPower(m_context, r), 1400.0);
        r = unit("KSN", "040", 16, 32);
        QCOMPARE(GetPower(m_context, r), 900.0);
        if (TestDatabases::storage() == TestDatabases::Storage::Files) {
            r = unit("KSA", "1 OR 1=1", 10, 32);
            QCOMPARE(GetPower(m_context, r), 1200.0);
        }
    }

    // At its class's three rated chamber temperatures a unit gives exactly its
    // three rated capacities (KMH 060: 1000, 1200, 1400 W at any outside temperature).
    void powerAtTheClassTemperatures_data()
    {
        QTest::addColumn<int>("tClass");
        QTest::addColumn<QVector<double>>("rated");
        QTest::newRow("class 0") << 0 << QVector<double>{5, 10, 15};
        QTest::newRow("class 1") << 1 << QVector<double>{-5, 0, 5};
        QTest::newRow("class 2") << 2 << QVector<double>{-25, -22, -18};
        QTest::newRow("class 3") << 3 << QVector<double>{-45, -35, -25};
        QTest::newRow("any other class as 3") << 7 << QVector<double>{-45, -35, -25};
    }
    void powerAtTheClassTemperatures()
    {
        QFETCH(int, tClass);
        QFETCH(QVector<double>, rated);
        for (int i = 0; i < 3; ++i) {
            CalculationRecord r = unit("KMH", "060", rated.at(i), 32);
            r.t_class = qint16(tClass);
            QCOMPARE(GetPower(m_context, r), 1000.0 + 200 * i);
        }
    }

    void powerAtTheRatedOutsideTemperatures_data()
    {
        QTest::addColumn<double>("ambient");
        QTest::addColumn<double>("expected");
        QTest::newRow("20") << 20.0 << 2200.0;
        QTest::newRow("32") << 32.0 << 1700.0;
        QTest::newRow("43") << 43.0 << 600.0;
        // (2200 x 11 x -6 x -17 - 1700 x 23 x 6 x -17 + 600 x 12 x 6 x -6) / 3036
        // = (2468400 + 3988200 - 259200) / 3036
        QTest::newRow("26") << 26.0 << 6197400.0 / 3036;
    }
    void powerAtTheRatedOutsideTemperatures()
    {
        QFETCH(double, ambient);
        QFETCH(double, expected);
        CalculationRecord r = unit("KMH", "100", 10, ambient);
        QCOMPARE(GetPower(m_context, r), expected);
    }

    void missingRowsAreReportedAndCountAsZero()
    {
        CalculationRecord r = unit("KMQ", "080", 10, 43);
        QCOMPARE(GetPower(m_context, r), 0.0); // only Q43 counts at 43 °C, and it is missing
        QCOMPARE(std::exchange(m_context.notices, {}),
                 QStringList{
                     QStringLiteral("Записей не найдено!\nSELECT in_t, power FROM power where model ='KMQ' "
                                    "AND out_t=43 AND modification=80 ORDER BY out_t,in_t")});
        // A missing rated point reads as empty, not as the next ambient's
        // first: at T3 the capacity is that point's.
        CalculationRecord shortSet = unit("KSZ", "10", 15, 20);
        QCOMPARE(GetPower(m_context, shortSet), 0.0);
    }

    void selectsTheFirstSufficientModification_data()
    {
        QTest::addColumn<double>("required");
        QTest::addColumn<QString>("modification");
        QTest::addColumn<double>("capacity");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("smallest, with a 0 in front") << 1100.0 << "060" << 1200.0 << QString();
        QTest::newRow("exactly enough") << 1200.0 << "060" << 1200.0 << QString();
        QTest::newRow("three digits stay") << 1500.0 << "100" << 1700.0 << QString();
        QTest::newRow("none sufficient: the last tried") << 5000.0 << "150" << 3200.0 << NoSufficientUnit;
    }
    void selectsTheFirstSufficientModification()
    {
        QFETCH(double, required);
        CalculationRecord r = record();
        r.xo_type1 = 1;
        r.xo_gas = QStringLiteral("R22");
        r.xk_temperature = 10;
        r.q_unit_required = required;
        QCOMPARE(GetSeries(m_context, r), QStringLiteral("KMH"));
        SelectUnit(m_context, r);
        QCOMPARE(r.sel_model, QStringLiteral("KMH"));
        QTEST(r.sel_modification, "modification");
        QTEST(r.unit_capacity, "capacity");
        QTEST(r.verdict, "verdict");
    }

    void noModificationsKeepsEarlierSelection()
    {
        CalculationRecord r = unit("KMH", "060", 10, 32);
        r.unit_capacity = 1234;
        r.xo_series = QStringLiteral("ZZZ");
        SelectUnit(m_context, r);
        QCOMPARE(r.verdict, NoSufficientUnit);
        QCOMPARE(r.sel_model, QStringLiteral("KMH"));
        QCOMPARE(r.sel_modification, QStringLiteral("060"));
        QCOMPARE(r.unit_capacity, 1234.0);
    }

    void selectionLine()
    {
        CalculationRecord r;
        r.xo_type_name = QStringLiteral("Сплит");
        r.sel_model = QStringLiteral("KMC");
        r.sel_modification = QStringLiteral("060");
        r.xo_count = 2;
        QCOMPARE(SelectionLine(r), QStringLiteral("Сплит модель KMC060 в количестве 2 шт."));
        r.sel_model = QStringLiteral("KM");
        r.sel_modification = QStringLiteral("100");
        QCOMPARE(SelectionLine(r), QStringLiteral("Сплит модель 0KM100 в количестве 2 шт."));
        r.verdict = NoSufficientUnit;
        QCOMPARE(SelectionLine(r), NoSufficientUnit);
    }

    void figures()
    {
        CalculationRecord r;
        r.unit_capacity = 1000;
        r.xo_work = 70;
        r.xo_count = 2;
        r.q_total = 1200;
        SelectionFigures f = ComputeSelectionFigures(r);
        QCOMPARE(f.running, 1000.0);
        QCOMPARE(f.average, 700.0);
        QCOMPARE(f.fullAverage, 1400.0);
        QVERIFY(f.reserve && qAbs(*f.reserve - 50.0 / 3) < 1e-9);
        QVERIFY(f.runTime && qAbs(*f.runTime - 60.0) < 1e-9);

        r.q_total = 0;
        f = ComputeSelectionFigures(r);
        QVERIFY(!f.reserve);
        QCOMPARE(f.runTime.value_or(-1), 0.0);

        r.q_total = 1200;
        r.xo_count = 0;
        QVERIFY(!ComputeSelectionFigures(r).runTime);
        r.xo_count = 2;
        r.unit_capacity = 0;
        f = ComputeSelectionFigures(r);
        QVERIFY(!f.runTime);
        QCOMPARE(f.reserve.value_or(0), -100.0);
    }

    // The curve read for the unit must rise with the chamber temperature
    // (KSN 040 falls from 5 to 10 °C) and be above 0 (KSM 020 gives 0 W at 5 °C).
    void implausibleCurveWarned_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<double>("t");
        QTest::addColumn<QString>("warned"); // what the only warning these can give names; empty: none
        QTest::newRow("falling") << "KSN" << 10.0 << "падает с ростом температуры камеры";
        QTest::newRow("0 W") << "KSM" << 5.0 << "°C производительность не больше 0";
        QTest::newRow("above 0 W") << "KSM" << 5.5 << "";
    }
    void implausibleCurveWarned()
    {
        QFETCH(QString, series);
        QFETCH(double, t);
        CalculationRecord r = unit("", "", t, 32);
        r.xo_series = series;
        r.trace = std::make_shared<CalculationTrace>();
        SelectUnit(m_context, r);
        QFETCH(QString, warned);
        const QVector<CalculationWarning> warnings = BuildWarnings(r, {});
        QCOMPARE(warnings.size(), warned.isEmpty() ? 0 : 1);
        if (!warned.isEmpty())
            QVERIFY2(warnings.first().text.contains(warned), qPrintable(warnings.first().text));
    }

    void cleanupTestCase()
    {
        m_context.ref_db.reset();
        m_db.reset();
    }

private:
    void exec(const char* sql) { QVERIFY2(m_db->execute(QString::fromUtf8(sql)), sql); }

    // Rated capacities at 20, 32, 43 °C outside, each for the class's three
    // chamber temperatures (class 0: 5, 10, 15 °C).
    void addCapacities(const char* model, const char* modification, const QVector<QVector<double>>& byOutside)
    {
        const int outside[] = {20, 32, 43};
        const int inside[] = {5, 10, 15, -5, 0, -25, -22, -18, -45, -35};
        for (int o = 0; o < byOutside.size(); ++o)
            for (int i = 0; i < byOutside[o].size(); ++i)
                QVERIFY(m_db->execute(
                    QStringLiteral("INSERT INTO power (model, modification, in_t, out_t, power) "
                                   "VALUES ('%1', '%2', %3, %4, %5)")
                        .arg(QLatin1String(model), QLatin1String(modification))
                        .arg(inside[i])
                        .arg(outside[o])
                        .arg(byOutside[o][i])));
    }

    CalculationRecord record()
    {
        CalculationRecord r;
        ApplyStartValues(r);
        return r;
    }

    CalculationRecord unit(const char* model, const char* modification, double t, double ambient)
    {
        CalculationRecord r = record();
        r.t_class = 0;
        r.sel_model = QLatin1String(model);
        r.sel_modification = QLatin1String(modification);
        r.xk_temperature = t;
        r.by_temperature = ambient;
        return r;
    }

    QTemporaryDir m_dir;
    std::shared_ptr<Database> m_db;
    CalculationContext m_context; // reads m_db
};

QTEST_GUILESS_MAIN(TestSelection)
#include "test_selection.moc"
