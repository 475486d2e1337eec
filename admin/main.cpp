#include "DataLocation.h"
#include "DesktopSession.h"
#include "Functions.h"
#include "ProgramDatabases.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const DesktopSession session(QString::fromUtf8(AdministratorTitle));

    if (!Functions::Main(DataLocation::programFolder()))
        return 1;

    frmMain main;
    main.show();
    const int status = app.exec();
    Functions::CloseDatabase();
    return status;
}
