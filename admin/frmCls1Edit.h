#pragma once

#include "EditorDialog.h"
#include "ReferenceListStore.h"

#include <QHash>
#include <memory>
#include <optional>
#include <vector>

namespace Ui {
class frmCls1Edit;
}
class QComboBox;
class QLineEdit;
class StagedCopy;

// Editor of a product group (kind 3) or an equipment type with its model
// series and pictures (kind 5). After a save it writes the name back into
// the list window's upper list, when there is one.
class frmCls1Edit : public EditorDialog
{
    Q_OBJECT
public:
    frmCls1Edit(AdminSession& session, const EditRequest& request, QComboBox* combo, QWidget* parent);
    ~frmCls1Edit() override;

    void setNames(const QString& name, const QString& model, const QString& picture, const QString& scheme);

protected:
    QWidget* firstBox() const override;

private:
    void Image1_Click();
    void Image2_Click();
    void cmbSave_Click();
    void cmbExit_Click();

    // Lets the user choose a picture and puts its bare name into the box; the
    // file is copied into the program folder when the entry is saved. A
    // cancelled choice changes nothing.
    void choosePicture(QLineEdit* box);
    // The chosen pictures copied beside their places, to be put there once
    // the entry is saved; nullopt when a copy failed (shown).
    std::optional<std::vector<std::unique_ptr<StagedCopy>>> stageChosenPictures();

    std::unique_ptr<Ui::frmCls1Edit> m_ui;
    QComboBox* m_combo;
    bool m_equipment;
    ReferenceListStore m_store;
    QHash<QLineEdit*, QString> m_chosen; // the file chosen for a picture box, to be copied on saving
};
