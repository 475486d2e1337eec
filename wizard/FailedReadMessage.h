#pragma once

#include <QString>

struct CalculationContext;

// The one message of an action whose reads failed: "Ошибка чтения базы
// данных", what was not done and which data could not be read, and the plain
// line of what happened and what to do; the statement and the engine's text
// go into the details. Shows nothing when no read of the action failed.
void ShowFailedRead(const CalculationContext& context, const QString& notDone);

// What the calculation of the action had to tell (see
// CalculationContext::notices), each in a box of its own; none is told twice.
void ShowNotices(CalculationContext& context);
