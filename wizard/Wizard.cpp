#include "Wizard.h"

#include "CalculationTrace.h"
#include "Database.h"
#include "UserActions.h"
#include "frmFinish.h"
#include "frmOffer.h"
#include "frmStage0.h"
#include "frmStage1.h"
#include "frmStage3.h"
#include "frmStage4.h"

#include <QCoreApplication>

Wizard::Wizard(CalculationContext& context, CalculationRecord& record, QObject* parent)
    : QObject(parent), m_context(context), m_record(record), m_quitHandler([] { QCoreApplication::exit(0); })
{
    // The detailed calculation shows the steps of the last calculation.
    m_record.trace = std::make_shared<CalculationTrace>();
    // The reference data kept in memory is checked against the store once
    // per user action: an administrator's change shows at the next one.
    new UserActions(
        [this] {
            if (m_context.ref_db)
                m_context.ref_db->beginAction();
        },
        this);
}

Wizard::~Wizard()
{
    delete m_current.data();
    delete m_stage0.data();
}

QDate Wizard::today() const
{
    return m_today.isValid() ? m_today : QDate::currentDate();
}

frmStage0* Wizard::stage0() const
{
    return m_stage0.data();
}

template <class Screen> Screen* Wizard::wire(Screen* screen, void (Wizard::*next)(), void (Wizard::*back)())
{
    connect(screen, &WizardScreen::next, this, next);
    if (back)
        connect(screen, &WizardScreen::back, this, back);
    connect(screen, &WizardScreen::cancel, this, &Wizard::quit);
    return screen;
}

frmStage0* Wizard::ensureStage0()
{
    if (!m_stage0) {
        m_stage0 = wire(new frmStage0(m_context, m_record), &Wizard::enterStage3, nullptr);
        connect(m_stage0, &frmStage0::reopened, this, &Wizard::enterFinish);
        connect(m_stage0, &frmStage0::offerRequested, this, &Wizard::openOffer);
    }
    return m_stage0;
}

// The offer window opens over the customer screen and leaves the record alone.
void Wizard::openOffer()
{
    auto* offer = new frmOffer(m_context, m_stage0->chosenCustomer(), today(), m_stage0);
    offer->setAttribute(Qt::WA_DeleteOnClose);
    offer->setWindowModality(Qt::ApplicationModal);
    offer->show();
}

void Wizard::start()
{
    showStage0();
}

void Wizard::showStage0()
{
    const bool kept = m_stage0;
    switchTo(ensureStage0());
    // A screen kept from before lists the customers as they were then.
    if (kept)
        m_stage0->refreshCustomers();
}

void Wizard::enterStage3()
{
    switchTo(wire(new frmStage3(m_context, m_record), &Wizard::enterStage1, &Wizard::startOver));
}

void Wizard::enterStage1()
{
    switchTo(wire(new frmStage1(m_context, m_record), &Wizard::enterStage4, &Wizard::enterStage3));
}

void Wizard::enterStage4()
{
    switchTo(wire(new frmStage4(m_context, m_record), &Wizard::enterFinish, &Wizard::enterStage1));
}

void Wizard::enterFinish()
{
    // A reopened calculation keeps the customer screen, hidden, for the way back.
    switchTo(wire(new frmFinish(m_context, m_record, today()), &Wizard::startOver, &Wizard::enterStage4),
             true);
}

// After a save, and when the chamber screen's reset question is answered Yes.
void Wizard::startOver()
{
    ResetRecord();
    showStage0();
}

void Wizard::quit()
{
    emit quitRequested();
    if (m_quitHandler)
        m_quitHandler();
}

void Wizard::ResetRecord()
{
    ResetRecordFields(m_record);
    ensureStage0()->resetForNewCalculation();
}

void Wizard::switchTo(QWidget* next, bool keepStage0Hidden)
{
    QWidget* previous = m_current;
    m_current = next;
    // The next screen is shown before the last one goes, so the program never
    // is without a visible window.
    next->show();
    if (previous && previous != next) {
        previous->hide();
        const bool keep = keepStage0Hidden && previous == m_stage0;
        if (!keep) {
            if (previous == m_stage0)
                m_stage0 = nullptr;
            previous->deleteLater();
        }
    }
}
