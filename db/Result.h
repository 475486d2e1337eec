#pragma once

#include "DatabaseFailure.h"

#include <optional>
#include <utility>

// What an operation of a store gives: its value, or the failure that stopped
// it. Whoever is above decides how to tell it (a box, a line on stderr).
template <typename T> class Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(DatabaseFailure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return !m_failure; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    const DatabaseFailure& failure() const { return *m_failure; }
    // For a caller to whom a failure means the same as fallback.
    T valueOr(T fallback) const& { return ok() ? *m_value : std::move(fallback); }
    T valueOr(T fallback) && { return ok() ? std::move(*m_value) : std::move(fallback); }

private:
    std::optional<T> m_value;
    std::optional<DatabaseFailure> m_failure;
};

// An operation that gives nothing but whether it was done.
template <> class Result<void>
{
public:
    Result() = default;
    Result(DatabaseFailure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return !m_failure; }
    explicit operator bool() const { return ok(); }
    const DatabaseFailure& failure() const { return *m_failure; }

private:
    std::optional<DatabaseFailure> m_failure;
};

// For an engine's step that notes its failure rather than giving it: done
// unless the engine gave one.
inline Result<void> EngineOutcome(const DatabaseFailure& failure)
{
    if (failure.fromEngine())
        return failure;
    return {};
}
