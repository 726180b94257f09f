// The app module's host side. The device size is cached and refreshed only at the start of an
// update or a render, so the game sees one consistent size for the whole callback.
#include "host/app.h"

#include <cstdint>

KvGame* kv_app__game = nullptr;
int kv_app__updateRate = 0;
int kv_app__devWidth = 0;
int kv_app__devHeight = 0;
Array<c_DisplayMode*> kv_app__displayModes;
c_DisplayMode* kv_app__desktopMode = nullptr;

static gc_roots roots([] {
    gc_mark_q(kv_app__displayModes);
    gc_mark_q(kv_app__desktopMode);
});

c_DisplayMode* c_DisplayMode::m_new(int w, int h) {
    width = w;
    height = h;
    return this;
}

c_DisplayMode* c_DisplayMode::m_new2() { return this; }

void kv_app_InitGlobals() {
    kv_app__game = KvGame::_game;
    kv_app__devWidth = 0;
    kv_app__devHeight = 0;
    gc_assign(kv_app__displayModes, Array<c_DisplayMode*>());
    gc_assign(kv_app__desktopMode, static_cast<c_DisplayMode*>(nullptr));
    kv_app__updateRate = 0;
}

int kv_app_SetUpdateRate(int hertz) {
    kv_app__updateRate = hertz;
    kv_app__game->SetUpdateRate(hertz);
    return 0;
}

int kv_app_Millisecs() { return kv_app__game->Millisecs(); }
int kv_app_DeviceWidth() { return kv_app__devWidth; }
int kv_app_DeviceHeight() { return kv_app__devHeight; }
String kv_app_LoadState() { return kv_app__game->LoadState(); }

int kv_app_SaveState(String state) {
    kv_app__game->SaveState(state);
    return 0;
}

void kv_app_EndApp() { kvError(String()); }

// The app's resize hook does nothing in this game, so notifyApp has no effect.
int kv_app_ValidateDeviceWindow(bool) {
    int width = kv_app__game->GetDeviceWidth();
    int height = kv_app__game->GetDeviceHeight();
    if (width != kv_app__devWidth || height != kv_app__devHeight) {
        kv_app__devWidth = width;
        kv_app__devHeight = height;
    }
    return 0;
}

int kv_app_EnumDisplayModes() {
    Array<KvDisplayMode*> modes = kv_app__game->GetDisplayModes();
    c_IntMap* seen = (new c_IntMap)->m_new();
    c_Stack* distinct = (new c_Stack)->m_new();
    for (KvDisplayMode* mode : modes) {
        int key = static_cast<int>((static_cast<uint32_t>(mode->width) << 16) | static_cast<uint32_t>(mode->height));
        if (seen->p_Contains(key)) continue;
        c_DisplayMode* size = (new c_DisplayMode)->m_new(mode->width, mode->height);
        seen->p_Insert(key, size);
        distinct->p_Push(size);
    }
    gc_assign(kv_app__displayModes, distinct->p_ToArray());
    KvDisplayMode* desktop = kv_app__game->GetDesktopMode();
    c_DisplayMode* desktopSize = desktop ? (new c_DisplayMode)->m_new(desktop->width, desktop->height)
                                         : (new c_DisplayMode)->m_new(kv_app__devWidth, kv_app__devHeight);
    gc_assign(kv_app__desktopMode, desktopSize);
    return 0;
}
