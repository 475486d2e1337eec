#pragma once

#include "KeptLookups.h"
#include "ProgramDatabases.h"

#include <QString>
#include <QStringList>
#include <functional>

class DataLocation;
class Database;
class QueryTable;
struct CalculationContext;

// The wizard's access to its two database files and the operations every
// other part of it uses to read rows and run statements.

// Opens the reference and then the orders database of the location into the
// context, which also keeps the location for the pictures, asking
// askPassword for a password a server wants. The failure names the store that
// failed.
Result<void> OpenDatabases(CalculationContext& context, const DataLocation& location,
                           const PasswordPrompt& askPassword = {});

// Rows of a query on the context's reference or orders database into the
// table; with 0 rows the table is left as it was. A read that fails shows
// nothing: it is noted in the context's failedReads for the action to decide,
// and counts as 0 rows. Without the database there are 0 rows.
int ReadReference(CalculationContext& context, const QString& sql, QueryTable& table);
// The same for a lookup named by key, whose statement sql() makes: where the
// context keeps the lookups' rows, one read already is given again without
// making its statement, and one read without a failure is kept.
int ReadReference(CalculationContext& context, const KeptLookups::Key& key,
                  const std::function<QString()>& sql, QueryTable& table);
// Reads ahead the reference statements an action is about to read one by
// one (see Database::prefetch); whatever fails is met by those reads. The
// list is made only for a connection that reads ahead: making it costs about
// as much as the lookups themselves cost on a file.
void ReadAhead(CalculationContext& context, const std::function<QStringList()>& statements);
int ReadOrders(CalculationContext& context, const QString& sql, QueryTable& table);
// The same as ReadAhead for the orders database.
void ReadOrdersAhead(CalculationContext& context, const std::function<QStringList()>& statements);
