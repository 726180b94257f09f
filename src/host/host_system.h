// The few services of the window system that the main loop and the joystick poll use, behind
// one interface: the desktop host talks to GLFW through it, and tests drive the loop's timing,
// focus and joysticks with a fake clock and fake devices, without a window.
#pragma once

class HostSystem {
public:
    virtual ~HostSystem() {}

    // Seconds since start-up, and a sleep of that many seconds.
    virtual double Time() = 0;
    virtual void Sleep(double seconds) = 0;

    // Window events: the input callbacks run inside these two calls only.
    virtual void PollEvents() = 0;
    virtual void WaitEvents() = 0;
    virtual bool WindowOpen() = 0;
    virtual bool WindowActive() = 0;
    virtual void SwapBuffers() = 0;

    // Joysticks by the window system's own number; arrays are owned by the system and stay
    // valid until the next call for the same joystick.
    virtual bool JoystickPresent(int joystick) = 0;
    virtual const float* JoystickAxes(int joystick, int* count) = 0;
    virtual const unsigned char* JoystickButtons(int joystick, int* count) = 0;
};
