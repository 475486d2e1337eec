#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "Messages.h"
#include "WidgetMessageSeam.h"

#include <QApplication>
#include <QWidget>

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

    QWidget first;
    first.setWindowTitle(QStringLiteral("Расчет тепловой нагрузки и выбор оборудования "));
    first.resize(640, 480);
    first.show();
    return app.exec();
}
