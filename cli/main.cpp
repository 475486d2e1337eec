#include "CalcTool.h"
#include "CliArguments.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Messages the wizard would show in a box go to standard error through
    // the console seam, which is installed by default.
    CliArguments arguments;
    QString error;
    if (!parseArguments(app.arguments().mid(1), arguments, &error)) {
        std::fprintf(stderr, "frostpick-calc: %s\n", error.toUtf8().constData());
        return ExitRefused;
    }
    return runCalcTool(arguments);
}
