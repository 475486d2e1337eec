#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DataLocation.h"
#include "DatabaseAccess.h"
#include "DesktopSession.h"
#include "Wizard.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const DesktopSession session;

    CalculationContext context;
    if (OpenDatabases(context, DataLocation::programFolder()) != 0) {
        ShowDatabaseNotFound();
        return 1;
    }
    CalculationRecord record;
    ApplyStartValues(record);

    Wizard wizard(context, record);
    wizard.start();
    return app.exec();
}
