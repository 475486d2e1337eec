#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DataLocation.h"
#include "DatabaseAccess.h"
#include "DesktopSession.h"
#include "FailurePresenter.h"
#include "Wizard.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const DesktopSession session(QString::fromUtf8(ApplicationTitle));

    CalculationContext context;
    if (const Result<void> opened = OpenDatabases(context, DataLocation::programFolder(), AskPassword);
        !opened) {
        PresentStartFailure(opened.failure());
        return 1;
    }
    PresentWritesRefused(*context.ref_db);
    PresentWritesRefused(*context.order_db);
    CalculationRecord record;
    ApplyStartValues(record);

    Wizard wizard(context, record);
    wizard.start();
    return app.exec();
}
