#include "ListWindow.h"

#include "Functions.h"
#include "WindowPlacement.h"

#include <QMdiSubWindow>

ListWindow::ListWindow(int kind, QWidget* parent) : QWidget(parent), m_kind(static_cast<qint16>(kind))
{
    setAttribute(Qt::WA_DeleteOnClose);
    Functions::DisableListMenus();
}

ListWindow::~ListWindow()
{
    Functions::EnableListMenus();
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
