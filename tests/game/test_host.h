// The game's headless test host: a host with a controlled clock, a fixed device size, the
// saved state kept in memory and no window. Tests drive the real game through the delegate
// frame by frame with scripted input and look at the draw list, the fields and the tables.
#pragma once

#include <string>

#include "game/app.h"
#include "host/game.h"

class TestHost : public KvGame {
public:
    // Starts the runtime, the game module and the app once per test program, at this size.
    static TestHost& Start(int width = 640, int height = 480);

    c_MyApp* app = nullptr;
    int clockMs = 0;
    int width = 640;
    int height = 480;
    String savedState;
    int saves = 0;
    bool keyboardFlag = false;

    int Millisecs() override { return clockMs; }
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    int SaveState(String state) override;
    String LoadState() override { return savedState; }
    String PathToFilePath(String path) override;
    unsigned char* LoadImageData(String path, int* w, int* h, int* depth) override;
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override;
    KvDisplayMode* GetDesktopMode() override;
    void SetDeviceWindow(int w, int h, int flags) override;

    // One update at 60 per second: the clock advances by about 16.7 ms first.
    void Frame();
    void Frames(int count);
    // Frames until the loader has run its last step.
    void FinishLoading();
    void Render() { RenderGame(); }

    void KeyDown(int key) { KeyEvent(::KeyDown, key); }
    void KeyUp(int key) { KeyEvent(::KeyUp, key); }
    void Type(int character) { KeyEvent(KeyChar, character); }
    // Sends a release for every key, button or touch still held.
    void ReleaseKeys();
    void MouseDown(float x, float y);
    void MouseUp(float x, float y);

private:
    int frames_ = 0;
};

// A second app object (not the running one) for methods that only touch its own tables; one
// per test program, kept from the collector, which runs whenever the host delivers frames.
c_MyApp* bare_app();

// Narrows a game string for comparisons in assertions.
std::string text_of(const String& s);
