// The product screen: its lists, the derived process type, the checks when
// a box is left and those of "Далее".
#include "WizardFixture.h"

#include <QRadioButton>
#include <QtTest>

class TestStage1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsOfferGroupsWithProductsAndPackings();
    void withoutGroupsTheScreenSaysSo();
    void processTypeFollowsTheTemperatures_data();
    void processTypeFollowsTheTemperatures();
    void finalTemperatureIsCheckedAgainstTheChamber();
    void nextChecksItsInputs_data();
    void nextChecksItsInputs();
    void equalTemperaturesAndACommaInTheMassPass();
    void sixteenBitBoxesRefuseWhatTheyCannotHold();
    void escapeButtonsRunNoLeaveCheck_data();
    void escapeButtonsRunNoLeaveCheck();

private:
    void start(bool withProducts = true);
    QString process() const;
    std::unique_ptr<WizardFixture> f;
};

void TestStage1::init()
{
    f = std::make_unique<WizardFixture>();
    QVERIFY(f->isOpen());
    f->addChamberLists();
    f->addCustomer("Альфа");
}

void TestStage1::cleanup()
{
    QVERIFY2(f->messages.unanswered().isEmpty(), qPrintable(f->messages.unanswered().join('|')));
    f.reset();
}

void TestStage1::start(bool withProducts)
{
    if (withProducts)
        f->addProductLists();
    f->wizard->start();
    f->enterChamber();
    f->enterProduct(); // chamber at -18 °C
    QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
}

QString TestStage1::process() const
{
    for (const char* name : {"Option1", "Option2", "Option3"}) {
        const QRadioButton* option = f->control<QRadioButton>(name);
        if (option->isChecked())
            return option->text();
    }
    return {};
}

void TestStage1::listsOfferGroupsWithProductsAndPackings()
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
    QCOMPARE(f->control<QWidget>("Frame1")->property("title").toString(), QStringLiteral("Тип процесса "));

    f->choose("cbPGroup", "Овощи");
    QCOMPARE(f->list("Combo5")->count(), 1);
    QCOMPARE(f->list("Combo5")->currentText(), QStringLiteral("Яблоки"));
    QCOMPARE(f->record.tnz, -2.0);
    f->choose("Combo6", "Картон");
    QCOMPARE(f->record.packing_mass, 10.0);
}

void TestStage1::withoutGroupsTheScreenSaysSo()
{
    start(false);
    QCOMPARE(f->messages.texts(), QStringList{"Не найден список групп продуктов!"});
    QVERIFY(f->messages.shown().first().title.isNull()); // the program's title
    QCOMPARE(f->messages.shown().first().buttons, MsgButtons::Ok);
    QCOMPARE(f->list("cbPGroup")->count(), 0);
    QCOMPARE(f->list("Combo6")->count(), 0);
}

void TestStage1::processTypeFollowsTheTemperatures_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("final");
    QTest::addColumn<QString>("turnover");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("product");
    const QString beef = QStringLiteral("Говядина"); // tko -1.5, tnz -5
    const QString pork = QStringLiteral("Свинина");  // tko -2, tnz -5
    QTest::newRow("freezing through tko") << "20"
                                          << "-18"
                                          << "0"
                                          << "Заморозка" << beef;
    QTest::newRow("cooling, difference 18") << "20"
                                            << "2"
                                            << "10"
                                            << "Охлаждение" << beef;
    QTest::newRow("storage") << "4"
                             << "2"
                             << "10"
                             << "Хранение" << beef;
    QTest::newRow("cooling, turnover 25") << "4"
                                          << "2"
                                          << "25"
                                          << "Охлаждение" << beef;
    QTest::newRow("freezing through tnz only") << "-2"
                                               << "-6"
                                               << "0"
                                               << "Заморозка" << beef;
    QTest::newRow("storage, difference 5") << "7"
                                           << "2"
                                           << "10"
                                           << "Хранение" << beef;
    QTest::newRow("cooling, difference 6") << "8"
                                           << "2"
                                           << "10"
                                           << "Охлаждение" << beef;
    QTest::newRow("storage, turnover 20") << "4"
                                          << "2"
                                          << "20"
                                          << "Хранение" << beef;
    QTest::newRow("cooling, turnover 21") << "4"
                                          << "2"
                                          << "21"
                                          << "Охлаждение" << beef;
    QTest::newRow("storage, entry at tnz") << "-5"
                                           << "-8"
                                           << "0"
                                           << "Хранение" << beef;
    QTest::newRow("storage, final at tnz") << "-3"
                                           << "-5"
                                           << "0"
                                           << "Хранение" << beef;
    QTest::newRow("freezing, entry at tko") << "-2"
                                            << "-4"
                                            << "0"
                                            << "Заморозка" << pork;
    QTest::newRow("storage, final at tko") << "0"
                                           << "-2"
                                           << "0"
                                           << "Хранение" << pork;
}

void TestStage1::processTypeFollowsTheTemperatures()
{
    QFETCH(QString, entry);
    QFETCH(QString, final);
    QFETCH(QString, turnover);
    QFETCH(QString, expected);
    QFETCH(QString, product);
    start();
    f->choose("Combo5", product);
    f->type("Text16", entry);
    f->type("Text17", final);
    f->type("Text20", turnover);
    QVERIFY(f->leave("Text20"));
    QCOMPARE(process(), expected);
}

void TestStage1::finalTemperatureIsCheckedAgainstTheChamber()
{
    start();
    f->type("Text16", "20");
    f->type("Text17", "-20");
    QVERIFY(f->leave("Text17"));
    QCOMPARE(f->messages.texts(),
             QStringList{"Конечная температура должна быть больше, чем температура в камере (-18)!"});
    QCOMPARE(f->messages.shown().first().icon, MsgIcon::Exclamation);
    QCOMPARE(f->messages.shown().first().title, QStringLiteral("Внимание"));
    QTRY_COMPARE(QApplication::focusWidget(), f->box("Text17"));

    // A click on "Далее" out of the refused box does not go on.
    f->click("cmbNext");
    QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));

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

void TestStage1::nextChecksItsInputs_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("focus");
    const QString input = QStringLiteral("Ошибка ввода данных");
    const QString digits = QStringLiteral("Должно быть цифровое значение");
    QTest::newRow("entry abc") << "Text16"
                               << "abc" << digits << input << "Text16";
    QTest::newRow("final empty") << "Text17"
                                 << "" << digits << input << "Text17";
    QTest::newRow("time abc") << "Text18"
                              << "abc"
                              << "Должно быть положительное значение" << input << "Text18";
    QTest::newRow("time 0") << "Text18"
                            << "0"
                            << "Должно быть положительное значение" << input << "Text18";
    QTest::newRow("turnover x") << "Text20"
                                << "x" << digits << input << "Text20";
    QTest::newRow("mass negative") << "Text19"
                                   << "-0,5"
                                   << "Введите полную массу продукта в камере" << input << "Text19";
    const QString whole = QStringLiteral("Поле \"%1\": допускается целое число от -32768 до 32767");
    QTest::newRow("time 0.4") << "Text18"
                              << "0.4" << whole.arg("За какое время надо охладить/заморозить продукт (час)")
                              << input << "Text18";
    QTest::newRow("entry 4,5") << "Text16"
                               << "4,5" << whole.arg("Температура поступления в камеру (°C)") << input
                               << "Text16";
    QTest::newRow("entry below final") << "Text16"
                                       << "-19"
                                       << "Температура поступления должна быть больше конечной температуры"
                                       << ""
                                       << "Text16";
}

void TestStage1::nextChecksItsInputs()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(QString, focus);
    start();
    f->type("Text16", "20");
    f->type("Text17", "-18");
    f->type("Text19", "2");
    f->type("Text20", "10");
    f->type(box, text);
    f->click("cmbNext");
    QCOMPARE(f->messages.texts(), QStringList{message});
    QCOMPARE(f->messages.shown().first().icon, MsgIcon::Exclamation);
    QCOMPARE(f->messages.shown().first().title, title);
    QVERIFY(!f->messages.shown().first().title.isNull());
    QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
    QCOMPARE(f->focused(), f->box(focus));
    QCOMPARE(f->record.px_start_t, qint16(0)); // nothing copied
}

void TestStage1::equalTemperaturesAndACommaInTheMassPass()
{
    start();
    f->type("Text16", "-18");
    f->type("Text17", "-18");
    f->type("Text19", "2,5");
    f->click("cmbNext");
    QCOMPARE(f->screenName(), QStringLiteral("frmStage4"));
    QCOMPARE(f->record.px_weight, 2.5);
    f->wizard->enterStage1();
    QCOMPARE(f->box("Text19")->text(), QStringLiteral("2.5"));
}

void TestStage1::sixteenBitBoxesRefuseWhatTheyCannotHold()
{
    start();
    f->type("Text16", "20");
    f->type("Text17", "-18");
    f->type("Text18", "70000");
    f->click("cmbNext");
    QCOMPARE(f->messages.shown().size(), 1);
    QVERIFY(f->messages.lastText().contains("За какое время надо охладить/заморозить продукт (час)"));
    QCOMPARE(f->focused(), f->box("Text18"));
    QCOMPARE(f->record.px_time, qint16(24));

    // Going back keeps the field as it was instead of wrapping the number.
    f->messages.clear();
    f->click("cmbPrev");
    QCOMPARE(f->record.px_time, qint16(24));
    QCOMPARE(f->record.px_start_t, qint16(20));
}

// "Назад" and "Закрыть" clicked out of a box whose check would refuse it
// act at once; the check waits for "Далее".
void TestStage1::escapeButtonsRunNoLeaveCheck_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("button");
    QTest::newRow("final below the chamber, back")
        << QString("Text17") << QString("-20") << QString("cmbPrev");
    QTest::newRow("fractional entry, close") << QString("Text16") << QString("4,5") << QString("cmbCancel");
}

void TestStage1::escapeButtonsRunNoLeaveCheck()
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
}

QTEST_MAIN(TestStage1)
#include "test_stage1.moc"
