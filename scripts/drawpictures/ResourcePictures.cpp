#include "ResourcePictures.h"

#include "DrawingKit.h"
#include "UnitPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

using namespace DrawingKit;

namespace ResourcePictures {

namespace {

const QColor kNight(18, 42, 84);
const QColor kIce(200, 225, 245);
const QColor kFlake(30, 110, 190);

// Snowflakes scattered the same way on every run, so redrawing changes nothing.
void scatterSnow(QPainter& p, const QRect& area, int count, quint32 seed)
{
    QRandomGenerator random(seed);
    for (int i = 0; i < count; ++i) {
        const QPointF at(area.left() + random.bounded(area.width()),
                         area.top() + random.bounded(area.height()));
        drawSnowflake(p, at, 4 + random.bounded(9), QColor(255, 255, 255, 90 + random.bounded(120)));
    }
}

void drawCrate(QPainter& p, const QRectF& box, const QColor& wood, const QColor& fruit)
{
    p.setPen(Qt::NoPen);
    p.setBrush(fruit);
    const qreal r = box.width() / 10;
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(box.left() + r * (1 + 2 * i), box.top() + r * 0.4), r, r);
    p.setBrush(wood);
    p.setPen(QPen(wood.darker(140), 1));
    for (int slat = 0; slat < 3; ++slat)
        p.drawRect(
            QRectF(box.left(), box.top() + slat * box.height() / 3, box.width(), box.height() / 3 - 3));
}

// The logo's colours on a rounded tile with a transparent surround; the rim
// keeps the tile visible on a white panel.
QImage iconTile(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ice(0, 0, 0, size);
    ice.setColorAt(0, Qt::white);
    ice.setColorAt(1, kIce);
    p.setBrush(ice);
    p.setPen(QPen(kFlake.darker(120), qMax(1.0, size / 32.0)));
    const qreal inset = qMax(0.5, size / 32.0);
    p.drawRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset), size * 0.18, size * 0.18);
    return image;
}

// Three discs stacked: the reference tables.
void drawDataStack(QPainter& p, const QRectF& box)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal discHeight = box.height() / 4;
    p.setPen(QPen(kIce, qMax(1.0, box.width() / 16)));
    p.setBrush(kNight);
    for (int disc = 2; disc >= 0; --disc) {
        const qreal top = box.top() + disc * discHeight;
        p.drawRoundedRect(QRectF(box.left(), top, box.width(), discHeight * 1.9), box.width() / 2,
                          discHeight * 0.95);
    }
    p.restore();
}

} // namespace

QImage wizardIcon(int size)
{
    QImage image = iconTile(size);
    QPainter p(&image);
    drawSnowflake(p, QPointF(size / 2.0, size / 2.0), size * 0.36, kFlake);
    return image;
}

QImage adminIcon(int size)
{
    QImage image = iconTile(size);
    QPainter p(&image);
    drawSnowflake(p, QPointF(size * 0.4, size * 0.4), size * 0.3, kFlake);
    drawDataStack(p, QRectF(size * 0.5, size * 0.46, size * 0.38, size * 0.42));
    return image;
}

QImage noPicture()
{
    QImage image = canvas(400, 300, QColor(245, 246, 248), QColor(225, 228, 232));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(170, 175, 182), 3, Qt::DashLine));
    p.drawRoundedRect(QRectF(20, 20, 360, 260), 12, 12);
    // a picture frame crossed out
    p.setPen(QPen(QColor(150, 155, 165), 4));
    p.setBrush(Qt::NoBrush);
    const QRectF frame(140, 70, 120, 90);
    p.drawRect(frame);
    p.drawLine(frame.topLeft() + QPointF(-10, -10), frame.bottomRight() + QPointF(10, 10));
    p.setPen(QColor(110, 115, 125));
    p.setFont(font(22, true));
    p.drawText(QRectF(0, 185, 400, 40), Qt::AlignCenter, QStringLiteral("нет изображения"));
    return image;
}

QImage logo()
{
    QImage image = canvas(240, 90, Qt::white, kIce);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawSnowflake(p, QPointF(45, 45), 30, kFlake);
    p.setPen(kNight);
    p.setFont(font(24, true));
    p.drawText(QRectF(85, 8, 150, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Frostpick"));
    p.setPen(QColor(40, 110, 170));
    p.setFont(font(12));
    p.drawText(QRectF(87, 54, 150, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("расчет холода"));
    p.end();
    // The report prints pictures in their natural size: at 192 dpi the logo
    // stays clear of the office line that the page header prints beside it.
    const int dotsPerMetre = qRound(192 / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

QImage customerScreen()
{
    QImage image = canvas(200, 300, kNight, QColor(60, 110, 170));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    scatterSnow(p, QRect(0, 0, 200, 170), 18, 7);
    // a cold store with a loading dock
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 232, 240));
    p.drawRect(QRectF(20, 170, 160, 100));
    p.setBrush(QColor(160, 175, 195));
    const QPointF roof[] = {{14, 172}, {100, 140}, {186, 172}};
    p.drawPolygon(roof, 3);
    p.setBrush(QColor(90, 110, 140));
    for (int door = 0; door < 2; ++door)
        p.drawRect(QRectF(40 + door * 70, 205, 50, 65));
    p.setBrush(QColor(230, 240, 250));
    p.drawRect(QRectF(0, 270, 200, 30));
    return image;
}

QImage equipmentScreen()
{
    QImage image = canvas(200, 300, QColor(235, 244, 252), QColor(160, 195, 225));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QVector<SeriesStyle> series = UnitPictures::allSeries();
    UnitPictures::drawCondensingUnit(p, QRectF(30, 40, 140, 140), series.at(1));
    UnitPictures::drawAirCooler(p, QRectF(25, 215, 150, 54), series.at(1));
    drawSnowflake(p, QPointF(100, 198), 10, QColor(40, 110, 190));
    return image;
}

QImage productsPanel()
{
    QImage image = canvas(200, 300, QColor(240, 246, 250), QColor(200, 218, 232));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor wood(196, 150, 96);
    const QColor fruits[] = {QColor(200, 40, 40), QColor(120, 180, 60), QColor(240, 160, 30),
                             QColor(150, 40, 90)};
    for (int shelf = 0; shelf < 4; ++shelf) {
        const qreal y = 50 + shelf * 62;
        drawCrate(p, QRectF(20, y, 74, 36), wood, fruits[shelf]);
        drawCrate(p, QRectF(106, y, 74, 36), wood, fruits[(shelf + 2) % 4]);
        p.fillRect(QRectF(10, y + 38, 180, 5), QColor(110, 120, 135));
    }
    drawSnowflake(p, QPointF(100, 22), 14, QColor(40, 110, 190));
    return image;
}

QImage equipmentPanel()
{
    QImage image = canvas(200, 300, QColor(240, 246, 250), QColor(200, 218, 232));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QVector<SeriesStyle> series = UnitPictures::allSeries();
    UnitPictures::drawMonoblock(p, QRectF(15, 50, 170, 92), series.at(0));
    UnitPictures::drawCondensingUnit(p, QRectF(45, 165, 110, 110), series.at(2));
    return image;
}

} // namespace ResourcePictures
