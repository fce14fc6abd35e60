#pragma once

// What the onboarding screens need of the playback engine. The engine implements it and
// main installs it with setShared() before the first screen is built.
class PlaybackControl {
public:
    virtual ~PlaybackControl() = default;

    // Ends playback of the current item, if any; harmless with nothing playing.
    virtual void stop() = 0;

    // The installed engine; nullptr until main installs one.
    static PlaybackControl *shared();
    static void setShared(PlaybackControl *control);
};
