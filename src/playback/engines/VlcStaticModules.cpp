#include <vlc_common.h>
#include <vlc_plugin.h>

// The entry points of this program's own libVLC modules.
extern "C" int vlc_entry__zelfor_network_only(vlc_set_cb, void *);
extern "C" int vlc_entry__zelfor_manifest_guard(vlc_set_cb, void *);

// libVLC registers the modules this array names when it starts; the executable exports it.
using VlcEntry = int (*)(vlc_set_cb, void *);
extern "C" {
__attribute__((visibility("default"), used)) VlcEntry vlc_static_modules[]
    = { &vlc_entry__zelfor_network_only, &vlc_entry__zelfor_manifest_guard, nullptr };
}
