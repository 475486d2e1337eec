// The wizard's figures, taken on the real screens in this process: the
// customer screen filled, "Поиск" for the customer with the most saved
// calculations, reopening one until the results screen is shown, "Назад" to
// the equipment screen and "Расчет" there, and the report written as a PDF.
// Each step is a user's click or key press, as the program receives it.
#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DataGenerator.h"
#include "DatabaseAccess.h"
#include "FigureNames.h"
#include "GuiTiming.h"
#include "ReportOutput.h"
#include "Wizard.h"
#include "frmFinish.h"
#include "frmStage0.h"
#include "frmStage4.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const GuiBenchOptions options = parseGuiBenchOptions(app, QStringLiteral("folder of the databases"));
    SilentMessages messages;
    Messages::install(&messages);
    QTemporaryDir pdfFolder;

    const QString stage0Figure = QString::fromUtf8(FigureName::Stage0);
    const QString searchFigure = QString::fromUtf8(FigureName::Search);
    const QString reopenFigure = QString::fromUtf8(FigureName::Reopen);
    const QString backFigure = QString::fromUtf8(FigureName::Back);
    const QString calculateFigure = QString::fromUtf8(FigureName::Calculate);
    const QString pdfFigure = QString::fromUtf8(FigureName::Pdf);
    std::vector<double> stage0, search, reopen, back, calculate, pdf;
    QString failure;
    for (int run = 0; run < options.runs && failure.isEmpty(); ++run) {
        CalculationContext context;
        CalculationRecord record;
        if (!OpenDatabases(context, DataLocation::folder(options.folder))) {
            failure = QStringLiteral("databases not opened");
            break;
        }
        ApplyStartValues(record);
        Wizard wizard(context, record);
        wizard.setQuitHandler([] {});
        stage0.push_back(
            timeShown([&] { wizard.start(); }, [&] { return wizard.currentScreen(); }, stage0Figure));

        frmStage0* screen = wizard.stage0();
        auto* combo1 = screen ? screen->findChild<QComboBox*>(QStringLiteral("Combo1")) : nullptr;
        auto* combo2 = screen ? screen->findChild<QComboBox*>(QStringLiteral("Combo2")) : nullptr;
        auto* command1 = screen ? screen->findChild<QPushButton*>(QStringLiteral("Command1")) : nullptr;
        if (!combo1 || !combo2 || !command1 || combo1->currentData().toInt() != BigCustomerKey) {
            failure = QStringLiteral("customer screen not as expected");
            break;
        }
        search.push_back(timeShown([&] { clickAsUser(command1); }, [&] { return screen; }, searchFigure));
        if (combo2->count() < 2 || !combo2->isVisible()) {
            failure = QStringLiteral("search listed %1 calculations").arg(combo2->count());
            break;
        }
        // The user's choice: the second calculation (the first is selected).
        reopen.push_back(timeShown([&] { pressKeyAsUser(combo2, Qt::Key_Down); },
                                   [&] { return wizard.currentScreen(); }, reopenFigure));
        auto* finish = qobject_cast<frmFinish*>(wizard.currentScreen());
        if (!finish) {
            failure = QStringLiteral("results screen not shown");
            break;
        }
        back.push_back(
            timeShown([&] { clickAsUser(finish->findChild<QPushButton*>(QStringLiteral("Command2"))); },
                      [&] { return wizard.currentScreen(); }, backFigure));
        auto* stage4 = qobject_cast<frmStage4*>(wizard.currentScreen());
        if (!stage4) {
            failure = QStringLiteral("equipment screen not shown");
            break;
        }
        calculate.push_back(
            timeShown([&] { clickAsUser(stage4->findChild<QPushButton*>(QStringLiteral("cmbNext"))); },
                      [&] { return wizard.currentScreen(); }, calculateFigure));
        if (!qobject_cast<frmFinish*>(wizard.currentScreen())) {
            failure = QStringLiteral("\"Расчет\" did not show the results (%1 messages, last: %2)")
                          .arg(messages.shown())
                          .arg(messages.last());
            break;
        }
        QString file;
        pdf.push_back(timeShown(
            [&] { file = ReportOutput::WritePdf(context, record, QDate(2026, 12, 6), pdfFolder.path()); },
            nullptr));
        if (file.isEmpty() || QFileInfo(file).size() == 0) {
            failure = QStringLiteral("no PDF written");
            break;
        }
    }
    if (!failure.isEmpty()) {
        for (const QString& f :
             {stage0Figure, searchFigure, reopenFigure, backFigure, calculateFigure, pdfFigure})
            printMissing(f, failure, QString());
        return 1;
    }
    printFigure(stage0Figure, stage0, QStringLiteral("<= 100"));
    printFigure(searchFigure, search, QStringLiteral("<= 50"));
    printFigure(reopenFigure, reopen, QStringLiteral("<= 30"));
    printFigure(backFigure, back, QString());
    printFigure(calculateFigure, calculate, QStringLiteral("<= 300"));
    printFigure(pdfFigure, pdf, QStringLiteral("<= 200"));
    return 0;
}
