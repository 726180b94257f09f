// Abstract actions: whether up, fire 1, back and the rest are held, from the keyboard, the
// player's joystick and stick, and the virtual pad; and the iCade switch, which narrows the
// keyboard so a cabinet's letter keys reach the game only as decoded characters.
#include "game/app.h"
#include "game/globals.h"
#include "host/input.h"

namespace {

constexpr int kKeyBackspace = 8, kKeyEnter = 13, kKeyShift = 16, kKeyCtrl = 17, kKeyEscape = 27;
constexpr int kKeySpace = 32, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
constexpr int kKeyDelete = 46, kKeyTilde = 192;
enum JoyButton {
    kJoyA = 0, kJoyB = 1, kJoyX = 2, kJoyY = 3, kJoyLB = 4, kJoyRB = 5, kJoyBack = 6, kJoyStart = 7,
    kJoyLeft = 8, kJoyUp = 9, kJoyRight = 10, kJoyDown = 11, kJoyMenu = 14,
};
constexpr int kNone = -1;

// One row of the action table; lists end at kNone.
struct ActionSources {
    int action;
    int keys[5];
    int icadeKeys[3];
    int buttons[4];
    int pad[4];
};
const ActionSources kActions[] = {
    {kActUp, {kKeyUp, 'W', kNone}, {kKeyUp, kNone}, {kJoyUp, kNone}, {0, kNone}},
    {kActLeft, {kKeyLeft, 'A', kNone}, {kKeyLeft, kNone}, {kJoyLeft, kNone}, {3, kNone}},
    {kActRight, {kKeyRight, 'D', kNone}, {kKeyRight, kNone}, {kJoyRight, kNone}, {5, kNone}},
    {kActDown, {kKeyDown, 'S', kNone}, {kKeyDown, kNone}, {kJoyDown, kNone}, {8, kNone}},
    {kActFire1, {'Z', 'J', kKeySpace, kKeyEnter, kNone}, {kKeySpace, kKeyEnter, kNone}, {kJoyA, kNone}, {10, kNone}},
    {kActFire2, {'X', 'K', kKeyCtrl, kNone}, {kKeyCtrl, kNone}, {kJoyB, kNone}, {11, kNone}},
    {kActFire3, {'C', 'L', kKeyShift, kNone}, {kKeyShift, kNone}, {kJoyX, kNone}, {12, kNone}},
    {kActFire4, {'V', 'I', kNone}, {kNone}, {kJoyY, kNone}, {13, kNone}},
    {kActFire5, {'B', 'U', kNone}, {kNone}, {kJoyLB, kNone}, {14, kNone}},
    {kActFire6, {'N', 'O', kNone}, {kNone}, {kJoyRB, kNone}, {15, kNone}},
};

// Pause and back depend on the system and the mode rather than on a fixed row.
const int kDesktopBackKeys[] = {kKeyEscape, kKeyTilde, kKeyDelete, kKeyBackspace, kNone};
const int kICadeBackKeys[] = {kKeyEscape, kKeyDelete, kKeyBackspace, kNone};
const int kConsoleBackKeys[] = {kKeyEscape, kNone};
const int kDesktopBackButtons[] = {kJoyBack, kJoyStart, kJoyMenu, kNone};
const int kConsolePauseButtons[] = {kJoyBack, kNone};
const int kConsoleBackButtons[] = {kJoyBack, kJoyStart, kNone};
const int kDesktopBackPad[] = {16, 17, 19, kNone};
const int kConsoleBackPad[] = {19, kNone};

bool any_key(const int* keys) {
    for (; *keys != kNone; ++keys) {
        if (kv_input_KeyDown(*keys)) return true;
    }
    return false;
}

bool any_button(const int* buttons, int player) {
    if (player < 0) return false;
    for (; *buttons != kNone; ++buttons) {
        int code = 256 + 32 * player + *buttons;
        if (code >= 1 && code <= 511 && kv_input_KeyDown(code)) return true;
    }
    return false;
}

bool any_pad(const Array<int>& pad, const int* entries) {
    for (; *entries != kNone; ++entries) {
        if (pad[*entries] != 0) return true;
    }
    return false;
}

}  // namespace

float c_MyApp::p_StickX(int stick, int player) {
    if (player < 0) return 0;
    return kv_input_JoyX(stick, player);
}

float c_MyApp::p_StickY(int stick, int player) {
    if (player < 0) return 0;
    float y = kv_input_JoyY(stick, player);
    return m_settings[kSetLeftStickY + stick] != 0 ? y : -y;
}

int c_MyApp::p_PlayKey(int action, int stick, int player) {
    if (player < -1 || player > 3) return 0;
    const bool icade = kv_Tol_iCadeControls == 1;

    if (action == kActPause || action == kActBack) {
        if (action == kActPause && (icade || player == -1)) return 0;
        const int *keys, *buttons, *pad;
        if (icade) {
            keys = kICadeBackKeys;
            buttons = kDesktopBackButtons;
            pad = kDesktopBackPad;
        } else if (kv_Tol_isOuya == 0) {
            keys = kDesktopBackKeys;
            buttons = kDesktopBackButtons;
            pad = kDesktopBackPad;
        } else if (kv_Tol_isOuya == 1) {
            if (player == -1) return m_pad[19] != 0 ? 1 : 0;
            keys = kConsoleBackKeys;
            buttons = action == kActPause ? kConsolePauseButtons : kConsoleBackButtons;
            pad = kConsoleBackPad;
        } else {
            return 0;
        }
        return any_key(keys) || any_button(buttons, player) || any_pad(m_pad, pad) ? 1 : 0;
    }

    for (const ActionSources& row : kActions) {
        if (row.action != action) continue;
        if (any_key(icade ? row.icadeKeys : row.keys) || any_button(row.buttons, player) || any_pad(m_pad, row.pad)) {
            return 1;
        }
        if (stick == 1 && !icade && player >= 0) {
            // Strict thresholds: a stick resting exactly at 0.4 does not count.
            if (action == kActUp && p_StickY(0, player) < -0.4f) return 1;
            if (action == kActDown && p_StickY(0, player) > 0.4f) return 1;
            if (action == kActLeft && p_StickX(0, player) < -0.4f) return 1;
            if (action == kActRight && p_StickX(0, player) > 0.4f) return 1;
        }
        return 0;
    }
    return 0;
}

int c_MyApp::p_PlayKeyAll(int action, int stick) {
    int players = 0;
    for (int player = 0; player < 4; ++player) players += p_PlayKey(action, stick, player);
    return players;
}

int c_MyApp::p_iCade(int on) {
    if (on == 1) {
        kv_app__game->SetKeyboardEnabled(true);
        kv_Tol_iCadeControls = 1;
        while (kv_input_GetChar() != 0) {
        }
        m_lastChar = 0;
    } else if (on == 0) {
        kv_app__game->SetKeyboardEnabled(false);
        kv_Tol_iCadeControls = 0;
        for (int i = 0; i < 19; ++i) m_pad[i] = 0;
    }
    return 0;
}
