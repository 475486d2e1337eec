#include "DatabaseAccess.h"
#include "Messages.h"
#include "WidgetMessageSeam.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    WidgetMessageSeam seam(QString::fromUtf8(ApplicationTitle));
    Messages::install(&seam);

    auto db = OpenProgramDatabase(ProgramFolder(), QLatin1String(ReferenceFileName), referenceTables(), nullptr);
    if (!db) {
        ShowDatabaseNotFound();
        return 1;
    }

    QMainWindow main;
    main.setWindowTitle(QStringLiteral("Ведение справочников для расчета оборудования"));
    main.resize(800, 600);
    main.show();
    return app.exec();
}
