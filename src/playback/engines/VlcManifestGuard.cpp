// A libVLC demux module, probed before every other one, that ends the search for a
// demuxer when the stream is a streaming manifest in XML (DASH): libVLC's adaptive
// module crashes the process on some of them. Playlists of HLS are left to libVLC.

#define MODULE_NAME zelfor_manifest_guard
#define MODULE_STRING "zelfor_manifest_guard"

#include <vlc_common.h>
#include <vlc_demux.h>
#include <vlc_plugin.h>

#include "ManifestSniff.h"

#include <algorithm>

namespace {

constexpr ssize_t kPeekBytes = 64;

// A timeout ends the probe: no other demux module is tried on the stream.
int openGuard(vlc_object_t *object)
{
    auto *demux = reinterpret_cast<demux_t *>(object);
    char *contentType = stream_ContentType(demux->s);
    const uint8_t *peek = nullptr;
    const ssize_t size = std::max<ssize_t>(vlc_stream_Peek(demux->s, &peek, kPeekBytes), 0);
    const bool manifest = looksLikeXmlManifest(contentType, QByteArrayView(peek, size));
    free(contentType);
    if (!manifest)
        return VLC_EGENERIC;
    vlc_Log(object, VLC_MSG_ERR, MODULE_STRING, __FILE__, __LINE__, __func__, "streaming manifest refused");
    return VLC_ETIMEOUT;
}

}

// clang-format off
vlc_module_begin()
    set_shortname("Manifest guard")
    set_description("Refuses streaming manifests")
    set_capability("demux", 10000)
    set_callbacks(openGuard, nullptr)
vlc_module_end()
    // clang-format on
