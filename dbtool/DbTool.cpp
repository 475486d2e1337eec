#include "DbTool.h"

#include "DbToolArguments.h"
#include "ServerSetup.h"
#include "StoreExport.h"
#include "StoreImport.h"

#include <cstdio>
#include <unistd.h>

namespace {

// Below this many rows a table is copied too fast to need a progress line.
constexpr qint64 RowsWorthProgress = 20000;

void printLine(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

CopyProgressFn terminalProgress()
{
    if (!isatty(STDERR_FILENO))
        return {};
    return [last = -1](const QString& table, qint64 done, qint64 total) mutable {
        if (total < RowsWorthProgress)
            return;
        const int percent = int(done * 100 / total);
        if (percent == last)
            return;
        last = percent;
        std::fprintf(stderr, "\r%s: %d%%%s", qPrintable(table), percent, percent >= 100 ? "\n" : "");
        if (percent >= 100)
            last = -1;
    };
}

} // namespace

ToolOutcome runDbTool(const DbToolArguments& arguments)
{
    const QStringList& operands = arguments.operands;
    switch (arguments.command) {
    case DbToolArguments::Command::Help:
        std::fputs(qPrintable(dbToolUsage()), stdout);
        return {};
    case DbToolArguments::Command::Copy:
        return copyStore(operands.at(0), operands.at(1), arguments.copy, {printLine, terminalProgress()});
    case DbToolArguments::Command::Export:
        return exportStore(operands.at(0), operands.at(1), printLine);
    case DbToolArguments::Command::Import:
        return importStore(operands.at(0), operands.at(1), {arguments.copy.replace, arguments.allowEmpty},
                           printLine);
    case DbToolArguments::Command::Init:
        return ServerSetup::init(operands.at(0), printLine);
    case DbToolArguments::Command::Grant: {
        if (arguments.print) {
            for (const QString& statement : ServerSetup::grantStatements(operands.at(0), operands.at(1)))
                printLine(statement + QLatin1Char(';'));
            return {};
        }
        const ToolOutcome outcome = ServerSetup::grant(operands.at(2), operands.at(0), operands.at(1));
        if (outcome.ok())
            printLine(QStringLiteral("the grants are in force"));
        return outcome;
    }
    }
    return {};
}
