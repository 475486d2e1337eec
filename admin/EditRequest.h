#pragma once

#include "QueryTable.h"

#include <QtGlobal>

// What a list window hands the modal editor it opens: the list kind, the
// record, whether it is added or changed, and the group or equipment type it
// belongs to. The editor keeps its own copy, so the window may go on.
struct EditRequest
{
    qint16 kind = 0;      // Functions::ListKind of the list window
    bool adding = true;   // a new record; otherwise the one with key
    qint16 key = 0;       // the record changed; 0 when adding
    qint32 parentKey = 0; // the product group or equipment type of a lower-level record
    // A unit model being changed: its nine capacity rows as read (PowerSet),
    // whose keys the save writes to.
    QueryTable modelRows;

    static EditRequest add(qint16 kind, qint32 parentKey = 0)
    {
        EditRequest request;
        request.kind = kind;
        request.parentKey = parentKey;
        return request;
    }
    static EditRequest change(qint16 kind, qint16 key, qint32 parentKey = 0)
    {
        EditRequest request = add(kind, parentKey);
        request.adding = false;
        request.key = key;
        return request;
    }
};
