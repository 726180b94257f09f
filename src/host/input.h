// The input device: key states, hits and typed characters for the current update, the pointer,
// touches, the accelerometer and four joysticks, all polled by the game once per update; and
// the kv_input_* module functions that read the device the game has selected.
#pragma once

#include "runtime/array.h"
#include "runtime/gc.h"

class c_JoyState : public Object {
public:
    Array<float> joyx;
    Array<float> joyy;
    Array<float> joyz;
    Array<bool> buttons;

    c_JoyState* m_new();
    void mark() override;
};

class c_InputDevice : public Object {
public:
    static constexpr int kHitQueueSize = 33;
    static constexpr int kCharQueueSize = 32;
    static constexpr int kJoystickUnits = 4;
    static constexpr int kJoystickButtons = 32;
    static constexpr int kTouches = 32;

    Array<c_JoyState*> joyStates;
    Array<bool> keyDown;
    int keyHitPut = 0;
    Array<int> keyHitQueue;
    Array<int> keyHit;
    int charGet = 0;
    int charPut = 0;
    Array<int> charQueue;
    float mouseX = 0;
    float mouseY = 0;
    Array<float> touchX;
    Array<float> touchY;
    float accelX = 0;
    float accelY = 0;
    float accelZ = 0;

    c_InputDevice* m_new();
    void mark() override;

    int p_KeyEvent(int event, int data);
    int p_PutKeyHit(int key);
    int p_MouseEvent(int event, int button, float x, float y);
    int p_TouchEvent(int event, int finger, float x, float y);
    int p_MotionEvent(int event, int data, float x, float y, float z);
    int p_BeginUpdate();
    int p_EndUpdate();

    int p_KeyDown(int key);
    int p_KeyHit(int key);
    int p_GetChar();
    float p_MouseX() { return mouseX; }
    float p_MouseY() { return mouseY; }
    float p_TouchX(int finger);
    float p_TouchY(int finger);
    float p_JoyX(int index, int unit) { return joyStates[unit]->joyx[index]; }
    float p_JoyY(int index, int unit) { return joyStates[unit]->joyy[index]; }
    float p_AccelX() { return accelX; }
    float p_AccelY() { return accelY; }

private:
    void press(int key);
    void release(int key);
    void set_pointer(int finger, float x, float y);
};

extern c_InputDevice* kv_input_device;

// The key code of joystick button `button` on `unit`: a plain button number or one already in
// the joystick-0 range give the same code, so 3 and 259 on unit 1 both read code 291.
int kv_input_JoyCode(int button, int unit);

int kv_input_SetInputDevice(c_InputDevice* device);
int kv_input_EnableKeyboard();
int kv_input_DisableKeyboard();
int kv_input_KeyDown(int key);
int kv_input_KeyHit(int key);
int kv_input_GetChar();
float kv_input_MouseX();
float kv_input_MouseY();
int kv_input_MouseDown(int button);
int kv_input_MouseHit(int button);
int kv_input_TouchDown(int finger);
float kv_input_TouchX(int finger);
float kv_input_TouchY(int finger);
int kv_input_JoyDown(int button, int unit);
int kv_input_JoyHit(int button, int unit);
float kv_input_JoyX(int index, int unit);
float kv_input_JoyY(int index, int unit);
float kv_input_AccelX();
float kv_input_AccelY();
