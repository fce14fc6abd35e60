// Every Xtream-Codes decoder over any answer: none crashes, readers that promise the
// same result agree, and list bodies decode alike whole or in pieces.
#include "FuzzCheck.h"
#include "sources/AppError.h"
#include "sources/XtreamClient.h"

#include <cstdint>

namespace {

template <typename Read> void tolerateAppErrors(Read read)
{
    try {
        read();
    } catch (const AppError &) {
    } catch (const DecodingError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    tolerateAppErrors([&] { XtreamClient::parseAccount(body); });
    tolerateAppErrors([&] { XtreamClient::parseSeriesInfo(body); });
    tolerateAppErrors([&] { XtreamClient::checkListBody(body); });
    XtreamClient::parseVodInfo(body);
    XtreamClient::decodeCategories(body);
    XtreamClient::parseEpgListings(body);
    XtreamClient::guideTable(body);
    XtreamClient::shortGuide(body, QDateTime::fromSecsSinceEpoch(1710000000, QTimeZone::utc()));
    XtreamClient::decodeText(QString::fromUtf8(body));
    tolerateAppErrors([&] {
        const QList<XStream> streams = XtreamClient::decodeStreams(body);
        for (ContentType type : kAllContentTypes)
            FUZZ_CHECK(XtreamClient::decodeMediaItems(body, type) == XtreamClient::mediaItems(streams, type));
    });
    return 0;
}
