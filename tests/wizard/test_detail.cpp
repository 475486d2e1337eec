// "Подробно" on the results screen: the detailed window of a reopened sample
// calculation, its print without a printer, and the warning line that must
// not move the results screen's controls.
#include "CalculationTrace.h"
#include "DatabaseAccess.h"
#include "HeatLoad.h"
#include "LoadChart.h"
#include "Lookups.h"
#include "Orders.h"
#include "Selection.h"
#include "TestDatabases.h"
#include "WizardFixture.h"

#include <QApplication>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLayout>
#include <QPrinterInfo>
#include <QProcess>
#include <QTableWidget>
#include <QtTest>

class TestDetail : public WizardTest
{
    Q_OBJECT

    void prepare() override { useSampleDatabases(); }

private slots:
    void reopenedCalculationExplainedAndPrinted()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this system has a printer");
        CalculationRecord& r = f->record;
        QVERIFY(ReopenCalculation(f->context, r, 2));
        r.contact_organization = QStringLiteral("ИП \"Север\" А. В.");
        r.onote.clear();
        f->wizard->enterFinish();
        // The door-opening formula asks for more than KMK100 gives.
        QCOMPARE(f->control<QLabel>(QStringLiteral("lblWarnings"))->text(),
                 QStringLiteral("⚠ По формуле открывания дверей нагрузка 3745 Вт: выбранный агрегат её не "
                                "покрывает (подходит KMK150)"));
        f->click(QStringLiteral("cmdDetail"));
        QDialog* detail = f->screen()->findChild<QDialog*>(QStringLiteral("frmDetail"));
        QVERIFY(detail && detail->isVisible());

        // The window shows the steps the calculation recorded and charts its components.
        QCOMPARE(detail->findChild<QTableWidget*>(QStringLiteral("tblLoad"))->rowCount(),
                 r.trace->load.size());
        double sum = 0;
        for (const ChartBar& bar : detail->findChild<LoadChart*>(QStringLiteral("chart"))->bars())
            sum += bar.watts;
        QCOMPARE(sum, double(r.q_total));
        // Only the chosen unit stands out among the alternatives.
        const QTableWidget* alternatives =
            detail->findChild<QTableWidget*>(QStringLiteral("tblAlternatives"));
        QStringList highlighted;
        for (int row = 0; row < alternatives->rowCount(); ++row)
            if (alternatives->item(row, 1)->font().bold())
                highlighted << alternatives->item(row, 1)->text();
        QCOMPARE(highlighted, QStringList{r.sel_model + r.sel_modification});

        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        QTest::mouseClick(detail->findChild<QPushButton*>(QStringLiteral("cmdPrint")), Qt::LeftButton);
        qputenv("HOME", oldHome);
        const QString pdf =
            home.filePath(QStringLiteral("Documents/ИП \"Север\" А. В. 2024-03-05 подробный расчет.pdf"));
        QVERIFY(QFile::exists(pdf));
        QVERIFY(f->messages.shown().last().text.startsWith(
            QStringLiteral("Принтер не найден. Подробный расчет")));
        // Every page carries the report's header; the chart closes the document.
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QStringList pages =
            QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QVERIFY(pages.size() >= 3);
        QVERIFY(pages.first().contains(QStringLiteral("ИП \"Север\" А. В. Дата расчета")));
        for (const QString& page : pages)
            QVERIFY(page.contains(QStringLiteral("Московское представительство")));
        QVERIFY(pages.last().contains(QStringLiteral("Составляющие тепловой нагрузки")));
    }
    // The assumptions typed in the window go into the record and recompute
    // the opinion, its warning here and on the results screen at once.
    void assumptionsRecomputeAtOnce()
    {
        CalculationRecord& r = f->record;
        QVERIFY(ReopenCalculation(f->context, r, 1));
        f->wizard->enterFinish();
        QLabel* warning = f->control<QLabel>(QStringLiteral("lblWarnings"));
        QVERIFY(!warning->isVisible());
        f->click(QStringLiteral("cmdDetail"));
        QDialog* detail = f->screen()->findChild<QDialog*>(QStringLiteral("frmDetail"));
        auto* fans = detail->findChild<QDoubleSpinBox*>(QStringLiteral("spnFans"));
        auto* height = detail->findChild<QDoubleSpinBox*>(QStringLiteral("spnDoorHeight"));
        const QTableWidget* lines = detail->findChild<QTableWidget*>(QStringLiteral("tblSecondOpinion"));
        const auto result = [&](const QString& name) {
            for (int row = 0; row < lines->rowCount(); ++row)
                if (lines->item(row, 0)->text() == name)
                    return lines->item(row, 3)->text();
            return QString();
        };
        QCOMPARE(height->value(), 2.0);
        QCOMPARE(result(QStringLiteral("Вентиляторы воздухоохладителей")), QStringLiteral("не учтено"));

        // 4480 W needed of the 4800 W KMN050 gives; 300 W of fans more need 4480 + 300 × 1.1 / 0.7.
        fans->setValue(300);
        QCOMPARE(r.secondOpinion.fans, 300.0);
        QCOMPARE(result(QStringLiteral("Вентиляторы воздухоохладителей")), QStringLiteral("300 Вт"));
        QVERIFY(warning->isVisible());
        QVERIFY(warning->text().contains(QStringLiteral("(подходит KMN075)")));
        QVERIFY(detail->findChild<QLabel*>(QStringLiteral("lblWarnings"))->text().contains("KMN075"));
        const QString infiltration = result(QStringLiteral("Двери (по формуле открывания)"));
        height->setValue(1);
        QCOMPARE(r.secondOpinion.doorHeight, 1.0);
        QVERIFY(result(QStringLiteral("Двери (по формуле открывания)")) != infiltration);
        fans->setValue(0);
        QVERIFY(!warning->isVisible());
        detail->close();
    }

    // A chamber at -10 °C with a KM unit for R404a, 45 °C outside; the saved
    // final temperature of -18 °C is below the chamber's now, a warning more.
    void warningLineKeepsTheLayout_data()
    {
        QTest::addColumn<double>("mass");
        QTest::addColumn<int>("warnings");
        // Each with the second opinion's: the door-opening formula asks for more.
        QTest::newRow("unit found") << 1.0 << 4;
        QTest::newRow("no unit covers the load") << 60.0 << 6;
    }
    void warningLineKeepsTheLayout()
    {
        QFETCH(double, mass);
        QFETCH(int, warnings);
        CalculationRecord& r = f->record;
        QVERIFY(ReopenCalculation(f->context, r, 2));
        r.xk_temperature = -10;
        r.by_temperature = 45;
        r.xo_type1 = 1;
        r.xo_type2 = 2;
        r.px_weight = mass;
        GetGas(f->context, r, r.xo_type2);
        GetSeries(f->context, r);
        QVERIFY(CalculateLoad(r));
        SelectUnit(f->context, r);
        f->wizard->enterFinish();
        QWidget* screen = f->screen();
        QLabel* line = f->control<QLabel>(QStringLiteral("lblWarnings"));
        QVERIFY(line->isVisible());
        QCOMPARE(line->text().count(QStringLiteral("⚠")), warnings);

        QMap<QString, QRect> placed;
        for (QWidget* w : screen->findChildren<QWidget*>())
            if (QRegularExpression(QStringLiteral("^(Label|Frame|Command|Image)\\d+$"))
                    .match(w->objectName())
                    .hasMatch())
                placed[w->objectName()] = QRect(w->mapTo(screen, QPoint()), w->size());
        // Every line laid out; what shows of them is under the selection,
        // clear of every control, and on the screen.
        QVERIFY(line->height() >= line->heightForWidth(line->width()));
        const QRect shown = line->visibleRegion().boundingRect();
        const QRect lineArea(line->mapTo(screen, shown.topLeft()), shown.size());
        QVERIFY(lineArea.top() > placed.value(QStringLiteral("Label30")).bottom());
        QVERIFY(lineArea.height() >= line->fontMetrics().height() && screen->rect().contains(lineArea));
        for (auto it = placed.cbegin(); it != placed.cend(); ++it)
            QVERIFY2(!screen->findChild<QWidget*>(it.key())->isVisible() || !lineArea.intersects(it.value()),
                     qPrintable(it.key()));
        const QSize size = screen->size();
        line->hide();
        screen->layout()->activate();
        QCOMPARE(screen->size(), size);
        for (auto it = placed.cbegin(); it != placed.cend(); ++it) {
            QWidget* w = screen->findChild<QWidget*>(it.key());
            QCOMPARE(QRect(w->mapTo(screen, QPoint()), w->size()), it.value());
        }
    }
};

QTEST_MAIN(TestDetail)
#include "test_detail.moc"
