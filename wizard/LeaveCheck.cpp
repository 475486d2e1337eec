#include "LeaveCheck.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>
#include <QWidget>

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
        QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
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
