#pragma once

#include "RunTask.h"

#include <QCoroTask>

#include <exception>
#include <optional>

// The value or the exception of a finished coroutine. runTask alone never returns when
// the task throws, so tests of failing calls go through runOutcome.
template <typename T> struct Outcome {
    std::optional<T> value;
    std::exception_ptr error;

    // The error as E, or nothing when the task succeeded or failed otherwise.
    template <typename E> std::optional<E> errorAs() const
    {
        if (!error)
            return std::nullopt;
        try {
            std::rethrow_exception(error);
        } catch (const E &typed) {
            return typed;
        } catch (...) {
            return std::nullopt;
        }
    }
};

template <typename T> QCoro::Task<Outcome<T>> captureOutcome(QCoro::Task<T> task)
{
    Outcome<T> outcome;
    try {
        outcome.value = co_await std::move(task);
    } catch (...) {
        outcome.error = std::current_exception();
    }
    co_return outcome;
}

template <typename T> Outcome<T> runOutcome(QCoro::Task<T> &&task)
{
    return runTask(captureOutcome(std::move(task)));
}
