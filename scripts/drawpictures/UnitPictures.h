#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;

// The equipment series and the two pictures every series has.
struct SeriesStyle
{
    QString code;    // "KM", "KSC", ...
    bool split;      // split system (separate air cooler) or monoblock
    QString purpose; // "среднетемпературный" and the like
    QColor accent;
};

namespace UnitPictures {

QVector<SeriesStyle> allSeries();

// Appearance picture of a unit of the series (400 x 300).
QImage appearance(const SeriesStyle& series);

// How a unit of the series is mounted on the chamber (500 x 350).
QImage scheme(const SeriesStyle& series);

// A unit drawn into a box of any size; used by the decorative pictures too.
void drawMonoblock(QPainter& p, const QRectF& box, const SeriesStyle& series);
void drawCondensingUnit(QPainter& p, const QRectF& box, const SeriesStyle& series);
void drawAirCooler(QPainter& p, const QRectF& box, const SeriesStyle& series);

} // namespace UnitPictures
