#include "TestHttp.h"

namespace {

QCoro::Task<> recordWait(
    std::shared_ptr<QList<std::chrono::milliseconds>> waits, std::chrono::milliseconds wait)
{
    waits->append(wait);
    co_return;
}

} // namespace

TestHttp::TestHttp(HttpOptions options)
    : m_waits(std::make_shared<QList<std::chrono::milliseconds>>())
{
    if (options.cacheDir.isEmpty())
        options.cacheDir = m_dir.filePath(QStringLiteral("http"));
    if (!options.sleep)
        options.sleep = [waits = m_waits](std::chrono::milliseconds wait) { return recordWait(waits, wait); };
    m_http = std::make_unique<Http>(std::move(options));
}
