#include "GstPlatformPlayer.h"

#include "LanguageNames.h"

#include <QLocale>

#include <gst/gst.h>

namespace {

// libsoup 2 numbers its transport failures below 100, among the HTTP statuses.
constexpr uint kFirstHttpStatus = 100;
constexpr uint kSoupCantResolve = 2;

std::optional<uint> httpStatus(const GstStructure *details)
{
    uint status = 0;
    if (details && gst_structure_get_uint(details, "http-status-code", &status))
        return status;
    return std::nullopt;
}

// A failed request: the host name not found, the connection failed, or the status the server answered.
std::optional<PlayError> requestError(uint status)
{
    using namespace PlayErrorCode;
    if (status > 0 && status < kFirstHttpStatus) {
        const int code = status == kSoupCantResolve ? kCannotFindHost : kCannotConnect;
        return PlayError { PlayError::Domain::url, { code } };
    }
    return httpStatusError(static_cast<int>(status));
}

PlayError resourceError(int code)
{
    using namespace PlayErrorCode;
    switch (code) {
    case GST_RESOURCE_ERROR_NOT_FOUND:
        return { PlayError::Domain::url, { kFileDoesNotExist } };
    case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
        return { PlayError::Domain::media, { kHttpUnauthorized } };
    case GST_RESOURCE_ERROR_READ:
        return { PlayError::Domain::url, { kConnectionLost } };
    default:
        return { PlayError::Domain::url, { kCannotConnect } };
    }
}

PlayError streamError(int code)
{
    using namespace PlayErrorCode;
    switch (code) {
    case GST_STREAM_ERROR_TYPE_NOT_FOUND:
    case GST_STREAM_ERROR_WRONG_TYPE:
        return { PlayError::Domain::media, { kFormatNotRecognized } };
    case GST_STREAM_ERROR_CODEC_NOT_FOUND:
        return { PlayError::Domain::media, { kUnsupportedMedia } };
    case GST_STREAM_ERROR_DECODE:
        return { PlayError::Domain::media, { kDecodeFailed } };
    // An encrypted stream whose key cannot be had, refused or missing.
    case GST_STREAM_ERROR_DECRYPT:
    case GST_STREAM_ERROR_DECRYPT_NOKEY:
        return { PlayError::Domain::media, { kUnsupportedMedia } };
    case GST_STREAM_ERROR_DEMUX:
    case GST_STREAM_ERROR_FORMAT:
        return { PlayError::Domain::media, { kFailedToParse } };
    default:
        return { PlayError::Domain::media, {} };
    }
}

QString tagText(const GstTagList *tags, const char *tag)
{
    gchar *value = nullptr;
    if (!tags || !gst_tag_list_get_string(tags, tag, &value))
        return {};
    const QString text = QString::fromUtf8(value);
    g_free(value);
    return text;
}

}

PlayError GstPlatformPlayer::mapError(const GError *error, const GstStructure *details, bool fromSource)
{
    if (const auto status = httpStatus(details))
        if (const auto failure = requestError(*status))
            return *failure;
    if (!error)
        return {};
    if (error->domain == GST_RESOURCE_ERROR)
        return resourceError(error->code);
    // The HTTP source stops its stream without an error of its own when the connection or
    // the host name lookup fails.
    if (fromSource && error->domain == GST_STREAM_ERROR && error->code == GST_STREAM_ERROR_FAILED)
        return { PlayError::Domain::url, { PlayErrorCode::kCannotConnect } };
    if (error->domain == GST_STREAM_ERROR)
        return streamError(error->code);
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return { PlayError::Domain::media, { PlayErrorCode::kUnsupportedMedia } };
    return {};
}

void GstPlatformPlayer::handleMessage(GstMessage *message, quint64 generation)
{
    if (generation != m_generation || !m_playbin)
        return;
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        handleError(message);
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (m_status == Status::unknown) {
            m_status = Status::ready;
            emit statusChanged(m_status, std::nullopt);
        }
        applyDeferredTracks();
        break;
    case GST_MESSAGE_STATE_CHANGED:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(m_playbin)) {
            GstState state = GST_STATE_NULL;
            GstState pending = GST_STATE_VOID_PENDING;
            gst_message_parse_state_changed(message, nullptr, &state, &pending);
            m_pipelinePlaying = state == GST_STATE_PLAYING;
            updateTimeControl();
            // The done message of a change can come while the pipeline still reads as
            // changing; the change's last step is told here.
            if (pending == GST_STATE_VOID_PENDING)
                applyDeferredTracks();
        }
        break;
    case GST_MESSAGE_BUFFERING: {
        gint percent = 100;
        gst_message_parse_buffering(message, &percent);
        handleBuffering(percent);
        break;
    }
    case GST_MESSAGE_EOS:
        pause();
        emit ended();
        break;
    default:
        break;
    }
}

// A failed item reports once: as its status before it was ready, later as a
// failure to play to its end.
void GstPlatformPlayer::handleError(GstMessage *message)
{
    if (m_status == Status::failed)
        return;
    GError *error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    const GstStructure *details = nullptr;
    gst_message_parse_error_details(message, &details);
    GstObject *origin = GST_MESSAGE_SRC(message);
    const bool fromSource = GST_IS_URI_HANDLER(origin)
        && gst_uri_handler_get_uri_type(GST_URI_HANDLER(origin)) == GST_URI_SRC;
    const PlayError mapped = mapError(error, details, fromSource);
    g_clear_error(&error);
    const bool wasReady = m_status == Status::ready;
    m_status = Status::failed;
    retirePipeline();
    m_pipelinePlaying = false;
    blank();
    updateTimeControl();
    if (wasReady)
        emit failedToPlayToEnd(mapped);
    else
        emit statusChanged(Status::failed, mapped);
}

void GstPlatformPlayer::handleBuffering(int percent)
{
    if (percent < 100 && !m_waitingForData) {
        const bool wasPlaying = m_status == Status::ready && m_wantPlay;
        m_waitingForData = true;
        applyState();
        if (wasPlaying)
            emit stalled();
    } else if (percent >= 100 && m_waitingForData) {
        m_waitingForData = false;
        applyState();
    }
}

QString GstPlatformPlayer::trackName(
    const QString &title, const QString &languageCode, int index, const QLocale &names)
{
    const QString languageName = ::languageName(languageCode, names);
    if (title.isEmpty())
        return languageName.isEmpty() ? QString::number(index + 1) : languageName;
    return languageName.isEmpty() ? title : title + QStringLiteral(" - [") + languageName + QLatin1Char(']');
}

QList<TrackOption> GstPlatformPlayer::trackOptions(bool audio) const
{
    gint count = 0;
    g_object_get(m_playbin, audio ? "n-audio" : "n-text", &count, nullptr);
    QList<TrackOption> options;
    const QLocale names = m_namesIn ? m_namesIn() : QLocale(QLocale::English);
    for (gint index = 0; index < count; ++index) {
        GstTagList *tags = nullptr;
        g_signal_emit_by_name(m_playbin, audio ? "get-audio-tags" : "get-text-tags", index, &tags);
        options.append({ index,
            trackName(tagText(tags, GST_TAG_TITLE), tagText(tags, GST_TAG_LANGUAGE_CODE), index, names) });
        if (tags)
            gst_tag_list_unref(tags);
    }
    return options;
}
