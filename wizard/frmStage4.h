#pragma once

#include "WizardScreen.h"

#include <QVector>
#include <memory>

struct OfferedType;

namespace Ui {
class frmStage4;
}

// The equipment and conditions screen: ambient conditions, equipment type,
// refrigerant, number of units, capacity reserve and compressor run time.
// "Расчет" computes the heat load and selects the unit.
class frmStage4 : public WizardScreen
{
    Q_OBJECT
public:
    frmStage4(CalculationContext& context, CalculationRecord& record, QWidget* parent = nullptr);
    ~frmStage4() override;

    void ShowEquipment();
    void ReadEquipment();

    // The file Image1 shows now, by its bare name; empty before any.
    QString shownPicture() const { return m_shownPicture; }

private:
    // Gives the types listed.
    QVector<OfferedType> FillTypes();
    void Combo7_Click();
    void Combo1_Click();
    void setModel(const QString& model);
    void nextButton_Click() override;
    void backButton_Click() override;
    void cancelButton_Click() override;
    bool checkInputs();
    bool readAgainWhatFailed();
    void showPicture(const QString& bareName);

    std::unique_ptr<Ui::frmStage4> m_ui;
    QString m_shownPicture;
};
