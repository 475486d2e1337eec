#pragma once

#include "ToolOutcome.h"

#include <QStringList>

// Preparing a PostgreSQL database for the programs.
namespace ServerSetup {

// Creates the tables of both stores (empty, but for the refrigerants the
// reference store starts with) from the server scripts built into the tool.
// Refuses a database that holds either store's tables already.
ToolOutcome init(const QString& connection);

// The statements that let the engineers' role read the reference tables and
// read and write the orders tables, and the administrator's role write both,
// as init makes the tables.
QStringList grantStatements(const QString& engineerRole, const QString& adminRole);

// Gives the roles those rights on the database, in one transaction.
ToolOutcome grant(const QString& connection, const QString& engineerRole, const QString& adminRole);

} // namespace ServerSetup
