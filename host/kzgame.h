// The platform-neutral host: the event gate between the host loop and the
// application, and default (empty) platform services.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "runtime/runtime.h"

// Receiver of every event the host forwards; the application supplies one.
class KzGameDelegate : public Object {
public:
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int /*event*/, int /*data*/) {}
    virtual void MouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void TouchEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void MotionEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
    virtual void DiscardGraphics() {}
};

class KzDisplayMode : public Object {
public:
    int width = 0;
    int height = 0;
    int depth = 0;
    int hertz = 0;
    int flags = 0;
};

// Input event codes carried in the `event` argument.
enum KzEvent {
    kEventKeyDown = 1,
    kEventKeyUp = 2,
    kEventKeyChar = 3,
    kEventMouseDown = 4,
    kEventMouseUp = 5,
    kEventMouseMove = 6,
    kEventTouchDown = 7,
    kEventTouchUp = 8,
    kEventTouchMove = 9,
    kEventMotionAccel = 10,
};

// Key codes the host itself sends.
constexpr int kKeyBack = 416;
constexpr int kKeyClose = 432;

class KzGame {
public:
    KzGame();
    virtual ~KzGame();

    virtual void SetDelegate(KzGameDelegate* delegate);
    virtual KzGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int hertz);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    virtual void GetDate(Array<int> date);
    virtual int SaveState(String state);
    virtual String LoadState();
    // The state file copied to the same name with ".bad" added, replacing an
    // earlier copy; nothing without a state file. A copy that fails is told
    // on standard error.
    virtual void KeepState();
    virtual String LoadString(String path);
    virtual bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons);
    virtual void OpenUrl(String url);
    virtual void SetMouseVisible(bool visible);
    virtual int GetDeviceWidth();
    virtual int GetDeviceHeight();
    virtual void SetDeviceWindow(int width, int height, int flags);
    virtual Array<KzDisplayMode*> GetDisplayModes();
    virtual KzDisplayMode* GetDesktopMode();
    virtual void SetSwapInterval(int interval);
    virtual String PathToFilePath(String path);
    virtual std::FILE* OpenFile(String path, String mode);
    // The whole file in one malloc buffer the caller frees; null when it
    // cannot be read.
    virtual unsigned char* LoadData(String path, int* plength);
    virtual unsigned char* LoadImageData(String path, int* width, int* height, int* depth);
    virtual unsigned char* LoadAudioData(String path, int* length, int* channels, int* format,
                                         int* hertz);

    [[noreturn]] virtual void Die(ThrowableObject* ex);
    virtual void gc_collect();

    // The event gate: each forwards to the delegate only in the states noted
    // in kzgame.cpp, ends the program through Die when the delegate throws,
    // and runs one collection step after a forwarded event.
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

    // The pictures a loader will ask for next, in the order it will: hosts
    // that can decode ahead begin on them; LoadImageData then takes them.
    virtual void DecodeImagesAhead(Array<String> paths);
    // The same for sounds, which LoadAudioData then takes.
    virtual void DecodeSoundsAhead(Array<String> paths);

    static KzGame* _game;

protected:
    // The file-system name behind `path`; false, with errno set, when the
    // path names no file this host can open.
    bool FileSystemName(String path, std::string* name);
    // The file-system names of those paths that name one, in order.
    std::vector<std::string> FileSystemNames(Array<String> paths);
    // The file behind `path` opened for reading, or null with the reason told
    // (a missing file only when `tellMissing`).
    std::FILE* OpenForReading(String path, bool tellMissing);
    // Tells that the file behind `path` could not be read, and why.
    void TellUnreadable(String path, const char* reason);

    KzGameDelegate* _delegate = nullptr;
    bool _keyboardEnabled = false;
    int _updateRate = 0;
    bool _started = false;
    bool _suspended = false;

private:
    template <class Call>
    void Forward(Call call);

    // The one place that tells the player on standard error that a file could
    // not be read or written: one line naming the file and the reason. Each
    // line is told once, so a file loaded again (at another resolution, after
    // a resize) or saved again (at every pause) does not repeat it.
    void TellFileFailure(const char* action, const std::string& file, const char* reason);
    // The whole file behind `path`; false, with the reason told, when it
    // cannot be read (a missing file told only when `tellMissing`).
    bool ReadFile(String path, bool tellMissing, std::vector<unsigned char>* bytes);

    std::set<std::string> _toldFileFailures;
};
