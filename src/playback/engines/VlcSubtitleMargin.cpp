#include "VlcSubtitleMargin.h"

// Also declares libVLC's objects and variables.
#include <vlc_common.h>

// libVLC 3 has no call for it: the margin is the variable "sub-margin" of each video output, which
// follows its changes and takes its first value from its parent, the media player (an object of
// libVLC's own).
void setSubtitleMargin(libvlc_media_player_t *player, int pixels)
{
    auto *object = reinterpret_cast<vlc_object_t *>(player);
    if (var_Type(object, "sub-margin") == 0)
        var_Create(object, "sub-margin", VLC_VAR_INTEGER);
    var_SetInteger(object, "sub-margin", pixels);
    vlc_list_t *children = vlc_list_children(object);
    for (int child = 0; child < children->i_count; ++child) {
        auto *output = static_cast<vlc_object_t *>(children->p_values[child].p_address);
        if (var_Type(output, "sub-margin") != 0)
            var_SetInteger(output, "sub-margin", pixels);
    }
    vlc_list_release(children);
}
