// The desktop host on GLFW: the window, the fixed-rate main loop with its catch-up bound,
// suspension on focus loss, joysticks, display modes and the desktop services; and the
// process start-up that creates the one host and the app.
#pragma once

#include <memory>

#include "host/game.h"
#include "host/host_system.h"

struct GLFWwindow;

// Process arguments, kept for the game.
extern int argc;
extern char** argv;

// Defined by the program: kvInit gives every module global its start value, kvMain creates
// the app object (whose construction hands the delegate to the host).
void kvInit();
int kvMain();

class KvGlfwVideoMode : public Object {
public:
    int width = 0;
    int height = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
};

class KvGlfwGame : public KvGame {
public:
    // Without a system the host talks to GLFW itself; tests pass their own.
    explicit KvGlfwGame(HostSystem* system = nullptr);
    ~KvGlfwGame() override;

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    void GetDate(Array<int> date) override;
    bool PollJoystick(int unit, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons) override;
    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    void SetDeviceWindow(int width, int height, int flags) override;
    Array<KvDisplayMode*> GetDisplayModes() override;
    KvDisplayMode* GetDesktopMode() override;
    void SetSwapInterval(int interval) override;
    String PathToFilePath(String path) override;
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override;

    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                               bool fullscreen);
    virtual KvGlfwVideoMode* GetGlfwDesktopMode();
    virtual Array<KvGlfwVideoMode*> GetGlfwVideoModes();
    // Opens the 640 by 480 window, starts the game and runs the loop while the window is open.
    virtual void Run();

    // The loop alone, from the first frame until the window stops being open.
    void RunLoop();
    GLFWwindow* Window() const { return window; }

    static KvGlfwGame* _glfwGame;

    double updatePeriod = 0.0;
    double nextUpdate = 0.0;
    String appPath;
    String internalPath;
    int swapInterval = 1;

private:
    void RunFrame();
    void CatchUp();
    void ReleaseHeldKeys();
    void InstallCallbacks();

    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
    static void OnChar(GLFWwindow* window, unsigned int character);
    static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
    static void OnMousePos(GLFWwindow* window, double x, double y);
    static void OnWindowClose(GLFWwindow* window);

    std::unique_ptr<HostSystem> ownSystem;
    HostSystem* system;
    GLFWwindow* window = nullptr;
    // The GLFW joystick behind each unit, -1 for none; rescanned whenever unit 0 is polled.
    int pjoys[4] = {-1, -1, -1, -1};
};

class KvTarvikGame : public KvGlfwGame {
public:
    ~KvTarvikGame() override;

    // The process: GLFW, the host, signals, locale, the collector, the globals, the app, the loop.
    static void Main(int argc, char** argv);
};
