#include "CalculationRecord.h"
#include "CalculationTrace.h"
#include "HeatLoad.h"

#include <QtTest>

namespace {

// 5 x 4 x 3 m at 0 °C, ambient 32 °C, ground 20 °C, 100 mm of a 0.02 W/m/°C
// material everywhere, no product.
CalculationRecord chamberRecord()
{
    CalculationRecord r;
    ApplyStartValues(r);
    r.xk_length = 5;
    r.xk_width = 4;
    r.xk_height = 3;
    r.xk_ceiling_k = r.xk_wall_k = r.xk_floor_k = 0.02;
    return r;
}

// Product heats alone: with no process time the rate factor is the mass in
// the chamber, 1000 kg here, so each result is 1000 x the kcal per kg.
CalculationRecord productRecord(int ts, int te, double tko, double tnz)
{
    CalculationRecord r;
    ApplyStartValues(r);
    r.xk_ceiling = r.xk_wall = r.xk_floor = 0;
    r.px_time = 0;
    r.px_weight = 1;
    r.px_turnover = 100;
    r.px_start_t = qint16(ts);
    r.px_end_t = qint16(te);
    r.tko = tko;
    r.tnz = tnz;
    r.co = 0.9;
    r.cz = 0.5;
    r.cwr = 60;
    return r;
}

} // namespace

class TestHeatLoad : public QObject
{
    Q_OBJECT

private slots:
    void diffusionWorkedExample()
    {
        CalculationRecord r = chamberRecord();
        r.xo_power = 10;
        r.xo_count = 2;
        QVERIFY(CalculateLoad(r));
        QCOMPARE(r.q_floor, 80);
        QCOMPARE(r.q_ceiling, 128);
        QCOMPARE(r.q_walls, 346);
        QCOMPARE(r.q_total, 80 + 128 + 346 + r.q_doors);
        QCOMPARE(r.q_unit_required, 1.1 * 554 / 1.4); // 10 % reserve shared by two units at 70 %
    }

    void storedResultsRoundHalvesToEven_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("k");
        QTest::addColumn<int>("expected");
        // 25 K across 100 mm above and below
        QTest::newRow("2.5 -> 2") << 2.5 << 1.0 << 0.004 << 2;
        QTest::newRow("3.5 -> 4") << 3.5 << 1.0 << 0.004 << 4;
        // 25 x 2.6 x 14.8 x 0.025 / 0.1 is 240.5 exactly in this order
        QTest::newRow("240.5 -> 240, multiplied as written") << 2.6 << 14.8 << 0.025 << 240;
    }
    void storedResultsRoundHalvesToEven()
    {
        QFETCH(double, length);
        QFETCH(double, width);
        QFETCH(double, k);
        CalculationRecord r;
        ApplyStartValues(r);
        r.xk_length = length;
        r.xk_width = width;
        r.xk_floor_k = r.xk_ceiling_k = k;
        r.by_ground = r.by_temperature = 25;
        QVERIFY(CalculateLoad(r));
        QTEST(r.q_floor, "expected");
        QTEST(r.q_ceiling, "expected");
    }

    void productRules_data()
    {
        QTest::addColumn<int>("ts");
        QTest::addColumn<int>("te");
        QTest::addColumn<int>("cooling");
        QTest::addColumn<int>("freezing");
        QTest::addColumn<int>("frozen");
        QTest::addColumn<double>("tnz");
        // tko -1, co 0.9, cz 0.5, cwr 60
        QTest::newRow("1: stays above freezing") << 20 << 4 << 14400 << 0 << 0 << -5.0;
        QTest::newRow("2: comes in frozen") << -18 << -20 << 0 << 0 << 1000 << -5.0;
        QTest::newRow("3: whole freezing range") << 20 << -18 << 18900 << 60000 << 6500 << -5.0;
        QTest::newRow("3: entry exactly at tko") << -1 << -18 << 0 << 60000 << 6500 << -5.0;
        QTest::newRow("4: ends inside the range") << 20 << -3 << 18900 << 44500 << 0 << -5.0;
        QTest::newRow("5: comes in inside the range") << -2 << -10 << 0 << 34125 << 2500 << -5.0;
        QTest::newRow("5: final exactly at tnz") << -2 << -5 << 0 << 34125 << 0 << -5.0;
        // leaving inside the range gives up the heat between the two points of
        // the freezing curve, none below tnz
        QTest::newRow("5: final just above tnz") << -2 << -4 << 0 << 30000 << 0 << -5.0;
        QTest::newRow("5: entry at tko, final inside the range") << -1 << -3 << 0 << 44500 << 0 << -5.0;
        QTest::newRow("5: entry equals final inside the range") << -3 << -3 << 0 << 0 << 0 << -5.0;
        // one freezing point: a final or entry temperature equal to it is rule 3
        QTest::newRow("3: one freezing point, final at it") << 20 << -1 << 18900 << 60000 << 0 << -1.0;
        QTest::newRow("3: one freezing point, entry at it") << -1 << -18 << 0 << 60000 << 8500 << -1.0;
    }
    void productRules()
    {
        QFETCH(int, ts);
        QFETCH(int, te);
        QFETCH(double, tnz);
        CalculationRecord r = productRecord(ts, te, -1, tnz);
        r.trace = std::make_shared<CalculationTrace>();
        QVERIFY(CalculateLoad(r));
        QTEST(r.q_cooling, "cooling");
        QTEST(r.q_freezing, "freezing");
        QTEST(r.q_frozen_cooling, "frozen");
        QCOMPARE(r.q_product, r.q_cooling + r.q_freezing + r.q_frozen_cooling + r.q_respiration);
        // The detailed window's heats per kg are the ones computed with; this
        // record turns 1 kcal/kg into 1000 W. It names the rule the row does.
        double perKg = 0;
        QStringList rules;
        for (const TraceLine& line : r.trace->load) {
            if (line.key.startsWith(QLatin1String("h_"))) {
                QVERIFY2(*line.value >= 0, qPrintable(line.key));
                perKg += *line.value;
            }
            if (line.outcome.startsWith(QStringLiteral("правило")))
                rules << line.outcome;
        }
        QCOMPARE(qRound(perKg * 1000), r.q_cooling + r.q_freezing + r.q_frozen_cooling);
        QCOMPARE(rules, QStringList{QStringLiteral("правило ") + QLatin1Char(QTest::currentDataTag()[0])});
    }

    void productWorkedExample()
    {
        CalculationRecord r;
        ApplyStartValues(r);
        r.xk_ceiling = r.xk_wall = r.xk_floor = 0;
        r.px_weight = 10;
        r.px_turnover = 10;
        r.px_start_t = 20;
        r.px_end_t = 4;
        r.co = 0.9;
        r.tko = -1;
        r.tnz = -5;
        r.td2 = 0.02;
        r.td5 = 0.03;
        r.td15 = 0.08;
        r.packing_mass = 10;
        r.packing_thermal = 0.4;
        QCOMPARE(GetRespiration(r, 4), 0.08 / 3);
        QCOMPARE(GetRespiration(r, 20), 0.105);
        QVERIFY(CalculateLoad(r));
        QCOMPARE(r.q_cooling, 698);
        QCOMPARE(r.q_respiration, 319);
        QCOMPARE(r.q_packing, 31);
        QCOMPARE(r.q_product, 698 + 319);
        QCOMPARE(r.q_extra, r.q_doors + r.q_staff + r.q_sources + r.q_packing);
        QCOMPARE(r.q_total, r.q_product + r.q_extra);
        QCOMPARE(r.q_unit_required, r.q_total / 0.7);
    }

    void respiration()
    {
        CalculationRecord r;
        r.td0 = 0.01;
        r.td2 = 0.03;
        r.td5 = 0.06;
        r.tko = -1;
        QCOMPARE(GetRespiration(r, 3), 0.04);
        QCOMPARE(GetRespiration(r, 0), 0.01);
        QCOMPARE(GetRespiration(r, -1), 0.0);
        QCOMPARE(GetRespiration(r, -7), 0.0);
        r.tko = -1.5; // rounds to -2: the line from 0 at -2 to td0 at 0
        QCOMPARE(GetRespiration(r, -1), 0.005);
        // tko rounding to 0 (halves to even) leaves no range below 0 °C
        for (double tko : {0.4, -0.5, 0.5}) {
            r.tko = tko;
            QCOMPARE(GetRespiration(r, 0), 0.0);
            QCOMPARE(GetRespiration(r, -5), 0.0);
            QCOMPARE(GetRespiration(r, 1), 0.02);
        }
    }

    void staffHeat_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("expected");
        QTest::newRow("-3 °C") << -3.0 << 214.6;
        // positions 2.4, 4.4, 6.4, 8.4 and 12: every entry of the table takes part
        QTest::newRow("-38 °C") << -38.0 << 449.0;
        QTest::newRow("-28 °C") << -28.0 << 359.2;
        QTest::newRow("-18 °C") << -18.0 << 291.0;
        QTest::newRow("-8 °C") << -8.0 << 237.4;
        QTest::newRow("10 °C") << 10.0 << 167.0;
        QTest::newRow("-2 °C: position 9.6 on segment 10..11") << -2.0 << 209.2;
        QTest::newRow("0 °C") << 0.0 << 202.0;
        QTest::newRow("15 °C") << 15.0 << 152.0;
        QTest::newRow("-60 °C continues the first segment") << -60.0 << 715.0;
        QTest::newRow("far off does not overflow") << 1e9 << 152.0 + (2e8 + 10 - 13) * -15.0;
    }
    void staffHeat()
    {
        QFETCH(double, t);
        QFETCH(double, expected);
        QCOMPARE(GetStaffHeat(t), expected);
    }

    void clampAndAirFactors()
    {
        QCOMPARE(Clamp(-1, 0, 12), qint16(0));
        QCOMPARE(Clamp(13, 0, 12), qint16(12));
        QCOMPARE(Clamp(7, 0, 12), qint16(7));
        QCOMPARE(AirFactorWarm(32, 75), 0.79322);
        QCOMPARE(AirFactorCold(-10, 75), 0.458125);
        QCOMPARE(DoorAirFlow(0, 0), 0.0);
        QCOMPARE(DoorAirFlow(5, -1), 0.0);
    }

    void doorsAndStaffWorkedExample()
    {
        CalculationRecord r = chamberRecord();
        r.xk_bulk = 60;
        r.xk_people = 8;
        QVERIFY(qAbs(DoorAirFlow(0, 60) - 27.42072) < 1e-5);
        QVERIFY(CalculateLoad(r));
        QCOMPARE(r.q_doors, 598);
        QCOMPARE(r.q_staff, 67);
        QCOMPARE(r.q_total, 80 + 128 + 346 + 598 + 67);

        r.xk_bulk = 0;
        QVERIFY(CalculateLoad(r));
        QCOMPARE(r.q_doors, 0);
    }

    void doorsBelowZeroAndBehindACurtain_data()
    {
        QTest::addColumn<double>("chamber");
        QTest::addColumn<double>("ambient");
        QTest::addColumn<double>("curtain");
        QTest::addColumn<int>("expected");
        // D = 32 x 0.79322 + 10 x AirFactorCold(32, 75) = 25.38304 + 5.47375, flow (3.54 - 0.4) x sqrt(60),
        // halved by the curtain: 30.85679 x 24.32234 x 2 x 10.318 / 24 x 0.5 = 322.66
        QTest::newRow("chamber -10, curtain 50 %") << -10.0 << 32.0 << 50.0 << 323;
        // both sides cold: D = 15 x AirFactorCold(-5, 75) = 6.77109, flow 2.74 x sqrt(60) = 21.22395
        QTest::newRow("ambient -5, chamber -20") << -20.0 << -5.0 << 0.0 << 124;
    }
    void doorsBelowZeroAndBehindACurtain()
    {
        QFETCH(double, chamber);
        QFETCH(double, ambient);
        QFETCH(double, curtain);
        CalculationRecord r = chamberRecord();
        r.xk_bulk = 60;
        r.xk_temperature = chamber;
        r.by_temperature = ambient;
        r.xk_curtain_c = curtain;
        QVERIFY(CalculateLoad(r));
        QTEST(r.q_doors, "expected");
    }

    void guardsKeepEarlierValues()
    {
        CalculationRecord r = chamberRecord();
        r.xk_bulk = 60;
        r.xk_people = 8;
        QVERIFY(CalculateLoad(r));
        const double required = r.q_unit_required;
        r.xk_floor = r.xk_ceiling = r.xk_wall = 0;
        r.px_time = 0;
        r.xo_count = 0;
        r.by_ground = -100;
        r.xk_people = 100;
        QVERIFY(CalculateLoad(r));
        QCOMPARE(r.q_floor, 80);
        QCOMPARE(r.q_ceiling, 128);
        QCOMPARE(r.q_walls, 346);
        QCOMPARE(r.q_doors, 598);
        QCOMPARE(r.q_staff, 67);
        QCOMPARE(r.q_unit_required, required);
    }

    void diffusionBeyondSixteenBitsIsKept()
    {
        CalculationRecord r = chamberRecord();
        r.xk_length = r.xk_width = 20;
        r.xk_ceiling = 10;
        QVERIFY(CalculateLoad(r));
        QCOMPARE(r.q_ceiling, 25600); // 32 x 400 x 0.02 / 0.01
        r.xk_ceiling = 5;
        QVERIFY(CalculateLoad(r));
        QCOMPARE(r.q_ceiling, 51200);
    }

    void resultBeyondThirtyTwoBitsIsReported_data()
    {
        QTest::addColumn<int>("ceiling");
        QTest::addColumn<double>("conductivity");
        QTest::addColumn<QString>("field");
        // 1000 x 1000 x 20 m, 1 mm: walls 32 x 8e4 x k / 0.001
        QTest::newRow("walls") << 0 << 1.0 << "q_walls";
        // each component fits, their sum does not
        QTest::newRow("diffusion sum") << 1 << 0.065 << "q_ceiling + q_floor + q_walls";
    }
    void resultBeyondThirtyTwoBitsIsReported()
    {
        QFETCH(int, ceiling);
        QFETCH(double, conductivity);
        QFETCH(QString, field);
        CalculationRecord r = chamberRecord();
        r.xk_length = r.xk_width = 1000;
        r.xk_height = 20;
        r.xk_floor = 0;
        r.xk_wall = 1;
        r.xk_ceiling = qint16(ceiling);
        r.xk_wall_k = r.xk_ceiling_k = conductivity;
        r.q_walls = 11;
        r.q_ceiling = 12;
        r.q_total = 13;
        r.q_unit_required = 14;
        QString error;
        QVERIFY(!CalculateLoad(r, &error));
        QVERIFY2(error.startsWith(field + QLatin1Char(' ')), qPrintable(error));
        QCOMPARE(r.q_walls, 11);
        QCOMPARE(r.q_ceiling, 12);
        QCOMPARE(r.q_total, 13);
        QCOMPARE(r.q_unit_required, 14.0);
    }

    void entryMinusFinalDoesNotWrap()
    {
        CalculationRecord r = productRecord(32767, -32768, -1, -5);
        r.px_weight = 0.001; // rate factor 1 kg
        r.packing_mass = 1;
        r.packing_thermal = 1;
        QVERIFY(CalculateLoad(r));
        QCOMPARE(r.q_cooling, 29491);        // 32768 x 0.9
        QCOMPARE(r.q_frozen_cooling, 16382); // 32763 x 0.5, half to even
        QCOMPARE(r.q_packing, 655);          // 65535 x 0.01, not -1 x 0.01
    }
};

QTEST_GUILESS_MAIN(TestHeatLoad)
#include "test_heatload.moc"
