// The product screen: its lists, the derived process type and the checks
// when a box is left.
#include "WizardFixture.h"

#include <QRadioButton>
#include <QtTest>

class TestStage1 : public WizardTest
{
    Q_OBJECT

    void prepare() override
    {
        f->addChamberLists();
        f->addCustomer("Альфа");
    }

private slots:
    void listsOfferGroupsWithProductsAndPackings()
    {
        start();
        QComboBox* groups = f->list("cbPGroup");
        QCOMPARE(groups->count(), 2); // "Напитки" has no product
        QCOMPARE(groups->currentText(), QStringLiteral("Мясо"));
        QCOMPARE(f->list("Combo5")->count(), 2);
        QCOMPARE(f->list("Combo5")->currentText(), QStringLiteral("Говядина"));
        QCOMPARE(f->list("Combo6")->currentText(), QStringLiteral("Без упаковки"));
        QCOMPARE(f->record.tko, -1.5); // looked up for the chosen product
        QVERIFY(!f->control<QWidget>("Frame1")->isEnabled());
        QCOMPARE(f->control<QWidget>("Frame1")->property("title").toString(),
                 QStringLiteral("Тип процесса "));

        f->choose("cbPGroup", "Овощи");
        QCOMPARE(f->list("Combo5")->count(), 1);
        QCOMPARE(f->list("Combo5")->currentText(), QStringLiteral("Яблоки"));
        QCOMPARE(f->record.tnz, -2.0);
        f->choose("Combo6", "Картон");
        QCOMPARE(f->record.packing_mass, 10.0);
    }
    void withoutGroupsTheScreenSaysSo()
    {
        start(false);
        QCOMPARE(f->messages.texts(), QStringList{"Не найден список групп продуктов!"});
        QVERIFY(f->messages.shown().first().title.isNull()); // the program's title
        QCOMPARE(f->messages.shown().first().buttons, MsgButtons::Ok);
        QCOMPARE(f->list("cbPGroup")->count(), 0);
        QCOMPARE(f->list("Combo6")->count(), 0);
    }
    void processTypeFollowsTheTemperatures_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("final");
        QTest::addColumn<int>("turnover");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("product");
        const QString beef = QStringLiteral("Говядина"); // tko -1.5, tnz -5
        const QString pork = QStringLiteral("Свинина");  // tko -2, tnz -5
        const QString freezing = QStringLiteral("Заморозка"), cooling = QStringLiteral("Охлаждение");
        const QString storage = QStringLiteral("Хранение");
        QTest::newRow("freezing through tko") << 20 << -18 << 0 << freezing << beef;
        QTest::newRow("cooling, difference 18") << 20 << 2 << 10 << cooling << beef;
        QTest::newRow("storage") << 4 << 2 << 10 << storage << beef;
        QTest::newRow("cooling, turnover 25") << 4 << 2 << 25 << cooling << beef;
        QTest::newRow("freezing through tnz only") << -2 << -6 << 0 << freezing << beef;
        QTest::newRow("storage, difference 5") << 7 << 2 << 10 << storage << beef;
        QTest::newRow("cooling, difference 6") << 8 << 2 << 10 << cooling << beef;
        QTest::newRow("storage, turnover 20") << 4 << 2 << 20 << storage << beef;
        QTest::newRow("cooling, turnover 21") << 4 << 2 << 21 << cooling << beef;
        QTest::newRow("storage, entry at tnz") << -5 << -8 << 0 << storage << beef;
        QTest::newRow("storage, final at tnz") << -3 << -5 << 0 << storage << beef;
        QTest::newRow("freezing, entry at tko") << -2 << -4 << 0 << freezing << pork;
        QTest::newRow("storage, final at tko") << 0 << -2 << 0 << storage << pork;
    }
    void processTypeFollowsTheTemperatures()
    {
        QFETCH(int, entry);
        QFETCH(int, final);
        QFETCH(int, turnover);
        QFETCH(QString, expected);
        QFETCH(QString, product);
        start();
        f->choose("Combo5", product);
        f->type("Text16", QString::number(entry));
        f->type("Text17", QString::number(final));
        f->type("Text20", QString::number(turnover));
        QVERIFY(f->leave("Text20"));
        QCOMPARE(process(), expected);
    }
    void finalTemperatureIsCheckedAgainstTheChamber()
    {
        start();
        f->type({{"Text16", "20"}, {"Text17", "-20"}});
        QVERIFY(f->leave("Text17"));
        QCOMPARE(f->messages.texts(),
                 QStringList{"Конечная температура должна быть больше, чем температура в камере (-18)!"});
        QCOMPARE(f->messages.shown().first().icon, MsgIcon::Exclamation);
        QCOMPARE(f->messages.shown().first().title, QStringLiteral("Внимание"));
        QTRY_COMPARE(QApplication::focusWidget(), f->box("Text17"));

        // A click on "Далее" out of the refused box does not go on, and says why again.
        f->click("cmbNext");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
        QCOMPARE(f->messages.texts().size(), 2);
        QCOMPARE(f->messages.lastText(), f->messages.texts().first());

        f->messages.clear();
        f->type("Text17", "-18");
        QVERIFY(f->leave("Text17"));
        QVERIFY(f->messages.shown().isEmpty());
        QCOMPARE(process(), QStringLiteral("Заморозка"));

        // A press on "Назад" released elsewhere runs no check; "Далее" then does.
        f->type("Text17", "-20");
        f->box("Text17")->setFocus(Qt::TabFocusReason);
        QPushButton* back = f->control<QPushButton>("cmbPrev");
        QTest::mousePress(back, Qt::LeftButton);
        QTest::mouseRelease(back, Qt::LeftButton, {}, QPoint(-5, -5));
        QVERIFY(f->messages.shown().isEmpty());
        f->click("cmbNext");
        QCOMPARE(f->messages.shown().size(), 1);
        QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
    }
    void equalTemperaturesAndACommaInTheMassPass()
    {
        start();
        f->type({{"Text16", "-18"}, {"Text17", "-18"}, {"Text19", "2,5"}});
        f->click("cmbNext");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage4"));
        QCOMPARE(f->record.px_weight, 2.5);
        f->wizard->enterStage1();
        QCOMPARE(f->box("Text19")->text(), QStringLiteral("2.5"));
    }
    // "Назад" and "Закрыть" clicked out of a box whose check would refuse it
    // act at once; the check waits for "Далее". Going back never wraps a
    // number a 16-bit field cannot hold.
    void escapeButtonsRunNoLeaveCheck_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("button");
        QTest::newRow("final below the chamber, back")
            << QString("Text17") << QString("-20") << QString("cmbPrev");
        QTest::newRow("time beyond 16 bits, back")
            << QString("Text18") << QString("70000") << QString("cmbPrev");
        QTest::newRow("fractional entry, close")
            << QString("Text16") << QString("4,5") << QString("cmbCancel");
    }
    void escapeButtonsRunNoLeaveCheck()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, button);
        start();
        QVERIFY(f->activate());
        f->box(box)->setFocus(Qt::TabFocusReason);
        f->type(box, text);
        f->click(button);
        QVERIFY(f->messages.shown().isEmpty());
        if (button == QLatin1String("cmbCancel")) {
            QCOMPARE(f->quitCount, 1);
            return;
        }
        QCOMPARE(f->screenName(), QStringLiteral("frmStage3"));
        QCOMPARE(f->record.px_time, qint16(24));
    }

private:
    void start(bool withProducts = true)
    {
        if (withProducts)
            f->addProductLists();
        f->wizard->start();
        f->enterChamber();
        f->enterProduct(); // chamber at -18 °C
        QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
    }
    QString process() const
    {
        for (const char* name : {"Option1", "Option2", "Option3"}) {
            const QRadioButton* option = f->control<QRadioButton>(name);
            if (option->isChecked())
                return option->text();
        }
        return {};
    }
};

QTEST_MAIN(TestStage1)
#include "test_stage1.moc"
