// The volume control of the wave output line, as the view and the wave list use it.
#pragma once

// Called with (new volume, user value) when the line's volume changes.
using VolumeChangeCallback = void (*)(int volume, int user);

// Abstract volume control: nine operations in a fixed order, no data.
class CVolumeCtrl {
public:
    virtual bool IsAvailable() = 0;
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    virtual int GetSteps() = 0;
    virtual int GetMinimum() = 0;
    virtual int GetMaximum() = 0;
    virtual int GetVolume() = 0;
    virtual void SetVolume(unsigned value) = 0;
    virtual void SetChangeCallback(VolumeChangeCallback callback, int user) = 0;

protected:
    ~CVolumeCtrl() = default;
};
