#pragma once

#include <QWidget>
#include <memory>

class LeaveCheck;
class QComboBox;
class QLineEdit;
class Wizard;
namespace Ui {
class frmStage1;
}

// The product: group, product, packing, temperatures, time, mass and daily
// intake, with the process type derived from them.
class frmStage1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmStage1(Wizard& wizard, QWidget* parent = nullptr);
    ~frmStage1() override;

    void FillProduct(qint32 l);
    void WriteProcess();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void ShowProduct();
    void ReadProduct();
    void cbPGroup_Click();
    void Combo5_Click();
    void Combo6_Click();
    void processBox_LostFocus();
    bool Text17_Validate();
    bool checksPass();
    void cmbNext_Click();
    void cmbPrev_Click();
    void cmbCancel_Click();

    std::unique_ptr<Ui::frmStage1> m_ui;
    Wizard& m_wizard;
    QList<LeaveCheck*> m_leaveChecks;
};
