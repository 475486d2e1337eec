#include "ListFill.h"

#include "QueryTable.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace ListFill {

bool fill(QComboBox* list, const QueryTable& rows, int count, int textColumn, int keyColumn)
{
    const QSignalBlocker blocker(list);
    list->clear();
    for (int row = 0; row < count; ++row)
        list->addItem(rows.text(row, textColumn), rows.integer(row, keyColumn));
    return count > 0;
}

bool fill(QListWidget* list, const QueryTable& rows, int count, int textColumn, int keyColumn)
{
    const QSignalBlocker blocker(list);
    list->clear();
    for (int row = 0; row < count; ++row) {
        auto* item = new QListWidgetItem(rows.text(row, textColumn), list);
        item->setData(Qt::UserRole, rows.integer(row, keyColumn));
    }
    return count > 0;
}

bool selectByKey(QComboBox* list, int key)
{
    const int index = list->findData(key);
    if (index < 0)
        return false;
    selectQuietly(list, index);
    return true;
}

void selectQuietly(QComboBox* list, int index)
{
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(index);
}

} // namespace ListFill
