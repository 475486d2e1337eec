#pragma once

#include "WizardScreen.h"

#include <memory>

namespace Ui {
class frmStage1;
}

// The product: group, product, packing, temperatures, time, mass and daily
// intake, with the process type derived from them.
class frmStage1 : public WizardScreen
{
    Q_OBJECT
public:
    frmStage1(CalculationContext& context, CalculationRecord& record, QWidget* parent = nullptr);
    ~frmStage1() override;

    void FillProduct(qint32 l);
    void WriteProcess();

private:
    void Form_Load();
    // The activation step.
    void Form_Activate() override { ShowProduct(); }
    void ShowProduct();
    void ReadProduct();
    void cbPGroup_Click();
    void Combo5_Click();
    void Combo6_Click();
    void processBox_LostFocus();
    bool Text17_Validate();
    bool checksPass();
    void nextButton_Click() override;
    void backButton_Click() override;

    std::unique_ptr<Ui::frmStage1> m_ui;
};
