#pragma once

#include "ListWindow.h"
#include "ReferenceListStore.h"

#include <memory>

namespace Ui {
class frmCLS;
}
struct SimpleList;

// The list window of the flat lists: insulation, curtains, packing.
class frmCLS : public ListWindow
{
    Q_OBJECT
public:
    frmCLS(AdminSession& session, int kind, QWidget* parent = nullptr);
    ~frmCLS() override;

    // Caption and entries of the window's kind.
    // Reads the list; false when the read failed (shown), and the list is
    // then empty with nothing in it to edit, add to or delete.
    bool FillList();

private:
    void cmbAdd_Click();
    void Command5_Click();
    void Command2_Click();
    void Command4_Click();

    void openEditor(const EditRequest& request, const QString& name, const QString& value,
                    const QString& second);

    std::unique_ptr<Ui::frmCLS> m_ui;
    const SimpleList* m_list;
    ReferenceListStore m_store;
};
