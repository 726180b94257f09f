// The delegate turns the host's events into the app's hooks: it brackets each update with the
// input device's begin and end, each render with the renderer's frame and the drawing API's
// per-frame reset, and turns the close and back keys into the app's close and back hooks.
#include "host/delegate.h"

#include "audio/device.h"
#include "audio/sound_api.h"
#include "graphics/drawing.h"
#include "graphics/image.h"
#include "graphics/renderer.h"
#include "host/input.h"
#include "host/keys.h"

c_App* kv_app__app = nullptr;
c_GameDelegate* kv_app__delegate = nullptr;

static gc_roots roots([] {
    gc_mark_q(kv_app__app);
    gc_mark_q(kv_app__delegate);
});

c_App* c_App::m_new() {
    if (kv_app__app) kvError(String("App has already been created"));
    gc_assign(kv_app__app, this);
    gc_assign(kv_app__delegate, (new c_GameDelegate)->m_new());
    kv_app__game->SetDelegate(kv_app__delegate);
    return this;
}

int c_App::p_OnClose() { kv_app_EndApp(); }
int c_App::p_OnBack() { kv_app_EndApp(); }

void c_GameDelegate::mark() {
    gc_mark_q(graphics);
    gc_mark_q(audio);
    gc_mark_q(input);
}

void c_GameDelegate::StartGame() {
    gc_assign(graphics, new gxtkGraphics);
    gc_assign(kv_graphics_device, graphics);
    kv_graphics_SetFont(nullptr, 32);
    gc_assign(audio, new gxtkAudio);
    gc_assign(kv_audio_device, audio);
    gc_assign(input, (new c_InputDevice)->m_new());
    gc_assign(kv_input_device, input);
    kv_app_ValidateDeviceWindow(false);
    kv_app_EnumDisplayModes();
    kv_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
    kv_app__app->p_OnSuspend();
    audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    audio->Resume();
    kv_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    kv_app_ValidateDeviceWindow(true);
    input->p_BeginUpdate();
    kv_app__app->p_OnUpdate();
    input->p_EndUpdate();
}

// Mode 0 is a renderer that draws without the drawing API's frame; mode 2 asks for the
// loading screen instead of the game.
void c_GameDelegate::RenderGame() {
    kv_app_ValidateDeviceWindow(true);
    int mode = graphics->BeginRender();
    if (mode == 0) {
        kv_app__app->p_OnRender();
        graphics->EndRender();
        return;
    }
    kv_graphics_BeginRender();
    if (mode == 2) {
        kv_app__app->p_OnLoading();
    } else {
        kv_app__app->p_OnRender();
    }
    kv_graphics_EndRender();
    graphics->EndRender();
}

// Auto-repeats of the close and back keys reach the app too: each KeyDown asks again.
void c_GameDelegate::KeyEvent(int event, int data) {
    input->p_KeyEvent(event, data);
    if (event != KeyDown) return;
    if (data == kKeyClose) {
        kv_app__app->p_OnClose();
    } else if (data == kKeyBack) {
        kv_app__app->p_OnBack();
    }
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) { input->p_MouseEvent(event, data, x, y); }
void c_GameDelegate::TouchEvent(int event, int data, float x, float y) { input->p_TouchEvent(event, data, x, y); }
void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    input->p_MotionEvent(event, data, x, y, z);
}
void c_GameDelegate::DiscardGraphics() { graphics->DiscardGraphics(); }
