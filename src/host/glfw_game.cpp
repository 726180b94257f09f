// The desktop host. The loop renders, swaps, sleeps until the next update is due, polls events,
// follows focus, then runs at most four updates to catch up; a larger backlog is dropped so a
// slow game slows down instead of spiralling. Every window-system call the loop and the
// joystick poll make goes through HostSystem, so the timing can be driven without a window.
#include "host/glfw_game.h"

#include <GLFW/glfw3.h>

#include <chrono>
#include <ctime>
#include <string>
#include <thread>

#include "host/files.h"
#include "host/keys.h"
#include "platform/executable_path.h"
#include "platform/url_opener.h"

int glfwGraphicsSeq = 0;

KvGlfwGame* KvGlfwGame::_glfwGame = nullptr;

namespace {

constexpr int kMaxCatchUpUpdates = 4;
constexpr int kMaxVideoModes = 1024;
constexpr int kJoystickAxes = 6;
constexpr int kJoystickScan = 16;

class GlfwSystem : public HostSystem {
public:
    explicit GlfwSystem(KvGlfwGame* host) : host(host) {}

    double Time() override { return glfwGetTime(); }
    void Sleep(double seconds) override { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }
    void PollEvents() override { glfwPollEvents(); }
    void WaitEvents() override { glfwWaitEvents(); }
    bool WindowOpen() override { return host->Window() != nullptr; }
    bool WindowActive() override {
        return host->Window() && glfwGetWindowAttrib(host->Window(), GLFW_FOCUSED) == GLFW_TRUE;
    }
    void SwapBuffers() override {
        if (host->Window()) glfwSwapBuffers(host->Window());
    }
    bool JoystickPresent(int joystick) override { return glfwJoystickPresent(joystick) == GLFW_TRUE; }
    const float* JoystickAxes(int joystick, int* count) override { return glfwGetJoystickAxes(joystick, count); }
    const unsigned char* JoystickButtons(int joystick, int* count) override {
        return glfwGetJoystickButtons(joystick, count);
    }

private:
    KvGlfwGame* host;
};

// Where each stick and trigger output comes from: an axis, a negated axis or a button.
struct StickSource {
    enum Kind { kAxis, kNegatedAxis, kButton } kind;
    int index;
};

// Outputs joyx[0], joyy[0], joyz[0], joyx[1], joyy[1], joyz[1]. Layout P is the 14-button,
// 5-axis pad whose triggers share one axis; layout G is every other pad.
constexpr StickSource kSticksP[6] = {{StickSource::kAxis, 0},        {StickSource::kAxis, 1},
                                     {StickSource::kAxis, 2},        {StickSource::kAxis, 4},
                                     {StickSource::kNegatedAxis, 3}, {StickSource::kNegatedAxis, 2}};
constexpr StickSource kSticksG[6] = {{StickSource::kAxis, 0},        {StickSource::kAxis, 1},
                                     {StickSource::kButton, 6},      {StickSource::kAxis, 2},
                                     {StickSource::kNegatedAxis, 3}, {StickSource::kButton, 7}};
// Output buttons 0 to 13 by source button; negative numbers count from the end of the list.
constexpr int kButtonsP[14] = {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9};
constexpr int kButtonsG[14] = {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11};

// The primary monitor's video modes, at most kMaxVideoModes of them; null when there are none.
const GLFWvidmode* primary_video_modes(int* count) {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    *count = 0;
    const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, count) : nullptr;
    if (!modes || *count <= 0) return nullptr;
    if (*count > kMaxVideoModes) *count = kMaxVideoModes;
    return modes;
}

const GLFWvidmode* primary_desktop_mode() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    return monitor ? glfwGetVideoMode(monitor) : nullptr;
}

}  // namespace

KvGlfwGame::KvGlfwGame(HostSystem* system) : system(system) {
    if (!this->system) {
        ownSystem = std::make_unique<GlfwSystem>(this);
        this->system = ownSystem.get();
    }
    _glfwGame = this;
}

KvGlfwGame::~KvGlfwGame() {
    if (window) glfwDestroyWindow(window);
    if (_glfwGame == this) _glfwGame = nullptr;
}

void KvGlfwGame::SetUpdateRate(int hertz) {
    updateRate = hertz;
    if (hertz != 0) updatePeriod = 1.0 / hertz;
    nextUpdate = 0.0;
}

int KvGlfwGame::Millisecs() { return static_cast<int>(system->Time() * 1000.0); }

void KvGlfwGame::GetDate(Array<int> date) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int fields[7] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min,         local.tm_sec,     0};
    for (int i = 0; i < date.Length() && i < 7; ++i) date[i] = fields[i];
}

bool KvGlfwGame::PollJoystick(int unit, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    if (unit < 0 || unit > 3) return false;
    if (unit == 0) {
        int found = 0;
        for (int joystick = 0; joystick < kJoystickScan && found < 4; ++joystick) {
            if (system->JoystickPresent(joystick)) pjoys[found++] = joystick;
        }
        for (int rest = found; rest < 4; ++rest) pjoys[rest] = -1;
    }
    int joystick = pjoys[unit];
    if (joystick < 0) return false;

    float axes[kJoystickAxes] = {};
    int axisCount = 0;
    const float* readAxes = system->JoystickAxes(joystick, &axisCount);
    if (!readAxes || axisCount < 0) axisCount = 0;
    if (axisCount > kJoystickAxes) axisCount = kJoystickAxes;
    for (int i = 0; i < axisCount; ++i) axes[i] = readAxes[i];

    unsigned char pressed[32] = {};
    int nb = 0;
    const unsigned char* readButtons = system->JoystickButtons(joystick, &nb);
    if (!readButtons || nb < 0) nb = 0;
    if (nb > 32) nb = 32;
    for (int i = 0; i < nb; ++i) pressed[i] = readButtons[i];

    auto button = [&](int index) {
        if (index < 0) index += nb;
        return index >= 0 && index < 32 && pressed[index] == 1;
    };
    bool layoutP = nb == 14 && axisCount == 5;
    const StickSource* sticks = layoutP ? kSticksP : kSticksG;
    const int* sources = layoutP ? kButtonsP : kButtonsG;

    float outputs[6];
    for (int i = 0; i < 6; ++i) {
        const StickSource& source = sticks[i];
        switch (source.kind) {
            case StickSource::kAxis:
                outputs[i] = axes[source.index];
                break;
            case StickSource::kNegatedAxis:
                outputs[i] = -axes[source.index];
                break;
            case StickSource::kButton:
                outputs[i] = button(source.index) ? 1.0f : 0.0f;
                break;
        }
    }
    joyx[0] = outputs[0];
    joyy[0] = outputs[1];
    joyz[0] = outputs[2];
    joyx[1] = outputs[3];
    joyy[1] = outputs[4];
    joyz[1] = outputs[5];

    for (int i = 0; i < buttons.Length(); ++i) buttons[i] = false;
    for (int i = 0; i < 14 && i < buttons.Length(); ++i) buttons[i] = button(sources[i]);
    return true;
}

void KvGlfwGame::OpenUrl(String url) { open_url_detached(to_utf8(url).c_str()); }

void KvGlfwGame::SetMouseVisible(bool visible) {
    if (window) glfwSetInputMode(window, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

// The device is measured in framebuffer pixels, so a scaled desktop renders at full sharpness.
int KvGlfwGame::GetDeviceWidth() {
    int width = 0, height = 0;
    if (window) glfwGetFramebufferSize(window, &width, &height);
    return width;
}

int KvGlfwGame::GetDeviceHeight() {
    int width = 0, height = 0;
    if (window) glfwGetFramebufferSize(window, &width, &height);
    return height;
}

void KvGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

Array<KvDisplayMode*> KvGlfwGame::GetDisplayModes() {
    int count = 0;
    const GLFWvidmode* modes = primary_video_modes(&count);
    if (!modes) return Array<KvDisplayMode*>();
    Array<KvDisplayMode*> result(count);
    for (int i = 0; i < count; ++i) {
        auto* mode = new KvDisplayMode;
        mode->width = modes[i].width;
        mode->height = modes[i].height;
        gc_assign(result[i], mode);
    }
    return result;
}

KvDisplayMode* KvGlfwGame::GetDesktopMode() {
    const GLFWvidmode* desktop = primary_desktop_mode();
    if (!desktop) return nullptr;
    auto* mode = new KvDisplayMode;
    mode->width = desktop->width;
    mode->height = desktop->height;
    return mode;
}

namespace {

KvGlfwVideoMode* video_mode(const GLFWvidmode& from) {
    auto* mode = new KvGlfwVideoMode;
    mode->width = from.width;
    mode->height = from.height;
    mode->red = from.redBits;
    mode->green = from.greenBits;
    mode->blue = from.blueBits;
    return mode;
}

// Cursor positions come in window coordinates; the device is measured in framebuffer pixels.
void framebuffer_position(GLFWwindow* window, double cx, double cy, float* x, float* y) {
    int ww = 0, wh = 0, fw = 0, fh = 0;
    glfwGetWindowSize(window, &ww, &wh);
    glfwGetFramebufferSize(window, &fw, &fh);
    *x = static_cast<float>(ww > 0 ? cx * fw / ww : cx);
    *y = static_cast<float>(wh > 0 ? cy * fh / wh : cy);
}

}  // namespace

KvGlfwVideoMode* KvGlfwGame::GetGlfwDesktopMode() {
    const GLFWvidmode* desktop = primary_desktop_mode();
    return desktop ? video_mode(*desktop) : nullptr;
}

Array<KvGlfwVideoMode*> KvGlfwGame::GetGlfwVideoModes() {
    int count = 0;
    const GLFWvidmode* modes = primary_video_modes(&count);
    if (!modes) return Array<KvGlfwVideoMode*>();
    Array<KvGlfwVideoMode*> result(count);
    for (int i = 0; i < count; ++i) gc_assign(result[i], video_mode(modes[i]));
    return result;
}

void KvGlfwGame::SetSwapInterval(int interval) {
    swapInterval = interval;
    if (interval >= 0 && window) glfwSwapInterval(interval);
}

String KvGlfwGame::PathToFilePath(String path) {
    if (appPath.Length() == 0) {
        std::string exe = executable_path();
        exe = exe.substr(0, exe.rfind('/'));
        appPath = String::DecodeText(reinterpret_cast<const unsigned char*>(exe.data()), exe.size());
    }
    if (!path.StartsWith(String("tarvik:"))) return path;
    if (path.StartsWith(String("tarvik://data/"))) return appPath + String("/data/") + path.Slice(14);
    if (path.StartsWith(String("tarvik://internal/"))) {
        if (internalPath.Length() == 0) internalPath = appPath + String("/internal");
        return internalPath + String("/") + path.Slice(18);
    }
    if (path.StartsWith(String("tarvik://external/"))) return appPath + String("/external/") + path.Slice(18);
    return String();
}

// Keys held while the window goes away would never see their release: send it now.
void KvGlfwGame::ReleaseHeldKeys() {
    if (!window) return;
    for (int key = 0; key <= GLFW_KEY_LAST; ++key) {
        int code = TransKey(key);
        if (code != 0 && glfwGetKey(window, key) == GLFW_PRESS) KeyEvent(KeyUp, code);
    }
}

void KvGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen) {
    ReleaseHeldKeys();
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* desktop = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (window) {
        glfwDestroyWindow(window);
        window = nullptr;
    }
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_REFRESH_RATE, 60);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_RED_BITS, red);
    glfwWindowHint(GLFW_GREEN_BITS, green);
    glfwWindowHint(GLFW_BLUE_BITS, blue);
    glfwWindowHint(GLFW_ALPHA_BITS, alpha);
    glfwWindowHint(GLFW_DEPTH_BITS, depth);
    glfwWindowHint(GLFW_STENCIL_BITS, stencil);
    // Hidden until centred, so the window does not appear first at the system's default place.
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(width, height, "Tolvane", fullscreen ? monitor : nullptr, nullptr);
    ++glfwGraphicsSeq;
    if (!window) return;
    if (!fullscreen && desktop) glfwSetWindowPos(window, (desktop->width - width) / 2, (desktop->height - height) / 2);
    glfwShowWindow(window);
    glfwMakeContextCurrent(window);
    if (swapInterval >= 0) glfwSwapInterval(swapInterval);
    InstallCallbacks();
}

void KvGlfwGame::InstallCallbacks() {
    glfwSetKeyCallback(window, OnKey);
    glfwSetCharCallback(window, OnChar);
    glfwSetMouseButtonCallback(window, OnMouseButton);
    glfwSetCursorPosCallback(window, OnMousePos);
    glfwSetWindowCloseCallback(window, OnWindowClose);
}

// GLFW repeats held keys by itself; a repeat is delivered as another press, which counts no
// new hit but types the key's character again.
void KvGlfwGame::OnKey(GLFWwindow*, int key, int, int action, int) {
    int code = TransKey(key);
    if (code == 0) return;
    if (action == GLFW_RELEASE) {
        _glfwGame->KeyEvent(KeyUp, code);
        return;
    }
    _glfwGame->KeyEvent(KeyDown, code);
    if (int character = KeyToChar(code)) _glfwGame->KeyEvent(KeyChar, character);
}

// Text arrives as code points; the runtime's characters are UTF-16 units.
void KvGlfwGame::OnChar(GLFWwindow*, unsigned int character) {
    if (character > 0xFFFF) {
        character -= 0x10000;
        _glfwGame->KeyEvent(KeyChar, static_cast<int>(0xD800 + (character >> 10)));
        _glfwGame->KeyEvent(KeyChar, static_cast<int>(0xDC00 + (character & 0x3FF)));
        return;
    }
    _glfwGame->KeyEvent(KeyChar, static_cast<int>(character));
}

void KvGlfwGame::OnMouseButton(GLFWwindow* window, int button, int action, int) {
    if (button > 2) return;
    double cx = 0, cy = 0;
    glfwGetCursorPos(window, &cx, &cy);
    float x = 0, y = 0;
    framebuffer_position(window, cx, cy, &x, &y);
    _glfwGame->MouseEvent(action == GLFW_PRESS ? MouseDown : MouseUp, button, x, y);
}

void KvGlfwGame::OnMousePos(GLFWwindow* window, double cx, double cy) {
    float x = 0, y = 0;
    framebuffer_position(window, cx, cy, &x, &y);
    _glfwGame->MouseEvent(MouseMove, -1, x, y);
}

// Closing is the app's decision: the close button becomes the close key and the window stays.
void KvGlfwGame::OnWindowClose(GLFWwindow* window) {
    _glfwGame->KeyEvent(KeyDown, kKeyClose);
    _glfwGame->KeyEvent(KeyUp, kKeyClose);
    glfwSetWindowShouldClose(window, GLFW_FALSE);
}

void KvGlfwGame::Run() {
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    StartGame();
    RunLoop();
}

void KvGlfwGame::RunLoop() {
    while (system->WindowOpen()) RunFrame();
}

void KvGlfwGame::RunFrame() {
    RenderGame();
    system->SwapBuffers();
    if (nextUpdate != 0.0) {
        double wait = nextUpdate - system->Time();
        if (wait > 0.0) system->Sleep(wait);
    }
    if (suspended) {
        system->WaitEvents();
    } else {
        system->PollEvents();
    }
    if (system->WindowActive()) {
        if (suspended) {
            ResumeGame();
            nextUpdate = 0.0;
        }
    } else if (!suspended) {
        SuspendGame();
        nextUpdate = 0.0;
    }
    if (suspended) return;
    if (updateRate == 0) {
        UpdateGame();
        return;
    }
    if (nextUpdate == 0.0) nextUpdate = system->Time();
    CatchUp();
}

void KvGlfwGame::CatchUp() {
    for (int i = 0; i < kMaxCatchUpUpdates; ++i) {
        UpdateGame();
        // The app changed the rate, or focus changed: this run is over and the clock restarts.
        if (nextUpdate == 0.0) return;
        nextUpdate += updatePeriod;
        if (nextUpdate > system->Time()) return;
    }
    nextUpdate = 0.0;
}
