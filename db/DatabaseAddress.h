#pragma once

#include <QString>

// The database engines the programs can work with: files on this computer,
// or a server that several computers share.
enum class DatabaseEngine { SQLite, PostgreSQL };

// Which database to open, on which engine. For SQLite the database is the
// file's path; for PostgreSQL a libpq connection string or URI
// ("postgresql://engineer@dbhost/frostpick", "host=dbhost dbname=frostpick").
struct DatabaseAddress
{
    DatabaseEngine engine = DatabaseEngine::SQLite;
    QString database;
    // Typed by the user when the server asked for one; never read from or
    // written to a file.
    QString password;

    static DatabaseAddress file(const QString& path) { return {DatabaseEngine::SQLite, path, {}}; }
    static DatabaseAddress server(const QString& connection)
    {
        return {DatabaseEngine::PostgreSQL, connection, {}};
    }
    // An address as a user writes it: a postgresql:// or postgres:// URI or a
    // libpq connection string ("host=dbhost dbname=frostpick") names a
    // server, anything else a file.
    static DatabaseAddress parse(const QString& text);

    // Whether both name one database: a file under either of its paths.
    bool sameDatabase(const DatabaseAddress& other) const;
    // Whether it names a file that is not there, which create() makes whole.
    // A server's database is never missing here: whether it answers shows
    // when it is opened.
    bool isMissing() const;
    // Whether the database is made apart from the stores' tables: a server's
    // by its administrator, its tables then added by create(). A file is made
    // together with its tables.
    bool isMadeApart() const;
    // Whether the database has roles of its own that are granted rights (see
    // Database::grantStatements); a file's readers and writers are those the
    // file system lets in.
    bool hasRoles() const;
    // Whether it names a file, whose failure to open is told as the engine
    // words it, rather than a server's database.
    bool isFile() const;

    // The address for a message: the file's path, or the connection string
    // with any password in it masked.
    QString shown() const;
};
