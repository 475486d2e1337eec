#pragma once

class QComboBox;
class QListWidget;
class QueryTable;

// Lists whose items stand for database rows: each item shows a row's text
// and carries its key. Filling or selecting in code runs none of the list's
// change handlers; the caller runs its choice step itself.
namespace ListFill {

// Replaces the items with the first `count` rows: text from textColumn, key
// from keyColumn as item data (Qt::UserRole in a list box). Returns whether
// the list has items.
bool fill(QComboBox* list, const QueryTable& rows, int count, int textColumn, int keyColumn);
bool fill(QListWidget* list, const QueryTable& rows, int count, int textColumn, int keyColumn);

// Selects the first item whose key is `key`. Returns false, leaving the
// selection as it was, when no item carries it.
bool selectByKey(QComboBox* list, int key);

// Selects `index`.
void selectQuietly(QComboBox* list, int index);

} // namespace ListFill
