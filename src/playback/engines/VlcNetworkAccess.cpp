// A libVLC module of this program, registered when libVLC starts: it answers first for every
// access of libVLC that reads something other than the network, and refuses. libVLC stops looking
// for another module after a refusal like this one, so nothing a playlist, redirect, manifest or
// subtitle search names can open a local file or device.

#define MODULE_NAME zelfor_network_only
#define MODULE_STRING "zelfor_network_only"

#include <vlc_common.h>

#include <vlc_demux.h>
#include <vlc_plugin.h>
#include <vlc_stream.h>

namespace {

// Above any score a module of libVLC has.
constexpr int kFirstOfAll = 1000000;

int refuse(vlc_object_t *object, const char *address)
{
    vlc_Log(object, VLC_MSG_ERR, MODULE_STRING, __FILE__, __LINE__, __func__,
        "refused a source off the network: %s", address ? address : "");
    // A timeout ends libVLC's search at this module: no other module gets the address.
    return VLC_ETIMEOUT;
}

int refuseAccess(vlc_object_t *object)
{
    return refuse(object, reinterpret_cast<stream_t *>(object)->psz_url);
}

// The modules that read and demultiplex at once (discs, devices) look into a file's bytes before
// any access opens it.
int refuseAccessDemux(vlc_object_t *object)
{
    return refuse(object, reinterpret_cast<demux_t *>(object)->psz_location);
}

}

// clang-format off
// Files, folders and descriptors, and modules reading them under another name; discs, capture
// devices and tuners; shares and other transports outside the network schemes played.
#define LOCAL_SHORTCUTS                                                                                         \
    add_shortcut("file", "directory", "dir", "fd", "stream", "filesystem", "attachment", "concat",                \
                 "access_concat", "imem", "access_imem", "avio", "dummy", "vlc", "idummy", "timecode", "vdr",   \
                 "zip", "unzip", "archive", "shm", "sdp")                                                       \
    add_shortcut("dvd", "dvdnav", "dvdread", "dvdsimple", "bluray", "libbluray", "vcd", "svcd", "cdda",          \
                 "cddasimple", "v4l", "v4l2", "video", "radio", "alsa", "access_alsa", "pulse", "pulsesrc",     \
                 "jack", "screen", "dc1394", "dv", "dv1394", "raw1394", "linsys-hdsdi", "linsys-sdi",            \
                 "linsys_hdsdi", "linsys_sdi", "decklink", "mtp", "access_mtp")                                 \
    add_shortcut("dtv", "dvb", "tuner", "atsc", "cqam", "dvb-s", "dvbs", "dvb-s2", "dvbs2", "dvb-c", "dvbc",     \
                 "dvb-c2", "dvbc2", "dvb-t", "dvbt", "dvb-t2", "dvbt2", "isdb-c", "isdbc", "isdb-s", "isdbs",   \
                 "isdb-t", "isdbt", "satip")                                                                    \
    add_shortcut("smb", "smb2", "nfs", "sftp", "ftp", "ftps", "ftpes", "tcp", "udpstream", "udp4", "udp6",       \
                 "udplite", "dccp", "rtptcp", "rist", "unsv", "itpc", "vnc", "rdp", "upnp")

vlc_module_begin()
    set_shortname("network only")
    set_description("Refuses every source that is not on the network")
    set_capability("access", kFirstOfAll)
    set_callbacks(refuseAccess, nullptr)
    LOCAL_SHORTCUTS
    add_submodule()
    set_capability("access_demux", kFirstOfAll)
    set_callbacks(refuseAccessDemux, nullptr)
    LOCAL_SHORTCUTS
vlc_module_end()
    // clang-format on
