#pragma once

#include "PlaybackTypes.h"

#include <QByteArrayView>

#include <optional>

// The name of this program's libVLC module that refuses every source off the network.
inline constexpr const char *kNetworkOnlyModule = "zelfor_network_only";
// What that module writes before the address of a source it refused.
inline constexpr const char *kRefusedSourceMessage = "refused a source off the network:";

// The failure of an address that a libVLC error message of a stream object tells:
// the host name not found, the connection refused or timed out, an HTTP status, a source refused
// for not being on the network.
std::optional<PlayError> vlcSourceError(QByteArrayView message);
