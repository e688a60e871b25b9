// The program's one way to play a sound file.
#pragma once

#include <string>

// Plays files asynchronously; a new Play first stops the sound that is playing.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Decodes the whole file now and starts playing it; returns at once. A file that is
    // missing or cannot be decoded plays nothing and shows nothing.
    virtual void Play(const std::string& path) = 0;
    // Stops the sound that is playing, if any.
    virtual void Stop() = 0;
    virtual bool IsPlaying() const = 0;
};
