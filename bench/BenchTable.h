#pragma once

#include "Samples.h"

#include <QString>
#include <vector>

// The runner's result: one row per figure and database size, printed as a
// plain-text table. A figure that could not be taken keeps its row and says
// "not measured".
class BenchTable
{
public:
    void add(const QString& figure, const QString& where, const Summary& s, const QString& unit,
             const QString& target, int decimals = 1);
    // A single value (a percentile, a ratio of medians): no min and max.
    void addValue(const QString& figure, const QString& where, double value, const QString& unit,
                  const QString& target, int decimals = 1);
    void addMissing(const QString& figure, const QString& where, const QString& target, const QString& why);

    QString text() const;

private:
    struct Row
    {
        QString figure, where, median, min, max, unit, target;
    };
    std::vector<Row> m_rows;
};
