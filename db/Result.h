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
