// The wizard's flow: screen order and captions, one screen at a time, each
// destroyed when left, the reset question, ending the program, and the
// behaviour all input screens share.
#include "WidgetMessageSeam.h"
#include "WizardFixture.h"
#include "frmStage0.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QtTest>

class TestFlow : public WizardTest
{
    Q_OBJECT

    void prepare() override
    {
        f->addChamberLists();
        f->addProductLists();
        f->addCustomer(QStringLiteral("Альфа"), QStringLiteral("Тверь"));
        f->wizard->start();
    }

private slots:
    void forwardPathShowsTheScreensInOrderAndFillsTheRecord()
    {
        QCOMPARE(f->screenName(), QStringLiteral("frmStage0"));
        QCOMPARE(f->screen()->windowTitle(),
                 QStringLiteral("Расчет тепловой нагрузки и выбор оборудования "));
        QCOMPARE(visibleScreens(), QWidgetList{f->screen()});

        f->enterChamber();
        QCOMPARE(f->screenName(), QStringLiteral("frmStage3"));
        QCOMPARE(f->screen()->windowTitle(), QStringLiteral("Параметры холодильной камеры"));
        QCOMPARE(visibleScreens(), QWidgetList{f->screen()});
        QTRY_VERIFY(!f->wizard->stage0()); // destroyed, not kept hidden

        QPointer<QWidget> chamber = f->screen();
        f->type({{"Text2", "6"}, {"Text3", "4,5"}, {"Text4", "3"}, {"Text5", "150"}});
        f->choose("Combo2", "минеральная вата");
        f->type({{"Text8", "3.5"}, {"Text9", "2"}});
        f->choose("Combo4", "ПВХ-завеса");
        f->type({{"Text1", "-20"}, {"Text10", "4"}, {"Text11", "300"}});
        f->click("cmbNext");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
        QCOMPARE(f->screen()->windowTitle(), QStringLiteral("Сведения о продукте"));
        QCOMPARE(visibleScreens(), QWidgetList{f->screen()});
        QTRY_VERIFY(!chamber);

        f->choose("cbPGroup", "Овощи");
        f->choose("Combo6", "Картон");
        f->type(
            {{"Text16", "15"}, {"Text17", "-18"}, {"Text18", "12"}, {"Text19", "7,25"}, {"Text20", "30"}});
        f->click("cmbNext");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage4"));
        QCOMPARE(f->screen()->windowTitle(), QStringLiteral("Холодильное оборудование"));
        QCOMPARE(visibleScreens(), QWidgetList{f->screen()});

        const CalculationRecord& r = f->record;
        QCOMPARE(r.xk_length, 6.0);
        QCOMPARE(r.xk_width, 4.5);
        QCOMPARE(r.xk_height, 3.0);
        QCOMPARE(r.xk_bulk, 81.0);
        QCOMPARE(r.xk_ceiling, qint16(150));
        QCOMPARE(r.xk_ceiling_stuff, WizardFixture::Polyurethane);
        QCOMPARE(r.xk_wall_stuff, WizardFixture::MineralWool);
        QCOMPARE(r.xk_wall_name, QStringLiteral("минеральная вата"));
        QCOMPARE(r.xk_wall_k, 0.045);
        QCOMPARE(r.xk_floor_stuff, WizardFixture::Polyurethane);
        QCOMPARE(r.xk_doors, 3.5);
        QCOMPARE(r.xk_doors_open, 2.0);
        QCOMPARE(r.xk_curtain, WizardFixture::PvcCurtain);
        QCOMPARE(r.xk_curtain_c, 50.0);
        QCOMPARE(r.xk_temperature, -20.0);
        QCOMPARE(r.xk_people, 4.0);
        QCOMPARE(r.xk_heat, qint16(300));
        QCOMPARE(r.px_pgroup, WizardFixture::Vegetables);
        QCOMPARE(r.px_product, WizardFixture::Apples);
        QCOMPARE(r.px_packing, WizardFixture::Cardboard);
        QCOMPARE(r.px_packing_name, QStringLiteral("Картон"));
        QCOMPARE(r.px_start_t, qint16(15));
        QCOMPARE(r.px_end_t, qint16(-18));
        QCOMPARE(r.px_time, qint16(12));
        QCOMPARE(r.px_weight, 7.25);
        QCOMPARE(r.px_turnover, qint16(30));
        QCOMPARE(r.NewCalculation, true);
        QVERIFY(f->messages.shown().isEmpty());

        f->wizard->enterFinish();
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
        QCOMPARE(f->screen()->windowTitle(),
                 QStringLiteral("Результат расчета тепловой нагрузки и выбора оборудования"));
        QCOMPARE(visibleScreens(), QWidgetList{f->screen()});
    }
    void goingBackFromProductKeepsUncheckedInputs()
    {
        f->enterChamber();
        f->enterProduct();
        QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
        f->type("Text16", "5");
        f->type("Text17", "10"); // entry below final: would not pass "Далее"
        f->type("Text19", "abc");
        f->click("cmbPrev");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage3"));
        QVERIFY(f->messages.shown().isEmpty());
        QCOMPARE(f->box("Text2")->text(), QStringLiteral("5"));
        QCOMPARE(f->box("Text1")->text(), QStringLiteral("-18"));

        f->click("cmbNext");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
        QCOMPARE(f->box("Text16")->text(), QStringLiteral("5"));
        QCOMPARE(f->box("Text17")->text(), QStringLiteral("10"));
        QCOMPARE(f->box("Text19")->text(), QStringLiteral("0"));
    }
    void resetQuestionAnsweredNoKeepsTheChamberScreen()
    {
        f->enterChamber();
        QWidget* chamber = f->screen();
        f->type("Text2", "7");
        f->messages.queueAnswer(MsgAnswer::No);
        f->click("cmbPrev");

        QCOMPARE(f->messages.shown().size(), 1);
        const MessageRequest& question = f->messages.shown().first();
        QCOMPARE(question.text, QStringLiteral("При переходе на первый экран произойдет\n"
                                               "обнуление всех выбранных значений.\n"
                                               "Обнулить все значения?"));
        QCOMPARE(question.icon, MsgIcon::Question);
        QCOMPARE(question.buttons, MsgButtons::YesNo);
        QVERIFY(!question.title.isNull());
        QVERIFY(question.title.isEmpty());

        QCOMPARE(f->screen(), chamber);
        QCOMPARE(f->box("Text2")->text(), QStringLiteral("7"));
        QCOMPARE(f->record.xk_length, 0.0);
    }
    // The real box: an empty title is given to the window as a blank, since the
    // window system shows the program's file name in a window without a title.
    void resetQuestionShowsNoTitle()
    {
        f->enterChamber();
        WidgetMessageSeam seam(QStringLiteral("Программа"));
        Messages::install(&seam);
        QString title;
        QTimer::singleShot(0, this, [&title] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                box->button(QMessageBox::No)->click();
            }
        });
        f->click("cmbPrev");
        Messages::install(&f->messages);
        QCOMPARE(f->screenName(), QStringLiteral("frmStage3"));
        QVERIFY(!title.isEmpty());
        QVERIFY2(title.trimmed().isEmpty(), qPrintable(title));
    }
    void resetQuestionAnsweredYesResetsAndRecreatesTheFirstScreen()
    {
        f->addCustomer(QStringLiteral("Бета"));
        f->enterChamber();
        f->enterProduct();
        f->choose("cbPGroup", "Овощи");
        f->click("cmbPrev"); // the product inputs reach the record
        f->type("Text9", "5");
        f->messages.queueAnswer(MsgAnswer::Yes);
        f->click("cmbPrev");

        QCOMPARE(f->screenName(), QStringLiteral("frmStage0"));
        QCOMPARE(f->list("Combo1")->currentText(), QStringLiteral("Альфа"));
        QCOMPARE(f->box("Text2")->text(), QStringLiteral("Тверь"));
        QCOMPARE(f->record.xk_length, 0.0);
        QCOMPARE(f->record.xk_temperature, 0.0);
        QCOMPARE(f->record.by_moisture, qint16(70));
        QCOMPARE(f->record.px_pgroup, WizardFixture::Vegetables);
        QVERIFY(!f->control<QComboBox>("Combo2")->isVisible());
        QCOMPARE(f->control<QLabel>("Label7")->text(), QStringLiteral("2"));

        f->enterChamber();
        for (const char* name : {"Text2", "Text3", "Text4", "Text1", "Text10", "Text11"})
            QCOMPARE(f->box(name)->text(), QStringLiteral("0"));
        QCOMPARE(f->box("Text5")->text(), QStringLiteral("100"));
        QCOMPARE(f->box("Text8")->text(), QStringLiteral("2"));
        QCOMPARE(f->box("Text9")->text(), QStringLiteral("1"));
        f->enterProduct();
        QCOMPARE(f->list("cbPGroup")->currentText(), QStringLiteral("Овощи"));
        QCOMPARE(f->box("Text18")->text(), QStringLiteral("24"));
        QCOMPARE(f->box("Text16")->text(), QStringLiteral("0"));
    }
    void cancelButtonsEndTheProgramAtOnce_data()
    {
        QTest::addColumn<int>("screens");
        QTest::addColumn<QString>("caption");
        QTest::newRow("customer") << 0 << QStringLiteral("Отмена");
        QTest::newRow("chamber") << 1 << QStringLiteral("Закрыть");
        QTest::newRow("product") << 2 << QStringLiteral("Закрыть");
    }
    void cancelButtonsEndTheProgramAtOnce()
    {
        QFETCH(int, screens);
        QFETCH(QString, caption);
        if (screens > 0)
            f->enterChamber();
        if (screens > 1)
            f->enterProduct();
        QSignalSpy quit(f->wizard.get(), &Wizard::quitRequested);
        QCOMPARE(f->control<QPushButton>("cmbCancel")->text(), caption);
        f->click("cmbCancel");
        QCOMPARE(quit.count(), 1);
        QCOMPARE(f->quitCount, 1);
        QVERIFY(f->messages.shown().isEmpty());
    }
    void textBoxesSelectTheirTextOnFocus()
    {
        QVERIFY(f->activate());
        QLineEdit* city = f->box("Text2");
        city->setFocus(Qt::MouseFocusReason);
        QTest::qWait(20);
        QVERIFY(city->selectedText().isEmpty());

        f->enterChamber();
        QVERIFY(f->activate());
        for (const char* name : {"Text2", "Text5", "Text1", "Text11"}) {
            QLineEdit* box = f->box(name);
            box->setFocus(Qt::MouseFocusReason);
            QTRY_COMPARE(box->selectedText(), box->text());
        }
        QLineEdit* volume = f->box("tbVolume");
        volume->setFocus(Qt::MouseFocusReason);
        QTest::qWait(20);
        QVERIFY(volume->selectedText().isEmpty());

        f->enterProduct();
        QVERIFY(f->activate());
        QLineEdit* time = f->box("Text18");
        time->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(time->selectedText(), QStringLiteral("24"));
    }
    void screensAreCentred()
    {
        const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
        for (int step = 0; step < 3; ++step) {
            QVERIFY((f->screen()->frameGeometry().center() - middle).manhattanLength() <= 4);
            if (step == 0)
                f->enterChamber();
            else if (step == 1)
                f->enterProduct();
        }
    }
    void tabOrderRunsTopToBottomWithNamedControls()
    {
        f->enterChamber();
        const QStringList expected = {"Text2",  "Text3", "Text4",  "tbVolume", "Combo1",  "Text5",
                                      "Combo2", "Text6", "Combo3", "Text7",    "Text8",   "Text9",
                                      "Combo4", "Text1", "Text10", "Text11",   "cmbPrev", "cmbNext"};
        QStringList order;
        QWidget* w = f->box("Text2");
        while (order.size() < expected.size()) {
            order << w->objectName();
            do
                w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus) || w->objectName().isEmpty() ||
                   qobject_cast<QLineEdit*>(w->parentWidget()) || !w->isEnabled());
        }
        QCOMPARE(order, expected);

        QCOMPARE(f->box("Text2")->accessibleName(), QStringLiteral("Внутренняя длина камеры (метры)"));
        QCOMPARE(f->list("Combo1")->accessibleName(),
                 QStringLiteral("Потолок: изоляционный материал и его толщина (мм)"));
        QCOMPARE(f->box("Text5")->accessibleName(), QStringLiteral("Потолок: толщина изоляции (мм)"));
        QCOMPARE(f->box("Text11")->accessibleName(), QStringLiteral("Источники тепла в камере (Вт)"));
        for (QWidget* control : f->screen()->findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(control) && !qobject_cast<QComboBox*>(control->parentWidget()))
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }
    }

private:
    QWidgetList visibleScreens() const
    {
        QWidgetList shown;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                shown << w;
        }
        return shown;
    }
};

QTEST_MAIN(TestFlow)
#include "test_flow.moc"
