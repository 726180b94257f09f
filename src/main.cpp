// The program: every module global's start value (kvInit), the app (kvMain), and the entry,
// which hands both to the host's start-up. Until the game is linked in, the app is a window
// that clears itself and ends on F4 or on the close button.
#include "audio/sound_api.h"
#include "graphics/drawing.h"
#include "host/app.h"
#include "host/delegate.h"
#include "host/glfw_game.h"
#include "host/input.h"
#include "net/async.h"
#include "runtime/containers.h"
#include "runtime/random.h"

namespace {

constexpr int kKeyF4 = 115;

class c_TolvaneApp : public c_App {
public:
    c_TolvaneApp* m_new() {
        c_App::m_new();
        return this;
    }
    int p_OnCreate() override {
        kv_app_SetUpdateRate(60);
        return 0;
    }
    int p_OnUpdate() override {
        if (kv_input_KeyHit(kKeyF4)) kv_app_EndApp();
        return 0;
    }
    int p_OnRender() override {
        kv_graphics_device->Cls(0, 0, 0);
        return 0;
    }
};

}  // namespace

void kvInit() {
    kv_app__app = nullptr;
    kv_app__delegate = nullptr;
    kv_app_InitGlobals();
    kv_graphics_InitGlobals();
    kv_audio_device = nullptr;
    kv_input_device = nullptr;
    kv_asyncevent_InitGlobals();
    kv_random_Seed = 1234;
    c_Stack2::m_NIL = String();
    c_Stack3::m_NIL = nullptr;
    // The game module's globals take their start values here, last, once the game is linked in.
}

int kvMain() {
    (new c_TolvaneApp)->m_new();
    return 0;
}

int main(int argc, char** argv) {
    KvTarvikGame::Main(argc, argv);
    return 0;
}
