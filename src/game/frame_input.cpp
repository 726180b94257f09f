// The frame's input around the screens' work: pointer and touches in virtual-screen pixels,
// the key latch and back action, iCade characters decoded into the virtual pad, the movable
// on-screen pad, the tilt indicator, and the debug read-out.
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "game/app.h"
#include "game/globals.h"
#include "host/input.h"

namespace {

constexpr int kMouseLeft = 1;
constexpr int kFirstTouchCode = 384;

// iCade characters: a press letter holds a pad entry at 2 until its release letter arrives.
struct ICadeKey {
    char press, release;
    int pad;
};
const ICadeKey kICadeKeys[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'H', 'R', 10}, {'J', 'N', 11},
    {'K', 'P', 12}, {'Y', 'T', 13}, {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16}, {'L', 'V', 17},
};

const int kLatchActions[] = {kActUp, kActLeft, kActRight, kActDown, kActFire1, kActFire2, kActFire3,
                             kActFire4, kActFire5, kActFire6, 16, 17, kActBack};

// Moves `value` a quarter of the way to `target`, snapping once close.
float ease_toward(float value, float target) {
    value += (target - value) * 0.25f;
    return std::fabs(target - value) < 0.005f ? target : value;
}

}  // namespace

void c_MyApp::ReadPointer() {
    const float ox = kv_Tol_overscan;
    const float oy = ox * kv_app_DeviceHeight() / std::fmax(1.0f, static_cast<float>(kv_app_DeviceWidth()));
    m_pointerPrevX = m_pointerX;
    m_pointerPrevY = m_pointerY;
    m_pointerX = static_cast<int>((kv_input_MouseX() - ox) / m_fitX);
    m_pointerY = static_cast<int>((kv_input_MouseY() - oy) / m_fitY);
    bool leftDown = kv_input_KeyDown(kMouseLeft) != 0;
    if (leftDown && m_pointerWasDown == 0) {
        m_pointerPrevX = m_pointerX;  // a fresh press carries no drag
        m_pointerPrevY = m_pointerY;
    }
    m_pointerDown = leftDown ? 1 : 0;
    m_pointerHit = kv_input_KeyHit(kMouseLeft);
    for (int i = 0; i < kTouches; ++i) {
        m_touchDown[i] = 0;
        m_touchX[i] = m_touchY[i] = static_cast<int>(kNoValue);
        if (kv_input_KeyDown(kFirstTouchCode + i)) {
            m_touchDown[i] = 1;
            m_touchX[i] = static_cast<int>((kv_input_TouchX(i) - ox) / m_fitX);
            m_touchY[i] = static_cast<int>((kv_input_TouchY(i) - oy) / m_fitY);
            m_pointerDown = 1;
        }
    }
    m_pointerWasDown = leftDown ? 1 : 0;
    if (m_pointerDown == 0) m_pointerTaken = 0;
    if (m_pointerCooldown > 0) --m_pointerCooldown;
}

void c_MyApp::KeyLatchAndBack() {
    bool anyHeld = false;
    for (int action : kLatchActions) {
        for (int player = 0; player < 4 && !anyHeld; ++player) anyHeld = p_PlayKey(action, 1, player) != 0;
    }
    if (!anyHeld) m_keyLatch = 0;
    if (m_keyLatch == 0 && p_PlayKeyAll(kActBack, 1) > 0 && m_gameState == kStateMenu &&
        (m_optionsRequest == 1 || m_optionsOpen == 1 || m_sidePanelOpen == 1)) {
        m_optionsRequest = 0;
        m_sidePanelOpen = 0;
        m_keyLatch = 1;
        m_pointerTaken = 1;
    }
    if (m_optionsOpen == 1) {
        m_keyLatch = 1;
        m_pointerTaken = 1;
    }
}

void c_MyApp::ApplyICadeOrRelease() {
    if (kv_Tol_iCadeControls != 1) {
        // On-screen presses live for exactly one frame of game logic.
        for (int i = 0; i < 19; ++i) {
            if (m_pad[i] == 1) m_pad[i] = 0;
        }
        return;
    }
    m_lastChar = 0;
    for (int c = kv_input_GetChar(); c != 0; c = kv_input_GetChar()) {
        m_lastChar = c;
        int upper = c < 128 ? std::toupper(c) : c;
        for (const ICadeKey& key : kICadeKeys) {
            if (upper == key.press) m_pad[key.pad] = 2;
            if (upper == key.release) m_pad[key.pad] = 0;
        }
    }
}

void c_MyApp::OnScreenPad() {
    if (kv_Tol_OnScreenControls != 1 || kv_Tol_iCadeControls != 0) return;
    if (m_gameState != kStatePlay && m_gameState != kStateStartGame) return;

    auto clamp = [](int value, int lo, int hi) { return value < lo ? lo : value > hi ? hi : value; };
    m_settings[kSetPadX] = clamp(m_settings[kSetPadX], 32, static_cast<int>(kv_Tol_jscrw - 32));
    m_settings[kSetPadHeight] = clamp(m_settings[kSetPadHeight], 32, static_cast<int>(kv_Tol_jscrh - 32));
    m_settings[kSetPadSize] = clamp(m_settings[kSetPadSize], 8, 25);
    m_padX = m_settings[kSetPadX];
    m_padY = static_cast<int>(kv_Tol_jscrh - m_settings[kSetPadHeight]);
    const float s = m_padScale = m_settings[kSetPadSize] / 10.0f;

    p_SetRot(0);
    p_SetCol(255, 255, 255, 0.6f);
    m_blend = 1;
    p_SetSize(s);
    struct Direction {
        float dx, dy;
        int frame, action;
    };
    const Direction directions[] = {{-32, 0, 4, kActLeft}, {0, -32, 1, kActUp}, {0, 32, 9, kActDown}, {32, 0, 6, kActRight}};
    for (const Direction& d : directions) {
        if (p_Button(kImgDpad, m_padX + d.dx * s, m_padY + d.dy * s, d.frame) && m_paused == 0) m_pad[d.action] = 1;
    }
    p_DrawImg(kImgDpad, static_cast<float>(m_padX), static_cast<float>(m_padY), 5);

    if (m_paused > 0) {
        p_SetSize(3);
        bool handle = p_Button0(kImgDpad, static_cast<float>(m_padX), static_cast<float>(m_padY), 0) != 0;
        bool secondTouch = m_touchDown[1] != 0;
        if (handle && !secondTouch) {
            m_settings[kSetPadX] = m_touchX[0];
            m_settings[kSetPadHeight] = static_cast<int>(kv_Tol_jscrh - m_touchY[0]);
        }
        if (!secondTouch) m_dragging = 0;
        if (m_touchDown[0] && secondTouch) {
            int distance = std::abs(m_touchX[0] - m_touchX[1]) / 16;
            if (m_dragging == 1) m_settings[kSetPadSize] += m_pinchDistance - distance;
            m_pinchDistance = distance;
            m_dragging = 1;
        }
    }

    p_SetSize(1.5f * s);
    if (p_Button(kImgDpad, kv_Tol_jscrw - m_padX + 24 * s, m_padY - 24 * s, 0)) m_pad[kActFire1] = 1;
    if (p_Button(kImgDpad, kv_Tol_jscrw - m_padX - 24 * s, m_padY + 24 * s, 0)) m_pad[kActFire2] = 1;
}

void c_MyApp::TiltIndicator() {
    if (kv_Tol_iCadeControls != 0) {
        m_tiltX = m_tiltY = m_tiltSmoothX = m_tiltSmoothY = 0;
        return;
    }
    if (kv_Tol_AccelerometerControls != 1) return;
    m_tiltX = kv_input_AccelX() - m_tiltCalX;
    m_tiltY = kv_input_AccelY() - m_tiltCalY;
    m_tiltSmoothX = ease_toward(m_tiltSmoothX, m_tiltX);
    m_tiltSmoothY = ease_toward(m_tiltSmoothY, m_tiltY);

    p_SetSize(1.5f);
    p_SetCol(255, 255, 255, 0.8f);
    p_SetRot(0);
    m_blend = 1;
    if (p_Button(kImgDpad, 24, kv_Tol_jscrh - 24, 7)) {
        m_tiltCalX = kv_input_AccelX();
        m_tiltCalY = kv_input_AccelY();
    }
    p_SetCol(100, 255, 100, 0.6f);
    p_SetSize(1);
    p_Oval(24 + 20 * m_tiltSmoothX, kv_Tol_jscrh - 24 + 20 * m_tiltSmoothY, 4, 4);
}

void c_MyApp::DebugReadout() {
    if (kv_Tol_DebugMode != 1) return;
    p_ResetDraw();
    String text = String(m_renderFpsAvg) + String(":") + String(m_fitX) + String(",") + String(m_fitY);
    if (kv_Tol_AccelerometerControls == 1 && kv_Tol_iCadeControls == 0) {
        p_Text(16, kv_Tol_jscrh * 0.5f, text, 1, 1, 0);
    } else {
        p_Text(16, kv_Tol_jscrh - 16, text, 0, 0, 0);
    }
}
