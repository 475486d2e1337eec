#pragma once

#include "ListWindow.h"
#include "ReferenceListStore.h"

#include <memory>
#include <optional>

class QueryTable;

namespace Ui {
class frmCLS1;
}

// The two-level list window: product groups and their products (kind 3), or
// equipment types and their unit models (kind 5).
class frmCLS1 : public ListWindow
{
    Q_OBJECT
public:
    frmCLS1(AdminSession& session, int kind, QWidget* parent = nullptr);
    ~frmCLS1() override;

    // Fills the upper list and selects its first entry.
    // Returns the number of groups or types: 0, and nothing shown, when there
    // is none yet; -1 when the read failed (shown once).
    int FillUpperLevel();

    // Fill the lower list; false when the read failed (shown once), and the
    // list is then empty with nothing in it to add to or delete by, so that
    // a group that only looks empty is never deleted.
    bool FillProduct(qint32 groupKey);
    bool FillEquipment(qint32 typeKey);

    qint32 parentKey() const override { return m_parentKey; }

private:
    void Combo1_Click();
    void cmbGAdd_Click();
    void cmbGEdit_Click();
    void cmbGDelete_Click();
    void cmbAdd_Click();
    void cmbEdit_Click();
    void cmbDelete_Click();
    void Command4_Click();

    void addProduct();
    void editProduct();
    void deleteProduct();
    void addModel();
    void editModel();
    void deleteModel();

    bool isEquipment() const;
    int fillGroupsWithProducts(const QueryTable& rows, int count);
    // The chosen group's or type's key, when it is one a record can have.
    std::optional<qint16> pickedGroup() const;
    // Re-reads the lower list and selects the entry at row (or the first).
    void refillLowerList(int row);
    void selectLowerEntry(int row);
    void lowerListRead(bool read);
    // The lower list's entries of the group or type; a failed read shown.
    Result<int> lowerEntries(qint32 parentKey, QueryTable& rows) const;
    bool confirmDelete() const;
    // What a lower-level delete gave: the entry goes, or the failure is
    // shown and, for a record found gone, the list is read again.
    void deleted(const Result<void>& removed);
    // Reads the groups or types again after a record was found gone.
    void reloadUpperLevel();

    std::unique_ptr<Ui::frmCLS1> m_ui;
    ReferenceListStore m_store;
    qint32 m_parentKey = 0; // the group or type whose entries the lower list shows
};
