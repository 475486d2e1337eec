#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// The capacity table as a whole, for imports that write many sets at once:
// each model code and modification must be one complete set of one
// equipment type whose series begins the code, as the editor of a single set
// requires.
namespace CapacityTable {

struct Row
{
    QString model;
    double modification = 0;
    double inT = 0;
    double outT = 0;
    double power = 0;
    qint64 type = 0; // the equipment type's key
    int line = 0;    // the row's line in the file; 0 for a row the store holds
};

// The problems of the sets that hold a row of the file, each beginning with
// the line of the set's first row there; seriesOfType gives each type's
// series (equipment.model). At most limit problems.
QStringList problems(const QVector<Row>& rows, const QHash<qint64, QString>& seriesOfType, int limit);

} // namespace CapacityTable
