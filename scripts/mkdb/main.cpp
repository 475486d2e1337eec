// Build tool: creates a database file from SQL scripts unless the file
// already exists, so rebuilding never overwrites a user's data.
#include "Database.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: frostpick-mkdb DATABASE SCRIPT...\n");
        return 2;
    }
    if (QFileInfo::exists(args.first()))
        return 0;
    if (const Result<void> made = Database::create(DatabaseAddress::file(args.first()), args.mid(1)); !made) {
        std::fprintf(stderr, "frostpick-mkdb: %s\n", made.failure().engineText.toUtf8().constData());
        return 1;
    }
    return 0;
}
