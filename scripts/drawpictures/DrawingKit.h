#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

class QImage;
class QPainter;

// Small drawing helpers shared by the picture drawings.
namespace DrawingKit {

QFont font(int pixelSize, bool bold = false);

// An image filled with a vertical gradient, ready to paint on.
QImage canvas(int width, int height, const QColor& top, const QColor& bottom);

void drawSnowflake(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour);

// A round fan guard with blades, as seen on condensers and air coolers.
void drawFan(QPainter& p, const QRectF& box);

// A sheet-metal casing with a soft shadow under it.
void drawCasing(QPainter& p, const QRectF& box, const QColor& accent);

// Text with a thin leader line from the text to the point it names.
void drawCallout(QPainter& p, const QPointF& textPos, const QPointF& target, const QString& text);

// Writes the image as a JPEG; false (with a message on stderr) when it fails.
bool saveJpeg(const QImage& image, const QString& path);

// Writes the image as a PNG; false (with a message on stderr) when it fails.
bool savePng(const QImage& image, const QString& path);

} // namespace DrawingKit
