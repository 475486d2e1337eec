#include "UserActions.h"

#include <QCoreApplication>
#include <QEvent>

UserActions::UserActions(std::function<void()> began, QObject* parent)
    : QObject(parent), m_began(std::move(began))
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool UserActions::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        m_began();
        break;
    default:
        break;
    }
    return false;
}
