// Player control and drawing: the column's direction from a pointer dragged as a joystick, the
// first pad's stick and the direction keys with their ramp up and braking; and the soldiers
// drawn on their trail points, walking and carrying flags.
#include <cmath>

#include "game/app.h"
#include "game/globals.h"
#include "runtime/random.h"

namespace {

constexpr float kPointerRange = 72;  // pixels of drag for full deflection
constexpr float kPointerDeadZone = 0.1f;
constexpr int kAnchorLeash = 64;  // the anchor follows a pointer dragged farther than this
constexpr int kAnchorStep = 4;
constexpr float kStickDeadZone = 0.2f;
constexpr float kKeyRamp = 0.15f;  // full speed after 7 frames of holding
constexpr float kKeyBrake = 0.2f;  // standing within 5 frames of letting go

float clamp_unit(float value) { return std::fmin(1.0f, std::fmax(-1.0f, value)); }

// One axis of the direction keys: `negative` and `positive` held this frame. The velocity ramps
// while a key is held and brakes toward 0 when not; the direction takes it whenever it acts.
void key_axis(bool negative, bool positive, float& velocity, float& move) {
    if (negative) {
        velocity -= kKeyRamp;
        move = velocity;
    } else if (velocity < 0) {
        velocity = std::fmin(0.0f, velocity + kKeyBrake);
        move = velocity;
    }
    if (positive) {
        velocity += kKeyRamp;
        move = velocity;
    } else if (velocity > 0) {
        velocity = std::fmax(0.0f, velocity - kKeyBrake);
        move = velocity;
    }
}

int follow(int anchor, int pointer) {
    if (pointer - anchor > kAnchorLeash) return anchor + kAnchorStep;
    if (anchor - pointer > kAnchorLeash) return anchor - kAnchorStep;
    return anchor;
}

}  // namespace

int c_MyApp::p_ResetPlayers() {
    for (int i = 0; i < kVarsPerGame; ++i) m_vars[i] = 0;
    return 0;
}

int c_MyApp::p_AnalogueControl() {
    m_moveX = m_moveY = 0;
    if (m_pointerDown > 0) {
        if (m_stickAnchorX == -1) {
            m_stickAnchorX = m_pointerX;
            m_stickAnchorY = m_pointerY;
        } else {
            m_moveX = (m_pointerX - m_stickAnchorX) / kPointerRange;
            m_moveY = (m_pointerY - m_stickAnchorY) / kPointerRange;
            if (std::fabs(m_moveX) < kPointerDeadZone && std::fabs(m_moveY) < kPointerDeadZone) m_moveX = m_moveY = 0;
            m_stickAnchorX = follow(m_stickAnchorX, m_pointerX);
            m_stickAnchorY = follow(m_stickAnchorY, m_pointerY);
        }
        p_SetCol(0, 100, 250, 0.25f);
        p_Oval(static_cast<float>(m_stickAnchorX), static_cast<float>(m_stickAnchorY), 12, 12);
        p_Oval(static_cast<float>(m_pointerX), static_cast<float>(m_pointerY), 8, 8);
    } else {
        m_stickAnchorX = -1;
    }

    const float stickX = p_StickX(0, 0), stickY = p_StickY(0, 0);
    if (std::fabs(stickX) > kStickDeadZone || std::fabs(stickY) > kStickDeadZone) {
        m_moveX = stickX;
        m_moveY = stickY;
    }

    key_axis(p_PlayKey(kActUp, 0, 0) != 0, p_PlayKey(kActDown, 0, 0) != 0, m_keyVelY, m_moveY);
    key_axis(p_PlayKey(kActLeft, 0, 0) != 0, p_PlayKey(kActRight, 0, 0) != 0, m_keyVelX, m_moveX);
    m_moveX = clamp_unit(m_moveX);
    m_moveY = clamp_unit(m_moveY);
    m_keyVelX = clamp_unit(m_keyVelX);
    m_keyVelY = clamp_unit(m_keyVelY);

    if (kv_Tol_DebugMode == 1 && (std::fabs(m_moveX) > 0.05f || std::fabs(m_moveY) > 0.05f)) {
        const float x = kv_Tol_jscrw - 64, y = kv_Tol_jscrh - 64;
        p_SetCol(0, 180, 250, 0.5f);
        p_Oval(x, y, 12, 12);
        p_Oval(x + 52 * m_moveX, y + 52 * m_moveY, 8, 8);
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_DrawPlr(float rowScreenY, int k) {
    const int p = kTrailSpacing * k;
    const float w = rowScreenY + m_camY;
    const float y = m_vars[kVarTrailY + p];
    if (y > w - 53 && y < w + 1) {
        p_SetSize(m_vars[kVarTrailFacing + p] < 0 ? -1.0f : 1.0f, m_sizeY);
        int frame = m_moved == 1 ? static_cast<int>(std::floor(kv_random_Rnd() * 2.99f)) : 0;
        if (k + 1 <= m_vars[kVarFlagsCarried]) frame += kFrameCarrying;
        p_DrawImg(kImgPlayer, m_vars[kVarTrailX + p] - m_camX, y - m_camY, static_cast<float>(frame));
    }
    m_vars[kVarPlayerCellX] = m_vars[kVarPlayerX] / kCellWidth;
    m_vars[kVarPlayerCellY] = m_vars[kVarPlayerY] / kCellHeight;
    p_SetSize(1, m_sizeY);
    return 0;
}
