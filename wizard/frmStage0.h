#pragma once

#include "OfferPrinter.h"
#include "QueryTable.h"
#include "WizardScreen.h"

#include <memory>

namespace Ui {
class frmStage0;
}

// The first screen: the customer, chosen from the saved customers or typed
// anew, and the customer's saved calculations, one of which can be reopened.
// "Ввод данных" starts a new calculation (next), choosing a saved one
// reopens it (reopened).
class frmStage0 : public WizardScreen
{
    Q_OBJECT
public:
    frmStage0(CalculationContext& context, CalculationRecord& record, QWidget* parent = nullptr);
    ~frmStage0() override;

    void FillContact();
    // Reads the customer list again, keeping what is typed and chosen, so a
    // customer another computer saved shows. False, with the list as it was,
    // when the read failed (reported).
    bool refreshCustomers();

    // The screen's part of the record reset: the state of a new calculation.
    void resetForNewCalculation();

    // The customer chosen and searched for, whose calculations the offer window gathers.
    OfferCustomer chosenCustomer() const;

signals:
    void reopened();
    // "Предложение": the chosen customer has saved calculations.
    void offerRequested();

private:
    void nextButton_Click() override;
    void Combo1_Click(int index);
    void Combo1_Change();
    void Combo1_Edited();
    void Command1_Click();
    void Combo2_Click(int index);

    void readCustomer();
    QString dateSeparator() const;

    std::unique_ptr<Ui::frmStage0> m_ui;
    QueryTable m_customers;
    // Row of the customer table chosen in Combo1; -1 once the organisation
    // has been typed.
    int m_chosen = -1;
};
