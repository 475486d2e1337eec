#pragma once

#include <QString>

class QDate;
struct CalculationRecord;

// Where "Печать" sends the report: the system's default printer, with no
// dialogue; on a system without a printer, a PDF file in the user's
// documents folder, opened with the desktop's viewer.
namespace ReportOutput {

// Prints or, without a printer, writes the PDF and tells the user where it is.
void PrintOrSave(const CalculationRecord& record, const QDate& today);

// Writes the report as a PDF into the folder under a name made of the
// customer and the date, never replacing an earlier file. Returns the
// file's path, or an empty text when it could not be written.
QString WritePdf(const CalculationRecord& record, const QDate& today, const QString& folder);

// The first free file name of the folder for this customer and date:
// "<customer> <yyyy-MM-dd>.pdf", then " (2)", " (3)" ... before ".pdf".
QString FreeFileName(const QString& folder, const QString& customer, const QDate& date);

} // namespace ReportOutput
