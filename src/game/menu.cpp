// The main menu: the options cog, the difficulty wheel with its drag physics, the side panel
// with the highscore lists and the credits scroller; the screen background's colour ease; and
// the hit tests behind every screen's buttons.
#include <cmath>

#include "game/app.h"
#include "game/globals.h"
#include "host/app.h"
#include "host/input.h"
#include "runtime/errors.h"

namespace {

constexpr int kSfxMove = 99;
constexpr int kSfxSelect = 98;
enum MenuFocus { kFocusCog = 0, kFocusWheel = 1, kFocusPanel = 2 };
constexpr int kFrameCodedIn = 12;
constexpr int kIconQuit = 1;
constexpr int kIconPlay = 3;
constexpr int kFrameWheel = 3;
constexpr int kKeyEscape = 27;

constexpr float kRowStep = 32;  // degrees between neighbouring wheel rows
constexpr float kPanelBase = 140;
// A held direction repeats after 27 frames, then 12 frames sooner each time, down to every 3.
constexpr float kRepeatFirst = 27;
constexpr float kRepeatShrink = 12;
constexpr float kRepeatFastest = 3;
constexpr float kCreditSpacing = 16;

float clampf(float value, float lo, float hi) { return std::fmin(hi, std::fmax(lo, value)); }

// True when any held touch satisfies `hit`.
template <class Hit>
bool any_held_touch(const c_MyApp& app, Hit hit) {
    for (int i = 0; i < kTouches; ++i) {
        if (app.m_touchDown[i] && hit(static_cast<float>(app.m_touchX[i]), static_cast<float>(app.m_touchY[i]))) {
            return true;
        }
    }
    return false;
}

// True when the pointer is down and any of the first `touches` tracked positions, held or not,
// lies strictly inside the drawn image's box centred on (x, y).
bool button_hit(const c_MyApp& app, int slot, float x, float y, int touches) {
    if (app.m_pointerDown < 1) return false;
    float halfW = app.m_imageInfo[3 * slot] * app.m_hdScale * app.m_sizeX / 2;
    float halfH = app.m_imageInfo[3 * slot + 1] * app.m_hdScale * app.m_sizeY / 2;
    for (int i = 0; i < touches; ++i) {
        float tx = static_cast<float>(app.m_touchX[i]), ty = static_cast<float>(app.m_touchY[i]);
        if (tx > x - halfW && tx < x + halfW && ty > y - halfH && ty < y + halfH) return true;
    }
    return false;
}

// The frame input clears the held-pointer flag before the screens run, so the menu asks the
// touch table whether the pointer is down.
bool pointer_held(const c_MyApp& app) {
    return app.m_pointerDown >= 1 || any_held_touch(app, [](float, float) { return true; });
}

int lowest_row() { return kv_Tol_isOuya == 1 ? -1 : 0; }

// Where row r of the wheel stands: its angle, and its centre pushed out the further the closer
// it comes to 45 degrees, so the row in front bulges out of the ring.
struct RowPlace {
    float angle, x, y;
};
RowPlace place_row(int r, float scroll, float cx, float cy) {
    float a = kRowStep * r + 48 + scroll;
    float off = std::fabs(a - 45);
    float radius = 116 + (off <= 45 ? 1.5f * (45 - off) : 0);
    return {a, cx + std::sin(a * kDegrees) * radius, cy - std::cos(a * kDegrees) * radius};
}

}  // namespace

int c_MyApp::p_Button(int slot, float x, float y, int frame) {
    p_DrawImg(slot, x, y, static_cast<float>(frame));
    return button_hit(*this, slot, x, y, kTouches) ? 1 : 0;
}

int c_MyApp::p_Button0(int slot, float x, float y, int frame) {
    p_DrawImg(slot, x, y, static_cast<float>(frame));
    return button_hit(*this, slot, x, y, 1) ? 1 : 0;
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    return any_held_touch(*this, [=](float tx, float ty) {
        return tx > x - 6 && tx < x + w + 12 && ty > y - 6 && ty < y + h + 12;
    }) ? 1 : 0;
}

int c_MyApp::p_MouseIn(float x, float y, float w, float h) {
    return any_held_touch(*this, [=](float tx, float ty) { return tx > x && tx < x + w && ty > y && ty < y + h; })
               ? 1
               : 0;
}

int c_MyApp::p_MouseIn_Centered(float cx, float cy, float w, float h) {
    return any_held_touch(*this, [=](float tx, float ty) {
        return std::fabs(tx - cx) < w / 2 && std::fabs(ty - cy) < h / 2;
    }) ? 1 : 0;
}

int c_MyApp::p_MouseIn_Radius(float cx, float cy, float w, float h) {
    return any_held_touch(*this, [=](float tx, float ty) {
        return (tx - cx) * (tx - cx) + (ty - cy) * (ty - cy) <= (w / 2) * (w / 2) + (h / 2) * (h / 2);
    }) ? 1 : 0;
}

int c_MyApp::p_DoBG(int r, int g, int b, float alpha) {
    if (r >= -122) m_bgTargetR = static_cast<float>(r);
    if (g >= -122) m_bgTargetG = static_cast<float>(g);
    if (b >= -122) m_bgTargetB = static_cast<float>(b);
    m_bgR -= (m_bgR - m_bgTargetR) * 0.125f;
    m_bgG -= (m_bgG - m_bgTargetG) * 0.125f;
    m_bgB -= (m_bgB - m_bgTargetB) * 0.125f;
    p_CLS2D(m_bgR, m_bgG, m_bgB, alpha == -123 ? 1.0f : clampf(alpha, 0, 1));
    return 0;
}

int c_MyApp::p_Menu() {
    p_DoBG(0, 80, 0, -123);
    if (m_menuIntro < 0) ++m_menuIntro;
    m_panelW = m_sidePanelX + kPanelBase;
    const bool panelsOpen = m_optionsOpen == 1 || m_optionsRequest == 1 || m_sidePanelOpen == 1;
    // A pointer press acts once, on the frame it lands, and only when nothing has taken it;
    // so a drag over the wheel never clicks when it is let go.
    auto tapReady = [&] {
        return m_pointerHit > 0 && m_keyLatch == 0 && m_pointerTaken == 0 && m_optionsOpen == 0 &&
               m_optionsRequest == 0 && m_sidePanelOpen == 0;
    };

    if (m_keyLatch == 0 && m_pointerTaken == 0) {
        if (kv_Tol_isOuya == 0) {
            if (p_PlayKeyAll(kActBack, 1) > 0) kvError(String());
        } else if (p_PlayKeyAll(kActPause, 1) > 0 || kv_input_KeyDown(kKeyEscape)) {
            m_gameState = kStateQuitPrompt;
            m_keyLatch = m_pointerTaken = 1;
        }
    }

    p_SetSize(1.25f);
    p_DrawImg(kImgTitle, (kv_Tol_jscrw - m_panelW) * 0.55f, 12.0f * m_menuIntro + 80, 0);

    const float barX = kv_Tol_jscrw - m_panelW - 8.0f * m_menuIntro - 2;
    const float panelH = kv_Tol_jscrh + 256;
    p_SetSize(1);
    p_SetCol(255, 255, 255, m_menuFocus == kFocusPanel ? 1.0f : 0.2f);
    p_Rect(barX, -128, 3, panelH);
    p_SetCol(0, 0, 0, m_menuFocus == kFocusPanel ? 0.75f : 0.45f);
    p_Rect(barX + 3, -128, kv_Tol_jscrw - barX - 3, panelH);

    const float playX = kv_Tol_jscrw - m_panelW / 2, playY = kv_Tol_jscrh - 48;
    const bool pointerInPanel = p_MouseIn(barX, -128, kv_Tol_jscrw - barX, panelH) != 0;
    p_SetCol(100, 255, 100, m_menuFocus == kFocusWheel && !pointerInPanel ? 0.5f : 0.0f);
    p_SetSize(3);
    p_DrawImg(kImgIcons, playX, playY, kIconPlay);
    if (tapReady() && pointerInPanel) {
        m_pointerTaken = 1;
        if (p_MouseIn_Centered(playX, playY, 128, 128)) {
            m_menuFocus = kFocusWheel;
            MenuSelect();
        } else if (m_menuFocus != kFocusPanel) {
            m_menuFocus = kFocusPanel;
            p_PlaySFX(kSfxMove, 1, 1, 0);
        } else {
            MenuSelect();
        }
    }

    if (m_difficulty > 0 && m_optionsOpen == 0 && m_optionsRequest == 0) MenuScores();

    if (m_menuVel != 0) {
        m_menuTarget += m_menuVel;
        m_menuVel *= 0.75f;
        if (std::fabs(m_menuVel) < 1) m_menuVel = 0;
    }
    // Once a fling has died out and the pointer is up, the wheel comes to rest on its row.
    if (m_menuVel == 0 && m_dragX0 < 0) m_menuTarget = -kRowStep * m_menuRow;
    m_menuScroll += (m_menuTarget - m_menuScroll) / 8;
    if (std::fabs(m_menuTarget - m_menuScroll) < 0.5f) m_menuScroll = m_menuTarget;

    const float cx = 12.0f * m_menuIntro + 38, cy = kv_Tol_jscrh - 64 - 8.0f * m_menuIntro;
    if (m_menuFocus == kFocusCog) m_cogAngle = std::fmod(m_cogAngle + 0.3f, 360.0f);
    p_SetCol(255, 255, 255, m_menuFocus == kFocusCog ? 0.8f : 0.25f);
    p_SetSize(0.5f);
    for (int layer = 0; layer < 3; ++layer) {
        p_SetRot(m_cogAngle * static_cast<float>(1 << layer));
        p_DrawImg(kImgButtons, cx, cy, static_cast<float>(kFrameCog + layer));
    }
    p_SetRot(0);
    if (tapReady() && p_MouseIn_Centered(cx, cy, 64, 64)) {
        m_optionsOpen = 1;
        m_pointerTaken = 1;
        m_menuFocus = kFocusCog;
        p_PlaySFX(kSfxMove, 1, 1, 0);
    }

    MenuWheel(cx, cy, tapReady());

    if (m_menuFocus == kFocusWheel && kv_Tol_jscrw > 600 && m_menuIntro >= 0 && m_menuRow >= 0) {
        p_SetCol(255, 255, 255, 1);
        p_SetSize(1.5f);
        p_Text(240, kv_Tol_jscrh - 52 - 3.0f * m_menuIntro, kv_Tol_MenuSet[m_menuDesc], 0, 0, 0);
    }

    MenuKeys(panelsOpen);
    m_difficulty = m_menuRow + 1 < 1 ? 1 : m_menuRow + 1 > 3 ? 3 : m_menuRow + 1;
    if (m_sidePanelOpen == 1) MenuCredits();
    return 0;
}

void c_MyApp::MenuScores() {
    const float lineHeight = static_cast<float>(m_imageInfo[3 * m_font + 1]);
    int rows = static_cast<int>(std::floor(((kv_Tol_jscrh - 90) - kv_Tol_jscrh * 0.5f) / (1.5f * lineHeight)));
    m_scoreRows = rows < 1 ? 1 : rows > 10 ? 10 : rows;
    const String lineBreak("\\n");
    const int table = 10 * (m_difficulty - 1);
    String top = m_scoreRows == 1 ? String("Highscore") : String("Top ") + String(m_scoreRows);
    String last = m_scoreRows == 1 ? String("Last") : String("Last ") + String(m_scoreRows);
    for (int i = 0; i < m_scoreRows; ++i) {
        top += lineBreak + p_rstr(m_scores[table + i], 11, String(" "));
        last += lineBreak + p_rstr(m_scores[30 + table + i], 11, String(" "));
    }
    const float x = kv_Tol_jscrw - m_panelW - 4.0f * m_menuIntro + 20;
    p_SetRot(0);
    p_SetSize(1.5f);
    p_SetCol(255, 200, 100, 1);
    p_Text(x, 60, top, 0, 0, 0);
    p_SetCol(200, 255, 100, 1);
    p_Text(x, kv_Tol_jscrh * 0.5f + 20, last, 0, 0, 0);
}

void c_MyApp::MenuWheel(float cx, float cy, bool tapReady) {
    const bool focused = m_menuFocus == kFocusWheel;
    p_SetRot(m_menuScroll);
    p_SetSize(1.5625f);
    p_SetCol(255, 255, 255, focused ? 1.0f : 0.25f);
    p_DrawImg(kImgCircle, cx, cy, kFrameWheel);
    p_SetRot(0);

    const bool panelsOpen = m_optionsOpen == 1 || m_optionsRequest == 1 || m_sidePanelOpen == 1;
    if (!pointer_held(*this)) {
        m_dragX0 = m_dragY0 = -1;
    } else if (!panelsOpen && p_MouseIn_Centered(cx, cy, 500, 500) && !p_MouseIn_Centered(cx, cy, 64, 64)) {
        if (m_dragX0 < 0) {
            m_dragX0 = m_pointerX;
            m_dragY0 = m_pointerY;
        }
        float d = ((m_dragX0 - m_pointerX) - m_pointerY + m_dragY0) * 0.25f;
        m_dragX0 = m_pointerX;
        m_dragY0 = m_pointerY;
        m_menuVel = clampf(m_menuVel - d, -40, 40);
        m_menuFocus = kFocusWheel;
        if (std::fabs(d) > 1) m_keyLatch = m_pointerTaken = -1;
    }

    const int lowest = lowest_row();
    // A spinning wheel selects the row passing the front, and springs back from either end.
    if (std::fabs(m_menuVel) > 0.05f) {
        for (int r = m_menuRow - 3; r <= m_menuRow + 3; ++r) {
            if (r < lowest || r > 2) continue;
            float a = place_row(r, m_menuScroll, cx, cy).angle;
            if (a >= 30 && a <= 60 && r != m_menuRow) {
                m_menuRow = r;
                p_PlaySFX(kSfxMove, 1, 1, 0);
                break;
            }
        }
        float last = place_row(2, m_menuScroll, cx, cy).angle;
        float first = place_row(0, m_menuScroll, cx, cy).angle;
        if (last < 30 || last > 200) m_menuVel = 4;
        if (first > 60 && first < 200) m_menuVel = -4;
    }

    const bool settled = std::fabs(m_menuScroll - m_menuTarget) < 2;
    int tappedRow = m_menuRow;
    bool selectTapped = false;
    for (int r = m_menuRow - 3; r <= m_menuRow + 3; ++r) {
        if (r < lowest || r > 2) continue;
        const RowPlace at = place_row(r, m_menuScroll, cx, cy);
        const bool selected = r == m_menuRow;
        const float size = selected ? 1.75f : 0.75f;
        p_SetRot(-(at.angle - 55) / 2);
        p_SetCol(255, 255, 255, focused ? 1.0f : 0.3f);
        if (r >= 0) {
            p_SetSize(size);
            p_DrawImg(kImgButtons, at.x, at.y, static_cast<float>(r % 6));
            p_SetSize(1.5f * size);
            p_Text(at.x, at.y, kv_Tol_MenuSet[2 * (r % 3)], 1, 1, 0);
        } else {
            p_SetCol(255, 180, 180);
            p_SetSize(2 * size);
            p_DrawImg(kImgIcons, at.x, at.y, kIconQuit);
        }
        if (selected && r >= 0) m_menuDesc = 2 * (r % 3) + 1;
        if (!tapReady) continue;
        if (selected && settled && p_MouseIn_Radius(at.x, at.y, 64, 64)) {
            selectTapped = true;
        } else if (!selected && p_MouseIn_Radius(at.x, at.y, 52, 52)) {
            tappedRow = r;
        }
    }
    p_SetRot(0);

    if (selectTapped) {
        m_pointerTaken = 1;
        m_menuFocus = kFocusWheel;
        MenuSelect();
    } else if (tappedRow != m_menuRow) {
        m_pointerTaken = 1;
        m_menuFocus = kFocusWheel;
        m_menuRow = tappedRow;
        m_menuTarget = -kRowStep * m_menuRow;
        p_PlaySFX(kSfxMove, 1, 1, 0);
    }
}

void c_MyApp::MenuKeys(bool panelsOpen) {
    float& timer = m_vars[kVarKeyRepeat];
    float& delay = m_vars[kVarKeyRepeatDelay];
    const bool up = p_PlayKeyAll(kActUp, 1) > 0, down = p_PlayKeyAll(kActDown, 1) > 0;
    const bool left = p_PlayKeyAll(kActLeft, 1) > 0, right = p_PlayKeyAll(kActRight, 1) > 0;
    if (!up && !down && !left && !right) {
        delay = kRepeatFirst;
        timer = -1;
    }
    // Running out, the timer lifts the latch so that a held direction moves again.
    if (timer >= 0) {
        timer -= 1;
        if (timer < 0) m_keyLatch = 0;
    }
    if (m_keyLatch != 0 || m_pointerTaken != 0 || panelsOpen) return;

    int row = m_menuRow, focus = m_menuFocus;
    if (up && row > lowest_row() && timer < 1) {
        --row;
    } else if (down && row < 2) {
        ++row;
    } else if (left && focus > kFocusCog) {
        --focus;
    } else if (right && focus < kFocusPanel) {
        ++focus;
    }
    if (row != m_menuRow || focus != m_menuFocus) {
        m_menuRow = row;
        m_menuTarget = -kRowStep * row;
        m_menuFocus = focus;
        m_keyLatch = m_pointerTaken = 1;
        timer = delay;
        delay = std::fmax(kRepeatFastest, delay - kRepeatShrink);
        p_PlaySFX(kSfxMove, 1, 1, 0);
        return;
    }
    if (p_PlayKeyAll(kActFire1, 1) || p_PlayKeyAll(kActFire2, 1) || p_PlayKeyAll(kActFire3, 1)) MenuSelect();
}

void c_MyApp::MenuSelect() {
    m_vars[kVarKeyRepeat] = -1;
    m_keyLatch = m_pointerTaken = 1;
    switch (m_menuFocus) {
    case kFocusCog:
        m_optionsOpen = 1;
        p_PlaySFX(kSfxSelect, 1, 1, 0);
        break;
    case kFocusWheel:
        if (m_menuRow < 0) kvError(String());
        m_inputMode = pointer_held(*this) ? 2 : 1;
        for (int action = kActFire1; action <= kActFire6; ++action) {
            if (p_PlayKey(action, 0, -1)) m_inputMode = 0;
        }
        m_menuTarget = -kRowStep * m_menuRow;
        m_gameState = kStateStartGame;
        p_PlaySFX(kSfxSelect, 1, 1, 0);
        break;
    default:
        m_sidePanelOpen = 1;
        p_PlaySFX(kSfxMove, 1, 1, 0);
        break;
    }
}

void c_MyApp::MenuCredits() {
    const int count = kv_Tol_CreditText.Length() - 1;  // the last entry only ends the list
    if (count < 1) return;
    const bool fast = p_PlayKeyAll(kActUp, 1) > 0 || p_PlayKeyAll(kActDown, 1) > 0;
    m_creditOffset -= fast ? 1.8f : 0.3f;
    while (m_creditOffset < -kCreditSpacing) {
        m_creditOffset += kCreditSpacing;
        m_creditFirst = (m_creditFirst + 1) % count;
    }

    const float slide = kv_Tol_jscrw - m_panelW;  // 0 once the panel is fully open
    const float x = kv_Tol_jscrw - 160 + slide;
    p_SetRot(0);
    p_SetSize(1);
    for (int i = -3; i <= 4; ++i) {
        const float along = kCreditSpacing * i + m_creditOffset;
        // Lines fade and rise as they leave the middle of the column.
        const float d = clampf(std::fabs(along) / 40 - 0.3f, 0, 1);
        const int line = ((m_creditFirst + i) % count + count) % count;
        p_SetCol(255, 255, 255, 1 - d);
        p_Text(x, kv_Tol_jscrh * 0.5f + 24 + along - 24 * d, kv_Tol_CreditText[line], 0.8f, 0.8f, 0);
    }

    if (m_keyLatch == 0 && m_pointerTaken == 0 &&
        (m_pointerHit > 0 || p_PlayKeyAll(kActFire1, 1) || p_PlayKeyAll(kActFire2, 1) ||
         p_PlayKeyAll(kActFire3, 1) || p_PlayKeyAll(kActFire4, 1))) {
        m_sidePanelOpen = 0;
        m_keyLatch = m_pointerTaken = 1;
        p_PlaySFX(kSfxMove, 1, 1, 0);
    }

    const float right = kv_Tol_jscrw - 12 + slide;
    const String by("x");
    const String stats[] = {
        String("Debug Stats"),
        String("Engine ") + String(static_cast<int>(kv_Tol_jscrw)) + by + String(static_cast<int>(kv_Tol_jscrh)),
        String("Screen ") + String(kv_app_DeviceWidth()) + by + String(kv_app_DeviceHeight()),
        String("FPS ") + String(m_renderFpsAvg) + String(" : ") + String(m_updateFpsAvg),
    };
    p_SetCol(180, 200, 255, 0.8f);
    for (int i = 0; i < 4; ++i) p_Text(right, 16.0f + 14 * i, stats[i], 2, 0, 0);

    const float codedX = kv_Tol_jscrw * 0.3f + slide, codedY = kv_Tol_jscrh - 64;
    p_SetCol(255, 255, 255, 1);
    p_DrawImg(kImgButtons, codedX, codedY, kFrameCodedIn);
    p_Text(codedX + 40, codedY - 8, String("Coded in"), 0, 0, 0);
    p_Text(codedX + 40, codedY + 8, String("C++20 with GCC and CMake"), 0, 0, 0);
}
