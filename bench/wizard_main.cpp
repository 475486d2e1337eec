// The wizard's figures, taken on the real screens in this process: the
// customer screen filled, "Поиск" for the customer with the most saved
// calculations, reopening one until the results screen is shown, and the
// report written as a PDF.
#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DataGenerator.h"
#include "DatabaseAccess.h"
#include "GuiTiming.h"
#include "ReportOutput.h"
#include "Wizard.h"
#include "frmFinish.h"
#include "frmStage0.h"

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

    const QString stage0Figure = QStringLiteral("frmStage0 created and filled");
    const QString searchFigure = QStringLiteral("\"Поиск\", big customer");
    const QString reopenFigure = QStringLiteral("reopen from Combo2 until frmFinish shown");
    const QString pdfFigure = QStringLiteral("report rendered to PDF");
    std::vector<double> stage0, search, reopen, pdf;
    QString failure;
    for (int run = 0; run < options.runs && failure.isEmpty(); ++run) {
        CalculationContext context;
        CalculationRecord record;
        if (OpenDatabases(context, DataLocation::folder(options.folder)) != 0) {
            failure = QStringLiteral("databases not opened");
            break;
        }
        ApplyStartValues(record);
        Wizard wizard(context, record);
        wizard.setQuitHandler([] {});
        stage0.push_back(timeShown([&] { wizard.start(); }, [&] { return wizard.currentScreen(); }));

        frmStage0* screen = wizard.stage0();
        auto* combo1 = screen ? screen->findChild<QComboBox*>(QStringLiteral("Combo1")) : nullptr;
        auto* combo2 = screen ? screen->findChild<QComboBox*>(QStringLiteral("Combo2")) : nullptr;
        auto* command1 = screen ? screen->findChild<QPushButton*>(QStringLiteral("Command1")) : nullptr;
        if (!combo1 || !combo2 || !command1 || combo1->currentData().toInt() != BigCustomerKey) {
            failure = QStringLiteral("customer screen not as expected");
            break;
        }
        search.push_back(timeShown([&] { command1->click(); }, [&] { return screen; }));
        if (combo2->count() < 2 || !combo2->isVisible()) {
            failure = QStringLiteral("search listed %1 calculations").arg(combo2->count());
            break;
        }
        // The user's choice: the second calculation (the first is selected).
        reopen.push_back(
            timeShown([&] { emit combo2->activated(1); }, [&] { return wizard.currentScreen(); }));
        if (!qobject_cast<frmFinish*>(wizard.currentScreen())) {
            failure = QStringLiteral("results screen not shown");
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
        for (const QString& f : {stage0Figure, searchFigure, reopenFigure, pdfFigure})
            printMissing(f, failure, QString());
        return 1;
    }
    printFigure(stage0Figure, stage0, QStringLiteral("<= 100"));
    printFigure(searchFigure, search, QStringLiteral("<= 50"));
    printFigure(reopenFigure, reopen, QStringLiteral("<= 30"));
    printFigure(pdfFigure, pdf, QStringLiteral("<= 200"));
    return 0;
}
