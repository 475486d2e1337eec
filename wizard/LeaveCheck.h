#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// What runs when the focus leaves a text box for another control of the
// same screen: an update that always runs, then a check. When the check
// fails (it has shown its own message), the focus goes back into the box,
// and confirm() stays false until the box is left again with a passing
// check, so the forward button clicked out of the box ignores that click as
// the box's owner would have cancelled it.
// Leaving the box for one of the escape buttons ("Назад", "Закрыть") runs
// only the update: the user can always go back to fix the real mistake. The
// skipped check then runs when the forward button calls confirm().
class LeaveCheck : public QObject
{
    Q_OBJECT
public:
    LeaveCheck(QWidget* box, std::function<void()> update, std::function<bool()> check = {},
               const QList<QWidget*>& escapes = {});

    // Whether the box's content passes; runs the check first when leaving
    // for an escape button skipped it.
    bool confirm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runCheck();

    QPointer<QWidget> m_box;
    std::function<void()> m_update;
    std::function<bool()> m_check;
    QList<QPointer<QWidget>> m_escapes;
    bool m_running = false;
    bool m_refused = false;
    bool m_skipped = false;
};
