#pragma once

#include "QueryTable.h"

#include <QWidget>
#include <memory>

class Wizard;
namespace Ui {
class frmStage0;
}

// The first screen: the customer, chosen from the saved customers or typed
// anew, and the customer's saved calculations, one of which can be reopened.
class frmStage0 : public QWidget
{
    Q_OBJECT
public:
    explicit frmStage0(Wizard& wizard, QWidget* parent = nullptr);
    ~frmStage0() override;

    void FillContact();

    // The screen's part of the record reset: the state of a new calculation.
    void resetForNewCalculation();

private:
    void Combo1_Click(int index);
    void Combo1_Change();
    void Combo1_Edited();
    void Command1_Click();
    void Combo2_Click(int index);
    void cmbNext_Click();
    void cmbCancel_Click();

    void readCustomer();
    QString dateSeparator() const;

    std::unique_ptr<Ui::frmStage0> m_ui;
    Wizard& m_wizard;
    QueryTable m_customers;
    // Row of the customer table chosen in Combo1; -1 once the organisation
    // has been typed.
    int m_chosen = -1;
};
