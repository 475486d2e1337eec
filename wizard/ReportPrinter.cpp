#include "ReportPrinter.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "CalculationWarnings.h"
#include "EquipmentChoice.h"
#include "ResultText.h"
#include "Selection.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace {

constexpr double TwipsPerInch = 1440.0;
constexpr double MetresPerInch = 0.0254;
// The page header's line is 4 dots wide at the report's 600 dots per inch.
constexpr double RuleWidthInches = 4.0 / 600.0;
// The room a label's dot leader leaves before its value.
constexpr int LeaderGap = 100;

QString number(qint64 value)
{
    return QString::number(value);
}

QString insulation(const QString& name, qint16 thickness, double conductivity)
{
    return name + QStringLiteral(", ") + number(thickness) + QStringLiteral(" мм, K=") +
           ResultText::plain(conductivity) + QStringLiteral(" Вт/м/°C");
}

} // namespace

ReportPrinter::ReportPrinter(QPagedPaintDevice& device, CalculationContext& context,
                             const CalculationRecord& record, const QDate& today)
    : m_device(device), m_context(context), m_record(&record), m_today(today)
{
    // Times New Roman where the system has it, otherwise a serif of the same
    // metrics with Cyrillic letters; never a sans font.
    m_font.setFamilies({QStringLiteral("Times New Roman Cyr"), QStringLiteral("Times New Roman"),
                        QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                        QStringLiteral("DejaVu Serif")});
    m_font.setStyleHint(QFont::Serif, QFont::PreferMatch);
}

bool ReportPrinter::PrintReport()
{
    if (!m_painter.begin(&m_device))
        return false;
    printFirstPage();
    printSecondPage();
    return m_painter.end();
}

void ReportPrinter::PrintPageHeader()
{
    picture(400, 100, QImage(QStringLiteral(":/images/logo.jpg")));
    const double dpi = m_device.logicalDpiY();
    m_painter.setPen(QPen(Qt::black, RuleWidthInches * dpi, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(at(400, 1800), at(11000, 1800));
    setBold(true);
    setSize(13);
    text(2400, 600, QStringLiteral("Московское представительство фирмы 'Norvane S.p.A.'"));
}

void ReportPrinter::printFirstPage()
{
    const CalculationRecord& r = *m_record;
    PrintPageHeader();
    setSize(11);
    text(2400, 1300, QStringLiteral("Расчет тепловой нагрузки и выбор оборудования"));
    text(400, 2000, QStringLiteral("ИСХОДНЫЕ ДАНЫЕ ДЛЯ РАСЧЕТА"));
    setBold(false);

    text(400, 2500, QStringLiteral("УСЛОВИЯ ЭКСПЛУАТАЦИИ"));
    text(400, 2800, QStringLiteral("Максимальная температура"));
    label(400, 3100, QStringLiteral("окружающего воздуха..........................."), 4000);
    text(4000, 3100, ResultText::plain(r.by_temperature) + QStringLiteral(" °C"));
    text(400, 3400, QStringLiteral("Относительная влажность"));
    label(400, 3700, QStringLiteral("окружающего воздуха............................"), 4000);
    text(4000, 3700, number(r.by_moisture) + QStringLiteral(" %"));
    label(400, 4000, QStringLiteral("Температура под полом.........................."), 4000);
    text(4000, 4000, ResultText::plain(r.by_ground) + QStringLiteral(" °C"));

    text(5000, 2500, QStringLiteral("СВЕДЕНИЯ О ПРОДУКТЕ"));
    label(5000, 2800, QStringLiteral("Наименование продукта.........................."), 9000);
    text(9000, 2800, r.px_product_name);
    label(5000, 3100, QStringLiteral("Температура поступления в камеру........"), 9000);
    text(9000, 3100, number(r.px_start_t) + QStringLiteral(" °C"));
    label(5000, 3400, QStringLiteral("Конечная температура продукта............."), 9000);
    text(9000, 3400, number(r.px_end_t) + QStringLiteral(" °C"));
    label(5000, 3700, QStringLiteral("Время процесса........................................."), 9000);
    text(9000, 3700, number(r.px_time) + QStringLiteral(" час"));
    label(5000, 4000, QStringLiteral("Полная масса продукта в камере............."), 9000);
    text(9000, 4000, ResultText::plain(r.px_weight) + QStringLiteral(" тонн"));
    label(5000, 4300, QStringLiteral("Суточное поступление продукта............."), 9000);
    text(9000, 4300, number(r.px_turnover) + QStringLiteral(" %"));
    label(5000, 4600, QStringLiteral("Упаковка продукта...................................."), 9000);
    text(9000, 4600, r.px_packing_name);

    text(400, 5300, QStringLiteral("ПАРАМЕТРЫ ХОЛОДИЛЬНОЙ КАМЕРЫ"));
    label(400, 5600, QStringLiteral("Объем камеры................................."), 4000);
    text(4000, 5600, ResultText::oneDecimal(r.xk_bulk) + QStringLiteral(" кв.м"));
    text(5500, 5600,
         QStringLiteral("(длина: ") + ResultText::oneDecimal(r.xk_length) + QStringLiteral(" м; ") +
             QStringLiteral(" ширина: ") + ResultText::oneDecimal(r.xk_width) + QStringLiteral(" м; ") +
             QStringLiteral(" высота: ") + ResultText::oneDecimal(r.xk_height) + QStringLiteral("м )"));
    text(400, 5900, QStringLiteral("Теплоизоляция:"));
    label(800, 6200, QStringLiteral("потолок.........................................."), 4000);
    text(4000, 6200, insulation(r.xk_ceiling_name, r.xk_ceiling, r.xk_ceiling_k));
    label(800, 6500, QStringLiteral("стены.............................................."), 4000);
    text(4000, 6500, insulation(r.xk_wall_name, r.xk_wall, r.xk_wall_k));
    label(800, 6800, QStringLiteral("пол.................................................."), 4000);
    text(4000, 6800, insulation(r.xk_floor_name, r.xk_floor, r.xk_floor_k));
    label(400, 7100, QStringLiteral("Площадь дверей......................................"), 4000);
    text(4000, 7100, ResultText::plain(r.xk_doors) + QStringLiteral("кв.м"));
    label(5000, 7100, QStringLiteral("Время, когда двери открыты...................... "), 9000);
    text(9000, 7100, ResultText::plain(r.xk_doors_open) + QStringLiteral(" час"));
    label(400, 7400, QStringLiteral("Температура в камере.............................."), 4000);
    text(4000, 7400, ResultText::plain(r.xk_temperature) + QStringLiteral(" °C"));
    label(5000, 7400, QStringLiteral("Занавесь............................."), 7000);
    text(7000, 7400, r.xk_curtain_name);
    label(400, 7700, QStringLiteral("Работа персонала................................"), 4000);
    text(4000, 7700, ResultText::plain(r.xk_people) + QStringLiteral(" чел/час"));
    label(5000, 7700, QStringLiteral("Дополнительные источники тепла......................"), 9000);
    text(9000, 7700, number(r.xk_heat) + QStringLiteral(" Вт"));

    text(400, 8300, QStringLiteral("ХОЛОДИЛЬНОЕ ОБОРУДОВАНИЕ"));
    label(400, 8600, QStringLiteral("Хладагент............................................."), 4000);
    text(4000, 8600, r.xo_gas);
    text(5000, 8600, QStringLiteral("Тип оборудования:"));
    text(7000, 8600, r.xo_type_name + QLatin1Char(' '));
    label(400, 8900, QStringLiteral("Количество агрегатов.............................."), 4000);
    text(4000, 8900, number(r.xo_count));
    label(400, 9200, QStringLiteral("Запас производительности (min)............"), 4000);
    text(4000, 9200, number(r.xo_power) + QStringLiteral("%"));
    label(5000, 9200, QStringLiteral("Время работы компрессора (max)...................."), 9000);
    text(9000, 9200, number(r.xo_work) + QStringLiteral("%"));

    setBold(true);
    text(400, 9800,
         QStringLiteral("РЕЗУЛЬТАТ РАСЧЕТА ТЕПЛОВОЙ НАГРУЗКИ: ") + number(r.q_total) + QStringLiteral(" Вт"));
    setBold(false);
    label(400, 10100, QStringLiteral("Диффузия ............................................"), 4000);
    text(4000, 10100, number(qint64(r.q_ceiling) + r.q_walls + r.q_floor) + QStringLiteral(" Вт"));
    text(800, 10400,
         QStringLiteral("( Потолок: ") + number(r.q_ceiling) + QStringLiteral(" Вт;") +
             QStringLiteral("   Стены: ") + number(r.q_walls) + QStringLiteral(" Вт;") +
             QStringLiteral("   Пол: ") + number(r.q_floor) + QStringLiteral(" Вт )"));
    label(400, 10700, QStringLiteral("Продукт......................................................"), 4000);
    text(4000, 10700, number(r.q_product) + QStringLiteral(" Вт"));
    text(800, 11000,
         QStringLiteral("( Охлаждение: ") + number(r.q_cooling) + QStringLiteral(" Вт;") +
             QStringLiteral("  Заморозка: ") + number(r.q_freezing) + QStringLiteral(" Вт;") +
             QStringLiteral("  Охлаждение замороженного: ") + number(r.q_frozen_cooling) +
             QStringLiteral(" Вт;") + QStringLiteral("  Дыхание: ") + number(r.q_respiration) +
             QStringLiteral(" Вт )"));
    label(400, 11300, QStringLiteral("Дополнительное тепло.............................."), 4000);
    text(4000, 11300, number(r.q_extra) + QStringLiteral(" Вт"));
    text(800, 11600,
         QStringLiteral("( Двери: ") + number(r.q_doors) + QStringLiteral(" Вт;") +
             QStringLiteral(" Персонал: ") + number(r.q_staff) + QStringLiteral(" Вт;") +
             QStringLiteral(" Упаковка: ") + number(r.q_packing) + QStringLiteral(" Вт;") +
             QStringLiteral(" Источники тепла: ") + number(r.q_sources) + QStringLiteral(" Вт )"));

    setBold(true);
    text(400, 12200, QStringLiteral("РЕЗУЛЬТАТ ВЫБОРА ОБОРУДОВАНИЯ"));
    setBold(false);
    text(400, 12600, SelectionLine(r));
    const SelectionFigures figures = ComputeSelectionFigures(r);
    text(400, 13000, QStringLiteral("Хладопроизводительность"));
    label(800, 13300, QStringLiteral("при работающем компрессоре.........................."), 5000);
    text(5000, 13300, ResultText::whole(figures.running) + QStringLiteral(" Вт"));
    label(800, 13600, QStringLiteral("средняя за время процесса..................................."), 5000);
    text(5000, 13600, ResultText::whole(figures.average) + QStringLiteral(" Вт"));
    label(800, 13900, QStringLiteral("полная средняя производительность..................."), 5000);
    text(5000, 13900, ResultText::whole(figures.fullAverage) + QStringLiteral(" Вт"));
    label(400, 14200, QStringLiteral("Запас производительности......................................."),
          5000);
    if (figures.reserve && std::isfinite(*figures.reserve))
        text(5000, 14200, ResultText::oneDecimal(*figures.reserve) + QStringLiteral("%"));
    label(400, 14500, QStringLiteral("Время работы компрессора...................................."), 5000);
    if (figures.runTime && std::isfinite(*figures.runTime))
        text(5000, 14500, ResultText::oneDecimal(*figures.runTime) + QStringLiteral("%"));
    text(7000, 15500, QStringLiteral("Дата расчета: ") + m_today.toString(QStringLiteral("dd.MM.yyyy")));
    printWarnings();
}

void ReportPrinter::printSecondPage()
{
    m_device.newPage();
    PrintPageHeader();
    setSize(11);
    text(2400, 1300, QStringLiteral("Внешний вид и монтажная схема выбранного оборудования"));
    const EquipmentChoice::TypePictures pictures = EquipmentChoice::PicturesOf(m_context, m_record->xo_type1);
    picture(800, 2000, EquipmentChoice::LoadPicture(m_context.location, pictures.picture));
    picture(800, 7000, EquipmentChoice::LoadPicture(m_context.location, pictures.scheme));
}

void ReportPrinter::setBold(bool bold)
{
    m_font.setBold(bold);
    m_painter.setFont(m_font);
}

void ReportPrinter::setSize(int points)
{
    m_font.setPointSize(points);
    m_painter.setFont(m_font);
}

// Dot leaders are printed as given but stop short of the value column: the
// trailing dots that would run under the value are left out.
void ReportPrinter::label(int x, int y, const QString& text, int valueX)
{
    const double room = at(valueX - LeaderGap, y).x() - at(x, y).x();
    const QFontMetricsF metrics(m_font, &m_device);
    QString shown = text;
    while (metrics.horizontalAdvance(shown) > room &&
           (shown.endsWith(QLatin1Char('.')) || shown.endsWith(QLatin1Char(' '))))
        shown.chop(1);
    this->text(x, y, shown);
}

void ReportPrinter::text(int x, int y, const QString& text)
{
    // The position is the top left corner of the first letter, not its baseline.
    m_painter.drawText(QRectF(at(x, y), QSizeF(m_device.width() * 2.0, m_device.height() * 2.0)),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine, text);
}

// Pictures print in their natural size: that of their own resolution, or
// 96 dots per inch when the file states none.
void ReportPrinter::picture(int x, int y, const QImage& image)
{
    if (image.isNull())
        return;
    const double imageDpiX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * MetresPerInch : 96.0;
    const double imageDpiY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() * MetresPerInch : 96.0;
    const QSizeF size(image.width() * m_device.logicalDpiX() / imageDpiX,
                      image.height() * m_device.logicalDpiY() / imageDpiY);
    m_painter.drawImage(QRectF(at(x, y), size), image);
}

QPointF ReportPrinter::at(int x, int y) const
{
    return {x * m_device.logicalDpiX() / TwipsPerInch, y * m_device.logicalDpiY() / TwipsPerInch};
}

bool ReportPrinter::PrintWithHeader(const std::function<bool(QPainter& painter, int page)>& drawPage)
{
    if (!m_painter.begin(&m_device))
        return false;
    printPagesWithHeader(drawPage);
    return m_painter.end();
}

bool ReportPrinter::PrintWithReports(const std::function<bool(QPainter& painter, int page)>& drawPage,
                                     const QList<const CalculationRecord*>& records)
{
    if (!m_painter.begin(&m_device))
        return false;
    printPagesWithHeader(drawPage);
    for (const CalculationRecord* record : records) {
        m_record = record;
        m_device.newPage();
        printFirstPage();
        printSecondPage();
    }
    return m_painter.end();
}

void ReportPrinter::printPagesWithHeader(const std::function<bool(QPainter& painter, int page)>& drawPage)
{
    for (int page = 0;; ++page) {
        if (page > 0)
            m_device.newPage();
        PrintPageHeader();
        m_painter.save();
        const bool more = drawPage(m_painter, page);
        m_painter.restore();
        if (!more)
            break;
    }
}

// Where the numbers are stretched, at the foot of the first page: across
// the page down to the line of the date, then left of it; nothing when there
// is no warning. What does not fit the page is left to the detailed print.
void ReportPrinter::printWarnings()
{
    const QVector<CalculationWarning> warnings = RecordWarnings(m_context, *m_record);
    if (warnings.isEmpty())
        return;
    setBold(false);
    setSize(8);
    const QFontMetricsF metrics(m_font, &m_device);
    const double left = at(400, 0).x(), right = at(11000, 0).x(), besideDate = at(6900, 0).x();
    const double dateTop = at(0, 15450).y();
    const double bottom = std::min<double>(at(0, 16050).y(), m_device.height());
    double y = at(0, 14850).y();
    for (int i = 0; i < warnings.size() && y + metrics.height() <= bottom; ++i) {
        QTextLayout layout((i == 0 ? QStringLiteral("Предупреждения: – ") : QStringLiteral("– ")) +
                               warnings.at(i).text,
                           m_font, &m_device);
        layout.beginLayout();
        while (y + metrics.height() <= bottom) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth((y + metrics.height() > dateTop ? besideDate : right) - left);
            line.setPosition(QPointF(left, y));
            y += line.height();
        }
        layout.endLayout();
        layout.draw(&m_painter, QPointF());
    }
}

QRectF ReportPrinter::layOutBelowHeader(QTextDocument& document) const
{
    QFont font = m_font;
    font.setBold(false);
    font.setPointSize(8);
    const double dpiX = m_device.logicalDpiX() / TwipsPerInch, dpiY = m_device.logicalDpiY() / TwipsPerInch;
    const QRectF body(400 * dpiX, 2000 * dpiY, 10600 * dpiX, m_device.height() - 2200 * dpiY);
    document.documentLayout()->setPaintDevice(&m_device);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setPageSize(body.size());
    return body;
}
