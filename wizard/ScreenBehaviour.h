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

// The check that runs when the focus leaves a text box for another control
// of the same screen. When the check fails (it has shown its own message),
// the focus goes back into the box, and refused() stays true until the box
// is left again with a passing check, so a button clicked out of the box can
// ignore that click as the box's owner would have cancelled it.
class LeaveCheck : public QObject
{
    Q_OBJECT
public:
    LeaveCheck(QWidget* box, std::function<bool()> check);

    bool refused() const { return m_refused; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_box;
    std::function<bool()> m_check;
    bool m_running = false;
    bool m_refused = false;
};
