#pragma once

#include <QString>

struct CalculationContext;

// The one message of an action whose reads failed: "Ошибка чтения базы
// данных", what was not done and which data could not be read, and the plain
// line of what happened and what to do; the statement and the engine's text
// go into the details. Shows nothing when no read of the action failed.
void ShowFailedRead(const CalculationContext& context, const QString& notDone);
