// The headless host: paths into the build's data folder, the host's own image and sound
// loaders, and a clock that moves only when a test says so.
#include "test_host.h"

#include <cstdlib>

#include "host/glfw_game.h"
#include "host/input.h"
#include "host/media_loading.h"

int TestHost::SaveState(String state) {
    savedState = state;
    ++saves;
    return 0;
}

String TestHost::PathToFilePath(String path) {
    static const String kData("tarvik://data/");
    if (!path.StartsWith(kData)) return path;
    const char* build = std::getenv("TOLVANE_BUILD_DIR");
    return String(build ? build : ".") + String("/data/") + path.Slice(kData.Length());
}

unsigned char* TestHost::LoadImageData(String path, int* w, int* h, int* depth) {
    return load_image_data(*this, path, w, h, depth);
}

unsigned char* TestHost::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
    return load_audio_data(*this, path, length, channels, format, hertz);
}

KvDisplayMode* TestHost::GetDesktopMode() {
    KvDisplayMode* mode = new KvDisplayMode;
    mode->width = 1920;
    mode->height = 1080;
    return mode;
}

void TestHost::SetDeviceWindow(int w, int h, int) {
    width = w;
    height = h;
}

void TestHost::Frame() {
    ++frames_;
    clockMs = frames_ * 1000 / 60;
    UpdateGame();
}

void TestHost::Frames(int count) {
    for (int i = 0; i < count; ++i) Frame();
}

void TestHost::FinishLoading() {
    for (int guard = 0; app->m_reload != 0 && guard < 100; ++guard) Frame();
}

void TestHost::ReleaseKeys() {
    for (int key = 1; key < 512; ++key) {
        if (kv_input_device->keyDown[key]) KeyUp(key);
    }
}

void TestHost::MouseDown(float x, float y) { MouseEvent(::MouseDown, 0, x, y); }
void TestHost::MouseUp(float x, float y) { MouseEvent(::MouseUp, 0, x, y); }

TestHost& TestHost::Start(int width, int height) {
    static TestHost* host = nullptr;
    if (host) return *host;
    setenv("ALSOFT_DRIVERS", "null", 0);
    host = new TestHost;
    host->width = width;
    host->height = height;
    gc_init_lists();
    kvInit();
    gc_mark();
    kvMain();
    host->app = static_cast<c_MyApp*>(kv_app__app);
    host->StartGame();
    return *host;
}

namespace {
c_MyApp* bare_app_object = nullptr;
gc_roots bare_app_roots([] { gc_mark_q(bare_app_object); });
}  // namespace

c_MyApp* bare_app() {
    TestHost::Start();
    if (!bare_app_object) gc_assign(bare_app_object, new c_MyApp);
    return bare_app_object;
}

std::string text_of(const String& s) { return std::string(s.ToCString()); }
