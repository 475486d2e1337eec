#pragma once

#include "DataLocation.h"
#include "FailedReads.h"
#include "KeptLookups.h"

#include <QStringList>
#include <memory>
#include <optional>

class Database;

// Where a calculation reads and saves: the connections to the reference and
// orders databases, the location they (and the pictures) were opened from,
// and the reads of them that failed during the action in hand. Set up once
// at start and never reset; every lookup, save and reopen receives it beside
// the record. The record holds none of it, so a copy of the record computed
// apart reads through the same connections and its failed reads are noted
// here, where the action looks for them.
//
// One per program run: a copy would keep a failed-read log of its own that
// the action never sees, so there is none.
struct CalculationContext
{
    CalculationContext() = default;
    CalculationContext(const CalculationContext&) = delete;
    CalculationContext& operator=(const CalculationContext&) = delete;

    std::shared_ptr<Database> ref_db;
    std::shared_ptr<Database> order_db;
    DataLocation location;
    // Whether order_db has the table of the second opinion's assumptions.
    bool ordersKeepSecondOpinion = false;
    // Reads of ref_db and order_db that failed since the action in hand began.
    FailedReads failedReads;
    // What the calculation of the action in hand has to tell the user (the
    // capacity rows a selection did not find), in the order it found it: the
    // action shows them once it is done.
    QStringList notices;
    // Set for a run over reference data nobody changes meanwhile: the
    // lookups' rows, kept by their keys for the whole run.
    std::optional<KeptLookups> keptLookups;
};
