#pragma once

#include <QVector>
#include <QWidget>

struct TraceLine;

// One bar of the chart: a load component as the calculation stored it.
struct ChartBar
{
    QString name;
    double watts = 0;
    int group = 0; // 0 diffusion, 1 product, 2 additional heat
};

// The heat load by component as horizontal bars, drawn with a painter so
// that the window and the printed page show the same chart.
class LoadChart : public QWidget
{
    Q_OBJECT
public:
    explicit LoadChart(QWidget* parent = nullptr);

    // The component lines of the calculation's steps, in their order.
    static QVector<ChartBar> barsOf(const QVector<TraceLine>& load);
    void setBars(const QVector<ChartBar>& bars);
    const QVector<ChartBar>& bars() const { return m_bars; }

    // Draws the chart into the area with the painter's font; every size
    // follows from the font, so it suits the screen and a 600 dpi page alike.
    static void paint(QPainter& painter, const QRectF& area, const QVector<ChartBar>& bars);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<ChartBar> m_bars;
};
