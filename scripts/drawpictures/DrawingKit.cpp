#include "DrawingKit.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>

namespace DrawingKit {

QFont font(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QImage canvas(int width, int height, const QColor& top, const QColor& bottom)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.fillRect(image.rect(), gradient);
    return image;
}

void drawSnowflake(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, qMax<qreal>(1.0, radius / 8), Qt::SolidLine, Qt::RoundCap));
    p.translate(centre);
    for (int arm = 0; arm < 6; ++arm) {
        p.drawLine(QPointF(0, 0), QPointF(0, -radius));
        // two small branches on every arm
        for (qreal at : {0.45, 0.7}) {
            const qreal branch = radius * 0.28;
            p.drawLine(QPointF(0, -radius * at), QPointF(-branch, -radius * at - branch));
            p.drawLine(QPointF(0, -radius * at), QPointF(branch, -radius * at - branch));
        }
        p.rotate(60);
    }
    p.restore();
}

void drawFan(QPainter& p, const QRectF& box)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = box.center();
    const qreal r = qMin(box.width(), box.height()) / 2;
    p.setPen(QPen(QColor(70, 75, 85), 2));
    p.setBrush(QColor(45, 50, 58));
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(150, 158, 170));
    p.setPen(Qt::NoPen);
    for (int blade = 0; blade < 4; ++blade) {
        QPainterPath path;
        path.moveTo(c);
        const qreal a = qDegreesToRadians(90.0 * blade);
        path.cubicTo(c + QPointF(qCos(a) * r * 0.9, qSin(a) * r * 0.9),
                     c + QPointF(qCos(a + 0.9) * r * 0.9, qSin(a + 0.9) * r * 0.9), c);
        p.drawPath(path);
    }
    p.setBrush(QColor(90, 95, 105));
    p.drawEllipse(c, r * 0.14, r * 0.14);
    // guard rings
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 205, 212), 1));
    for (qreal k : {0.35, 0.6, 0.85})
        p.drawEllipse(c, r * k, r * k);
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
    p.drawLine(c - QPointF(0, r), c + QPointF(0, r));
    p.restore();
}

void drawCasing(QPainter& p, const QRectF& box, const QColor& accent)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QRectF(box.left() + 6, box.bottom() - 6, box.width() - 12, 16));
    QLinearGradient metal(box.topLeft(), box.bottomLeft());
    metal.setColorAt(0, QColor(246, 248, 250));
    metal.setColorAt(1, QColor(196, 202, 210));
    p.setBrush(metal);
    p.setPen(QPen(QColor(120, 128, 140), 1.5));
    p.drawRoundedRect(box, 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawRect(
        QRectF(box.left() + 1, box.bottom() - box.height() * 0.16, box.width() - 2, box.height() * 0.1));
    p.restore();
}

void drawCallout(QPainter& p, const QPointF& textPos, const QPointF& target, const QString& text)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font(12));
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawText(textPos, text);
    const qreal width = p.fontMetrics().horizontalAdvance(text);
    const QPointF anchor =
        target.x() < textPos.x() ? textPos + QPointF(-2, -4) : textPos + QPointF(width + 2, -4);
    p.drawLine(anchor, target);
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(target, 2, 2);
    p.restore();
}

namespace {

bool save(const QImage& image, const QString& path, const char* format, int quality)
{
    if (image.save(path, format, quality))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

bool saveJpeg(const QImage& image, const QString& path)
{
    return save(image, path, "JPG", 85);
}

bool savePng(const QImage& image, const QString& path)
{
    return save(image, path, "PNG", -1);
}

} // namespace DrawingKit
