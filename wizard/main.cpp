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

    CalculationRecord record;
    if (OpenDatabases(record, DataLocation::programFolder()) != 0) {
        ShowDatabaseNotFound();
        return 1;
    }
    ApplyStartValues(record);

    Wizard wizard(record);
    wizard.start();
    return app.exec();
}
