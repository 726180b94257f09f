// Options, pause and quit: the options box over the menu and the play screen with every setting
// the player can change, the pause menu of a running game with its ornament, the console's
// overscan row both of them show, and the console's quit prompt.
#include <algorithm>
#include <cmath>

#include "game/app.h"
#include "game/globals.h"
#include "runtime/errors.h"

namespace {

constexpr int kSfxMove = 99;
constexpr int kSfxSelect = 98;
constexpr int kSlideFrames = 30;  // the options box is fully in at this count
constexpr float kSlideStep = 24;  // pixels per frame of the box's slide and the pause panel's
constexpr float kRowSpacing = 40;
constexpr float kFirstRowY = 48;
constexpr float kLabelX = 100;
constexpr float kBoxLeft = 50;
constexpr int kFramePanel = 0;
constexpr int kIconLeave = 1;
constexpr int kIconResume = 3;
constexpr int kIconMarker = 6;
constexpr int kOverscanLow = 1;
constexpr int kOverscanHigh = 96;
constexpr int kOverscanStep = 16;

// The options box's rows, in their order from the top.
enum OptionRow { kRowBack, kRowOverscan, kRowSound, kRowICade, kRowWindow, kRowLeftStick, kRowRightStick, kRowQuit };
constexpr int kMaxRows = 8;

// Entries of the pause menu's float table.
enum PauseEntry {
    kPauseListStart = 0,  // draw count + 1 where the pause overlay begins; 0 = not marked
    kPauseListEnd = 1,    // the draw count the overlay left behind last update
    kPauseAngleA = 2,
    kPauseAngleB = 3,
    kPauseAngleC = 4,
    kPauseCogAngle = 5,
    kPauseTrailHead = 6,
    kPauseTrail = 16,  // x, y pairs of the ornament's trail, relative to its centre
};
constexpr int kTrailPoints = 48;
constexpr float kOrnamentSpeedLimit = 100;

template <int N>
String text(const char16_t (&units)[N]) {
    return String(units, N - 1);
}

float clampf(float value, float lo, float hi) { return std::fmin(hi, std::fmax(lo, value)); }

bool any_touch_held(const c_MyApp& app) {
    for (int i = 0; i < kTouches; ++i) {
        if (app.m_touchDown[i]) return true;
    }
    return false;
}

// The actions the options box answers to; its key latch lifts only once all are let go.
const int kBoxActions[] = {kActUp, kActDown, kActFire1, kActFire2, kActFire3, kActFire5, kActFire6, kActBack};

bool any_box_key(c_MyApp& app) {
    for (int action : kBoxActions) {
        if (app.p_PlayKeyAll(action, 1) > 0) return true;
    }
    return false;
}

bool fire_pressed(c_MyApp& app) {
    return app.p_PlayKeyAll(kActFire1, 1) > 0 || app.p_PlayKeyAll(kActFire2, 1) > 0 ||
           app.p_PlayKeyAll(kActFire3, 1) > 0;
}

// The rows shown, top to bottom; gives their count.
int shown_rows(const c_MyApp& app, OptionRow rows[kMaxRows]) {
    int n = 0;
    rows[n++] = kRowBack;
    if (kv_Tol_isOuya == 1) rows[n++] = kRowOverscan;
    rows[n++] = kRowSound;
    if (kv_Tol_isOuya == 0) rows[n++] = kRowICade;
    rows[n++] = kRowWindow;
    rows[n++] = kRowLeftStick;
    rows[n++] = kRowRightStick;
    if (kv_Tol_isOuya == 1 && app.m_paused == 0) rows[n++] = kRowQuit;
    return n;
}

// Keeps the console's margin within its range and hands it to the screen fit.
void apply_overscan(c_MyApp& app, int value) {
    int& margin = app.m_settings[kSetOverscan];
    margin = value < kOverscanLow ? kOverscanLow : value > kOverscanHigh ? kOverscanHigh : value;
    kv_Tol_overscan = static_cast<float>(margin);
}

// A tap jumps the margin to whichever end lies further from it.
void jump_overscan(c_MyApp& app) {
    apply_overscan(app, app.m_settings[kSetOverscan] >= 32 ? kOverscanLow : kOverscanHigh);
    app.p_PlaySFX(kSfxSelect, 1, 1, 0);
}

// A thumbstick's direction: 1 normal, 0 flipped; any other stored value reads as normal, as
// the stick itself does, so it flips to 0.
void flip_stick(c_MyApp& app, int setting) {
    app.m_settings[setting] = app.m_settings[setting] != 0 ? 0 : 1;
}

// The console's overscan row: the label centred at 0.6 of the width, the bar below it and the
// marker of the current margin; true when a fresh tap lands on the bar.
bool overscan_row(c_MyApp& app, float y, float shift, bool tapReady) {
    static const String label = text(u"¬U <      Overscan      > ¬O");
    const float cx = 0.6f * kv_Tol_jscrw + shift;
    app.p_SetSize(2);
    app.p_Text(cx, y - 8, label, 1, 1, 0);
    app.p_SetSize(1);
    app.p_SetCol(255, 255, 255, 0.5f);
    app.p_Rect(cx - 128, y + 8, 256, 9);
    app.p_SetCol(255, 255, 255, 1);
    app.p_Rect(app.m_settings[kSetOverscan] * 2.67f + cx - 132, y + 5, 8, 16);
    return tapReady && app.m_pointerHit > 0 && app.p_MouseIn(cx - 128, y + 4, 256, 16);
}

}  // namespace

int c_MyApp::p_OptionBox() {
    const bool open = m_optionsOpen == 1;
    const float shift = (kSlideFrames - m_optionsAnim) * kSlideStep;
    // Nothing acts while the box slides, and after an activation nothing acts again until the
    // keys and the pointer that caused it have been let go.
    if (m_optionsAnim < kSlideFrames) {
        m_optionLatchA = m_optionLatchB = 1;
    } else {
        if (!any_box_key(*this)) m_optionLatchA = 0;
        if (!any_touch_held(*this)) m_optionLatchB = 0;
    }
    const bool ready = open && m_optionLatchA == 0 && m_optionLatchB == 0;
    const bool tapReady = ready && m_pointerHit > 0;

    OptionRow rows[kMaxRows];
    const int count = shown_rows(*this, rows);
    if (m_optionSel >= count) m_optionSel = count - 1;
    if (m_optionSel < 0) m_optionSel = 0;

    bool fire = false, lower = false, raise = false, close = false;
    if (ready) {
        const bool up = p_PlayKeyAll(kActUp, 1) > 0, down = p_PlayKeyAll(kActDown, 1) > 0;
        if (p_PlayKeyAll(kActBack, 1) > 0) {
            close = true;
        } else if ((up && m_optionSel > 0) || (down && m_optionSel < count - 1)) {
            m_optionSel += up ? -1 : 1;
            m_optionLatchA = 1;
            p_PlaySFX(kSfxMove, 1, 1, 0);
        } else {
            fire = fire_pressed(*this);
            lower = p_PlayKeyAll(kActFire5, 1) > 0;
            raise = p_PlayKeyAll(kActFire6, 1) > 0;
        }
    }

    const float width = kv_Tol_jscrw - 100;
    const float height = kRowSpacing * count + 24;
    p_ResetDraw();
    p_SetCol(150, 75, 0, 0.85f);
    const float panelW = m_imageInfo[3 * kImgMenu] * m_hdScale, panelH = m_imageInfo[3 * kImgMenu + 1] * m_hdScale;
    if (panelW > 0 && panelH > 0) {
        p_SetSize(width / panelW, height / panelH);
        p_DrawImg(kImgMenu, kBoxLeft + width / 2 + shift, 16 + height / 2, kFramePanel);
    }

    for (m_optionRow = 0; m_optionRow < count; ++m_optionRow) {
        const OptionRow row = rows[m_optionRow];
        const float y = kFirstRowY + kRowSpacing * m_optionRow;
        const bool highlighted = m_optionRow == m_optionSel;
        m_optionHit = tapReady && p_MouseIn(kBoxLeft + shift, y - kRowSpacing / 2, width, kRowSpacing) ? 1 : 0;
        if (m_optionHit) m_optionSel = m_optionRow;
        m_optionGo = m_optionHit || (highlighted && fire) ? 1 : 0;

        if (highlighted) {
            p_SetCol(0, 180, 255, 1);
        } else {
            p_SetCol(255, 255, 255, 1);
        }
        p_SetSize(2);
        p_SetRot(0);
        const float x = kLabelX + shift;
        switch (row) {
        case kRowBack: {
            // The cog rolls in with the box: it turns by the distance it travels.
            const float roll = -shift / 16 / kDegrees;
            p_SetSize(0.5f);
            for (int layer = 0; layer < 3; ++layer) {
                p_SetRot(roll * static_cast<float>(1 << layer));
                p_DrawImg(kImgButtons, x - 24, y, static_cast<float>(kFrameCog + layer));
            }
            p_SetRot(0);
            p_SetSize(2);
            static const String back("<[BACK]");
            p_Text(x, y, back, 0, 1, 0);
            if (m_optionGo) close = true;
            break;
        }
        case kRowOverscan: {
            const bool barTapped = overscan_row(*this, y, shift, tapReady);
            if (m_optionGo || barTapped) {
                jump_overscan(*this);
                m_optionLatchA = m_optionLatchB = 1;
            } else if (highlighted && (lower || raise)) {
                apply_overscan(*this, m_settings[kSetOverscan] + (raise ? kOverscanStep : -kOverscanStep));
                m_optionGo = 1;
            }
            break;
        }
        case kRowSound: {
            static const String withMusic[] = {String("Sound : Off"), String("Sound : SFX + Music"),
                                               String("Sound : SFX"), String("Sound : Music")};
            static const String withoutMusic[] = {String("Sound : Off"), String("Sound : On")};
            const bool streams = kv_Tol_HasMusicStream == 1;
            const int modes = streams ? 4 : 2;
            int& mode = m_settings[kSetSoundMode];
            if (mode < 0 || mode >= modes) mode = 0;
            if (m_optionGo) {
                mode = (mode + 1) % modes;
                if (streams && (mode == 0 || mode == 2)) {
                    p_StopTune();
                } else if (streams && m_gameState >= kStatePlay) {
                    p_PlayTune(String("-1"), 1);
                }
            }
            p_Text(x, y, streams ? withMusic[mode] : withoutMusic[mode], 0, 1, 0);
            break;
        }
        case kRowICade: {
            if (m_optionGo) {
                kv_Tol_iCadeControls = 1 - kv_Tol_iCadeControls;
                p_iCade(kv_Tol_iCadeControls);
            }
            static const String labels[] = {String("iCade : Off"), String("iCade : On")};
            p_Text(x, y, labels[kv_Tol_iCadeControls == 1 ? 1 : 0], 0, 1, 0);
            break;
        }
        case kRowWindow: {
            if (m_optionGo) p_FullscreenFlip();
            static const String labels[] = {String("Fullscreen"), String("Windowed")};
            p_Text(x, y, labels[m_fullscreen == 1 ? 1 : 0], 0, 1, 0);
            break;
        }
        case kRowLeftStick:
        case kRowRightStick: {
            const int setting = row == kRowLeftStick ? kSetLeftStickY : kSetRightStickY;
            if (m_optionGo) flip_stick(*this, setting);
            static const String labels[2][2] = {
                {String("Left Thumbstick Y Flipped"), String("Left Thumbstick Y Normal")},
                {String("Right Thumbstick Y Flipped"), String("Right Thumbstick Y Normal")},
            };
            p_Text(x, y, labels[row == kRowLeftStick ? 0 : 1][m_settings[setting] != 0 ? 1 : 0], 0, 1, 0);
            break;
        }
        case kRowQuit: {
            static const String quit("Quit");
            p_Text(x, y, quit, 0, 1, 0);
            if (m_optionGo) kvError(String());
            break;
        }
        }
        if (m_optionGo && !close) {
            p_PlaySFX(kSfxMove, 1, 1, 0);
            m_optionLatchA = m_optionLatchB = 1;
        }
    }

    if (kv_Tol_isOuya == 1) {
        // The overscan guide: a white corner at each corner of the picture.
        const float w = kv_Tol_jscrw, h = kv_Tol_jscrh;
        p_SetCol(255, 255, 255, 1);
        p_SetSize(1);
        for (float cx : {0.0f, w}) {
            for (float cy : {0.0f, h}) {
                p_Rect(cx == 0 ? 0 : w - 8, cy == 0 ? 0 : h - 16, 8, 16);
                p_Rect(cx == 0 ? 0 : w - 16, cy == 0 ? 0 : h - 8, 16, 8);
            }
        }
    }
    p_ResetDraw();

    if (close) {
        m_optionsOpen = 0;
        m_optionLatchA = m_optionLatchB = 1;
        p_PlaySFX(kSfxMove, 1, 1, 0);
        p_Save();
        m_keyLatch = m_pointerTaken = 1;
    }
    return 0;
}

namespace {

// The pause menu's entries, in cursor order.
enum PauseChoice { kChoiceLeave = -1, kChoiceResume = 0, kChoiceOptions = 1, kChoiceNone = 2 };

// Draws a button and tells whether the pointer pressed it this frame. The frame input clears
// the held-pointer flag before the screens run, so a fresh press landing in the button's box
// counts as well as the button's own test.
bool pressed_button(c_MyApp& app, int slot, float x, float y, int frame) {
    const bool held = app.p_Button(slot, x, y, frame) != 0;
    const float w = app.m_imageInfo[3 * slot] * app.m_hdScale * app.m_sizeX;
    const float h = app.m_imageInfo[3 * slot + 1] * app.m_hdScale * app.m_sizeY;
    const bool tapped = app.m_pointerHit > 0 && app.p_MouseIn_Centered(x, y, w, h) != 0;
    return (held || tapped) && app.m_pointerTaken == 0;
}

}  // namespace

int c_MyApp::p_PauseMenu() {
    // While paused nothing redraws the play screen, so its last frame stays in the list and the
    // overlay starts again where it began each update. A list that shrank was restarted (by the
    // loader after a resize): the overlay then begins where the list now ends.
    int start = static_cast<int>(m_pauseMenu[kPauseListStart]) - 1;
    if (start < 0) m_pauseCursor = kChoiceResume;  // every pause offers resume first
    m_pauseCursor = std::clamp(m_pauseCursor, static_cast<int>(kChoiceLeave), static_cast<int>(kChoiceOptions));
    if (start < 0 || m_drawCount < m_pauseMenu[kPauseListEnd]) start = m_drawCount;
    m_drawCount = start;
    m_pauseMenu[kPauseListStart] = static_cast<float>(start + 1);

    const float halfH = kv_Tol_jscrh * 0.5f;
    if (m_pauseSel == 1) {
        m_pauseY = std::min(m_pauseY + static_cast<int>(kSlideStep), static_cast<int>(halfH));
    } else if (m_pauseSel == -1) {
        const bool gone = m_pauseY < -63;
        m_pauseY -= static_cast<int>(kSlideStep);
        if (gone || m_pauseY < -32) m_paused = 0;
    }

    p_ResetDraw();
    p_SetCol(0, 0, 0, std::fmin(1.0f, std::fabs(static_cast<float>(m_pauseY)) / (0.8f * kv_Tol_jscrh)));
    p_Rect(0, 0, kv_Tol_jscrw, kv_Tol_jscrh);

    // The ornament: three arms turning at their own rates; the tip leaves a fading trail.
    const bool up = p_PlayKeyAll(kActUp, 1) > 0, down = p_PlayKeyAll(kActDown, 1) > 0;
    const float limit = std::fmax(0.0f, std::fmin(0.45f * kv_Tol_jscrh, 0.45f * (kv_Tol_jscrw - 96)));
    m_ornamentRadius = clampf(m_ornamentRadius + (down ? 1.0f : 0.0f) - (up ? 1.0f : 0.0f), 0, limit);
    if (p_PlayKeyAll(kActRight, 1) > 0) m_ornamentSpeed = std::fmin(kOrnamentSpeedLimit, m_ornamentSpeed + 1);
    if (p_PlayKeyAll(kActLeft, 1) > 0) m_ornamentSpeed = std::fmax(-kOrnamentSpeedLimit, m_ornamentSpeed - 1);
    float& a = m_pauseMenu[kPauseAngleA];
    float& b = m_pauseMenu[kPauseAngleB];
    float& c = m_pauseMenu[kPauseAngleC];
    a = std::fmod(a + 1, 360.0f);
    b = std::fmod(b + m_ornamentSpeed / 10, 360.0f);
    c = std::fmod(c + 1.5f, 360.0f);
    const float r = m_ornamentRadius;
    const float x0 = kv_Tol_jscrw * 0.5f + 48, y0 = halfH;
    const float x1 = x0 + std::cos(a * kDegrees) * r * 0.5f, y1 = y0 + std::sin(a * kDegrees) * r * 0.5f;
    const float x2 = x1 + std::cos(b * kDegrees) * r * 0.3f, y2 = y1 + std::sin(b * kDegrees) * r * 0.3f;
    const float x3 = x2 + std::cos(c * kDegrees) * r * 0.2f, y3 = y2 + std::sin(c * kDegrees) * r * 0.2f;
    const int head = (static_cast<int>(m_pauseMenu[kPauseTrailHead]) + 1) % kTrailPoints;
    m_pauseMenu[kPauseTrailHead] = static_cast<float>(head);
    m_pauseMenu[kPauseTrail + 2 * head] = x3 - x0;
    m_pauseMenu[kPauseTrail + 2 * head + 1] = y3 - y0;
    for (int i = 1; i <= kTrailPoints; ++i) {
        const int k = kPauseTrail + 2 * ((head + i) % kTrailPoints);
        p_SetCol(255, 220, 150, 0.6f * i / kTrailPoints);
        p_Oval(x0 + m_pauseMenu[k], y0 + m_pauseMenu[k + 1], 2, 2);
    }
    p_SetCol(255, 220, 150, 0.3f);
    p_Line(x0, y0, x1, y1);
    p_Line(x1, y1, x2, y2);
    p_Line(x2, y2, x3, y3);

    p_SetCol(255, 255, 255, 1);
    p_SetSize(4);
    static const String paused("PAUSED");
    p_Text(x0 + 48, y0, paused, 1, 1, 0);

    const bool acting = m_paused == 1 && m_pauseSel == 1;
    if (kv_Tol_isOuya == 1) {
        const bool barTapped = overscan_row(*this, kv_Tol_jscrh - 48, 0, acting && m_pointerTaken == 0);
        if (barTapped) {
            jump_overscan(*this);
            m_pointerTaken = 1;
        } else if (acting && m_keyLatch == 0) {
            const int margin = m_settings[kSetOverscan];
            int step = 0;
            if (p_PlayKeyAll(kActFire5, 1) > 0 && margin > 0) step = -kOverscanStep;
            if (p_PlayKeyAll(kActFire6, 1) > 0 && margin < kOverscanHigh) step = kOverscanStep;
            if (step != 0) {
                apply_overscan(*this, margin + step);
                m_keyLatch = 1;
            }
        }
    }

    // The entries stand in a column that slides in from the left; in portrait leave and the
    // cog move to either side of the middle.
    const float column = 64 - (halfH - m_pauseY);
    const bool landscape = m_landscape == 1;
    const float leaveX = landscape ? column : kv_Tol_jscrw * 0.5f - 96;
    const float leaveY = landscape ? 96 : m_pauseY - 24.0f;
    const float resumeX = column, resumeY = 196;
    const float cogX = landscape ? column : kv_Tol_jscrw * 0.5f + 96;
    const float cogY = landscape ? 296 : m_pauseY - 96.0f;

    p_SetCol(255, 255, 255, 1);
    p_SetSize(2);
    const bool leaveHit = pressed_button(*this, kImgIcons, leaveX, leaveY, kIconLeave);
    const bool resumeHit = pressed_button(*this, kImgIcons, resumeX, resumeY, kIconResume);
    if (m_optionsOpen == 0) m_pauseMenu[kPauseCogAngle] = std::fmod(m_pauseMenu[kPauseCogAngle] + 0.5f, 360.0f);
    p_SetSize(1);
    p_SetRot(m_pauseMenu[kPauseCogAngle]);
    const bool cogHit = pressed_button(*this, kImgButtons, cogX, cogY, kFrameCog);
    for (int layer = 1; layer < 3; ++layer) {
        p_SetRot(m_pauseMenu[kPauseCogAngle] * static_cast<float>(1 << layer));
        p_DrawImg(kImgButtons, cogX, cogY, static_cast<float>(kFrameCog + layer));
    }
    p_SetRot(0);

    int choice = kChoiceNone;
    if (acting && m_keyLatch == 0) {
        if (p_PlayKeyAll(kActBack, 1) > 0) {
            choice = kChoiceResume;
        } else if ((up && m_pauseCursor > kChoiceLeave) || (down && m_pauseCursor < kChoiceOptions)) {
            m_pauseCursor += up ? -1 : 1;
            m_keyLatch = 1;
            p_PlaySFX(kSfxMove, 1, 0.5f, 0);
        } else if (p_PlayKeyAll(kActFire1, 1) > 0) {
            choice = m_pauseCursor;
        }
    }
    if (acting) {
        if (leaveHit) choice = kChoiceLeave;
        if (resumeHit) choice = kChoiceResume;
        if (cogHit) choice = kChoiceOptions;
    }
    if (choice != kChoiceNone) m_pauseCursor = choice;

    const float markX[] = {leaveX, resumeX, cogX}, markY[] = {leaveY, resumeY, cogY};
    p_SetCol(255, 255, 255, 1);
    p_SetSize(2.5f);
    p_DrawImg(kImgIcons, markX[m_pauseCursor + 1], markY[m_pauseCursor + 1], kIconMarker);
    p_ResetDraw();

    switch (choice) {
    case kChoiceLeave:
        m_paused = 0;
        m_pauseSel = -1;
        m_pauseY = -64;
        m_gameOverTimer = 1;
        m_quitGame = -1;
        m_keyLatch = m_pointerTaken = 1;
        p_PlaySFX(kSfxSelect, 0.5f, 0.5f, 0);
        break;
    case kChoiceResume:
        m_pauseSel = -1;
        m_keyLatch = m_pointerTaken = 1;
        p_PlaySFX(kSfxSelect, 1, 0.5f, 0);
        break;
    case kChoiceOptions:
        m_optionsOpen = 1;
        m_keyLatch = m_pointerTaken = 1;
        p_PlaySFX(kSfxMove, 1, 0.5f, 0);
        break;
    }

    m_pauseMenu[kPauseListEnd] = static_cast<float>(m_drawCount);
    if (m_paused == 0) m_pauseMenu[kPauseListStart] = 0;
    return 0;
}

int c_MyApp::p_OuyaQuit() {
    static const String lines[] = {
        String("Unexpected Quit"),  String("The player is trying to quit"), String("without using the lovely"),
        String("quit button on the Menu."), String("What should I do?"), text(u"Hit ¬K to Quit"),
        text(u"or ¬J to Ignore"),
    };
    p_DoBG(0, 40, 0, -123);
    p_SetSize(2);
    const float top = kv_Tol_jscrh * 0.5f - 3 * 28;
    for (int i = 0; i < 7; ++i) {
        if (i == 0) {
            p_SetCol(255, 180, 180, 1);
        } else {
            p_SetCol(255, 255, 255, 1);
        }
        p_Text(kv_Tol_jscrw * 0.5f, top + 28 * i, lines[i], 1, 1, 0);
    }
    p_ResetDraw();

    if (m_keyLatch != 0) return 0;
    if (p_PlayKeyAll(kActFire1, 1) > 0) {
        // The press that dismisses the prompt must not also act on the menu it returns to.
        m_gameState = kStateMenu;
        m_keyLatch = m_pointerTaken = 1;
    } else if (p_PlayKeyAll(kActFire2, 1) > 0 || p_PlayKeyAll(kActFire3, 1) > 0 || p_PlayKeyAll(kActBack, 1) > 0) {
        kvError(String());
    }
    return 0;
}
