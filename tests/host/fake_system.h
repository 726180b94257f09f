// A window system for tests: a clock that only moves when the loop sleeps or the game works,
// scripted focus and window lifetime, and joysticks made of plain vectors.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "host/host_system.h"

struct FakeJoystick {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
};

class FakeSystem : public HostSystem {
public:
    double now = 1.0;  // never 0, which the loop reads as "clock not running", as after start-up
    int framesLeft = 0;         // WindowOpen answers true this many more times
    bool active = true;         // focus
    double waitAdvance = 0.0;   // how long a blocking wait for events lasts
    int sleeps = 0;
    int polls = 0;
    int waits = 0;
    std::function<void()> onEvents;  // runs inside every poll or wait, as input callbacks do
    std::map<int, FakeJoystick> joysticks;

    double Time() override { return now; }
    void Sleep(double seconds) override {
        ++sleeps;
        now += seconds;
    }
    void PollEvents() override {
        ++polls;
        if (onEvents) onEvents();
    }
    void WaitEvents() override {
        ++waits;
        now += waitAdvance;
        if (onEvents) onEvents();
    }
    bool WindowOpen() override { return framesLeft-- > 0; }
    bool WindowActive() override { return active; }
    void SwapBuffers() override {}

    bool JoystickPresent(int joystick) override { return joysticks.count(joystick) != 0; }
    const float* JoystickAxes(int joystick, int* count) override {
        auto& axes = joysticks.at(joystick).axes;
        *count = static_cast<int>(axes.size());
        return axes.data();
    }
    const unsigned char* JoystickButtons(int joystick, int* count) override {
        auto& buttons = joysticks.at(joystick).buttons;
        *count = static_cast<int>(buttons.size());
        return buttons.data();
    }
};
