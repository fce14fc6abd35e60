#pragma once

struct libvlc_media_player_t;

// Draws the subtitles of the player's video outputs `pixels` of the picture higher than libVLC
// places them, now and in the outputs it makes later.
void setSubtitleMargin(libvlc_media_player_t *player, int pixels);
