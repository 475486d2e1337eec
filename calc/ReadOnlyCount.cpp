#include "ReadOnlyCount.h"

#include <QFileInfo>
#include <QUrl>
#include <sqlite3.h>

namespace {
constexpr int BusyTimeoutMs = 2000;
} // namespace

std::optional<qint64> readOnlyCount(const QString& path, const QString& sql)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
    if (!QFileInfo::exists(path + QStringLiteral("-wal")))
        uri += QStringLiteral("&immutable=1");
    std::optional<qint64> count;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(uri.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) ==
        SQLITE_OK) {
        sqlite3_busy_timeout(db, BusyTimeoutMs);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * sizeof(char16_t)), &statement, nullptr) ==
                SQLITE_OK &&
            statement && sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return count;
}
