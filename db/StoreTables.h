#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// How a column keeps its values on both engines: NUMERIC keeps a whole value
// whole (60, not 60.0) and any other as a real.
enum class ColumnType { Integer, Real, Numeric, Text };

// A table of one of the programs' stores, as the schema scripts of both
// engines create it.
struct StoreTable
{
    QString name;
    QStringList columns;     // in stored order, the key first
    QList<ColumnType> types; // one per column
    int seedRows = 0;        // rows the schema itself inserts (the refrigerants)
    QStringList indexes;     // the column list of each index the lookups use
    // Added to the store after stores were made without it: a store that
    // lacks it is still the programs' store.
    bool addedLater = false;

    const QString& key() const { return columns.first(); }
};

// The tables of the two stores in the order their scripts create them, for
// the tools that move whole stores. Kept here rather than read from the
// scripts or a database: what a store holds must be known before any
// database is opened, and no catalogue says which rows a new store starts
// with.
namespace StoreTables {

const QList<StoreTable>& reference();
const QList<StoreTable>& orders();

} // namespace StoreTables
