// Key states persist until the matching release; hits and characters live for one update and
// are cleared through the hit queue, so the end of an update touches only the keys that were
// hit. The left button and the first touch are one pointer and mirror each other.
#include "host/input.h"

#include "host/game.h"
#include "host/keys.h"

c_InputDevice* kv_input_device = nullptr;

static gc_roots roots([] { gc_mark_q(kv_input_device); });

namespace {

bool valid_key(int key) { return key >= 1 && key < kKeyCount; }

// The key the mirrored pointer shares with `key`, or 0.
int pointer_twin(int key) {
    if (key == kKeyMouseLeft) return kKeyTouchBase;
    if (key == kKeyTouchBase) return kKeyMouseLeft;
    return 0;
}

}  // namespace

c_JoyState* c_JoyState::m_new() {
    gc_assign(joyx, Array<float>(2));
    gc_assign(joyy, Array<float>(2));
    gc_assign(joyz, Array<float>(2));
    gc_assign(buttons, Array<bool>(c_InputDevice::kJoystickButtons));
    return this;
}

void c_JoyState::mark() {
    gc_mark_q(joyx);
    gc_mark_q(joyy);
    gc_mark_q(joyz);
    gc_mark_q(buttons);
}

c_InputDevice* c_InputDevice::m_new() {
    gc_assign(joyStates, Array<c_JoyState*>(kJoystickUnits));
    for (int unit = 0; unit < kJoystickUnits; ++unit) gc_assign(joyStates[unit], (new c_JoyState)->m_new());
    gc_assign(keyDown, Array<bool>(kKeyCount));
    gc_assign(keyHitQueue, Array<int>(kHitQueueSize));
    gc_assign(keyHit, Array<int>(kKeyCount));
    gc_assign(charQueue, Array<int>(kCharQueueSize));
    gc_assign(touchX, Array<float>(kTouches));
    gc_assign(touchY, Array<float>(kTouches));
    return this;
}

void c_InputDevice::mark() {
    gc_mark_q(joyStates);
    gc_mark_q(keyDown);
    gc_mark_q(keyHitQueue);
    gc_mark_q(keyHit);
    gc_mark_q(charQueue);
    gc_mark_q(touchX);
    gc_mark_q(touchY);
}

void c_InputDevice::press(int key) {
    if (!valid_key(key) || keyDown[key]) return;
    keyDown[key] = true;
    p_PutKeyHit(key);
    if (int twin = pointer_twin(key)) {
        keyDown[twin] = true;
        p_PutKeyHit(twin);
    }
}

void c_InputDevice::release(int key) {
    if (!valid_key(key) || !keyDown[key]) return;
    keyDown[key] = false;
    if (int twin = pointer_twin(key)) keyDown[twin] = false;
}

void c_InputDevice::set_pointer(int finger, float x, float y) {
    if (finger < 0 || finger >= kTouches) return;
    touchX[finger] = x;
    touchY[finger] = y;
    if (finger == 0) {
        mouseX = x;
        mouseY = y;
    }
}

int c_InputDevice::p_KeyEvent(int event, int data) {
    switch (event) {
        case KeyDown:
            press(data);
            break;
        case KeyUp:
            release(data);
            break;
        case KeyChar:
            if (charPut < kCharQueueSize) charQueue[charPut++] = data;
            break;
    }
    return 0;
}

int c_InputDevice::p_PutKeyHit(int key) {
    if (keyHitPut == kHitQueueSize) return 0;
    keyHit[key] += 1;
    keyHitQueue[keyHitPut++] = key;
    return 0;
}

int c_InputDevice::p_MouseEvent(int event, int button, float x, float y) {
    switch (event) {
        case MouseDown:
            press(button + 1);
            set_pointer(0, x, y);
            break;
        case MouseUp:
            release(button + 1);
            break;
        case MouseMove:
            set_pointer(0, x, y);
            break;
    }
    return 0;
}

int c_InputDevice::p_TouchEvent(int event, int finger, float x, float y) {
    switch (event) {
        case TouchDown:
            press(kKeyTouchBase + finger);
            set_pointer(finger, x, y);
            break;
        case TouchUp:
            release(kKeyTouchBase + finger);
            break;
        case TouchMove:
            set_pointer(finger, x, y);
            break;
    }
    return 0;
}

int c_InputDevice::p_MotionEvent(int event, int, float x, float y, float z) {
    if (event == MotionAccel) {
        accelX = x;
        accelY = y;
        accelZ = z;
    }
    return 0;
}

int c_InputDevice::p_BeginUpdate() {
    for (int unit = 0; unit < kJoystickUnits; ++unit) {
        c_JoyState* state = joyStates[unit];
        if (!KvGame::_game->PollJoystick(unit, state->joyx, state->joyy, state->joyz, state->buttons)) break;
        for (int b = 0; b < kJoystickButtons; ++b) {
            int code = kKeyJoystickBase + kJoystickButtons * unit + b;
            if (state->buttons[b]) {
                if (!keyDown[code]) {
                    keyDown[code] = true;
                    p_PutKeyHit(code);
                }
            } else {
                keyDown[code] = false;
            }
        }
    }
    return 0;
}

int c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < keyHitPut; ++i) keyHit[keyHitQueue[i]] = 0;
    keyHitPut = 0;
    charGet = 0;
    charPut = 0;
    return 0;
}

int c_InputDevice::p_KeyDown(int key) { return valid_key(key) && keyDown[key] ? 1 : 0; }
int c_InputDevice::p_KeyHit(int key) { return valid_key(key) ? keyHit[key] : 0; }

int c_InputDevice::p_GetChar() {
    if (charGet == charPut) return 0;
    return charQueue[charGet++];
}

float c_InputDevice::p_TouchX(int finger) { return finger >= 0 && finger < kTouches ? touchX[finger] : 0.0f; }
float c_InputDevice::p_TouchY(int finger) { return finger >= 0 && finger < kTouches ? touchY[finger] : 0.0f; }

int kv_input_JoyCode(int button, int unit) {
    return (button & ~0xFF00) | ((((button >> 8) | 1) & 255) << 8) | (unit << 5);
}

int kv_input_SetInputDevice(c_InputDevice* device) {
    gc_assign(kv_input_device, device);
    return 0;
}

int kv_input_EnableKeyboard() {
    KvGame::_game->SetKeyboardEnabled(true);
    return 1;
}

int kv_input_DisableKeyboard() {
    KvGame::_game->SetKeyboardEnabled(false);
    return 1;
}

int kv_input_KeyDown(int key) { return kv_input_device->p_KeyDown(key); }
int kv_input_KeyHit(int key) { return kv_input_device->p_KeyHit(key); }
int kv_input_GetChar() { return kv_input_device->p_GetChar(); }
float kv_input_MouseX() { return kv_input_device->p_MouseX(); }
float kv_input_MouseY() { return kv_input_device->p_MouseY(); }

// Buttons above 510 would leave the key space; negative ones are no buttons at all.
int kv_input_MouseDown(int button) { return button >= 0 && button <= 510 ? kv_input_KeyDown(button + 1) : 0; }
int kv_input_MouseHit(int button) { return button >= 0 && button <= 510 ? kv_input_KeyHit(button + 1) : 0; }

int kv_input_TouchDown(int finger) {
    return finger >= -383 && finger <= 127 ? kv_input_KeyDown(kKeyTouchBase + finger) : 0;
}

float kv_input_TouchX(int finger) { return kv_input_device->p_TouchX(finger); }
float kv_input_TouchY(int finger) { return kv_input_device->p_TouchY(finger); }
int kv_input_JoyDown(int button, int unit) { return kv_input_KeyDown(kv_input_JoyCode(button, unit)); }
int kv_input_JoyHit(int button, int unit) { return kv_input_KeyHit(kv_input_JoyCode(button, unit)); }
float kv_input_JoyX(int index, int unit) { return kv_input_device->p_JoyX(index, unit); }
float kv_input_JoyY(int index, int unit) { return kv_input_device->p_JoyY(index, unit); }
float kv_input_AccelX() { return kv_input_device->p_AccelX(); }
float kv_input_AccelY() { return kv_input_device->p_AccelY(); }
