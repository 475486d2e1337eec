#pragma once

#include "EditorDialog.h"

#include <QVector>
#include <memory>
#include <optional>

namespace Ui {
class frmEqEdit;
}
class QLineEdit;

// Editor of one unit model: its code, modification and the grid of nine
// rated capacities by chamber temperature (columns) and outside
// temperature (rows).
class frmEqEdit : public EditorDialog
{
    Q_OBJECT
public:
    frmEqEdit(AdminSession& session, const EditRequest& request, QWidget* parent);
    ~frmEqEdit() override;

    // A new model of the type with the series part and the default grid.
    void FillNew(const QString& typeName, const QString& series);
    // The model being changed, from the request's nine rows.
    void FillFromRows(const QString& typeName);

protected:
    QWidget* firstBox() const override;

private:
    void Command1_Click();
    void Command2_Click();

    QLineEdit* columnHead(int i) const { return m_boxes.at(3 + i); }
    QLineEdit* rowHead(int j) const { return m_boxes.at(6 + j); }
    QLineEdit* cell(int k) const { return m_boxes.at(9 + k); }
    // Empty when the read failed (shown once).
    std::optional<bool> codeTaken(const QString& model, double modification) const;

    std::unique_ptr<Ui::frmEqEdit> m_ui;
    QVector<QLineEdit*> m_boxes; // Text3 .. Text17 at their numbers
};
