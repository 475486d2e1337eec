#pragma once

#include "CalculationContext.h"
#include "CalculationRecord.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class WizardScreen;
class frmStage0;

// The wizard's flow: the order of the screens. Screens only say where the
// user wants to go (next, back, cancel); this class alone knows which screen
// that is. It shows one screen at a time; each is created when entered and
// destroyed when left, except frmStage0, which is only hidden while a
// reopened calculation is shown.
class Wizard : public QObject
{
    Q_OBJECT
public:
    // The context's databases are open; the record holds the start values.
    Wizard(CalculationContext& context, CalculationRecord& record, QObject* parent = nullptr);
    ~Wizard() override;

    CalculationContext& context() { return m_context; }
    CalculationRecord& record() { return m_record; }

    // Today's date as the program sees it; tests fix it.
    QDate today() const;
    void setToday(const QDate& date) { m_today = date; }

    // Navigation. Each shows the target screen and destroys the one being
    // left (frmStage0 is destroyed only by enterStage3).
    void start();      // shows frmStage0
    void showStage0(); // back to frmStage0, creating it when needed
    void enterStage3();
    void enterStage1();
    void enterStage4();
    void enterFinish(); // from frmStage4 or from a reopened calculation
    void quit();        // ends the program at once, asking nothing
    void openOffer();   // "Предложение" over frmStage0

    // What quit() does after emitting quitRequested; by default it leaves
    // the application's event loop. Tests replace it to stay alive.
    void setQuitHandler(std::function<void()> handler) { m_quitHandler = std::move(handler); }

    // The record's reset plus putting frmStage0 back into its state for a
    // new calculation (creating it first when it does not exist).
    void ResetRecord();

    // The screen shown now (for tests).
    QWidget* currentScreen() const { return m_current; }
    frmStage0* stage0() const;

signals:
    void quitRequested();

private:
    // Connects a screen's next and back to the steps given (back may be
    // null) and its cancel to quit().
    template <class Screen> Screen* wire(Screen* screen, void (Wizard::*next)(), void (Wizard::*back)());
    void startOver(); // the record reset, then frmStage0
    void switchTo(QWidget* next, bool keepStage0Hidden = false);
    frmStage0* ensureStage0();

    CalculationContext& m_context;
    CalculationRecord& m_record;
    QPointer<QWidget> m_current;
    QPointer<frmStage0> m_stage0;
    QDate m_today;
    std::function<void()> m_quitHandler;
};
