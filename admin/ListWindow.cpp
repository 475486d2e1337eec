#include "ListWindow.h"

#include "AdminSession.h"
#include "WindowPlacement.h"

#include <QMdiSubWindow>

ListWindow::ListWindow(AdminSession& session, int kind, QWidget* parent)
    : QWidget(parent), m_session(session), m_kind(static_cast<qint16>(kind))
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_session.setListMenusEnabled(false);
}

ListWindow::~ListWindow()
{
    m_session.setListMenusEnabled(true);
}

void ListWindow::closeWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void ListWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        WindowPlacement::place(this, 3);
    }
}
