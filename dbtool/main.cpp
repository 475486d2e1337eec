#include "DbTool.h"
#include "DbToolArguments.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    DbToolArguments arguments;
    QString error;
    ToolOutcome outcome;
    if (!parseDbToolArguments(app.arguments().mid(1), arguments, &error))
        outcome = {StatusUsage, error};
    else
        outcome = runDbTool(arguments);
    if (!outcome.ok())
        std::fprintf(stderr, "frostpick-db: %s\n", outcome.message.toUtf8().constData());
    return outcome.status;
}
