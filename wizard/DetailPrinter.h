#pragma once

class QDate;
class QPagedPaintDevice;
struct CalculationContext;
struct CalculationRecord;
struct Explanation;

// The detailed calculation on paper, every page under the report's page
// header: the warnings, the steps of the load and of the selection and the
// alternatives as tables, then the chart on a page of its own.
namespace DetailPrinter {

// Draws every page and ends the document; false when the device cannot be
// painted on.
bool Print(QPagedPaintDevice& device, CalculationContext& context, CalculationRecord& record,
           const QDate& today, const Explanation& explanation);

} // namespace DetailPrinter
