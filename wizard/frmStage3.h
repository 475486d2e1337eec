#pragma once

#include <QWidget>
#include <memory>

class QComboBox;
class QLineEdit;
class Wizard;
namespace Ui {
class frmStage3;
}

// The chamber: dimensions or volume, insulation, doors, temperature, staff
// and heat sources.
class frmStage3 : public QWidget
{
    Q_OBJECT
public:
    explicit frmStage3(Wizard& wizard, QWidget* parent = nullptr);
    ~frmStage3() override;

    void OutVolume();
    void DimensionsByVolume(double V);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    void ShowChamber();
    void ReadChamber();
    void showMaterial(QComboBox* list, const QString& name);
    qint16 readMaterial(QComboBox* list, qint16 key, QString& name, double& k);
    bool checksPass();
    double typedVolume() const;
    void tbVolume_LostFocus();
    void cmbNext_Click();
    void cmbPrev_Click();
    void cmbCancel_Click();

    std::unique_ptr<Ui::frmStage3> m_ui;
    Wizard& m_wizard;
    int m_defaultMaterial = 0;
};
