#include "FreeSpaceLabel.h"

#include <QEvent>
#include <QLayout>

#include <algorithm>

namespace {

constexpr int Gap = 4;

} // namespace

FreeSpaceLabel::FreeSpaceLabel(QWidget* screen, const QList<QWidget*>& anchors, QWidget* limit)
    : QLabel(screen), m_limit(limit)
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    screen->installEventFilter(this);
    limit->installEventFilter(this);
    for (QWidget* anchor : anchors) {
        m_anchors.append(anchor);
        anchor->installEventFilter(this);
    }
}

void FreeSpaceLabel::setText(const QString& text)
{
    QLabel::setText(text);
    setToolTip(text);
    place();
}

bool FreeSpaceLabel::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::LayoutRequest:
        place();
        break;
    default:
        break;
    }
    return QLabel::eventFilter(watched, event);
}

void FreeSpaceLabel::place()
{
    QWidget* screen = parentWidget();
    if (!screen || !m_limit)
        return;
    int top = 0, left = screen->width();
    for (const QPointer<QWidget>& anchor : std::as_const(m_anchors)) {
        if (!anchor || anchor->isHidden())
            continue;
        const QRect area(anchor->mapTo(screen, QPoint()), anchor->size());
        top = std::max(top, area.bottom() + 1);
        left = std::min(left, area.left());
    }
    const int right = screen->width() - (screen->layout() ? screen->layout()->contentsMargins().right() : 0);
    const int bottom = m_limit->mapTo(screen, QPoint()).y();
    setGeometry(left, top + Gap, std::max(0, right - left), std::max(0, bottom - top - 2 * Gap));
}
