// The app module's host side: the module globals through which game code reaches the host
// (update rate, clock, cached device size, display modes, saved state, ending the app) and the
// display-mode list. The app class and the delegate that feeds it live in host/delegate.h.
#pragma once

#include "host/game.h"
#include "runtime/containers.h"

class c_DisplayMode : public Object {
public:
    int width = 0;
    int height = 0;

    c_DisplayMode* m_new(int width, int height);
    c_DisplayMode* m_new2();
};

// The containers of display modes: an int-keyed map to find sizes already seen, and a stack
// that keeps them in order of first appearance.
using c_Node = MapNode<c_DisplayMode*>;
using c_Map = MapOf<c_DisplayMode*>;

class c_IntMap : public IntMapOf<c_DisplayMode*> {
public:
    c_IntMap* m_new() { return this; }
};

class c_Stack : public StackOf<c_DisplayMode*> {
public:
    c_Stack* m_new() { return this; }
    c_Stack* m_new2(const Array<c_DisplayMode*>& values) {
        PushTail(values, 0);
        return this;
    }
    int p_Push(c_DisplayMode* value) { return Push(value), 0; }
    int p_Push2(const Array<c_DisplayMode*>& values, int offset, int count) { return PushRange(values, offset, count), 0; }
    int p_Push3(const Array<c_DisplayMode*>& values, int offset) { return PushTail(values, offset), 0; }
    Array<c_DisplayMode*> p_ToArray() { return ToArray(); }
};

extern KvGame* kv_app__game;
extern int kv_app__updateRate;
extern int kv_app__devWidth;
extern int kv_app__devHeight;
extern Array<c_DisplayMode*> kv_app__displayModes;
extern c_DisplayMode* kv_app__desktopMode;

// Start values of the globals above; kvInit calls it.
void kv_app_InitGlobals();

int kv_app_SetUpdateRate(int hertz);
int kv_app_Millisecs();
int kv_app_DeviceWidth();
int kv_app_DeviceHeight();
String kv_app_LoadState();
int kv_app_SaveState(String state);
[[noreturn]] void kv_app_EndApp();
int kv_app_ValidateDeviceWindow(bool notifyApp);
int kv_app_EnumDisplayModes();
