// The equipment and conditions screen: the types offered for the chamber
// temperature, the model code of a choice, the type's picture and how the
// boxes are read into the record.
#include "Database.h"
#include "EquipmentChoice.h"
#include "TestDatabases.h"
#include "WizardFixture.h"
#include "frmStage4.h"

#include <QImage>
#include <QLabel>
#include <QtTest>

class TestStage4 : public WizardTest
{
    Q_OBJECT

    void prepare() override
    {
        QVERIFY(f->reference(
            QStringLiteral("INSERT INTO equipment (Pkey, text_ru, model, picture, scheme) VALUES "
                           "(1, 'Агрегат KM', 'KM', 'km.jpg', 'km_s.jpg'), (2, 'Агрегат KMC', 'KMC', "
                           "'kmc.jpg', 'kmc_s.jpg'), "
                           "(3, 'Агрегат KMP', 'KMP', 'kmp.jpg', 'kmp_s.jpg'), (4, 'Агрегат KS', 'KS', "
                           "'ks.jpg', 'ks_s.jpg'), "
                           "(5, 'Агрегат KSC', 'KSC', '', ''), (6, 'Агрегат KSP', 'KSP', '', ''), "
                           "(7, 'Агрегат прочий', 'ZZ', '', '')")));
        // One rated point is enough for a model code to exist.
        QVERIFY(f->reference(
            QStringLiteral("INSERT INTO power (model, modification, in_t, out_t, power, fkey) VALUES "
                           "('KMB', 20, -25, 20, 1000, 1), ('KMK', 20, -25, 20, 1000, 1)")));
        QVERIFY(m_pictures.isValid());
        f->context.location = DataLocation::folder(m_pictures.path());
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(m_pictures.filePath(QStringLiteral("km.jpg")), "JPEG"));
        QVERIFY(picture.save(m_pictures.filePath(QStringLiteral("netyti.jpg")), "JPEG"));
    }

private slots:
    void typesOfferedForTheChamberTemperature_data()
    {
        QTest::addColumn<double>("temperature");
        QTest::addColumn<QStringList>("offered");
        const QStringList all = {"Агрегат KM",  "Агрегат KMC", "Агрегат KMP",   "Агрегат KS",
                                 "Агрегат KSC", "Агрегат KSP", "Агрегат прочий"};
        QTest::newRow("-20 °C") << -20.0
                                << QStringList{"Агрегат KM", "Агрегат KMP", "Агрегат KS", "Агрегат KSP",
                                               "Агрегат прочий"};
        QTest::newRow("-25 °C") << -25.0 << all;
        QTest::newRow("-27 °C") << -27.0 << all;
        QTest::newRow("-30 °C") << -30.0 << QStringList{"Агрегат KMC", "Агрегат KSC", "Агрегат прочий"};
    }
    void typesOfferedForTheChamberTemperature()
    {
        QFETCH(double, temperature);
        QFETCH(QStringList, offered);
        openAt(temperature, 7);
        QComboBox* types = f->list(QStringLiteral("Combo7"));
        QStringList shown;
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
        QCOMPARE(shown, offered);
        QCOMPARE(types->currentText(), QStringLiteral("Агрегат прочий"));
    }
    void refrigerantChangesTheModelLetter()
    {
        f->record.xo_type2 = 0; // a new calculation
        openAt(-18, 1);
        QCOMPARE(f->list(QStringLiteral("Combo1"))->currentText(), QStringLiteral("R22"));
        QCOMPARE(model(), QStringLiteral("KMB"));
        QVERIFY(modelError().isEmpty());

        f->choose(QStringLiteral("Combo1"), QStringLiteral("R404a"));
        QCOMPARE(model(), QStringLiteral("KMK"));
        QCOMPARE(f->record.xo_gas, QStringLiteral("R404a"));

        // No KS model for this temperature: the series alone, and the error line.
        f->choose(QStringLiteral("Combo7"), QStringLiteral("Агрегат KS"));
        QCOMPARE(model(), QStringLiteral("KS"));
        QCOMPARE(modelError(), QStringLiteral("Ошибка при выборе оборудования"));
    }
    void typePictureOrPlaceholder()
    {
        openAt(-20, 1);
        auto* screen = qobject_cast<frmStage4*>(f->screen());
        QCOMPARE(screen->shownPicture(), QStringLiteral("km.jpg"));
        QVERIFY(!f->control<QLabel>(QStringLiteral("Image1"))->pixmap().isNull());

        f->choose(QStringLiteral("Combo7"), QStringLiteral("Агрегат KMP")); // no such file
        QCOMPARE(screen->shownPicture(), QStringLiteral("netyti.jpg"));
        QCOMPARE(f->record.xo_picture, QStringLiteral("kmp.jpg"));
        QCOMPARE(f->record.xo_scheme, QStringLiteral("kmp_s.jpg"));
        QCOMPARE(f->record.xo_type1, qint16(3));
    }
    void noTypeOfferedRefusesTheCalculation()
    {
        QVERIFY(f->reference(QStringLiteral("DELETE FROM equipment")));
        f->record.xo_series = QStringLiteral("KMB"); // left from an earlier calculation
        openAt(-18, 1);
        QCOMPARE(f->list(QStringLiteral("Combo7"))->count(), 0);
        f->click(QStringLiteral("cmbNext"));
        QCOMPARE(f->messages.lastText(),
                 QStringLiteral("Для температуры в камере -18 °C нет подходящего типа оборудования"));
        QCOMPARE(f->screenName(), QStringLiteral("frmStage4"));
    }
    // "Назад" reads the boxes without any check; a whole-number field keeps its
    // value when the box holds a fraction.
    void boxesAreReadOnTheWayBack()
    {
        openAt(-18, 1);
        f->type({{"Text13", "3 5.5"},
                 {"Text14", "80abc"},
                 {"Text15", "-2,5"},
                 {"Text21", "2.5"},
                 {"Text22", "10"},
                 {"Text23", "0"}});
        f->choose(QStringLiteral("Combo1"), QStringLiteral("R404a"));
        f->click(QStringLiteral("cmbPrev"));
        QCOMPARE(f->screenName(), QStringLiteral("frmStage1"));
        // this fixture holds no product groups
        QCOMPARE(f->messages.texts(), QStringList{QStringLiteral("Не найден список групп продуктов!")});
        const QStringList read = {"by_temperature=35.5", "by_moisture=80", "by_ground=-2.5", "xo_count=1",
                                  "xo_power=10",         "xo_work=0",      "xo_type2=2"};
        QCOMPARE(f->columns(read), read);
        QCOMPARE(f->record.xo_gas, QStringLiteral("R404a"));

        // Shown again as read, the run time of 0 included.
        f->wizard->enterStage4();
        QCOMPARE(f->box(QStringLiteral("Text13"))->text(), QStringLiteral("35.5"));
        QCOMPARE(f->box(QStringLiteral("Text15"))->text(), QStringLiteral("-2.5"));
        QCOMPARE(f->box(QStringLiteral("Text23"))->text(), QStringLiteral("0"));
        QCOMPARE(f->list(QStringLiteral("Combo1"))->currentText(), QStringLiteral("R404a"));
    }
    // Rows kept from one screen are checked against the store at the user's
    // next action, by mouse or by keys alone: a type the administrator
    // renamed meanwhile shows by its new name.
    void administratorsChangeShowsAtTheNextAction_data()
    {
        QTest::addColumn<bool>("byKeys");
        QTest::newRow("mouse") << false;
        QTest::newRow("keys only") << true;
    }
    void administratorsChangeShowsAtTheNextAction()
    {
        QFETCH(bool, byKeys);
        openAt(-18, 1);
        const auto admin = Database::open(TestDatabases::address(f->folder() + QStringLiteral("/nv.mdb")), {})
                               .valueOr(nullptr);
        QVERIFY(admin &&
                admin->execute(QStringLiteral("UPDATE equipment SET text_ru='Агрегат KM-2' WHERE pkey=1")));
        auto* back = f->control<QPushButton>(QStringLiteral("cmbPrev"));
        if (byKeys) {
            back->setFocus();
            QTest::keyClick(back, Qt::Key_Space);
        } else {
            f->click(QStringLiteral("cmbPrev"));
        }
        QCOMPARE(f->messages.texts(), QStringList{QStringLiteral("Не найден список групп продуктов!")});
        f->wizard->enterStage4();
        QCOMPARE(f->list(QStringLiteral("Combo7"))->currentText(), QStringLiteral("Агрегат KM-2"));
    }
    void typeNoLongerOfferedGivesWayToTheFirst()
    {
        openAt(-18, 2); // KMC is not offered above -25 °C
        QCOMPARE(f->list(QStringLiteral("Combo7"))->currentText(), QStringLiteral("Агрегат KM"));
        QCOMPARE(f->record.xo_type1, qint16(1));
        f->click(QStringLiteral("cmbNext"));
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
        // this fixture rates its units at 20 °C outside only
        const QStringList told = f->messages.texts();
        QCOMPARE(told.size(), 2);
        QVERIFY(told.first().startsWith(QStringLiteral("Записей не найдено!")) &&
                told.first().contains("out_t=32"));
        QCOMPARE(f->record.xo_type1, qint16(1));
        QCOMPARE(f->record.xo_type_name, QStringLiteral("Агрегат KM"));
    }

private:
    void openAt(double chamberTemperature, qint16 type = 1)
    {
        f->record.xk_temperature = chamberTemperature;
        f->record.xo_type1 = type;
        f->wizard->enterStage4();
        QCOMPARE(f->screenName(), QStringLiteral("frmStage4"));
    }
    QString model() const { return f->control<QLabel>(QStringLiteral("Label1"))->text(); }
    QString modelError() const { return f->control<QLabel>(QStringLiteral("Label4"))->text(); }

    QTemporaryDir m_pictures;
};

QTEST_MAIN(TestStage4)
#include "test_stage4.moc"
