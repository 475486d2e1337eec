// The chamber screen: its lists and shown values, the volume kept in step
// with the dimensions, and numbers that read back as shown under the C and
// the Russian locale.
#include "WizardFixture.h"

#include <QtTest>

class TestStage3 : public WizardTest
{
    Q_OBJECT

    void prepare() override
    {
        f->addChamberLists();
        f->addProductLists();
        f->addCustomer("Альфа");
    }

private slots:
    void listsOfferMaterialsAndCurtains()
    {
        start();
        for (const char* name : {"Combo1", "Combo2", "Combo3"}) {
            QComboBox* list = f->list(name);
            QCOMPARE(list->count(), 3); // not the cls_n 2 material
            QCOMPARE(list->itemText(0), QStringLiteral("минеральная вата"));
            QCOMPARE(list->currentText(), QStringLiteral("пенополиуретан панели"));
            QVERIFY(!list->isEditable()); // a typed text could match no material
        }
        QCOMPARE(f->list("Combo4")->count(), 2);
        QCOMPARE(f->list("Combo4")->currentText(), QStringLiteral("нет"));
        QCOMPARE(f->box("tbVolume")->text(), QStringLiteral("0.0"));
    }
    void withoutTheDefaultMaterialTheFirstIsShown()
    {
        QVERIFY(f->reference("DELETE FROM article WHERE Pkey=2"));
        start();
        QCOMPARE(f->list("Combo2")->currentText(), QStringLiteral("минеральная вата"));
        f->enterProduct();
        QCOMPARE(f->record.xk_wall_stuff, WizardFixture::MineralWool);
        QCOMPARE(f->record.xk_wall_k, 0.045);
    }
    void dimensionsShowTheirVolume()
    {
        start();
        f->type({{"Text2", "5"}, {"Text3", "3.3"}, {"Text4", "3"}});
        QCOMPARE(f->box("tbVolume")->text(), QStringLiteral("49.5"));
        QVERIFY(qAbs(f->record.xk_bulk - 49.5) < 1e-9);

        // Passing through the volume box without typing keeps the dimensions.
        QVERIFY(f->leave("tbVolume"));
        QCOMPARE((QStringList{f->box("Text2")->text(), f->box("Text3")->text(), f->box("Text4")->text()}),
                 (QStringList{"5", "3.3", "3"}));
    }
    void volumeGivesDimensions_data()
    {
        QTest::addColumn<QString>("volume");
        QTest::addColumn<QStringList>("dimensions");
        QTest::addColumn<QString>("shown");
        QTest::newRow("50") << "50" << QStringList{"5.0", "3.3", "3.0"} << "49.5";
        QTest::newRow("24.9") << "24.9" << QStringList{"3.5", "3.5", "2.0"} << "24.5";
        QTest::newRow("25") << "25" << QStringList{"3.5", "2.8", "2.5"} << "24.5";
        QTest::newRow("100") << "100" << QStringList{"7.1", "4.0", "3.5"} << "99.4";
        QTest::newRow("200 with a comma") << "200,0" << QStringList{"10.0", "5.0", "4.0"} << "200.0";
        QTest::newRow("0 changes nothing") << "0" << QStringList{"0", "0", "0"} << "0";
        QTest::newRow("text changes nothing") << "abc" << QStringList{"0", "0", "0"} << "abc";
    }
    void volumeGivesDimensions()
    {
        QFETCH(QString, volume);
        QFETCH(QStringList, dimensions);
        QFETCH(QString, shown);
        start();
        f->type("tbVolume", volume);
        QVERIFY(f->leave("tbVolume"));
        QCOMPARE((QStringList{f->box("Text2")->text(), f->box("Text3")->text(), f->box("Text4")->text()}),
                 dimensions);
        QCOMPARE(f->box("tbVolume")->text(), shown);

        // Leaving it again without typing keeps what the volume gave.
        QVERIFY(f->leave("tbVolume"));
        QCOMPARE(f->box("Text3")->text(), dimensions.at(1));
    }
    // Both separators are read alike under either locale, by the checks too
    // (a length of "0,5" is no 0), and every number the screen writes into a
    // box has a point.
    void temperatureReadsBackAsShown_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        QTest::newRow("C, point") << QLocale::c() << "-2.5";
        QTest::newRow("C, comma") << QLocale::c() << "-2,5";
        QTest::newRow("ru_RU, comma") << russian << "-2,5";
        QTest::newRow("ru_RU, point") << russian << "-2.5";
    }
    void temperatureReadsBackAsShown()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QLocale::setDefault(locale);
        start();
        f->type({{"Text2", "0,5"}, {"Text3", "4"}, {"Text4", "3"}});
        f->type("Text1", typed);
        QCOMPARE(f->box("tbVolume")->text(), QStringLiteral("6.0"));
        f->click("cmbNext");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
        QCOMPARE(f->record.xk_temperature, -2.5);
        QCOMPARE(f->record.xk_length, 0.5);

        f->click("cmbPrev");
        QCOMPARE(f->box("Text1")->text(), QStringLiteral("-2.5"));
        f->type("tbVolume", "50");
        QVERIFY(f->leave("tbVolume"));
        QCOMPARE((QStringList{f->box("Text2")->text(), f->box("Text3")->text(), f->box("tbVolume")->text()}),
                 (QStringList{"5.0", "3.3", "49.5"}));
        f->click("cmbNext");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
        QCOMPARE(f->record.xk_temperature, -2.5);
        QCOMPARE(f->record.xk_width, 3.3);
        QVERIFY(f->messages.shown().isEmpty());
    }

private:
    void start()
    {
        f->wizard->start();
        f->enterChamber();
        QCOMPARE(f->screenName(), QStringLiteral("frmStage3"));
    }
};

QTEST_MAIN(TestStage3)
#include "test_stage3.moc"
