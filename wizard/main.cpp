#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "Messages.h"
#include "WidgetMessageSeam.h"
#include "Wizard.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    WidgetMessageSeam seam(QString::fromUtf8(ApplicationTitle));
    Messages::install(&seam);

    CalculationRecord record;
    if (OpenDatabases(record, ProgramFolder()) != 0) {
        ShowDatabaseNotFound();
        return 1;
    }
    ApplyStartValues(record);

    Wizard wizard(record);
    wizard.start();
    return app.exec();
}
