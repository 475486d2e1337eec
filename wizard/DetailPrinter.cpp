#include "DetailPrinter.h"

#include "CalculationRecord.h"
#include "Explanation.h"
#include "LoadChart.h"
#include "ReportPrinter.h"
#include "ResultText.h"

#include <QLocale>
#include <QPagedPaintDevice>
#include <QTextDocument>

namespace DetailPrinter {

namespace {

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString heading(const QString& text, bool newPage = false)
{
    return QStringLiteral("<p style=\"font-size:11pt; font-weight:bold; margin-top:8px%1\">%2</p>")
        .arg(newPage ? QStringLiteral("; page-break-before:always") : QString(), escaped(text));
}

QString linesTable(const QVector<TraceLine>& lines)
{
    QString html = QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><thead><tr>"
        "<th width=\"20%\">Величина</th><th width=\"27%\">Формула</th><th width=\"40%\">Подстановка</th>"
        "<th width=\"13%\">Результат</th></tr></thead>");
    for (const TraceLine& line : lines) {
        const bool strong = line.kind == TraceLine::Kind::Component || line.kind == TraceLine::Kind::Sum;
        const QString result =
            strong ? QStringLiteral("<b>%1</b>").arg(escaped(line.resultText())) : escaped(line.resultText());
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
                    .arg(escaped(line.name), escaped(line.formula), escaped(line.values), result);
    }
    return html + QStringLiteral("</table>");
}

QString alternativesTable(const QVector<Alternative>& alternatives)
{
    QString html =
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><thead><tr>"
                       "<th>Тип оборудования</th><th>Модель</th><th>Производительность</th><th>Запас</th>"
                       "<th>Время работы</th><th>Достаточна</th></tr></thead>");
    for (const Alternative& a : alternatives) {
        const auto percent = [&](const std::optional<double>& value) {
            return a.capacity && value ? ResultText::oneDecimal(*value) + QLatin1Char('%')
                                       : QStringLiteral("—");
        };
        html +=
            QStringLiteral("<tr%1><td>%2</td><td>%3</td><td>%4</td><td>%5</td><td>%6</td><td>%7</td></tr>")
                .arg(a.chosen ? QStringLiteral(" style=\"font-weight:bold; background-color:#d8f0d0\"")
                              : QString(),
                     escaped(a.typeName), escaped(a.model + a.modification),
                     a.capacity ? ResultText::whole(*a.capacity) + QStringLiteral(" Вт")
                                : QStringLiteral("—"),
                     percent(a.figures.reserve), percent(a.figures.runTime),
                     !a.capacity ? QStringLiteral("нет данных")
                     : a.sufficient ? (a.chosen ? QStringLiteral("да, выбрана") : QStringLiteral("да"))
                                    : QStringLiteral("нет"));
    }
    return html + QStringLiteral("</table>");
}

QString documentHtml(const CalculationRecord& record, const QDate& today, const Explanation& e)
{
    QString html = QStringLiteral("<p style=\"font-size:13pt; font-weight:bold\">Подробный расчет</p>");
    // An unsaved calculation has no note, and a name may end with its own point.
    QStringList parts{record.contact_organization.trimmed(), record.onote.trimmed()};
    parts.removeAll(QString());
    QString about = parts.join(QLatin1Char(' '));
    if (!about.isEmpty())
        about += about.endsWith(QLatin1Char('.')) ? QStringLiteral(" ") : QStringLiteral(". ");
    html += QStringLiteral("<p>%1Дата расчета: %2</p>")
                .arg(escaped(about), QLocale().toString(today, QLocale::ShortFormat));
    if (!e.warnings.isEmpty()) {
        html += heading(QStringLiteral("Предупреждения"));
        for (const CalculationWarning& w : e.warnings)
            html += QStringLiteral("<p style=\"color:#a00000\">– %1</p>").arg(escaped(w.text));
    }
    html += heading(QStringLiteral("Тепловая нагрузка")) + linesTable(e.load);
    html += heading(QStringLiteral("Выбор оборудования"), true) + linesTable(e.selection);
    html += heading(QStringLiteral("Альтернативы")) + alternativesTable(e.alternatives);
    html += heading(QStringLiteral("Второе мнение: нагрузка по формуле открывания дверей"), true) +
            linesTable(e.secondOpinion.lines);
    return html;
}

} // namespace

bool Print(QPagedPaintDevice& device, CalculationContext& context, CalculationRecord& record,
           const QDate& today, const Explanation& e)
{
    ReportPrinter report(device, context, record, today);
    QTextDocument document;
    const QRectF body = report.layOutBelowHeader(document);
    document.setHtml(documentHtml(record, today, e));
    const int textPages = document.pageCount();
    const QVector<ChartBar> bars = LoadChart::barsOf(e.load);

    return report.PrintWithHeader([&](QPainter& painter, int page) {
        if (page < textPages) {
            painter.translate(body.left(), body.top() - page * body.height());
            document.drawContents(&painter, QRectF(0, page * body.height(), body.width(), body.height()));
            return true;
        }
        QFont chartFont = document.defaultFont();
        chartFont.setPointSize(10);
        chartFont.setBold(true);
        painter.setFont(chartFont);
        const double line = QFontMetricsF(chartFont, &device).height();
        painter.drawText(QPointF(body.left(), body.top() + line),
                         QStringLiteral("Составляющие тепловой нагрузки"));
        chartFont.setBold(false);
        painter.setFont(chartFont);
        painter.setRenderHint(QPainter::Antialiasing);
        LoadChart::paint(painter,
                         QRectF(body.left(), body.top() + line * 2, body.width(), body.height() - line * 2),
                         bars);
        return false;
    });
}

} // namespace DetailPrinter
