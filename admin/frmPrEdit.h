#pragma once

#include "EditorDialog.h"

#include <memory>

namespace Ui {
class frmPrEdit;
}
class QComboBox;
class QListWidgetItem;
class QueryTable;

// Editor of one product: its name, nine thermal properties and its group,
// marked in a list of all groups (at most one marked at a time).
class frmPrEdit : public EditorDialog
{
    Q_OBJECT
public:
    frmPrEdit(AdminSession& session, const EditRequest& request, QWidget* parent);
    ~frmPrEdit() override;

    // The first row of ProductStore::record's rows.
    void setProduct(const QueryTable& row);
    // Every group of the list window's upper list, the given one marked.
    void setGroups(const QComboBox* groups, qint64 markedKey);

protected:
    QWidget* firstBox() const override;

private:
    void Command1_Click();
    void Command2_Click();
    void List1_ItemChanged(QListWidgetItem* item);
    void List1_MouseDown(QListWidgetItem* item);
    void List1_Click(QListWidgetItem* item);

    std::unique_ptr<Ui::frmPrEdit> m_ui;
    // The entry a mouse button went down on, and its mark at that moment.
    QListWidgetItem* m_pressed = nullptr;
    Qt::CheckState m_stateAtPress = Qt::Unchecked;
};
