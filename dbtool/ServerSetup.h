#pragma once

#include "ToolOutcome.h"

#include <QStringList>

#include <functional>

// Preparing a PostgreSQL database for the programs.
namespace ServerSetup {

// Creates the tables of both stores (empty, but for the refrigerants the
// reference store starts with) from the server scripts built into the tool,
// or adds to a store an earlier version made the tables added since; reports
// which. Refuses a database whose stores are complete already.
ToolOutcome init(const QString& connection, const std::function<void(const QString&)>& report);

// The statements that let the engineers' role read the reference tables and
// read and write the orders tables, and the administrator's role write both,
// as init makes the tables.
QStringList grantStatements(const QString& engineerRole, const QString& adminRole);

// Gives the roles those rights on the database, in one transaction.
ToolOutcome grant(const QString& connection, const QString& engineerRole, const QString& adminRole);

} // namespace ServerSetup
