#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

namespace {

const QScreen* displayOf(const QWidget* window)
{
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

// The size the content asks for, within the display. (QWidget::adjustSize
// would hold a window to two thirds of the display and so cut lists short.)
void fitToContent(QWidget* window)
{
    const QScreen* display = displayOf(window);
    QLayout* layout = window->layout();
    if (!display || !layout)
        return;
    layout->activate();
    const QSize room = display->availableGeometry().size();
    QSize size = window->sizeHint().boundedTo(room);
    if (layout->hasHeightForWidth())
        size.setHeight(qMin(layout->totalHeightForWidth(size.width()), room.height()));
    window->resize(size);
}

class CentreOnFirstShow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            fitToContent(window);
            WindowPlacement::place(window, 2);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

namespace WindowPlacement {

void place(QWidget* window, int verticalDivisor)
{
    // A list window lives in a sub-window of the container: place that.
    QWidget* frame = window;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame = sub;
    QRect area;
    if (frame->parentWidget() && !frame->isWindow())
        area = frame->parentWidget()->rect();
    else if (const QScreen* display = displayOf(frame))
        area = display->availableGeometry();
    const QSize size = frame->frameGeometry().size();
    frame->move(area.left() + std::max(0, (area.width() - size.width()) / 2),
                area.top() + std::max(0, (area.height() - size.height()) / verticalDivisor));
}

void centreOnDisplay(QWidget* window)
{
    fitToContent(window);
    place(window, 2);
    window->installEventFilter(new CentreOnFirstShow(window));
}

} // namespace WindowPlacement
