#pragma once

#include "WizardScreen.h"
#include "WriteAttempt.h"

#include <QDate>
#include <memory>

class FreeSpaceLabel;
namespace Ui {
class frmFinish;
}

// The results screen: the heat load by component, the selected unit with its
// capacity figures, and printing, saving (next), going back and leaving.
class frmFinish : public WizardScreen
{
    Q_OBJECT
public:
    // today is the date of a save and of the printed report.
    frmFinish(CalculationContext& context, CalculationRecord& record, const QDate& today,
              QWidget* parent = nullptr);
    ~frmFinish() override;

private:
    void FillForm();
    void Command4_Click();
    void nextButton_Click() override;
    void cmdDetail_Click();

    std::unique_ptr<Ui::frmFinish> m_ui;
    FreeSpaceLabel* m_warnings;
    QDate m_today;
    // The save of this screen: one whose outcome stayed unknown is tried
    // again as the same attempt, so that it is never stored twice.
    WriteAttempt m_save;
};
