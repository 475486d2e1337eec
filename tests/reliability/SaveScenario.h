#pragma once

#include <QString>

struct CalculationRecord;
class QueryTable;

// The calculations the crash test saves: every saved value is a function of
// one sequence number, written into the note, so that a row read back after
// a crash can be checked column by column.
namespace SaveScenario {

void fill(CalculationRecord& record, int n);
QString customerName(int n);

// Returns an empty text when row `row` of a "SELECT * FROM data" table holds
// exactly the values of the number in its note, else what is wrong.
QString checkDataRow(const QueryTable& table, int row);

} // namespace SaveScenario
