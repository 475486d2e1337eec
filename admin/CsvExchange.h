#pragma once

// "Экспорт в CSV…" and "Импорт из CSV…" of the list window that is open:
// the capacity table of the chosen equipment type, the products, the
// insulation, curtains or packing. The files are those of a spreadsheet
// (see CsvFile); the import shows what it will do and writes all or nothing.
class AdminSession;

namespace CsvExchange {

// Asks where to write the list of the kind and writes it; false when
// nothing was written.
bool exportList(AdminSession& session, int kind, int parentKey);

// Asks for a file, checks it, shows the counts with the first problems and,
// once confirmed, writes it; true when the list changed.
bool importList(AdminSession& session, int kind, int parentKey);

} // namespace CsvExchange
