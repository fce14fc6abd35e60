#pragma once

// What the onboarding screens need of the playback engine; the engine implements it.
class PlaybackControl {
public:
    virtual ~PlaybackControl() = default;

    // Ends playback of the current item, if any; harmless with nothing playing.
    virtual void stop() = 0;
};
