#include "OfferPrinter.h"

#include "CalculationWarnings.h"
#include "OfferSummary.h"
#include "OfferTable.h"
#include "ReportPrinter.h"

#include <QLocale>
#include <QPagedPaintDevice>
#include <QTextDocument>

namespace OfferPrinter {

namespace {

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString customerBlock(const OfferCustomer& c)
{
    QStringList lines;
    const QList<std::pair<const char*, QString>> fields{{"Заказчик", c.organization},
                                                        {"Город", c.city},
                                                        {"Телефоны", c.phones},
                                                        {"E-mail", c.email},
                                                        {"Контактное лицо", c.name}};
    for (const auto& [label, value] : fields)
        if (!value.trimmed().isEmpty())
            lines << QStringLiteral("%1: %2").arg(QString::fromUtf8(label), escaped(value));
    return QStringLiteral("<p style=\"margin-bottom:8px\">%1</p>").arg(lines.join(QStringLiteral("<br>")));
}

QString summaryTable(const QList<OfferChamber>& chambers, const QStringList& dates)
{
    QString html =
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><thead><tr>"
                       "<th>№</th>");
    for (const QString& title : OfferTable::header())
        html += QStringLiteral("<th>%1</th>").arg(escaped(title));
    html += QStringLiteral("</tr></thead>");
    for (int i = 0; i < chambers.size(); ++i) {
        html += QStringLiteral("<tr><td>%1</td>").arg(i + 1);
        const QStringList cells = OfferTable::cells(chambers.at(i), dates.value(i));
        for (const QString& cell : cells)
            html += QStringLiteral("<td>%1</td>").arg(escaped(cell));
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString warningsOf(CalculationContext& context, const QList<OfferChamber>& chambers)
{
    QString html;
    for (int i = 0; i < chambers.size(); ++i) {
        if (!chambers.at(i).summed())
            continue;
        for (const CalculationWarning& w : RecordWarnings(context, chambers.at(i).record))
            html += QStringLiteral("<p style=\"color:#a00000\">Камера %1: %2</p>")
                        .arg(i + 1)
                        .arg(escaped(w.text));
    }
    return html.isEmpty() ? html
                          : QStringLiteral("<p style=\"font-size:11pt; font-weight:bold; margin-top:8px\">"
                                           "Предупреждения</p>") +
                                html;
}

QString documentHtml(CalculationContext& context, const OfferCustomer& customer, const QString& name,
                     const QList<OfferChamber>& chambers, const QStringList& dates, const QDate& today)
{
    const QString title = name.trimmed().isEmpty() ? QStringLiteral("Предложение")
                                                   : QStringLiteral("Предложение «%1»").arg(name.trimmed());
    QString html = QStringLiteral("<p style=\"font-size:13pt; font-weight:bold\">%1</p>").arg(escaped(title));
    html += QStringLiteral("<p>Дата: %1</p>").arg(QLocale().toString(today, QLocale::ShortFormat));
    html += customerBlock(customer) + summaryTable(chambers, dates);
    html += QStringLiteral("<p style=\"font-weight:bold; margin-top:8px\">%1</p>")
                .arg(escaped(OfferTable::sumsText(OfferSummary::Sum(chambers))));
    return html + warningsOf(context, chambers);
}

bool print(QPagedPaintDevice& device, CalculationContext& context, const OfferCustomer& customer,
           const QString& name, const QList<OfferChamber>& chambers, const QStringList& dates,
           const QDate& today)
{
    QList<const CalculationRecord*> records;
    for (const OfferChamber& chamber : chambers)
        if (chamber.summed())
            records << &chamber.record;
    if (records.isEmpty())
        return false;
    ReportPrinter report(device, context, *records.first(), today);
    QTextDocument document;
    const QRectF body = report.layOutBelowHeader(document);
    document.setHtml(documentHtml(context, customer, name, chambers, dates, today));
    const int pages = document.pageCount();
    return report.PrintWithReports(
        [&](QPainter& painter, int page) {
            painter.translate(body.left(), body.top() - page * body.height());
            document.drawContents(&painter, QRectF(0, page * body.height(), body.width(), body.height()));
            return page + 1 < pages;
        },
        records);
}

} // namespace

ReportOutput::Document Document(CalculationContext& context, const OfferCustomer& customer,
                                const QString& name, const QList<OfferChamber>& chambers,
                                const QStringList& dates, const QDate& today)
{
    return {QStringLiteral("Предложение"), QStringLiteral("Документ «Предложение»"),
            QStringLiteral("предложение"),
            [&context, customer, name, chambers, dates, today](QPagedPaintDevice& device) {
                return print(device, context, customer, name, chambers, dates, today);
            }};
}

} // namespace OfferPrinter
