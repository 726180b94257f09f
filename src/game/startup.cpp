// The program's own half of start-up: every module global gets its start value, in the order
// the modules depend on each other, and the application object is created. The host calls
// both from its entry; the game's test host calls them the same way.
#include "game/app.h"
#include "game/globals.h"
#include "graphics/drawing.h"
#include "host/glfw_game.h"
#include "host/input.h"
#include "net/async.h"
#include "runtime/random.h"

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
    kv_Tol_InitGlobals();
}

int kvMain() {
    (new c_MyApp)->m_new();
    return 0;
}
