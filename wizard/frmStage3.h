#pragma once

#include "WizardScreen.h"

#include <memory>

class QComboBox;
namespace Ui {
class frmStage3;
}

// The chamber: dimensions or volume, insulation, doors, temperature, staff
// and heat sources.
class frmStage3 : public WizardScreen
{
    Q_OBJECT
public:
    frmStage3(CalculationContext& context, CalculationRecord& record, QWidget* parent = nullptr);
    ~frmStage3() override;

    void OutVolume();
    void DimensionsByVolume(double V);

private:
    void Form_Load();
    void Form_Activate() override;
    void ShowChamber();
    void ReadChamber();
    void showMaterial(QComboBox* list, const QString& name);
    qint16 readMaterial(QComboBox* list, qint16 key, QString& name, double& k);
    bool checksPass();
    double typedVolume() const;
    void tbVolume_LostFocus();
    void nextButton_Click() override;
    void backButton_Click() override;

    std::unique_ptr<Ui::frmStage3> m_ui;
    int m_defaultMaterial = 0;
};
