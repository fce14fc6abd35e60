// A libVLC demux module, probed before every other one, that ends the search for a
// demuxer when the stream is a streaming manifest in XML (DASH): libVLC's adaptive
// module crashes the process on some of them. Playlists of HLS are left to libVLC.

#define MODULE_NAME zelfor_manifest_guard
#define MODULE_STRING "zelfor_manifest_guard"

#include <vlc_common.h>
#include <vlc_demux.h>
#include <vlc_plugin.h>

#include <cstring>
#include <strings.h>

namespace {

// Bytes that may come before the first character of an XML document: white space,
// byte-order marks and the zeros of UTF-16 and UTF-32.
constexpr char kLeadBytes[] = " \t\r\n\0\xEF\xBB\xBF\xFE\xFF";
constexpr ssize_t kPeekBytes = 64;

bool namesDash(const char *contentType)
{
    return contentType && strcasestr(contentType, "dash");
}

bool startsAsMarkup(stream_t *stream)
{
    const uint8_t *peek = nullptr;
    const ssize_t size = vlc_stream_Peek(stream, &peek, kPeekBytes);
    for (ssize_t index = 0; index < size; ++index)
        if (!std::memchr(kLeadBytes, peek[index], sizeof kLeadBytes - 1))
            return peek[index] == '<';
    return false;
}

// A timeout ends the probe: no other demux module is tried on the stream.
int openGuard(vlc_object_t *object)
{
    auto *demux = reinterpret_cast<demux_t *>(object);
    char *contentType = stream_ContentType(demux->s);
    const bool manifest = namesDash(contentType) || startsAsMarkup(demux->s);
    free(contentType);
    if (!manifest)
        return VLC_EGENERIC;
    vlc_Log(object, VLC_MSG_ERR, MODULE_STRING, __FILE__, __LINE__, __func__, "streaming manifest refused");
    return VLC_ETIMEOUT;
}

}

vlc_module_begin()
    set_shortname("Manifest guard")
    set_description("Refuses streaming manifests")
    set_capability("demux", 10000)
    set_callbacks(openGuard, nullptr)
vlc_module_end()
