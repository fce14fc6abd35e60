#pragma once

#include <QCoroTask>

// Drives a coroutine to completion on the test's event loop.
template <typename T> T runTask(QCoro::Task<T> &&task)
{
    return QCoro::waitFor(std::move(task));
}
