// The customer screen: the customer list, a typed new customer, the search
// for saved calculations with its selection marker, and reopening.
#include "Orders.h"
#include "WizardFixture.h"
#include "frmStage0.h"

#include <QLabel>
#include <QtTest>

class TestStage0 : public WizardTest
{
    Q_OBJECT

    void prepare() override
    {
        f->addChamberLists();
        f->addProductLists();
        m_beta = f->addCustomer("Бета", "Омск", "+7 3812 000000", "beta@example.ru", "Петров П.");
        m_alpha = f->addCustomer("альфа", "Тверь", "+7 4822 111111", "alpha@example.ru", "Иванов И.");
    }

private slots:
    void customerListIsSortedAndTheFirstCustomerChosen()
    {
        f->wizard->start();
        QComboBox* customers = f->list("Combo1");
        QCOMPARE(customers->count(), 2);
        QCOMPARE(customers->itemText(0), QStringLiteral("альфа")); // sorted ignoring case
        QCOMPARE(customers->currentText(), QStringLiteral("альфа"));
        QCOMPARE(f->box("Text2")->text(), QStringLiteral("Тверь"));
        QCOMPARE(f->box("Text3")->text(), QStringLiteral("+7 4822 111111"));
        QCOMPARE(f->box("Text4")->text(), QStringLiteral("alpha@example.ru"));
        QCOMPARE(f->box("Text5")->text(), QStringLiteral("Иванов И."));
        QCOMPARE(f->record.contact, qint16(m_alpha));
        QVERIFY(f->record.NewContact); // choosing writes the organisation text
        QVERIFY(!f->list("Combo2")->isVisible());
        QVERIFY(!f->control<QLabel>("Label1")->isVisible());
        QVERIFY(f->control<QPushButton>("cmbNext")->isEnabled());
        QVERIFY(!f->control<QLabel>("Label8")->text().isEmpty());
    }
    void choosingACustomerShowsTheirDetails()
    {
        f->wizard->start();
        f->choose("Combo1", "Бета");
        QCOMPARE(f->record.contact, qint16(m_beta));
        QCOMPARE(f->box("Text2")->text(), QStringLiteral("Омск"));
        QCOMPARE(f->box("Text5")->text(), QStringLiteral("Петров П."));

        // Typing over the organisation empties the details.
        QTest::keyClicks(f->list("Combo1")->lineEdit(), "2");
        QVERIFY(f->box("Text2")->text().isEmpty());
        QVERIFY(f->box("Text5")->text().isEmpty());
    }
    void emptyCustomerTableLeavesTheScreenEmpty()
    {
        QVERIFY(f->orders("DELETE FROM contact"));
        f->wizard->start();
        QCOMPARE(f->list("Combo1")->count(), 0);
        QVERIFY(f->box("Text2")->text().isEmpty());
        QVERIFY(f->messages.shown().isEmpty());
    }
    void chosenCustomerStartsACalculationForThatCustomer()
    {
        f->wizard->start();
        f->choose("Combo1", "Бета");
        f->box("Text3")->setText("+7 3812 999999");
        f->click("cmbNext");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage3"));
        QVERIFY(!f->record.NewContact);
        QVERIFY(f->record.NewCalculation);
        QCOMPARE(f->record.contact, qint16(m_beta));
        QCOMPARE(f->record.contact_organization, QStringLiteral("Бета"));
        QCOMPARE(f->record.contact_phones, QStringLiteral("+7 3812 999999"));
    }
    void typedCustomerIsNewAndLosesItsApostrophes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("apostrophe") << "Холод'Сервис" << QStringLiteral("Холод~Сервис");
        QTest::newRow("start of a saved name") << "ИП" << QStringLiteral("ИП");
    }
    // A typed organisation is never completed to a saved customer.
    void typedCustomerIsNewAndLosesItsApostrophes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        f->addCustomer("ИП Соколов А. В.", "Тула");
        f->addCustomer("Холод'Сервис Плюс", "Тула");
        f->wizard->start();
        QLineEdit* organisation = f->list("Combo1")->lineEdit();
        QVERIFY(f->activate());
        organisation->setFocus();
        organisation->selectAll();
        WizardFixture::keys(organisation, typed);
        QCOMPARE(organisation->text(), typed);
        QVERIFY(f->box("Text2")->text().isEmpty());
        f->type("Text5", "О'Брайен");
        f->click("cmbNext");
        QCOMPARE(f->screenName(), QStringLiteral("frmStage3"));
        QVERIFY(f->record.NewContact);
        QVERIFY(f->record.NewCalculation);
        QCOMPARE(f->record.contact_organization, stored);
        QVERIFY(f->record.contact_city.isEmpty());
        QCOMPARE(f->record.contact_name, QStringLiteral("О'Брайен"));
    }
    void searchWithoutCalculationsSaysSo()
    {
        f->wizard->start();
        search();
        QCOMPARE(f->messages.shown().size(), 1);
        QCOMPARE(f->messages.lastText(), QStringLiteral("Записей не найдено!"));
        QCOMPARE(f->messages.shown().first().icon, MsgIcon::Information);
        QCOMPARE(f->messages.shown().first().title, QStringLiteral("Внимание"));
        QVERIFY(!f->list("Combo2")->isVisible());
        QVERIFY(f->control<QPushButton>("cmbNext")->isEnabled());
    }
    // Until another computer saves the typed customer.
    void searchOfATypedCustomerListsNothing()
    {
        f->addCalculation(m_alpha, "2024-01-10", "склад");
        f->wizard->start();
        QTest::keyClicks(f->list("Combo1")->lineEdit(), "x");
        search();
        QVERIFY(f->messages.shown().isEmpty());
        QCOMPARE(f->list("Combo2")->count(), 0);
        QVERIFY(!f->list("Combo2")->isVisible());
        QCOMPARE(f->record.contact_organization, QStringLiteral("альфаx"));

        f->addCalculation(f->addCustomer("альфаx", "Клин"), "2024-01-11", "чужой склад");
        search();
        QCOMPARE(f->list("Combo1")->count(), 3);
        QCOMPARE(f->list("Combo1")->currentText(), QStringLiteral("альфаx"));
        QCOMPARE(f->list("Combo2")->count(), 1);
        QVERIFY(f->box("Text2")->text().isEmpty()); // what was typed stays

        // Renamed elsewhere: the list is as long as before, and new.
        QVERIFY(
            f->orders(QStringLiteral("UPDATE contact SET organization='Гамма' WHERE pkey=%1").arg(m_beta)));
        search();
        QVERIFY(f->list("Combo1")->findText(QStringLiteral("Гамма")) >= 0);
    }
    void searchListsCalculationsAndConsumesTheMarker_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("first");
        QTest::newRow("C") << QLocale::c() << QStringLiteral("05/01/2024 камера мяса");
        QTest::newRow("ru_RU") << QLocale(QLocale::Russian, QLocale::Russia)
                               << QStringLiteral("05.01.2024 камера мяса");
    }
    void searchListsCalculationsAndConsumesTheMarker()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, first);
        QLocale::setDefault(locale);
        f->addCalculation(m_alpha, "2024-01-05", "камера мяса");
        f->addCalculation(m_beta, "2024-02-01", "чужая");
        f->addCalculation(m_alpha, "2023-12-31", "склад");
        f->addCalculation(m_alpha, "2024-03-04", "");
        f->wizard->start();
        search();

        QComboBox* calculations = f->list("Combo2");
        QCOMPARE(calculations->count(), 3);
        QCOMPARE(calculations->itemText(0), first);
        QCOMPARE(calculations->itemText(1).mid(2, 1), first.mid(2, 1));
        QVERIFY(calculations->itemText(1).endsWith(" склад"));
        QCOMPARE(calculations->itemText(2).size(), 11); // date and blank, no note
        QCOMPARE(calculations->currentIndex(), 0);
        QVERIFY(calculations->isVisible());
        QVERIFY(f->control<QLabel>("Label1")->isVisible());
        QVERIFY(!f->control<QPushButton>("cmbNext")->isEnabled());
        // The program's own selection reopened nothing and consumed the marker.
        QCOMPARE(f->screenName(), QStringLiteral("frmStage0"));
        QCOMPARE(f->control<QLabel>("Label7")->text(), QStringLiteral("1"));
        QVERIFY(f->messages.shown().isEmpty());

        // A second customer's search again selects without reopening.
        f->choose("Combo1", "Бета");
        QVERIFY(!calculations->isVisible());
        QVERIFY(f->control<QPushButton>("cmbNext")->isEnabled());
        search();
        QCOMPARE(calculations->count(), 1);
        QCOMPARE(f->screenName(), QStringLiteral("frmStage0"));
    }
    void choosingACalculationReopensIt()
    {
        f->addCalculation(m_alpha, "2024-01-05", "первый", -5);
        const qint32 second = f->addCalculation(m_alpha, "2024-01-06", "второй", -25);
        f->wizard->start();
        QWidget* customerScreen = f->screen();
        search();
        f->choose("Combo2", "06/01/2024 второй");

        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
        QCOMPARE(static_cast<QWidget*>(f->wizard->stage0()), customerScreen); // hidden, not destroyed
        QVERIFY(!customerScreen->isVisible());
        QCOMPARE(f->record.pkey_data, second);
        QCOMPARE(f->record.xk_temperature, -25.0);
        QCOMPARE(f->record.xk_ceiling_name, QStringLiteral("пенополиуретан панели"));
        QCOMPARE(f->record.px_product_name, QStringLiteral("Говядина"));
        QVERIFY(f->record.q_total != 0);
        QVERIFY(!f->record.NewCalculation);
        QVERIFY(!f->record.NewContact);
        QVERIFY(f->messages.shown().isEmpty()); // every reference row is there

        // Saved again, the reopened customer is not added a second time.
        f->record.onote = QStringLiteral("исправлено");
        QVERIFY(SaveCalculation(f->context, f->record, f->wizard->today()));
        QCOMPARE(f->rowCount("contact"), 2);
        QCOMPARE(f->rowCount("data"), 2);

        // A reset puts the hidden customer screen back as it was left, with
        // the customers saved meanwhile.
        f->addCustomer("Дельта");
        f->wizard->ResetRecord();
        f->wizard->showStage0();
        QCOMPARE(f->screen(), customerScreen);
        QVERIFY(!f->list("Combo2")->isVisible());
        QVERIFY(!f->control<QLabel>("Label1")->isVisible());
        QVERIFY(f->control<QPushButton>("cmbNext")->isEnabled());
        QCOMPARE(f->control<QLabel>("Label7")->text(), QStringLiteral("2"));
        QCOMPARE(f->list("Combo1")->currentText(), QStringLiteral("альфа"));
        QCOMPARE(f->list("Combo1")->count(), 3);
    }
    void reopeningNamesTheReferenceRowsThatAreGone_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("gone");
        QTest::newRow("product") << "DELETE FROM Product WHERE pkey=1"
                                 << QStringList{"продукт группы «Мясо» (код 1)"};
        QTest::newRow("packing") << "DELETE FROM packing WHERE pkey=1" << QStringList{"упаковка (код 1)"};
        QTest::newRow("insulation of ceiling and walls")
            << "DELETE FROM article WHERE pkey=2"
            << QStringList{"теплоизоляция потолка (код 2)", "теплоизоляция стен (код 2)"};
        QTest::newRow("insulation of the floor")
            << "DELETE FROM article WHERE pkey=1" << QStringList{"теплоизоляция пола (код 1)"};
        QTest::newRow("curtain") << "DELETE FROM curtain WHERE pkey=1" << QStringList{"занавесь (код 1)"};
        QTest::newRow("equipment type") << "DELETE FROM equipment" << QStringList{"тип оборудования (код 5)"};
    }
    void reopeningNamesTheReferenceRowsThatAreGone()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, gone);
        QVERIFY(f->reference("INSERT INTO equipment (Pkey, text_ru, model) VALUES (5, 'Агрегат', 'KM')"));
        const qint32 key = f->addCalculation(m_alpha, "2024-01-05", "первый");
        QVERIFY(f->orders(QStringLiteral("UPDATE data SET xo_type1=5 WHERE pkey=%1").arg(key)));
        QVERIFY(f->reference(sql));
        f->wizard->start();
        search();
        f->choose("Combo2", "05/01/2024 первый");

        QCOMPARE(f->messages.shown().size(), 1);
        const MessageRequest& message = f->messages.shown().first();
        QCOMPARE(message.icon, MsgIcon::Exclamation);
        QCOMPARE(message.title, QStringLiteral("Внимание"));
        const QStringList lines = message.text.split('\n');
        QCOMPARE(lines.mid(1, gone.size()), gone);
        QVERIFY(lines.at(gone.size() + 1).isEmpty()); // nothing else named
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
    }

private:
    void search() { f->click("Command1"); }
    qint32 m_alpha = 0, m_beta = 0;
};

QTEST_MAIN(TestStage0)
#include "test_stage0.moc"
