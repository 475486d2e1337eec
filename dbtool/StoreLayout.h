#pragma once

#include "Database.h"

#include <QList>
#include <QString>
#include <QStringList>

// The two stores the programs share and the tables each holds, read from the
// SQLite schema built into the tool, so that the tool and the programs never
// disagree about a column.
enum class StoreKind { Reference, Orders };

struct StoreTable
{
    QString name;
    QStringList columns; // the key first
    QStringList types;   // as declared: INTEGER, REAL, NUMERIC, TEXT
    int seedRows = 0;    // rows the schema itself inserts (the refrigerants)

    const QString& key() const { return columns.first(); }
};

struct StoreLayout
{
    StoreKind kind;
    QString title;        // "reference store (nv.mdb)"
    QString sqliteSchema; // resource paths of the scripts that create the store
    QString serverSchema;
    QList<StoreTable> tables;

    QStringList tableNames() const;

    static const StoreLayout& of(StoreKind kind);
    static const QList<StoreKind>& kinds();
};

// An argument of the tool as a database address: a postgresql:// or
// postgres:// URI or a libpq connection string ("host=... dbname=...") names
// a server, anything else an SQLite file.
DatabaseAddress storeAddress(const QString& argument);
