#include "LoadChart.h"

#include "CalculationTrace.h"

#include <QPainter>
#include <algorithm>

namespace {

const char* const GroupNames[] = {"Диффузия", "Продукт", "Дополнительно"};
const QColor GroupColours[] = {QColor(0x3b, 0x6e, 0xa8), QColor(0x4c, 0x9a, 0x4f), QColor(0xd0, 0x84, 0x2c)};

int groupOf(const QString& key)
{
    if (key == QLatin1String("q_floor") || key == QLatin1String("q_ceiling") ||
        key == QLatin1String("q_walls"))
        return 0;
    if (key == QLatin1String("q_cooling") || key == QLatin1String("q_freezing") ||
        key == QLatin1String("q_frozen_cooling") || key == QLatin1String("q_respiration"))
        return 1;
    return 2;
}

QString wattsText(double watts)
{
    return TraceText::withUnit(watts, QStringLiteral("Вт"));
}

} // namespace

LoadChart::LoadChart(QWidget* parent) : QWidget(parent)
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

QVector<ChartBar> LoadChart::barsOf(const QVector<TraceLine>& load)
{
    QVector<ChartBar> bars;
    for (const TraceLine& line : load)
        if (line.kind == TraceLine::Kind::Component && line.value)
            bars.append({line.name, *line.value, groupOf(line.key)});
    return bars;
}

void LoadChart::setBars(const QVector<ChartBar>& bars)
{
    m_bars = bars;
    updateGeometry();
    update();
}

QSize LoadChart::sizeHint() const
{
    return {640, (int(m_bars.size()) + 4) * fontMetrics().height() * 2};
}

void LoadChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    paint(painter, QRectF(rect()).adjusted(8, 8, -8, -8), m_bars);
}

void LoadChart::paint(QPainter& painter, const QRectF& area, const QVector<ChartBar>& bars)
{
    const QFontMetricsF fm(painter.font(), painter.device());
    const double line = fm.height();
    painter.save();
    painter.setPen(QPen(Qt::black, line * 0.06));

    // Legend: one coloured square per group.
    double x = area.left();
    for (int g = 0; g < 3; ++g) {
        painter.fillRect(QRectF(x, area.top() + line * 0.2, line * 0.8, line * 0.8), GroupColours[g]);
        const QString name = QString::fromUtf8(GroupNames[g]);
        painter.drawText(QPointF(x + line * 1.2, area.top() + fm.ascent()), name);
        x += line * 2.5 + fm.horizontalAdvance(name);
    }
    if (bars.isEmpty()) {
        painter.restore();
        return;
    }

    double labelWidth = 0, valueWidth = 0, low = 0, high = 0;
    for (const ChartBar& bar : bars) {
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(bar.name));
        valueWidth = std::max(valueWidth, fm.horizontalAdvance(wattsText(bar.watts)));
        low = std::min(low, bar.watts);
        high = std::max(high, bar.watts);
    }
    const double top = area.top() + line * 2;
    const auto rows = static_cast<double>(bars.size());
    const double row = std::min(line * 2.2, (area.bottom() - top) / rows);
    const double barLeft = area.left() + labelWidth + line;
    // Room for the values beside the bars, on the left only when a bar grows that way.
    const double leftRoom = low < 0 ? valueWidth + line : 0;
    const double barWidth = std::max(line, area.right() - barLeft - leftRoom - valueWidth - line);
    const double scale = barWidth / (high > low ? high - low : 1);
    const double zero = barLeft + leftRoom - low * scale;

    for (int i = 0; i < bars.size(); ++i) {
        const ChartBar& bar = bars.at(i);
        const double y = top + i * row;
        const double thickness = std::min(line, row * 0.7);
        const double barTop = y + (row - thickness) / 2;
        painter.drawText(QRectF(area.left(), y, labelWidth, row), Qt::AlignRight | Qt::AlignVCenter,
                         bar.name);
        const QRectF shape =
            QRectF(QPointF(zero, barTop), QPointF(zero + bar.watts * scale, barTop + thickness)).normalized();
        painter.fillRect(shape, GroupColours[std::clamp(bar.group, 0, 2)]);
        const QString value = wattsText(bar.watts);
        if (bar.watts < 0)
            painter.drawText(QRectF(shape.left() - line * 0.5 - valueWidth, y, valueWidth, row),
                             Qt::AlignRight | Qt::AlignVCenter, value);
        else
            painter.drawText(QRectF(shape.right() + line * 0.5, y, valueWidth + line, row),
                             Qt::AlignLeft | Qt::AlignVCenter, value);
    }
    painter.drawLine(QPointF(zero, top), QPointF(zero, top + row * rows));
    double total = 0;
    for (const ChartBar& bar : bars)
        total += bar.watts;
    painter.drawText(QPointF(area.left(), top + row * rows + line + fm.ascent()),
                     QStringLiteral("Сумма составляющих (тепловая нагрузка): ") + wattsText(total));
    painter.restore();
}
