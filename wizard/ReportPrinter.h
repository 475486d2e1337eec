#pragma once

#include <QDate>
#include <QFont>
#include <QList>
#include <QPainter>
#include <QString>
#include <functional>

class QTextDocument;

class QImage;
class QPagedPaintDevice;
struct CalculationContext;
struct CalculationRecord;

// The two-page report of a calculation, drawn with a QPainter so the same
// code serves the printer and a PDF file. Positions are in twips (1440 per
// inch) from the top left corner of the printable area.
class ReportPrinter
{
public:
    // today is the date printed at the foot of the first page.
    ReportPrinter(QPagedPaintDevice& device, CalculationContext& context, const CalculationRecord& record,
                  const QDate& today);

    // Draws both pages and ends the document. The record is printed as the
    // results screen shows it: the report changes nothing in it, not even a
    // type that the chamber temperature no longer offers. Page 2 carries the
    // pictures of the record's type. Returns false when the device cannot be
    // painted on.
    bool PrintReport();

    // Prints another document of the calculation under this report's page
    // header: drawPage paints page `page` (from 0) below the header, in
    // device pixels, and returns whether another page follows. Returns false
    // when the device cannot be painted on.
    bool PrintWithHeader(const std::function<bool(QPainter& painter, int page)>& drawPage);
    // The same pages, then both report pages of each record, as one document.
    bool PrintWithReports(const std::function<bool(QPainter& painter, int page)>& drawPage,
                          const QList<const CalculationRecord*>& records);

    // The report's font, for documents printed under its header.
    QFont font() const { return m_font; }
    // Lays a document out for the body of a page printed under the header:
    // below the header's rule, across the report's width, to the foot of the
    // page, in the report's font at 8 points. The body's rectangle.
    QRectF layOutBelowHeader(QTextDocument& document) const;

private:
    void PrintPageHeader();
    void printPagesWithHeader(const std::function<bool(QPainter& painter, int page)>& drawPage);
    void printFirstPage();
    void printSecondPage();
    void printWarnings();

    void setBold(bool bold);
    void setSize(int points);
    void text(int x, int y, const QString& text);
    void label(int x, int y, const QString& text, int valueX);
    void picture(int x, int y, const QImage& image);
    QPointF at(int x, int y) const;

    QPagedPaintDevice& m_device;
    CalculationContext& m_context;
    const CalculationRecord* m_record;
    QDate m_today;
    QPainter m_painter;
    QFont m_font;
};
