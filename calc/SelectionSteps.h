#pragma once

#include "CalculationTrace.h"

struct CalculationRecord;

// The selection's steps as it takes them, for the record's trace: how the
// model code was formed, each modification tried with the capacities read
// for it, and the choice. Without a trace on the record nothing is recorded.
class SelectionSteps
{
public:
    // Starts the selection's part of the trace afresh.
    explicit SelectionSteps(CalculationRecord& record);
    // Records the outcome the selection left in the record.
    ~SelectionSteps();
    SelectionSteps(const SelectionSteps&) = delete;
    SelectionSteps& operator=(const SelectionSteps&) = delete;

    // The modification record.sel_model / sel_modification is about to be read.
    void tryModel();
    // It was read: its capacity is record.unit_capacity.
    void tried(bool sufficient);

    // What GetPower read at the index-th rated ambient for the modification
    // being tried.
    static void reading(const CalculationRecord& record, int index, const CapacityReading& reading);

    // What GetSeries did: the type's series (empty without a type), the last
    // letter rule that held, 1 to 4, and its letter; record.xo_series is the
    // code it settled on.
    static void series(const CalculationRecord& record, const QString& series, int rule,
                       const QString& letter);

private:
    void addTrialLines(const ModelTrial& trial);

    CalculationRecord& m_r;
    CalculationTrace* m_trace;
};
