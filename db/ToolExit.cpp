#include "ToolExit.h"

#include "DatabaseFailure.h"

ToolExit ToolExitFor(const QString& what, const DatabaseFailure& failure)
{
    QString why = (failure.fromEngine() ? failure.engineText : failure.reason).simplified();
    return {failure.outcomeUnknown ? ToolExitUnknown : ToolExitDatabase,
            why.isEmpty() ? what : what + QStringLiteral(": ") + why};
}
