#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// One audio or subtitle choice of the engine.
struct TrackOption {
    int id = 0;
    QString name;
    bool operator==(const TrackOption &) const = default;
};

// A failure reported by a backend: the domain of the outermost error and the
// codes of the error chain, outermost first.
struct PlayError {
    enum class Domain { url, media, other };
    Domain domain = Domain::other;
    QList<int> codes;
    bool operator==(const PlayError &) const = default;
};

// Codes a backend reports, named after what they mean to the classifier.
namespace PlayErrorCode {
inline constexpr int kTimedOut = -1001;
inline constexpr int kCannotConnect = -1004;
inline constexpr int kCannotFindHost = -1003;
inline constexpr int kConnectionLost = -1005;
inline constexpr int kNotConnected = -1009;
inline constexpr int kFileDoesNotExist = -1100;
inline constexpr int kDecodeFailed = -11821;
inline constexpr int kFormatNotRecognized = -11828;
inline constexpr int kFailedToParse = -11829;
inline constexpr int kPlaylistParse = -12642;
inline constexpr int kMediaForbidden = -12660;
inline constexpr int kUnsupportedMedia = -12847;
inline constexpr int kMediaNotFound = -12938;
inline constexpr int kHttpUnauthorized = 401;
inline constexpr int kHttpForbidden = 403;
inline constexpr int kHttpNotFound = 404;
}

// An HTTP status that failed a request: refusals of the item itself are media
// errors, any other failure status is the transport's.
inline std::optional<PlayError> httpStatusError(int status)
{
    using namespace PlayErrorCode;
    if (status < 400)
        return std::nullopt;
    const bool refused = status == kHttpNotFound || status == kHttpForbidden || status == kHttpUnauthorized;
    return PlayError { refused ? PlayError::Domain::media : PlayError::Domain::url, { status } };
}

Q_DECLARE_METATYPE(TrackOption)
