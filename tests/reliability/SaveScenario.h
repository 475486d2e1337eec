#pragma once

#include <QMap>
#include <QSet>
#include <QString>

struct CalculationRecord;
class Database;

// The calculations the crash test saves: every saved value is a function of
// one sequence number, written into the note, so that a row read back after
// a crash can be checked column by column.
namespace SaveScenario {

void fill(CalculationRecord& record, int n);
// Whether save n makes a new calculation; the others save one in place.
inline bool isNewCalculation(int n)
{
    return n % 3 != 2;
}

// What the saving processes (save_loop) confirmed, checked against the orders
// database afterwards. Processes of one writer run one after another, each
// starting beyond the numbers of the one before; writers run side by side.
class SaveLog
{
public:
    // The standard output of one finished process started at number `first`.
    // Returns the number of saves it confirmed.
    int addRun(int writer, int first, const QByteArray& output);

    // An empty text when the database holds every confirmed save whole, each
    // row a save made to that row (at most one unconfirmed save per process,
    // the one it was killed before confirming), no calculation without its
    // customer or customer without a calculation, and each new calculation
    // with a key of its own; else what is wrong.
    QString check(Database& orders) const;

private:
    struct Save
    {
        int writer;
        qint64 key;
    };
    QMap<int, Save> m_confirmed;      // save number -> writer and row
    QMap<qint64, QSet<int>> m_perKey; // row -> the numbers confirmed for it
    QMap<int, int> m_unconfirmed;     // the save after each process's last line -> writer
    QMap<qint64, int> m_newKeys;      // row -> the save that made it
    QString m_duplicateKey;
};

} // namespace SaveScenario
