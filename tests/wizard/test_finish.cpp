// The results screen: the load and selection figures as the core computed
// them, the verdict instead of the figures, the save dialogue and printing
// on a system without a printer.
#include "Database.h"
#include "HeatLoad.h"
#include "QueryTable.h"
#include "Selection.h"
#include "WizardFixture.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QtTest>

class TestFinish : public WizardTest
{
    Q_OBJECT

private slots:
    void fullCalculationShowsTheCoreResults()
    {
        f->addChamberLists();
        f->addProductLists();
        f->addCustomer(QStringLiteral("Альфа"));
        f->addUnits();
        f->wizard->start();
        f->enterChamber();
        f->enterProduct();
        f->enterEquipment();
        QCOMPARE(f->screenName(), QStringLiteral("frmStage4"));
        f->click(QStringLiteral("cmbNext"));
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));

        // The core's own results for the same inputs.
        CalculationRecord core = f->record;
        QVERIFY(CalculateLoad(core));
        SelectUnit(f->context, core);
        const CalculationRecord& r = f->record;
        QCOMPARE(r.q_total, core.q_total);
        QVERIFY(r.q_total > 0);
        QVERIFY(r.verdict.isEmpty());
        const auto w = [](qint64 value) { return QString::number(value) + QStringLiteral(" Вт"); };
        QCOMPARE(label("Label25"), w(core.q_total));
        QCOMPARE(label("Label15"), w(core.q_ceiling));
        QCOMPARE(label("Label14"), w(core.q_walls));
        QCOMPARE(label("Label16"), w(core.q_floor));
        QCOMPARE(label("Label17"), w(core.q_cooling));
        QCOMPARE(label("Label18"), w(core.q_freezing));
        QCOMPARE(label("Label19"), w(core.q_frozen_cooling));
        QCOMPARE(label("Label20"), w(core.q_respiration));
        QCOMPARE(label("Label21"), w(core.q_doors));
        QCOMPARE(label("Label22"), w(core.q_staff));
        QCOMPARE(label("Label24"), w(core.q_packing));
        QCOMPARE(label("Label23"), w(core.q_sources));
        QCOMPARE(f->control<QGroupBox>(QStringLiteral("Frame1"))->title(),
                 QStringLiteral("Диффузия: ") + w(qint64(core.q_ceiling) + core.q_walls + core.q_floor));
        QCOMPARE(f->control<QGroupBox>(QStringLiteral("Frame2"))->title(),
                 QStringLiteral("Продукт: ") + w(core.q_product));
        QCOMPARE(f->control<QGroupBox>(QStringLiteral("Frame3"))->title(),
                 QStringLiteral("Дополнительно: ") + w(core.q_extra));
        QCOMPARE(label("Label29"), w(std::llround(core.unit_capacity)));
        QCOMPARE(label("Label28"), w(std::llround(core.unit_capacity * 0.7)));
        QCOMPARE(core.sel_modification, QStringLiteral("020"));
        QCOMPARE(label("Label30"), QStringLiteral("Агрегат KM модель KMB020 в количестве 1 шт."));
        QVERIFY(!f->control<QGroupBox>(QStringLiteral("Frame4"))->isHidden());
    }
    void shortfallShowsTheVerdictWithoutFigures()
    {
        f->record.verdict =
            QStringLiteral("Выбранные тип оборудования и количество агрегатов не обеспечивают результат "
                           "расчета тепловой нагрузки");
        f->record.xo_type_name = QStringLiteral("Агрегат KM");
        f->record.xo_type1 = 9; // deleted meanwhile from the reference data
        showResults();
        QVERIFY(f->control<QGroupBox>(QStringLiteral("Frame4"))->isHidden());
        QCOMPARE(label("Label30"), f->record.verdict);
        QVERIFY(label("lblWarnings").contains(QStringLiteral("тип оборудования «Агрегат KM» (код 9)")));
    }
    void percentageFigures_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<double>("capacity");
        QTest::addColumn<int>("work");
        QTest::addColumn<QStringList>("shown"); // reserve, run time, average capacity
        // Two units: A = P x 0.01 x work x 2.
        QTest::newRow("ordinary") << 6000 << 5000.0 << 70 << QStringList{"16.7%", "60.0%", "3500 Вт"};
        QTest::newRow("no load") << 0 << 5000.0 << 70 << QStringList{"0", "0.0%", "3500 Вт"};
        QTest::newRow("no capacity") << 6000 << 0.0 << 70 << QStringList{"-100.0%", "0", "0 Вт"};
        QTest::newRow("no run time") << 6000 << 5000.0 << 0 << QStringList{"-100.0%", "0", "0 Вт"};
        QTest::newRow("halves away from zero")
            << 6000 << 4285.75 << 70 << QStringList{"0.0%", "70.0%", "3000 Вт"};
    }
    void percentageFigures()
    {
        QFETCH(int, total);
        QFETCH(double, capacity);
        QFETCH(int, work);
        QFETCH(QStringList, shown);
        f->record.q_total = total;
        f->record.unit_capacity = capacity;
        f->record.xo_work = qint16(work);
        f->record.xo_count = 2;
        f->record.q_walls = 12345;
        f->record.q_unit_required = 2500.5;
        showResults();
        QCOMPARE((QStringList{label("Label36"), label("Label37"), label("Label27")}), shown);
        QCOMPARE(label("Label14"), QStringLiteral("12345 Вт"));
        QCOMPARE(label("Label26"), QStringLiteral("2501 Вт"));
    }
    // A new customer and calculation are saved once with the note typed; a
    // cancelled or emptied note saves nothing. Either way the wizard starts again.
    void newCalculationSavedOnceWithItsNote_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("note");
        QTest::newRow("note typed") << false << QStringLiteral("первый расчет");
        QTest::newRow("cancelled") << true << QString();
        QTest::newRow("emptied") << false << QString();
    }
    void newCalculationSavedOnceWithItsNote()
    {
        QFETCH(bool, cancel);
        QFETCH(QString, note);
        CalculationRecord& r = f->record;
        r.NewContact = true;
        r.NewCalculation = true;
        r.contact_organization = QStringLiteral("Бета");
        r.contact_city = QStringLiteral("Тверь");
        r.contact_name = QStringLiteral("О'Нил");
        r.xo_count = 3;
        showResults();
        f->messages.queueInput(cancel ? std::nullopt : std::optional<QString>(note));
        f->click(QStringLiteral("Command3"));

        QCOMPARE(f->messages.inputPrompts(),
                 QStringList{QStringLiteral("Для сохранения данных\r\nзаполните текстовое поле")});
        QCOMPARE(f->messages.lastInputDefault, QStringLiteral("*"));
        const int saved = note.isEmpty() ? 0 : 1;
        QCOMPARE(f->rowCount(QStringLiteral("contact")), saved);
        QCOMPARE(f->rowCount(QStringLiteral("data")), saved);
        QCOMPARE(f->screenName(), QStringLiteral("frmStage0"));
        QCOMPARE(r.xo_count, qint16(1)); // reset
        if (!saved) {
            QVERIFY(r.onote.isEmpty());
            return;
        }
        QVERIFY(!r.NewCalculation);
        QCOMPARE(dataText(QStringLiteral("onote")), QStringLiteral("первый расчет"));
        QCOMPARE(dataText(QStringLiteral("odate")), QStringLiteral("2024-03-05"));
        QCOMPARE(dataText(QStringLiteral("xo_count")), QStringLiteral("3"));
        QCOMPARE(dataText(QStringLiteral("contact")), QString::number(r.contact));
    }
    void reopenedCalculationUpdatedInPlace()
    {
        const qint32 customer = f->addCustomer(QStringLiteral("Гамма"));
        const qint32 key =
            f->addCalculation(customer, QStringLiteral("2023-01-01"), QStringLiteral("старая заметка"));
        CalculationRecord& r = f->record;
        r.NewCalculation = false;
        r.NewContact = false;
        r.pkey_data = key;
        r.contact = qint16(customer);
        r.contact_organization = QStringLiteral("Гамма");
        r.contact_city = QStringLiteral("Омск");
        r.onote = QStringLiteral("старая заметка");
        r.xo_count = 4;
        showResults();
        f->messages.queueInput(QStringLiteral("новая заметка"));
        f->click(QStringLiteral("Command3"));

        QCOMPARE(f->messages.lastInputDefault, QStringLiteral("старая заметка"));
        QCOMPARE(f->rowCount(QStringLiteral("contact")), 1);
        QCOMPARE(f->rowCount(QStringLiteral("data")), 1);
        QCOMPARE(dataText(QStringLiteral("pkey")), QString::number(key));
        QCOMPARE(dataText(QStringLiteral("odate")), QStringLiteral("2024-03-05"));
        QCOMPARE(dataText(QStringLiteral("onote")), QStringLiteral("новая заметка"));
        QCOMPARE(dataText(QStringLiteral("xo_count")), QStringLiteral("4"));
        QueryTable city;
        QCOMPARE(f->context.order_db->query(QStringLiteral("SELECT city FROM contact"), city).valueOr(-1), 1);
        QCOMPARE(city.text(0, 0), QStringLiteral("Омск"));
        QCOMPARE(f->screenName(), QStringLiteral("frmStage0"));
    }
    void printWithoutPrinterWritesPdf()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this system has a printer");
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        f->record.contact_organization = QStringLiteral("Эпсилон");
        showResults();
        f->click(QStringLiteral("Command4"));
        f->click(QStringLiteral("Command4"));
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);

        const QDir documents(home.filePath(QStringLiteral("Documents")));
        QCOMPARE(documents.entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("Эпсилон 2024-03-05 (2).pdf"),
                              QStringLiteral("Эпсилон 2024-03-05.pdf")}));
        QCOMPARE(f->messages.shown().size(), 2);
        QCOMPARE(f->messages.shown().first().icon, MsgIcon::Information);
        QVERIFY(f->messages.shown().first().text.contains(
            documents.filePath(QStringLiteral("Эпсилон 2024-03-05.pdf"))));
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
    }

private:
    // The results of a record filled by hand, as a reopened calculation shows them.
    void showResults()
    {
        f->wizard->enterFinish();
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
    }
    QString label(const char* name) const { return f->control<QLabel>(QLatin1String(name))->text(); }
    QString dataText(const QString& column)
    {
        QueryTable rows;
        if (f->context.order_db
                ->query(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM data"), rows)
                .valueOr(-1) != 1)
            return QStringLiteral("<not one row>");
        return rows.text(0, 0);
    }
};

QTEST_MAIN(TestFinish)
#include "test_finish.moc"
