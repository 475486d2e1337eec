#pragma once

#include <QString>
#include <functional>

class QDate;
class QPagedPaintDevice;
struct CalculationContext;
struct CalculationRecord;

// Where "Печать" sends a document: the system's default printer, with no
// dialogue; on a system without a printer, a PDF file in the user's
// documents folder, opened with the desktop's viewer.
namespace ReportOutput {

// A printed document of a calculation.
struct Document
{
    QString title;      // the document's name for the printer and in the PDF
    QString noun;       // how the message about the saved PDF names it: "Отчет"
    QString fileSuffix; // after the date in the PDF's name; empty for the report
    // Draws every page on the device and ends the document; false when the
    // device cannot be painted on.
    std::function<bool(QPagedPaintDevice&)> print;
};

// The two-page report of the record.
Document ReportDocument(CalculationContext& context, const CalculationRecord& record, const QDate& today);

// Prints or, without a printer, writes the PDF and tells the user where it is.
void PrintOrSave(const Document& document, const QString& customer, const QDate& today);
void PrintOrSave(CalculationContext& context, const CalculationRecord& record,
                 const QDate& today); // the report

// Writes the document as a PDF into the folder under a name made of the
// customer and the date, never replacing an earlier file. Returns the
// file's path, or an empty text when it could not be written.
QString WritePdf(const Document& document, const QString& customer, const QDate& today,
                 const QString& folder);
QString WritePdf(CalculationContext& context, const CalculationRecord& record, const QDate& today,
                 const QString& folder); // the report

// The first free file name of the folder for this customer and date:
// "<customer> <yyyy-MM-dd>.pdf", then " (2)", " (3)" ... before ".pdf"; a
// suffix goes after the date. Characters some file systems refuse become
// "_"; quotes too unless keepQuotes.
QString FreeFileName(const QString& folder, const QString& customer, const QDate& date,
                     const QString& suffix = {}, bool keepQuotes = true);

} // namespace ReportOutput
