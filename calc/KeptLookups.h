#pragma once

#include "QueryTable.h"

#include <QHash>
#include <QString>
#include <utility>

// Rows of the reference lookups kept by what each one looks up, its kind and
// its keys, which are known before its statement's text is made: a lookup
// made again costs neither that text nor a search by it. Only for a run over
// reference data nobody changes meanwhile (the batch over every saved
// calculation), as the engine's rows kept for the run are.
class KeptLookups
{
public:
    enum class Kind : quint8 {
        Article,
        Product,
        Packing,
        Curtain,
        Gas,
        Equipment,
        ModelCode,
        Modifications,
        Capacity
    };
    // The keys a lookup of the kind reads by; together they make its statement.
    struct Key
    {
        Key(Kind lookupKind, qint64 whole, QString text = {}, QString secondText = {})
            : kind(lookupKind), number(whole), first(std::move(text)), second(std::move(secondText))
        {}

        Kind kind;
        qint64 number;
        QString first;
        QString second;

        friend bool operator==(const Key& a, const Key& b)
        {
            return a.kind == b.kind && a.number == b.number && a.first == b.first && a.second == b.second;
        }
    };

    // The kept row count, with the rows in table when there are any; -1 when
    // none are kept.
    int give(const Key& key, QueryTable& table) const;
    void keep(const Key& key, int rows, const QueryTable& table);

private:
    struct Kept
    {
        int rows = 0;
        QueryTable table;
    };
    QHash<Key, Kept> m_kept;
};

size_t qHash(const KeptLookups::Key& key, size_t seed = 0);
