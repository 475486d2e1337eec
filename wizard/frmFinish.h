#pragma once

#include <QWidget>
#include <memory>

class FreeSpaceLabel;
class Wizard;
namespace Ui {
class frmFinish;
}

// The results screen: the heat load by component, the selected unit with its
// capacity figures, and printing, saving, going back and leaving.
class frmFinish : public QWidget
{
    Q_OBJECT
public:
    explicit frmFinish(Wizard& wizard, QWidget* parent = nullptr);
    ~frmFinish() override;

private:
    void FillForm();
    void Command4_Click();
    void Command3_Click();
    void Command2_Click();
    void Command1_Click();
    void cmdDetail_Click();

    Wizard& m_wizard;
    std::unique_ptr<Ui::frmFinish> m_ui;
    FreeSpaceLabel* m_warnings;
};
