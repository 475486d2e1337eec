// The equipment and conditions screen: the types offered for the chamber
// temperature, the model code of a choice, the type's picture, the checks of
// "Расчет" and how the boxes are read into the record.
#include "EquipmentChoice.h"
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
        f->record.location = DataLocation::folder(m_pictures.path());
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
    void calculationChecksInOrder_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("countAndWork");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("focus");
        const QString km = QStringLiteral("Агрегат KM"), input = QStringLiteral("Ошибка ввода данных");
        const QString noCount = QStringLiteral("Введите количество агрегатов");
        const QString noWork = QStringLiteral("Введите время работы компрессора");
        const QString count =
            QStringLiteral("Поле \"Количество агрегатов (шт)\": допускается целое число от 1 до 32767");
        const QString work = QStringLiteral(
            "Поле \"Максимальное время работы компрессора (%)\": допускается целое число от 1 до 100");
        QTest::newRow("model code first") << QStringLiteral("Агрегат KS") << QStringList{"0", "0"}
                                          << QStringLiteral("Некорректно выбран тип оборудования")
                                          << QStringLiteral("Внимание") << "cmbNext";
        QTest::newRow("count before run time") << km << QStringList{"0", "0"} << noCount << input << "Text21";
        QTest::newRow("run time") << km << QStringList{"2", "0"} << noWork << input << "Text23";
        QTest::newRow("count not a number") << km << QStringList{"abc", "70"} << noCount << input << "Text21";
        QTest::newRow("count empty") << km << QStringList{"", "70"} << noCount << input << "Text21";
        QTest::newRow("count fractional") << km << QStringList{"0.3", "70"} << count << input << "Text21";
        QTest::newRow("count negative") << km << QStringList{"-1", "70"} << count << input << "Text21";
        QTest::newRow("run time fractional") << km << QStringList{"1", "0,4"} << work << input << "Text23";
        QTest::newRow("run time above 100") << km << QStringList{"1", "101"} << work << input << "Text23";
    }
    void calculationChecksInOrder()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, countAndWork);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(QString, focus);
        openAt(-18, 1);
        f->choose(QStringLiteral("Combo7"), type);
        f->type(QStringLiteral("Text21"), countAndWork.at(0));
        f->type(QStringLiteral("Text23"), countAndWork.at(1));
        f->box(QStringLiteral("Text13"))->setFocus();
        f->click(QStringLiteral("cmbNext"));
        QCOMPARE(f->messages.shown().size(), 1);
        QCOMPARE(f->messages.lastText(), message);
        QCOMPARE(f->messages.shown().last().title, title);
        QCOMPARE(f->messages.shown().last().icon, MsgIcon::Exclamation);
        QCOMPARE(f->screenName(), QStringLiteral("frmStage4"));
        QCOMPARE(f->focused(), f->control<QWidget>(focus)); // the button keeps the focus its click gave it
        QCOMPARE(f->record.xo_count, qint16(1));            // nothing read yet
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
        QCOMPARE(f->record.by_temperature, 35.5);
        QCOMPARE(f->record.by_moisture, qint16(80));
        QCOMPARE(f->record.by_ground, -2.5);
        QCOMPARE(f->record.xo_count, qint16(1));
        QCOMPARE(f->record.xo_power, qint16(10));
        QCOMPARE(f->record.xo_work, qint16(0));
        QCOMPARE(f->record.xo_type2, qint16(2));
        QCOMPARE(f->record.xo_gas, QStringLiteral("R404a"));

        // Shown again as read, the run time of 0 included.
        f->wizard->enterStage4();
        QCOMPARE(f->box(QStringLiteral("Text13"))->text(), QStringLiteral("35.5"));
        QCOMPARE(f->box(QStringLiteral("Text15"))->text(), QStringLiteral("-2.5"));
        QCOMPARE(f->box(QStringLiteral("Text23"))->text(), QStringLiteral("0"));
        QCOMPARE(f->list(QStringLiteral("Combo1"))->currentText(), QStringLiteral("R404a"));
    }
    void typeNoLongerOfferedGivesWayToTheFirst()
    {
        openAt(-18, 2); // KMC is not offered above -25 °C
        QCOMPARE(f->list(QStringLiteral("Combo7"))->currentText(), QStringLiteral("Агрегат KM"));
        QCOMPARE(f->record.xo_type1, qint16(1));
        f->click(QStringLiteral("cmbNext"));
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
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
