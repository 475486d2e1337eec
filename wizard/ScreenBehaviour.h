#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

// Behaviour every wizard screen shares: where it appears, how its text boxes
// take the focus, how the boxes and lists are named for a screen reader, and
// how a list is set from the record's key.
namespace ScreenBehaviour {

// Sizes the screen to its content and places it in the middle of the display.
void centre(QWidget* screen);

// Every text box of the screen selects its whole text when it gets the
// focus, except those listed. The edit fields inside lists do not count.
void selectAllOnFocus(QWidget* screen, const QList<QLineEdit*>& except = {});

// Gives every control that a label of the screen belongs to (its buddy) the
// label's text as accessible name, unless it has a name of its own.
void nameFromLabels(QWidget* screen);

// Selects the first item whose item data is `key`, without running the
// list's change handlers (the caller runs the choice step itself). Returns
// false, leaving the selection as it was, when no item carries the key.
bool selectByKey(QComboBox* list, int key);

// Selects `index` without running the list's change handlers.
void selectQuietly(QComboBox* list, int index);

// Puts the focus into a box; the box then selects its text as usual.
void focusBox(QWidget* box);

} // namespace ScreenBehaviour

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
