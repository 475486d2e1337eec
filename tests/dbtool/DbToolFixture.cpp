#include "DbToolFixture.h"

#include "HostileTexts.h"
#include "TestDatabases.h"

#include <QProcess>
#include <QRandomGenerator>
#include <cstring>
#include <sqlite3.h>

namespace DbToolFixture {

QStringList dump(const QString& path, const QStringList& tables)
{
    QStringList lines;
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (const QString& table : tables) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, qPrintable(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table)), -1,
                               &statement, nullptr) != SQLITE_OK)
            lines << table + QStringLiteral(" missing");
        while (statement && sqlite3_step(statement) == SQLITE_ROW) {
            QString line = table;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const int type = sqlite3_column_type(statement, c);
                line += QStringLiteral("|%1:").arg(type);
                if (type == SQLITE_FLOAT) {
                    const double value = sqlite3_column_double(statement, c);
                    quint64 bits;
                    std::memcpy(&bits, &value, sizeof bits);
                    line += QString::number(bits, 16);
                } else if (type != SQLITE_NULL) {
                    line +=
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)));
                }
            }
            lines << line;
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return lines;
}

bool createHostileOrders(const QString& path, int extraRows)
{
    if (!TestDatabases::createSampleOrders(path, TestDatabases::Storage::Files))
        return false;
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* data = nullptr;
    sqlite3_prepare_v2(
        db, "INSERT INTO data (xk_bulk, xk_length, xk_width, xk_ceiling, onote) VALUES (?,?,?,?,?)", -1,
        &data, nullptr);
    QRandomGenerator random(20261207);
    auto randomDouble = [&] {
        double value;
        do {
            const quint64 bits = random.generate64();
            std::memcpy(&value, &bits, sizeof value);
        } while (!std::isfinite(value) || value == 0.0);
        return value;
    };
    const QStringList texts = HostileTexts::all();
    const int rows = 400 + extraRows;
    for (int i = 0; i < rows; ++i) {
        sqlite3_bind_double(data, 1, i == 0 ? 0.1 + 0.2 : randomDouble());
        sqlite3_bind_double(data, 2, randomDouble());
        if (i % 7)
            sqlite3_bind_double(data, 3, -randomDouble() * 1e-3);
        sqlite3_bind_int64(data, 4, qint32(random.generate())); // the server keeps 32 bits
        const QByteArray text = texts.at(i % texts.size()).toUtf8();
        if (i % 5)
            sqlite3_bind_text(data, 5, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        sqlite3_step(data);
        sqlite3_reset(data);
        sqlite3_clear_bindings(data);
    }
    sqlite3_finalize(data);
    const bool ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

Run runTool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(FROSTPICK_DB_EXE), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace DbToolFixture
