#pragma once

#include "Result.h"

#include <QString>

class AdminSession;
class QueryTable;
struct EditRequest;
struct SimpleList;

// The statements of the list windows and of the editors of their entries,
// run on the session's connection. Reads and writes give their failure for
// the caller to show (Functions::ShowReadFailure, Functions::RecordGone), so
// that no list is shown that could be saved over.
class ReferenceListStore
{
public:
    // For a list kind (Functions::ListKind).
    ReferenceListStore(AdminSession& session, int kind);

    // The kind's entries in name order: a flat list (insulation, curtains,
    // packing), or the product groups or equipment types.
    Result<int> entries(QueryTable& rows) const;
    enum EntryColumn { EntryKey, EntryName };

    // One entry for its editor: 1, or 0 when there is none.
    Result<int> entry(qint64 key, QueryTable& row) const;
    enum FlatColumn { FlatName, FlatSecondValue, FlatValue }; // insulation, curtains, packing
    enum UpperColumn { UpperName, UpperKey, UpperModel, UpperPicture, UpperScheme };

    // What an editor saves: a flat list's entry has a name and values (the
    // second one for packing only), a type a name, model series and
    // pictures, a group a name.
    struct Values
    {
        QString name;
        double value = 0;
        double second = 0;
        QString model;
        QString picture;
        QString scheme;
    };
    // Adds the entry (its key into newKey) or changes the request's one.
    Result<void> save(const EditRequest& request, const Values& values, qint64* newKey) const;
    Result<void> remove(qint64 key) const;

    // The texts of those statements, for a caller that runs many as one
    // change (the spreadsheet exchange).
    QString insertStatement(const Values& values) const;
    QString updateStatement(const Values& values, qint64 key) const;
    QString deleteStatement(qint64 key) const;

    // The lower level of the two-level lists: the group's products
    // (EntryColumn) or the type's unit models.
    Result<int> lowerEntries(qint32 parentKey, QueryTable& rows) const;
    enum ModelColumn { ListedModel, ListedModification };
    // The product groups in name order, each with its products in name order,
    // in one read (one round trip to a server): a group without products
    // comes once, without a product.
    Result<int> groupsWithProducts(QueryTable& rows) const;
    enum GroupedColumn { GroupKey, GroupName, GroupedProductKey, GroupedProductName };
    Result<void> removeProduct(qint64 key) const;
    Result<void> removeModel(qint32 typeKey, const QString& model, double modification) const;
    // The type's model series, the first two letters of its model; empty when
    // the type is gone.
    Result<QString> series(qint32 typeKey) const;

private:
    bool isEquipment() const;
    QString listQuery() const;

    AdminSession& m_session;
    int m_kind;
    const SimpleList* m_list; // null for the two-level lists
};
