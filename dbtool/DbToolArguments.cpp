#include "DbToolArguments.h"

#include "Database.h"
#include "StoreLayout.h"

namespace {

struct CommandForm
{
    const char* name;
    DbToolArguments::Command command;
    int minOperands;
    int maxOperands;
    const char* operands;
};

constexpr CommandForm Forms[] = {
    {"copy", DbToolArguments::Command::Copy, 2, 2, "FROM TO"},
    {"init", DbToolArguments::Command::Init, 1, 1, "URI"},
    {"grant", DbToolArguments::Command::Grant, 2, 3, "ENGINEER_ROLE ADMIN_ROLE [URI]"},
    {"export", DbToolArguments::Command::Export, 2, 2, "STORE FOLDER"},
    {"import", DbToolArguments::Command::Import, 2, 2, "FOLDER STORE"},
};

bool parseStore(const QString& value, CopyOptions& options, QString* error)
{
    if (value == QLatin1String("reference"))
        options.store = StoreKind::Reference;
    else if (value == QLatin1String("orders"))
        options.store = StoreKind::Orders;
    else {
        *error = QStringLiteral("--store takes reference or orders, not \"%1\"").arg(value);
        return false;
    }
    return true;
}

} // namespace

bool parseDbToolArguments(const QStringList& args, DbToolArguments& result, QString* error)
{
    result = DbToolArguments();
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h")))
        return true;
    if (args.isEmpty()) {
        *error = QStringLiteral("give a command: copy, export, import, init or grant (see --help)");
        return false;
    }
    const CommandForm* form = nullptr;
    for (const CommandForm& f : Forms) {
        if (args.first() == QLatin1String(f.name))
            form = &f;
    }
    if (!form) {
        *error = QStringLiteral("unknown command \"%1\" (see --help)").arg(args.first());
        return false;
    }
    result.command = form->command;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const bool copying = form->command == DbToolArguments::Command::Copy;
        const bool importing = form->command == DbToolArguments::Command::Import;
        if ((copying || importing) && arg == QLatin1String("--replace")) {
            result.copy.replace = true;
        } else if (importing && arg == QLatin1String("--allow-empty")) {
            result.allowEmpty = true;
        } else if (copying && arg.startsWith(QLatin1String("--store="))) {
            if (!parseStore(arg.mid(8), result.copy, error))
                return false;
        } else if (copying && arg == QLatin1String("--store")) {
            if (++i >= args.size()) {
                *error = QStringLiteral("--store needs a value");
                return false;
            }
            if (!parseStore(args.at(i), result.copy, error))
                return false;
        } else if (form->command == DbToolArguments::Command::Grant && arg == QLatin1String("--print")) {
            result.print = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option \"%1\" for %2 (see --help)")
                         .arg(arg, QLatin1String(form->name));
            return false;
        } else {
            result.operands << arg;
        }
    }
    // Printing the grants needs no server, running them does.
    if (result.operands.size() != (result.print ? form->minOperands : form->maxOperands)) {
        *error = QStringLiteral("%1 takes %2%3 (see --help)")
                     .arg(QLatin1String(form->name), QLatin1String(form->operands),
                          result.print ? QStringLiteral(" without URI") : QString());
        return false;
    }
    // An address libpq cannot read is refused with the other arguments.
    const int firstAddress = form->command == DbToolArguments::Command::Grant ? 2 : 0;
    for (int i = firstAddress; i < result.operands.size(); ++i) {
        if (const Result<void> readable =
                Database::checkAddress(DatabaseAddress::parse(result.operands.at(i)));
            !readable) {
            *error = readable.failure().engineText;
            return false;
        }
    }
    return true;
}

QString dbToolUsage()
{
    return QStringLiteral(
        "Usage:\n"
        "  frostpick-db copy [--replace] [--store reference|orders] FROM TO\n"
        "      copy a whole store with its keys in one transaction on TO\n"
        "  frostpick-db export STORE FOLDER\n"
        "      write every table of the store as FOLDER/<table>.csv: ';' between fields, decimal comma,\n"
        "      UTF-8 with a byte order mark, a header row of the column names, keys included\n"
        "  frostpick-db import [--replace [--allow-empty]] FOLDER STORE\n"
        "      load the tables whose FOLDER/<table>.csv exists into STORE, keys included, in one\n"
        "      transaction, after the checks of Rimehold's editors; ','-separated files with decimal\n"
        "      points are read as well\n"
        "  frostpick-db init URI\n"
        "      create the tables of both stores in an empty PostgreSQL database, or add to stores an\n"
        "      earlier version made there the tables added since\n"
        "  frostpick-db grant ENGINEER_ROLE ADMIN_ROLE URI\n"
        "  frostpick-db grant --print ENGINEER_ROLE ADMIN_ROLE\n"
        "      let the engineers read the reference tables and read and write the orders tables, and\n"
        "      the administrator write both; --print writes the SQL instead of running it\n"
        "  frostpick-db --help\n"
        "\n"
        "FROM, TO, STORE and URI are SQLite files (nv.mdb holds the reference store, order.mdb the orders "
        "store),\n"
        "postgresql:// or postgres:// URIs, or libpq connection strings (\"host=dbhost dbname=frostpick\").\n"
        "Which store is copied follows from the tables both hold; --store chooses when both hold both.\n"
        "A TO file that does not exist is created; a server must have been initialised with init.\n"
        "TO must hold no rows of the store (a new store's refrigerants aside) unless --replace is given,\n"
        "which deletes them in the same transaction. Interrupted, the copy leaves TO as it was.\n"
        "Passwords come from the URI, ~/.pgpass or PGPASSWORD; frostpick-db never asks for one.\n"
        "\n"
        "import refuses a STORE holding rows of the tables found unless --replace is given, which\n"
        "deletes them in the same transaction, and with --replace a file without rows (it would empty\n"
        "its table) unless --allow-empty is given. Every value must keep the rules of its column\n"
        "(README, \"Reference tables and spreadsheets\"); copy refuses a FROM whose rows break them.\n"
        "\n"
        "Exit status: 0 done; 1 a database is unreachable, wants a password or refused a step (TO is\n"
        "unchanged); 2 the arguments are refused, import refused a file (the file, line and column\n"
        "are on standard error; STORE is unchanged) or copy a row of FROM (its table, key and column); 3 TO "
        "already holds rows of the store (copy\n"
        "without --replace), STORE rows of the tables (import without --replace) or every table (init);\n"
        "4 a database holds neither store or the server is not initialised; 5 the copy was committed\n"
        "but TO's row counts differ from FROM's or could not be read again; 6 the connection broke\n"
        "after the commit was sent and the server could not be asked whether it was stored (check TO\n"
        "or STORE once it is back; the same copy or import run again never stores twice).\n");
}
