#pragma once

#include "Database.h"

#include <QString>

// The database files in a data folder.
inline constexpr char ReferenceFileName[] = "nv.mdb";
inline constexpr char OrdersFileName[] = "order.mdb";

// Where the programs find their data: the reference database, the orders
// database and the equipment pictures. Today a folder, by default that of the
// executable; a database server later. Built once in main and handed to
// whoever opens a database or reads or stores a picture.
class DataLocation
{
public:
    // Nowhere: opens nothing, finds no picture.
    DataLocation() = default;

    // The folder of the executable when it holds the files and may be
    // written, else the user's data folder, filled from the installed sample
    // data (see DataFolder). Decided once per run.
    static DataLocation programFolder();
    // Any folder that holds the files.
    static DataLocation folder(const QString& path);

    DatabaseAddress reference() const; // nv.mdb
    DatabaseAddress orders() const;    // order.mdb

    // Where the data is, for the user to read.
    QString describe() const;

    // The file of an equipment picture by its bare name, where the wizard
    // reads it and the administrator copies it to.
    QString picturePath(const QString& bareName) const;

private:
    explicit DataLocation(QString folder) : m_folder(std::move(folder)) {}
    QString inFolder(const QString& fileName) const;

    QString m_folder;
};
