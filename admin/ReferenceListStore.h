#pragma once

#include "Result.h"

#include <QString>
#include <optional>

class QueryTable;
struct EditRequest;
struct SimpleList;

// The statements of the list windows and of the editors of their entries,
// run on the administrator's connection (Functions). A read that failed is
// shown once and gives -1, false or nothing, so that no list is shown that
// could be saved over; a write gives its failure for the caller to show
// (see Functions::RecordGone).
class ReferenceListStore
{
public:
    // For a list kind (Functions::ListKind).
    explicit ReferenceListStore(int kind);

    // The kind's entries in name order: a flat list (insulation, curtains,
    // packing), or the product groups or equipment types.
    int entries(QueryTable& rows) const;
    enum EntryColumn { EntryKey, EntryName };

    // One entry for its editor; false, shown under title, when the read
    // failed or found none.
    bool entry(qint64 key, QueryTable& row, const QString& title) const;
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
    QString listQuery() const;
    QString insertStatement(const Values& values) const;
    QString updateStatement(const Values& values, qint64 key) const;
    QString deleteStatement(qint64 key) const;

    // The lower level of the two-level lists: the group's products
    // (EntryColumn) or the type's unit models.
    int lowerEntries(qint32 parentKey, QueryTable& rows) const;
    enum ModelColumn { ListedModel, ListedModification };
    // The product groups in name order, each with its products in name order,
    // in one read (one round trip to a server): a group without products
    // comes once, without a product.
    int groupsWithProducts(QueryTable& rows) const;
    enum GroupedColumn { GroupKey, GroupName, GroupedProductKey, GroupedProductName };
    Result<void> removeProduct(qint64 key) const;
    Result<void> removeModel(qint32 typeKey, const QString& model, double modification) const;
    // The type's model series, the first two letters of its model; empty when
    // the type is gone.
    static std::optional<QString> series(qint32 typeKey);

private:
    bool isEquipment() const;

    int m_kind;
    const SimpleList* m_list; // null for the two-level lists
};
