#include "DatabaseAccess.h"
#include "Functions.h"
#include "Messages.h"
#include "WidgetMessageSeam.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    WidgetMessageSeam seam(QString::fromUtf8(ApplicationTitle));
    Messages::install(&seam);

    if (!Functions::Main())
        return 1;

    frmMain main;
    main.show();
    const int status = app.exec();
    Functions::CloseDatabase();
    return status;
}
