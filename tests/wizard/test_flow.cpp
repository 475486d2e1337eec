// The wizard's flow: screen order and captions, one screen at a time, each
// destroyed when left, the reset question, ending the program, and the
// behaviour all input screens share, the refusals of "Далее" among it, and
// every action whose store fails.
#include "DataLocation.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "FaultRelay.h"
#include "QueryTable.h"
#include "ServerStores.h"
#include "TestDatabases.h"
#include "WidgetMessageSeam.h"
#include "WizardFixture.h"
#include "frmStage0.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QtTest>
#include <functional>

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

        // Keys of polyurethane, mineral wool, the PVC curtain, apples, cardboard.
        const QStringList read = {
            "xk_length=6",        "xk_width=4.5",       "xk_height=3",      "xk_bulk=81",   "xk_ceiling=150",
            "xk_ceiling_stuff=2", "xk_wall_stuff=1",    "xk_floor_stuff=2", "xk_doors=3.5", "xk_doors_open=2",
            "xk_curtain=2",       "xk_temperature=-20", "xk_people=4",      "xk_heat=300",  "px_product=3",
            "px_packing=1",       "px_start_t=15",      "px_end_t=-18",     "px_time=12",   "px_weight=7.25",
            "px_turnover=30"};
        QCOMPARE(f->columns(read), read);
        const CalculationRecord& r = f->record;
        QCOMPARE(r.xk_wall_name, QStringLiteral("минеральная вата"));
        QCOMPARE(r.xk_wall_k, 0.045);
        QCOMPARE(r.xk_curtain_c, 50.0);
        QCOMPARE(r.px_pgroup, WizardFixture::Vegetables);
        QCOMPARE(r.px_packing_name, QStringLiteral("Картон"));
        QVERIFY(r.NewCalculation);
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
    // window system shows the program's file name in a window without a title;
    // a statement goes under a message's details, not into its text.
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
        QString details;
        QTimer::singleShot(0, this, [&details] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                details = box->text() + '|' + box->detailedText();
                box->button(QMessageBox::Ok)->click();
            }
        });
        Messages::showWithDetails(QStringLiteral("Ошибка"), QStringLiteral("SELECT 1"));
        Messages::install(&f->messages);
        QCOMPARE(details, QStringLiteral("Ошибка|SELECT 1"));
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

        QVERIFY(f->messages.lastText().contains(QStringLiteral("обнуление всех выбранных значений")));
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
    // "Далее" over valid inputs, one of them (or two, for the order of the
    // checks) refused: the message, the box given the focus, nothing read.
    void nextRefusesAnInput_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("inputs"); // "box=text", or "list=item chosen"
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("focus");
        const QString input = QStringLiteral("Ошибка ввода данных");
        const QString digits = QStringLiteral("Должно быть цифровое значение");
        const QString positive = QStringLiteral("Должно быть положительное значение");
        const QString whole = QStringLiteral("Поле \"%1\": допускается целое число от %2 до 32767");
        const QString chamber = QStringLiteral("frmStage3"), product = QStringLiteral("frmStage1");
        const QString units = QStringLiteral("frmStage4");
        const QString noCount = QStringLiteral("Введите количество агрегатов");
        const QString count =
            QStringLiteral("Поле \"Количество агрегатов (шт)\": допускается целое число от 1 до 32767");
        const QString work = QStringLiteral(
            "Поле \"Максимальное время работы компрессора (%)\": допускается целое число от 1 до 100");
        QTest::newRow("temperature empty") << chamber << QStringList{"Text1="} << digits << input << "Text1";
        QTest::newRow("length 0") << chamber << QStringList{"Text2=0"}
                                  << QStringLiteral("Введите длину камеры") << input << "Text2";
        QTest::newRow("width empty") << chamber << QStringList{"Text3="}
                                     << QStringLiteral("Введите ширину камеры") << input << "Text3";
        QTest::newRow("height negative") << chamber << QStringList{"Text4=-1"}
                                         << QStringLiteral("Введите высоту камеры") << input << "Text4";
        QTest::newRow("wall beyond 16 bits")
            << chamber << QStringList{"Text6=40000"} << whole.arg("Стены: толщина изоляции (мм)", "0")
            << input << "Text6";
        QTest::newRow("entry abc") << product << QStringList{"Text16=abc"} << digits << input << "Text16";
        QTest::newRow("final empty") << product << QStringList{"Text17="} << digits << input << "Text17";
        QTest::newRow("time 0") << product << QStringList{"Text18=0"} << positive << input << "Text18";
        QTest::newRow("turnover x") << product << QStringList{"Text20=x"} << digits << input << "Text20";
        QTest::newRow("mass negative")
            << product << QStringList{"Text19=-0,5"}
            << QStringLiteral("Введите полную массу продукта в камере") << input << "Text19";
        QTest::newRow("time 0.4") << product << QStringList{"Text18=0.4"}
                                  << whole.arg("За какое время надо охладить/заморозить продукт (час)",
                                               "-32768")
                                  << input << "Text18";
        QTest::newRow("entry 4,5") << product << QStringList{"Text16=4,5"}
                                   << whole.arg("Температура поступления в камеру (°C)", "-32768") << input
                                   << "Text16";
        QTest::newRow("entry below final")
            << product << QStringList{"Text16=-19"}
            << QStringLiteral("Температура поступления должна быть больше конечной температуры") << ""
            << "Text16";
        QTest::newRow("model code first") << units << QStringList{"Combo7=Агрегат KS", "Text21=0", "Text23=0"}
                                          << QStringLiteral("Некорректно выбран тип оборудования")
                                          << QStringLiteral("Внимание") << "cmbNext";
        QTest::newRow("count before run time")
            << units << QStringList{"Text21=0", "Text23=0"} << noCount << input << "Text21";
        QTest::newRow("run time") << units << QStringList{"Text21=2", "Text23=0"}
                                  << QStringLiteral("Введите время работы компрессора") << input << "Text23";
        QTest::newRow("count empty") << units << QStringList{"Text21="} << noCount << input << "Text21";
        QTest::newRow("count fractional") << units << QStringList{"Text21=0.3"} << count << input << "Text21";
        QTest::newRow("count negative") << units << QStringList{"Text21=-1"} << count << input << "Text21";
        QTest::newRow("run time fractional")
            << units << QStringList{"Text23=0,4"} << work << input << "Text23";
        QTest::newRow("run time above 100")
            << units << QStringList{"Text23=101"} << work << input << "Text23";
    }
    void nextRefusesAnInput()
    {
        QFETCH(QString, screen);
        QFETCH(QStringList, inputs);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(QString, focus);
        f->addUnits();
        QVERIFY(f->reference("INSERT INTO equipment (Pkey, text_ru, model) VALUES (2, 'Агрегат KS', 'KS')"));
        f->enterChamber();
        if (screen != QLatin1String("frmStage3"))
            f->enterProduct();
        if (screen == QLatin1String("frmStage4"))
            f->enterEquipment();
        else if (screen == QLatin1String("frmStage1"))
            f->type({{"Text16", "20"}, {"Text17", "-18"}, {"Text19", "2"}, {"Text20", "10"}});
        else
            f->type({{"Text2", "5"}, {"Text3", "4"}, {"Text4", "3"}, {"Text1", "-18"}});
        QCOMPARE(f->screenName(), screen);
        for (const QString& in : inputs) {
            const QString name = in.section(QLatin1Char('='), 0, 0), text = in.section(QLatin1Char('='), 1);
            if (name.startsWith(QLatin1String("Combo")))
                f->choose(name, text);
            else
                f->type(name, text);
        }
        const QStringList before = f->columns();
        f->click("cmbNext");
        QCOMPARE(f->messages.texts(), QStringList{message});
        QCOMPARE(f->messages.shown().first().icon, MsgIcon::Exclamation);
        QCOMPARE(f->messages.shown().first().title, title);
        QVERIFY(!f->messages.shown().first().title.isNull());
        QCOMPARE(f->screenName(), screen);
        QCOMPARE(f->focused(), f->control<QWidget>(focus));
        QCOMPARE(f->columns(), before); // nothing read
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
        city->setText(QStringLiteral("Тверь"));
        city->setFocus(Qt::MouseFocusReason);
        // A box selects its text in an event posted on focus: once every
        // posted event is delivered, one that does not select has not.
        QCoreApplication::sendPostedEvents();
        QVERIFY(!city->hasSelectedText());
        city->clear();

        f->enterChamber();
        QVERIFY(f->activate());
        for (const char* name : {"Text2", "Text5", "Text1", "Text11"}) {
            QLineEdit* box = f->box(name);
            box->setFocus(Qt::MouseFocusReason);
            QTRY_COMPARE(box->selectedText(), box->text());
        }
        QLineEdit* volume = f->box("tbVolume");
        volume->setFocus(Qt::MouseFocusReason);
        QCoreApplication::sendPostedEvents();
        QVERIFY(!volume->text().isEmpty());
        QVERIFY(!volume->hasSelectedText());

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

    // A store that fails an action, and the same action once it is back: one
    // message naming the failure in plain words (the statement only in the
    // details), the screen and every input kept, nothing computed from the
    // failure shown or saved.
    void failedStoreStopsTheActionAndKeepsTheInputs_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("store");
        // taken away; empty: another program holds the write lock; "~network":
        // the connection to the server drops at the action's first request
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("heading");
        const auto row = [](const char* name, const char* action, const char* store, const char* table,
                            const QString& heading) {
            QTest::newRow(name) << QString(action) << QString(store) << QString(table) << heading;
        };
        const QString read = QStringLiteral("Ошибка чтения базы данных\r\n");
        const QString reopen = read + "Расчет «05/01/2024 первый» не открыт: не удалось прочитать ";
        const QString orders = "клиентов и сохраненные расчеты.";
        const QString save = "Ошибка при сохранении результатов расчета! (";
        row("reopen, products", "reopen", "nv.mdb", "Product", reopen + "справочные данные.");
        row("reopen, calculations", "reopen", "order.mdb", "data", reopen + orders);
        row("Расчет, capacities", "calculate", "nv.mdb", "power",
            read + "Расчет не выполнен: не удалось прочитать справочные данные.");
        row("Поиск, customers", "search", "order.mdb", "contact",
            read + "Список клиентов не обновлен: не удалось прочитать " + orders);
        row("Сохранить, calculations", "save", "order.mdb", "data", save);
        row("Сохранить, locked", "save", "order.mdb", "", save);
        row("reopen, network dropped", "reopen", "", "~network", reopen);
        row("Расчет, network dropped", "calculate", "", "~network", read + "Расчет не выполнен");
        row("Поиск, network dropped", "search", "", "~network", read + "Список клиентов не обновлен");
        row("Сохранить, network dropped", "save", "", "~network", save);
    }
    void failedStoreStopsTheActionAndKeepsTheInputs()
    {
        QFETCH(QString, action);
        QFETCH(QString, store);
        QFETCH(QString, table);
        QFETCH(QString, heading);
        const bool network = table == QLatin1String("~network");
        std::unique_ptr<FaultRelay> relay;
        if (network) {
            if (TestDatabases::storage() != TestDatabases::Storage::Server)
                QSKIP("a network fault needs the server");
            relay = FaultRelay::toTestServer();
            QVERIFY(relay && relay->divert(f->folder()));
            QVERIFY(OpenDatabases(f->context, DataLocation::folder(f->folder())));
        }
        f->addUnits();
        const qint32 key = f->addCalculation(1, "2024-01-05", "первый");
        QVERIFY(f->orders(QStringLiteral("UPDATE data SET xo_type1=1, xo_type2=1 WHERE pkey=%1").arg(key)));
        if (action == "calculate") {
            f->enterChamber();
            f->enterProduct();
            f->enterEquipment();
        } else if (action != "search") {
            f->click("Command1");
        }
        if (action == "save") {
            perform("reopen");
            QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
        }
        const QString screen = f->screenName();
        const QStringList inputs = f->columns();
        const double total = f->record.q_total;
        const QString model = f->record.sel_model;
        const auto typedText = [&] {
            return action == "calculate" ? f->box("Text21")->text()
                   : action == "save"    ? f->record.contact_organization
                                         : f->list("Combo1")->currentText();
        };
        const QString typed = typedText();

        const std::unique_ptr<Database> other =
            network ? nullptr
                    : Database::open(TestDatabases::address(f->folder() + '/' + store), {}).valueOr(nullptr);
        if (network)
            relay->fail(NetworkRelay::Fault::Drop);
        else if (table.isEmpty())
            QVERIFY(other && other->begin());
        else
            rename(*other, table, table + "_gone");
        perform(action);
        QCOMPARE(f->messages.texts().size(), 1);
        const MessageRequest message = f->messages.shown().first();
        QVERIFY2(message.text.startsWith(heading), qPrintable(message.text));
        QCOMPARE(message.text.count('\n'), heading.count('\n') + 1); // and the plain line
        const QString advice = message.text.section('\n', -1);
        QVERIFY2(advice.contains("овторите действие"), qPrintable(advice));
        QCOMPARE(advice.contains("занят"), table.isEmpty());
        QCOMPARE(advice.contains("Нет связи с сервером"), network);
        QVERIFY(!message.text.contains("SELECT") && !message.text.contains("UPDATE"));
        QVERIFY(table.isEmpty() || network || message.details.contains(table, Qt::CaseInsensitive));
        QCOMPARE(f->screenName(), screen);
        if (action != "calculate") // which reads the screen into the record first
            QCOMPARE(f->columns(), inputs);
        QCOMPARE(f->record.sel_model, model);
        QCOMPARE(f->record.q_total, total);
        QCOMPARE(typedText(), typed);

        // Back: the same action works without a restart.
        if (network)
            relay->restore();
        else if (table.isEmpty())
            other->rollback();
        else
            rename(*other, table + "_gone", table);
        QCOMPARE(savedNote(key), QStringLiteral("первый"));
        f->messages.clear();
        perform(action);
        if (action == "save")
            QCOMPARE(f->messages.lastInputDefault, QStringLiteral("второй")); // the note typed before
        QVERIFY2(f->messages.texts().isEmpty(), qPrintable(f->messages.texts().join('|')));
        if (action == "search")
            QCOMPARE(f->list("Combo2")->count(), 1);
        else if (action == "save")
            QCOMPARE(savedNote(key), QStringLiteral("второй"));
        else
            QVERIFY(f->record.q_total > 0);
    }

    // A branch office waits a round trip for every request. The start makes
    // one connection for both stores of the one database (the test server
    // trusts it: the TLS request and the start-up) and sends the check of
    // its tables with the first screen's reads. "Поиск" reads the customers
    // with the chosen one's calculations, after the check of the new action.
    // A reopen sends the saved row, the lookups read ahead in one request,
    // the model code with its modifications, every capacity set that may be
    // tried in one, and the end of its snapshot; the check of gone
    // references asks nothing. "Назад" reads the offered types with the
    // chosen type and its pictures; "Расчет" reads what is kept, after the
    // check that begins its snapshot, and ends the snapshot.
    void fewRequestsPerAction()
    {
        if (TestDatabases::storage() != TestDatabases::Storage::Server)
            QSKIP("requests are counted on the way to the server");
        // An office keeps both stores in one database.
        const auto relay = FaultRelay::toTestServer();
        const QString both = QStringLiteral("flow_%1_both").arg(QCoreApplication::applicationPid());
        const QDir data(QStringLiteral(FROSTPICK_DATA_DIR));
        QVERIFY(relay && ServerStores::create(both, {data.filePath("server_schema_nv.sql"),
                                                     data.filePath("server_schema_order.sql")}));
        QSettings settings(QDir(f->folder()).filePath(SettingsFileName), QSettings::IniFormat);
        settings.setValue("database/reference", relay->through(ServerStores::address(both)).database);
        settings.setValue("database/orders", relay->through(ServerStores::address(both)).database);
        settings.sync();
        QVERIFY(OpenDatabases(f->context, DataLocation::folder(f->folder())));
        f->addChamberLists();
        f->addProductLists();
        f->addUnits();
        const qint32 key = f->addCalculation(f->addCustomer("Альфа"), "2024-01-05", "первый");
        QVERIFY(f->orders(QStringLiteral("UPDATE data SET xo_type1=1, xo_type2=1 WHERE pkey=%1").arg(key)));
        // A COMMIT sent without waiting belongs to the action that sent it.
        const auto requestsOf = [&](const std::function<void()>& action) -> qint64 {
            if (!relay->settle())
                return -1;
            const qint64 before = relay->requests();
            action();
            return relay->settle() ? relay->requests() - before : -1;
        };
        QCOMPARE(requestsOf([&] {
                     QVERIFY(OpenDatabases(f->context, DataLocation::folder(f->folder())));
                     f->wizard = std::make_unique<Wizard>(f->context, f->record);
                     f->wizard->start();
                 }),
                 3);
        QVERIFY(f->context.order_db == f->context.ref_db);
        QCOMPARE(f->list("Combo1")->currentText(), QStringLiteral("Альфа"));
        QCOMPARE(requestsOf([&] { f->click("Command1"); }), 1);
        QCOMPARE(f->list("Combo2")->count(), 1);
        QCOMPARE(requestsOf([&] { perform("reopen"); }), 5);
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
        QVERIFY(f->record.q_total > 0 && !f->record.sel_model.isEmpty());
        QCOMPARE(requestsOf([&] { f->click("Command2"); }), 1);
        QCOMPARE(requestsOf([&] { perform("calculate"); }), 2);
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
        QVERIFY2(f->messages.texts().isEmpty(), qPrintable(f->messages.texts().join('|')));
    }

private:
    void perform(const QString& action)
    {
        if (action == "reopen")
            f->choose("Combo2", "05/01/2024 первый");
        else if (action == "search")
            f->click("Command1");
        else if (action == "calculate")
            f->click("cmbNext");
        else {
            f->messages.queueInput(QStringLiteral("второй"));
            f->click("Command3");
        }
    }
    // As another program would: the store refuses every read of the table.
    static void rename(Database& store, const QString& from, const QString& to)
    {
        QVERIFY(store.execute("ALTER TABLE " + from + " RENAME TO " + to));
        // Counted as a change, so rows kept from the table are read again.
        QVERIFY(store.execute("DELETE FROM " + to + " WHERE 1=0"));
    }
    QString savedNote(qint32 key) const
    {
        QueryTable note;
        f->context.order_db->query(QStringLiteral("SELECT onote FROM data WHERE pkey=%1").arg(key), note)
            .valueOr(-1);
        return note.text(0, 0);
    }
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
