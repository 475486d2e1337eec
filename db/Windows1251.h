#pragma once

#include <QByteArray>
#include <QString>

// Russian Windows' single-byte encoding, which a Russian-locale spreadsheet
// still writes for its plain "CSV". Decoded here rather than through ICU,
// which a Qt build may lack.
namespace Windows1251 {

inline constexpr char Name[] = "Windows-1251";

QString decode(const QByteArray& bytes);

} // namespace Windows1251
