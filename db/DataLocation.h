#pragma once

#include "Database.h"

#include <QString>

// The database files in a data folder.
inline constexpr char ReferenceFileName[] = "nv.mdb";
inline constexpr char OrdersFileName[] = "order.mdb";
// Optional, beside them: a [database] group whose reference= and orders= keys
// each name a PostgreSQL database (a libpq connection string or URI) that
// replaces the file. Both keys may name the same database.
inline constexpr char SettingsFileName[] = "frostpick.ini";

// Where the programs find their data: the reference database, the orders
// database and the equipment pictures. A folder, by default that of the
// executable, whose frostpick.ini may move either database onto a server.
// Built once in main and handed to whoever opens a database or reads or
// stores a picture.
class DataLocation
{
public:
    // Nowhere: opens nothing, finds no picture.
    DataLocation() = default;

    // The folder of the executable when it holds the files and may be
    // written, else the user's data folder, filled from the installed sample
    // data (see DataFolder). Decided once per run. Without a frostpick.ini
    // there, one in /etc/frostpick serves every user of the computer.
    static DataLocation programFolder();
    // Any folder that holds the files (or a frostpick.ini naming a server).
    static DataLocation folder(const QString& path);

    DatabaseAddress reference() const; // nv.mdb or the server's database
    DatabaseAddress orders() const;    // order.mdb or the server's database

    // Where the data is, for the user to read.
    QString describe() const;

    // The file of an equipment picture by its bare name, where the wizard
    // reads it and the administrator copies it to.
    QString picturePath(const QString& bareName) const;

private:
    DataLocation(QString folder, const QString& settingsFile);
    QString inFolder(const QString& fileName) const;

    QString m_folder;
    QString m_referenceServer; // empty: the file
    QString m_ordersServer;
};
