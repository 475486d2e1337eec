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
    const DesktopSession session(QString::fromUtf8(ApplicationTitle));

    CalculationContext context;
    DatabaseAddress failed;
    if (OpenDatabases(context, DataLocation::programFolder(), &failed) != 0) {
        ShowDatabaseNotFound(failed);
        return 1;
    }
    CalculationRecord record;
    ApplyStartValues(record);

    Wizard wizard(context, record);
    wizard.start();
    return app.exec();
}
