#pragma once

#include "DatabaseFailure.h"

#include <optional>

// Reads of the context's databases that failed since the action in hand began.
// Every other operation returns its failure (Result); only a lookup deep
// inside a calculation cannot, so it notes it here and counts as having found
// nothing; the action that
// decides (a reopen, "Расчет", the batch tool) asks afterwards, throws away
// whatever was computed from it and reports it once. It lives in the
// context, not in the record, so a failure while computing on a scratch copy
// of the record counts too.
class FailedReads
{
public:
    // Keeps the first failure: the later ones usually follow from it.
    void note(const DatabaseFailure& failure)
    {
        if (!m_first)
            m_first = failure;
    }
    bool any() const { return m_first.has_value(); }
    const std::optional<DatabaseFailure>& first() const { return m_first; }
    // At the start of an action: what failed before is no longer its concern.
    void clear() { m_first.reset(); }

private:
    std::optional<DatabaseFailure> m_first;
};
