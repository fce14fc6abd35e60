#pragma once

#include <QCoroFuture>
#include <QCoroTask>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <optional>
#include <type_traits>

// Runs a pure reader on a worker thread; its exception is rethrown to the awaiting task.
template <typename Work> QCoro::Task<std::invoke_result_t<Work>> offThread(Work work)
{
    using Value = std::invoke_result_t<Work>;
    struct Outcome {
        std::optional<Value> value;
        std::exception_ptr error;
    };
    QFuture<Outcome> future = QtConcurrent::run([work = std::move(work)]() mutable {
        Outcome outcome;
        try {
            outcome.value = work();
        } catch (...) {
            outcome.error = std::current_exception();
        }
        return outcome;
    });
    Outcome outcome = co_await future;
    if (outcome.error)
        std::rethrow_exception(outcome.error);
    co_return std::move(*outcome.value);
}
