#pragma once

#include "Database.h"
#include "StoreTables.h"

#include <QList>
#include <QString>
#include <QStringList>

// The two stores the programs share, the tables each holds and the scripts
// built into the tool that create it on each engine.
enum class StoreKind { Reference, Orders };

struct StoreLayout
{
    StoreKind kind;
    QString title;      // "reference store (nv.mdb)"
    StoreSchema schema; // resource paths of the scripts that create the store
    QList<StoreTable> tables;

    QStringList tableNames() const;

    static const StoreLayout& of(StoreKind kind);
    static const QList<StoreKind>& kinds();
};
