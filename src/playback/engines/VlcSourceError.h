#pragma once

#include "PlaybackTypes.h"

#include <QByteArrayView>

#include <optional>

// The failure of an address that a libVLC error message of a stream object tells:
// the host name not found, the connection refused or timed out, or an HTTP status.
std::optional<PlayError> vlcSourceError(QByteArrayView message);
