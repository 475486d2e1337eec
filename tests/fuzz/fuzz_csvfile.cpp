// libFuzzer target for reading spreadsheet files: any bytes must give a table
// whose rows fit its header, or a refusal with a reason; a table read, written
// again and read back must give the same fields, nulls included.
#include "CsvFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameFields(const QStringList& a, const QStringList& b)
{
    if (a != b)
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a.at(i).isNull() != b.at(i).isNull())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const std::optional<CsvFile::Table> table = CsvFile::read(bytes, &error);
    if (!table) {
        check(!error.isEmpty());
        return 0;
    }
    check(!table->header.isEmpty());
    check(table->lines.size() == table->rows.size());
    for (int r = 0; r < table->rows.size(); ++r) {
        check(table->rows.at(r).size() == table->header.size());
        check(table->lines.at(r) >= 2 && (r == 0 || table->lines.at(r) > table->lines.at(r - 1)));
    }
    // A single column's header decides no separator of its own.
    if (table->header.size() < 2)
        return 0;
    const std::optional<CsvFile::Table> back =
        CsvFile::read(CsvFile::write(table->header, table->rows), &error);
    check(back.has_value());
    check(back->header == table->header && back->decimalComma && back->encoding.isEmpty());
    check(back->rows.size() == table->rows.size());
    for (int r = 0; r < table->rows.size(); ++r)
        check(sameFields(back->rows.at(r), table->rows.at(r)));
    return 0;
}
