#pragma once

#include <QObject>
#include <functional>

// Watches the application for what the user does: every press of a mouse
// button, a key or a shortcut and every turn of the wheel begins a user
// action, and began() is called before the action is handled.
class UserActions : public QObject
{
public:
    explicit UserActions(std::function<void()> began, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_began;
};
