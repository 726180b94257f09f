// The app framework's game-facing half: the c_App base class that the game extends, and the
// game delegate that the host calls for every event and that owns the graphics, audio and input
// devices. Built apart from the host (tolvane_app) because it depends on graphics and audio.
#pragma once

#include "host/app.h"
#include "host/game.h"

class gxtkGraphics;
class gxtkAudio;
class c_InputDevice;

class c_App : public Object {
public:
    // The tail of every app constructor: there is one app per process, and making it creates
    // the delegate and hands it to the host.
    c_App* m_new();

    virtual int p_OnCreate() { return 0; }
    virtual int p_OnSuspend() { return 0; }
    virtual int p_OnResume() { return 0; }
    virtual int p_OnUpdate() { return 0; }
    virtual int p_OnRender() { return 0; }
    int p_OnResize() { return 0; }
    int p_OnLoading() { return 0; }
    int p_OnClose();
    int p_OnBack();
};

class c_GameDelegate : public KvGameDelegate {
public:
    gxtkGraphics* graphics = nullptr;
    gxtkAudio* audio = nullptr;
    c_InputDevice* input = nullptr;

    c_GameDelegate* m_new() { return this; }
    void mark() override;

    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
};

extern c_App* kv_app__app;
extern c_GameDelegate* kv_app__delegate;
