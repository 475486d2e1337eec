#pragma once

#include "EditorDialog.h"
#include "ReferenceListStore.h"

#include <memory>

namespace Ui {
class frmClsEdit;
}
class QListWidget;
struct SimpleList;

// Editor of one insulation material, curtain or packing type. After a save
// it writes the name back into the list window's list.
class frmClsEdit : public EditorDialog
{
    Q_OBJECT
public:
    frmClsEdit(AdminSession& session, const EditRequest& request, QListWidget* list, QWidget* parent);
    ~frmClsEdit() override;

    void setValues(const QString& name, const QString& value, const QString& second);

protected:
    QWidget* firstBox() const override;

private:
    void Command1_Click();
    void Command2_Click();

    bool checkValue(QLineEdit* box, const QString& column, double* value);

    std::unique_ptr<Ui::frmClsEdit> m_ui;
    QListWidget* m_list;
    const SimpleList* m_kind;
    ReferenceListStore m_store;
};
