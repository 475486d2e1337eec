#pragma once

#include "EditorDialog.h"
#include "ReferenceListStore.h"

#include <memory>

namespace Ui {
class frmCls1Edit;
}
class QComboBox;
class QLineEdit;

// Editor of a product group (kind 3) or an equipment type with its model
// series and pictures (kind 5). After a save it writes the name back into
// the list window's upper list, when there is one.
class frmCls1Edit : public EditorDialog
{
    Q_OBJECT
public:
    frmCls1Edit(const EditRequest& request, QComboBox* combo, QWidget* parent);
    ~frmCls1Edit() override;

    void setNames(const QString& name, const QString& model, const QString& picture, const QString& scheme);

protected:
    QWidget* firstBox() const override;

private:
    void Image1_Click();
    void Image2_Click();
    void cmbSave_Click();
    void cmbExit_Click();

    // Lets the user choose a picture, copies it into the program folder and
    // puts its bare name into the box, also when the copy fails; a cancelled
    // choice changes nothing.
    void choosePicture(QLineEdit* box, bool withDestination);

    std::unique_ptr<Ui::frmCls1Edit> m_ui;
    QComboBox* m_combo;
    bool m_equipment;
    ReferenceListStore m_store;
};
