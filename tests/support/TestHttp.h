#pragma once

#include "sources/Http.h"

#include <QList>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

// An Http client of its own for a test: a temporary cache folder and retry waits that are
// recorded and end at once.
class TestHttp {
public:
    // Empty fields of `options` get the test's folder and sleeper; the rest is kept.
    explicit TestHttp(HttpOptions options = {});

    Http &http() { return *m_http; }
    Http *operator->() { return m_http.get(); }
    QString cacheDir() const { return m_http->cacheDir(); }
    // The retry waits asked for so far, in order.
    QList<std::chrono::milliseconds> waits() const { return *m_waits; }

private:
    QTemporaryDir m_dir;
    std::shared_ptr<QList<std::chrono::milliseconds>> m_waits;
    std::unique_ptr<Http> m_http;
};
