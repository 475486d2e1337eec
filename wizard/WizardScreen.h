#pragma once

#include <QList>
#include <QWidget>
#include <functional>

class LeaveCheck;
class QLineEdit;
class QPushButton;
struct CalculationContext;
struct CalculationRecord;

// What every screen of the wizard has in common. A screen shows the record's
// values, writes its inputs back and says where the user wants to go:
// next(), back() or cancel(). Which screen comes then is decided by the flow
// (Wizard), never by a screen.
class WizardScreen : public QWidget
{
    Q_OBJECT
public:
    WizardScreen(CalculationContext& context, CalculationRecord& record, QWidget* parent = nullptr);

signals:
    void next();
    void back();
    void cancel();

protected:
    CalculationContext& context() const { return m_context; }
    CalculationRecord& record() const { return m_record; }

    // Called right after setupUi: names the boxes after their labels, centres
    // the screen on the display and connects the navigation buttons to the
    // handlers below (a screen without a back button passes null).
    void setUpScreen(QPushButton* nextButton, QPushButton* backButton, QPushButton* cancelButton);

    // Every text box selects its whole text when it gets the focus, except
    // those listed. The edit fields inside lists do not count.
    void selectAllOnFocus(const QList<QLineEdit*>& except = {});

    // What runs when the focus leaves the box (see LeaveCheck); the back and
    // cancel buttons are the escapes that never wait for the check.
    void checkOnLeave(QLineEdit* box, std::function<void()> update, std::function<bool()> check = {});

    // Whether every box checked on leaving passes, running the checks that
    // leaving towards an escape button skipped.
    bool leaveChecksPass();

    // The navigation buttons; by default each only says where to go.
    virtual void nextButton_Click() { emit next(); }
    virtual void backButton_Click() { emit back(); }
    virtual void cancelButton_Click() { emit cancel(); }

    // The activation step, run each time the program shows the screen.
    virtual void Form_Activate() {}
    void showEvent(QShowEvent* event) override;

private:
    CalculationContext& m_context;
    CalculationRecord& m_record;
    QList<QWidget*> m_escapes;
    QList<LeaveCheck*> m_leaveChecks;
};
