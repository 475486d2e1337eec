#include "ScreenBehaviour.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

namespace {

// Selects the text once the focus has settled: a mouse click into the box
// would otherwise put the cursor at the click and drop the selection.
class SelectAllFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        }
        return false;
    }
};

const QScreen* displayOf(const QWidget* screen)
{
    return screen->screen() ? screen->screen() : QGuiApplication::primaryScreen();
}

// The size the content asks for, within the display. (QWidget::adjustSize
// would hold a window to two thirds of the display and so cut lists short.)
void fitToContent(QWidget* screen)
{
    const QScreen* display = displayOf(screen);
    QLayout* layout = screen->layout();
    if (!display || !layout)
        return;
    layout->activate();
    const QSize room = display->availableGeometry().size();
    QSize size = screen->sizeHint().boundedTo(room);
    if (layout->hasHeightForWidth())
        size.setHeight(qMin(layout->totalHeightForWidth(size.width()), room.height()));
    screen->resize(size);
}

void placeInMiddle(QWidget* screen)
{
    const QScreen* display = displayOf(screen);
    if (!display)
        return;
    const QRect area = display->geometry();
    screen->move(area.left() + (area.width() - screen->width()) / 2,
                 area.top() + (area.height() - screen->height()) / 2);
}

// The lists and labels filled after the screen was centred can still widen
// it (a list measures its items when first shown); it is sized and centred
// once more, with its final content, just before it appears.
class CentreOnFirstShow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* screen = static_cast<QWidget*>(watched);
            fitToContent(screen);
            placeInMiddle(screen);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

namespace ScreenBehaviour {

void centre(QWidget* screen)
{
    fitToContent(screen);
    placeInMiddle(screen);
    screen->installEventFilter(new CentreOnFirstShow(screen));
}

void selectAllOnFocus(QWidget* screen, const QList<QLineEdit*>& except)
{
    auto* filter = new SelectAllFilter(screen);
    const auto boxes = screen->findChildren<QLineEdit*>();
    for (QLineEdit* box : boxes) {
        if (except.contains(box) || qobject_cast<QComboBox*>(box->parentWidget()))
            continue;
        box->installEventFilter(filter);
    }
}

void nameFromLabels(QWidget* screen)
{
    const auto labels = screen->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        QWidget* buddy = label->buddy();
        if (buddy && buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(label->text().remove(QLatin1Char('&')).simplified());
    }
}

bool selectByKey(QComboBox* list, int key)
{
    const int index = list->findData(key);
    if (index < 0)
        return false;
    selectQuietly(list, index);
    return true;
}

void selectQuietly(QComboBox* list, int index)
{
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(index);
}

void focusBox(QWidget* box)
{
    box->setFocus(Qt::OtherFocusReason);
}

} // namespace ScreenBehaviour

LeaveCheck::LeaveCheck(QWidget* box, std::function<void()> update, std::function<bool()> check,
                       const QList<QWidget*>& escapes)
    : QObject(box), m_box(box), m_update(std::move(update)), m_check(std::move(check))
{
    for (QWidget* escape : escapes)
        m_escapes << escape;
    box->installEventFilter(this);
}

bool LeaveCheck::confirm()
{
    if (m_skipped)
        runCheck();
    return !m_refused;
}

void LeaveCheck::runCheck()
{
    m_skipped = false;
    m_refused = m_check && !m_check();
    if (m_refused) {
        QPointer<QWidget> box = m_box;
        QTimer::singleShot(0, box, [box] { ScreenBehaviour::focusBox(box); });
    }
}

bool LeaveCheck::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_box || event->type() != QEvent::FocusOut || m_running)
        return false;
    // A message box or another window taking the focus is not leaving the box.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || !m_box->isVisible())
        return false;
    m_running = true;
    if (m_update)
        m_update();
    // The widget taking the focus is already the application's focus widget.
    if (m_escapes.contains(QApplication::focusWidget())) {
        m_skipped = true;
        m_refused = false;
    } else {
        runCheck();
    }
    m_running = false;
    return false;
}
