#include "AdminSession.h"
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

    AdminSession admin;
    if (!Functions::Main(admin, DataLocation::programFolder()))
        return 1;

    frmMain main(admin);
    main.show();
    return app.exec();
}
