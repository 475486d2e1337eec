#include "ToolExit.h"

#include "DatabaseFailure.h"

ToolExit ToolExitFor(const QString& what, const DatabaseFailure& failure)
{
    QString why = (failure.error.isError() ? failure.error.description : failure.reason).simplified();
    return {failure.outcomeUnknown ? ToolExitUnknown : ToolExitDatabase,
            why.isEmpty() ? what : what + QStringLiteral(": ") + why};
}
