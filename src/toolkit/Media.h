// Sound through the media control interface, and the animation control that plays a clip.
#pragma once

#include "toolkit/Controls.h"

#include <string>

namespace slumra::tk {

enum class TMPNotifyValue { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

// Plays a wave file with a notification when it has played to its end. No window of its own
// shows; it receives the notification on a hidden message window.
class TMediaPlayer {
public:
    TMediaPlayer();
    ~TMediaPlayer();
    TMediaPlayer(const TMediaPlayer&) = delete;
    TMediaPlayer& operator=(const TMediaPlayer&) = delete;

    std::string FileName;  // Windows-1252; empty while nothing is open
    // Open, Play and Stop return false on a failure of the device; nothing is raised.
    [[nodiscard]] bool Open();
    [[nodiscard]] bool Play();
    bool Stop();
    void Close();
    bool IsOpen() const { return FDevice != 0; }
    std::function<void(TMediaPlayer*, TMPNotifyValue)> OnNotify;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND FWindow = nullptr;
    unsigned FDevice = 0;
};

// The platform's animation control playing a silent clip (an uncompressed or RLE AVI file).
class TAnimate : public TWinControl {
public:
    explicit TAnimate(TWinControl* parent);
    // Opens the clip at `path`; false when it cannot be played.
    [[nodiscard]] bool Open(const std::string& path);
    // Plays frames from..to over and over (-1 repeats forever).
    bool Play(int fromFrame, int toFrame, int repeat);
    void Stop();
    int StopFrame = 0;

protected:
    void CreateParams(CREATESTRUCTW& cs, std::wstring& className) override;
};

}  // namespace slumra::tk
