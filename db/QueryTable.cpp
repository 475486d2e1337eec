#include "QueryTable.h"

#include <cmath>

void QueryTable::resize(int rows, int columns)
{
    m_rows = rows;
    m_columns = columns;
    m_cells = QVector<QVariant>(rows * columns);
}

void QueryTable::assign(int rows, int columns, QVector<QVariant>&& cells)
{
    Q_ASSERT(cells.size() == qsizetype(rows) * columns);
    m_rows = rows;
    m_columns = columns;
    m_cells = std::move(cells);
}

void QueryTable::set(int row, int column, const QVariant& value)
{
    if (row >= 0 && row < m_rows && column >= 0 && column < m_columns)
        m_cells[row * m_columns + column] = value;
}

QVariant QueryTable::value(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return {};
    return m_cells.at(row * m_columns + column);
}

QString QueryTable::text(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return {};
    return m_cells.at(row * m_columns + column).toString();
}

double QueryTable::number(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return 0;
    // The two kinds SQLite gives numbers as, without the general conversion.
    const QVariant& v = m_cells.at(row * m_columns + column);
    const int type = v.typeId();
    if (type == QMetaType::Double)
        return *static_cast<const double*>(v.constData());
    if (type == QMetaType::LongLong)
        return double(*static_cast<const qint64*>(v.constData()));
    return v.toDouble();
}

qint64 QueryTable::integer(int row, int column) const
{
    const QVariant v = value(row, column);
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        return std::isfinite(d) ? qint64(std::llround(d)) : 0;
    }
    return v.toLongLong();
}

bool QueryTable::isEmpty(int row, int column) const
{
    const QVariant v = value(row, column);
    return !v.isValid() || v.isNull();
}
