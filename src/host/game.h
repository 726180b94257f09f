// The host object's platform-neutral half: the delegate it feeds, the event wrappers that guard
// every call into the game and run a collector step after it, and the defaults of a host with
// no desktop layer (the desktop host and the headless test host both derive from it).
#pragma once

#include <cstdio>

#include "runtime/array.h"
#include "runtime/errors.h"
#include "runtime/gc.h"
#include "runtime/string.h"

// Counts the windows the host has opened (0 before the first): each new window brings a new
// OpenGL context, so anything holding GL objects compares this to know they are gone.
extern int glfwGraphicsSeq;

// Event codes passed from the host to the delegate.
enum KvGameEvent {
    KeyDown = 1,
    KeyUp = 2,
    KeyChar = 3,
    MouseDown = 4,
    MouseUp = 5,
    MouseMove = 6,
    TouchDown = 7,
    TouchUp = 8,
    TouchMove = 9,
    MotionAccel = 10,
};

class KvGameDelegate : public Object {
public:
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int, int) {}
    virtual void MouseEvent(int, int, float, float) {}
    virtual void TouchEvent(int, int, float, float) {}
    virtual void MotionEvent(int, int, float, float, float) {}
    virtual void DiscardGraphics() {}
};

class KvDisplayMode : public Object {
public:
    int width = 0;
    int height = 0;
    int depth = 0;
    int hertz = 0;
    int flags = 0;
};

class KvGame {
public:
    KvGame();
    virtual ~KvGame();

    virtual void SetDelegate(KvGameDelegate* delegate);
    virtual KvGameDelegate* Delegate();
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
    virtual String LoadString(String path);
    virtual bool PollJoystick(int unit, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons);
    virtual void OpenUrl(String url);
    virtual void SetMouseVisible(bool visible);
    virtual int GetDeviceWidth();
    virtual int GetDeviceHeight();
    virtual void SetDeviceWindow(int width, int height, int flags);
    virtual Array<KvDisplayMode*> GetDisplayModes();
    virtual KvDisplayMode* GetDesktopMode();
    virtual void SetSwapInterval(int interval);
    virtual String PathToFilePath(String path);
    virtual FILE* OpenFile(String path, String mode);
    // Whole files, decoded images and decoded sounds: heap buffers (malloc) owned by the caller.
    virtual unsigned char* LoadData(String path, int* length);
    virtual unsigned char* LoadImageData(String path, int* width, int* height, int* depth);
    virtual unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz);
    [[noreturn]] virtual void Die(ThrowableObject* exception);
    virtual void gc_collect();

    // Event wrappers: called by the host's loop only, on the main thread.
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

    static KvGame* _game;

protected:
    KvGameDelegate* delegate = nullptr;
    bool keyboardEnabled = false;
    int updateRate = 0;
    bool started = false;
    bool suspended = false;

private:
    template <class Call>
    void deliver(Call call);
};
