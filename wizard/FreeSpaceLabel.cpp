#include "FreeSpaceLabel.h"

#include <QEvent>
#include <QLayout>

#include <algorithm>

namespace {

constexpr int Gap = 4;

} // namespace

FreeSpaceLabel::FreeSpaceLabel(QWidget* screen, const QList<QWidget*>& anchors, QWidget* limit)
    : QScrollArea(screen), m_label(new QLabel), m_limit(limit)
{
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    setWidget(m_label);
    viewport()->setAutoFillBackground(false);
    m_label->setAutoFillBackground(false);
    screen->installEventFilter(this);
    limit->installEventFilter(this);
    for (QWidget* anchor : anchors) {
        m_anchors.append(anchor);
        anchor->installEventFilter(this);
    }
}

void FreeSpaceLabel::setText(const QString& text)
{
    m_label->setText(text);
    m_label->setToolTip(text);
    place();
}

bool FreeSpaceLabel::eventFilter(QObject* watched, QEvent* event)
{
    // The scroll area watches its label too; only the screen's widgets move it.
    if (watched == m_label)
        return QScrollArea::eventFilter(watched, event);
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
    return QScrollArea::eventFilter(watched, event);
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
