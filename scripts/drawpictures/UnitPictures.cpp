#include "UnitPictures.h"

#include "DrawingKit.h"

#include <QPainter>
#include <QPainterPath>

using namespace DrawingKit;

namespace UnitPictures {

QVector<SeriesStyle> allSeries()
{
    const QColor medium(40, 140, 200);
    const QColor low(30, 60, 150);
    const QColor universal(20, 150, 130);
    return {
        {QStringLiteral("KM"), false, QStringLiteral("среднетемпературный"), medium},
        {QStringLiteral("KS"), true, QStringLiteral("среднетемпературная"), medium},
        {QStringLiteral("KMC"), false, QStringLiteral("низкотемпературный"), low},
        {QStringLiteral("KSC"), true, QStringLiteral("низкотемпературная"), low},
        {QStringLiteral("KMP"), false, QStringLiteral("универсальный"), universal},
        {QStringLiteral("KSP"), true, QStringLiteral("универсальная"), universal},
    };
}

namespace {

void drawLouvres(QPainter& p, const QRectF& area)
{
    p.save();
    p.setPen(QPen(QColor(130, 138, 150), 2));
    for (qreal y = area.top(); y < area.bottom(); y += 8)
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    p.restore();
}

void drawBadge(QPainter& p, const QRectF& box, const SeriesStyle& series)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(series.accent);
    p.drawRoundedRect(box, 4, 4);
    p.setPen(Qt::white);
    p.setFont(font(int(box.height() * 0.6), true));
    p.drawText(box, Qt::AlignCenter, series.code);
    p.restore();
}

QString seriesTitle(const SeriesStyle& series)
{
    return (series.split ? QStringLiteral("Сплит-система ") : QStringLiteral("Моноблок ")) + series.purpose +
           ' ' + series.code;
}

} // namespace

void drawMonoblock(QPainter& p, const QRectF& box, const SeriesStyle& series)
{
    drawCasing(p, box, series.accent);
    const qreal fan = box.height() * 0.62;
    drawFan(p, QRectF(box.left() + box.width() * 0.06, box.top() + box.height() * 0.1, fan, fan));
    const QRectF side(box.left() + box.width() * 0.06 + fan + box.width() * 0.06,
                      box.top() + box.height() * 0.12, box.width() * 0.32, box.height() * 0.36);
    drawLouvres(p, side);
    drawBadge(p, QRectF(side.left(), side.bottom() + box.height() * 0.06, side.width(), box.height() * 0.16),
              series);
    drawSnowflake(p, QPointF(box.right() - box.height() * 0.12, box.top() + box.height() * 0.14),
                  box.height() * 0.07, series.accent);
}

void drawCondensingUnit(QPainter& p, const QRectF& box, const SeriesStyle& series)
{
    drawCasing(p, box, series.accent);
    const qreal fan = qMin(box.width(), box.height()) * 0.66;
    drawFan(p, QRectF(box.center().x() - fan / 2, box.top() + box.height() * 0.08, fan, fan));
    drawBadge(p,
              QRectF(box.left() + box.width() * 0.2,
                     box.top() + box.height() * 0.08 + fan + box.height() * 0.02, box.width() * 0.6,
                     box.height() * 0.13),
              series);
}

void drawAirCooler(QPainter& p, const QRectF& box, const SeriesStyle& series)
{
    drawCasing(p, box, series.accent);
    const qreal fan = box.height() * 0.64;
    const int fans = box.width() > box.height() * 2.6 ? 2 : 1;
    const qreal gap = (box.width() - fans * fan) / (fans + 1);
    for (int i = 0; i < fans; ++i)
        drawFan(p, QRectF(box.left() + gap + i * (fan + gap), box.top() + box.height() * 0.08, fan, fan));
}

QImage appearance(const SeriesStyle& series)
{
    QImage image = canvas(400, 300, QColor(250, 252, 255), QColor(214, 226, 238));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (series.split) {
        drawCondensingUnit(p, QRectF(30, 60, 170, 170), series);
        drawAirCooler(p, QRectF(220, 70, 160, 62), series);
        // the two refrigerant lines between the blocks
        p.setBrush(Qt::NoBrush);
        for (int line = 0; line < 2; ++line) {
            QPainterPath path;
            path.moveTo(200, 200 - line * 12);
            path.cubicTo(250, 200 - line * 12, 260 + line * 12, 180, 260 + line * 12, 132);
            p.setPen(QPen(line == 0 ? QColor(60, 90, 170) : QColor(180, 120, 60), line == 0 ? 6 : 4,
                          Qt::SolidLine, Qt::RoundCap));
            p.drawPath(path);
        }
    } else {
        drawMonoblock(p, QRectF(40, 60, 320, 170), series);
    }
    p.setPen(QColor(30, 40, 60));
    p.setFont(font(15, true));
    p.drawText(QRectF(0, 250, 400, 40), Qt::AlignCenter, seriesTitle(series));
    p.setFont(font(22, true));
    p.setPen(series.accent);
    p.drawText(QRectF(0, 12, 400, 34), Qt::AlignCenter, series.code);
    return image;
}

QImage scheme(const SeriesStyle& series)
{
    QImage image = canvas(500, 350, Qt::white, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(30, 40, 60));
    p.setFont(font(15, true));
    p.drawText(QRectF(0, 8, 500, 24), Qt::AlignCenter, QStringLiteral("Схема монтажа ") + series.code);

    // chamber on the left: ceiling, wall panel with its insulation, floor
    const QRectF wall(250, 60, 22, 250);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(255, 236, 150));
    p.drawRect(wall);
    p.setPen(QPen(QColor(170, 140, 40), 1));
    for (qreal y = wall.top(); y < wall.bottom() - 8; y += 10)
        p.drawLine(QPointF(wall.left(), y + 10), QPointF(wall.right(), y));
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(255, 236, 150));
    p.drawRect(QRectF(20, 48, 252, 12));
    p.drawLine(QPointF(20, 310), QPointF(480, 310));
    p.setFont(font(13, true));
    p.setPen(QColor(40, 90, 160));
    p.drawText(QRectF(30, 270, 200, 30), Qt::AlignCenter, QStringLiteral("Камера"));
    p.setPen(QColor(150, 80, 40));
    p.drawText(QRectF(296, 280, 74, 24), Qt::AlignCenter, QStringLiteral("Снаружи"));

    if (series.split) {
        const QRectF cooler(60, 64, 150, 50);
        const QRectF outdoor(370, 170, 100, 100);
        drawAirCooler(p, cooler, series);
        drawCondensingUnit(p, outdoor, series);
        // suction line (insulated, thicker) and liquid line through the wall
        const QPointF suction[] = {{210, 80}, {330, 80}, {330, 200}, {370, 200}};
        const QPointF liquid[] = {{210, 98}, {318, 98}, {318, 220}, {370, 220}};
        p.setPen(QPen(QColor(60, 90, 170), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(suction, 4);
        p.setPen(QPen(QColor(190, 90, 50), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(liquid, 4);
        drawCallout(p, QPointF(30, 150), QPointF(100, 114), QStringLiteral("Воздухоохладитель"));
        drawCallout(p, QPointF(345, 60), QPointF(330, 110), QStringLiteral("Линия всасывания"));
        drawCallout(p, QPointF(345, 150), QPointF(318, 160), QStringLiteral("Жидкостная линия"));
        drawCallout(p, QPointF(215, 335), QPointF(420, 272),
                    QStringLiteral("Компрессорно-конденсаторный агрегат"));
    } else {
        // the unit sits over the wall: evaporator inside, condenser outside
        const QRectF unit(170, 64, 220, 80);
        drawMonoblock(p, unit, series);
        drawCallout(p, QPointF(30, 180), QPointF(200, 144), QStringLiteral("Испаритель в камере"));
        drawCallout(p, QPointF(330, 190), QPointF(360, 144), QStringLiteral("Конденсатор снаружи"));
        // cold air blown into the chamber
        p.setPen(QPen(QColor(60, 130, 210), 2, Qt::DashLine));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(165, 90 + i * 16), QPointF(80, 110 + i * 30));
    }
    // drain of the melt water and the power cable
    p.setPen(QPen(QColor(90, 150, 90), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal drainX = series.split ? 70.0 : 190.0;
    const QPointF drain[] = {{drainX, series.split ? 114.0 : 146.0}, {drainX, 200}, {284, 200}, {284, 308}};
    p.drawPolyline(drain, 4);
    drawCallout(p, QPointF(120, 230), QPointF(200, 200), QStringLiteral("Дренаж"));
    p.setPen(QPen(QColor(30, 30, 30), 2, Qt::DashDotLine));
    const QPointF cable = series.split ? QPointF(440, 170) : QPointF(390, 110);
    const QPointF cableRun[] = {cable, {cable.x(), 130}, {490, 130}};
    p.drawPolyline(cableRun, 3);
    p.setFont(font(11));
    p.drawText(QPointF(420, 124), QStringLiteral("~380 В"));
    return image;
}

} // namespace UnitPictures
