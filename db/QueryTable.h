#pragma once

#include <QVariant>
#include <QVector>

// The rows of a query as untyped values, indexed by row and then column from
// 0, columns in the order of the SELECT list. Reading outside the filled area
// gives an empty value, never a crash.
class QueryTable
{
public:
    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }

    void resize(int rows, int columns);
    void set(int row, int column, const QVariant& value);
    // Takes over rows x columns cells given row after row.
    void assign(int rows, int columns, QVector<QVariant>&& cells);

    QVariant value(int row, int column) const;
    QString text(int row, int column) const;
    double number(int row, int column) const;
    qint64 integer(int row, int column) const;
    bool isEmpty(int row, int column) const;

    // The same rows: at once for rows kept and given again.
    bool operator==(const QueryTable& other) const
    {
        return m_rows == other.m_rows && m_columns == other.m_columns && m_cells == other.m_cells;
    }

private:
    int m_rows = 0;
    int m_columns = 0;
    QVector<QVariant> m_cells;
};
