// The buttons' hit tests, and the screens whose full versions come with the menu, play and
// options work: until then the menu shows the title and the way out, and the rest stay idle.
#include "game/app.h"
#include "game/globals.h"

namespace {

// True when any of `touches` tracked positions lies strictly inside the box centred on (x, y).
bool touched(const c_MyApp& app, int slot, float x, float y, int touches) {
    if (app.m_pointerDown < 1) return false;
    float halfW = app.m_imageInfo[3 * slot] * app.m_hdScale * app.m_sizeX / 2;
    float halfH = app.m_imageInfo[3 * slot + 1] * app.m_hdScale * app.m_sizeY / 2;
    for (int i = 0; i < touches; ++i) {
        float tx = static_cast<float>(app.m_touchX[i]), ty = static_cast<float>(app.m_touchY[i]);
        if (tx > x - halfW && tx < x + halfW && ty > y - halfH && ty < y + halfH) return true;
    }
    return false;
}

}  // namespace

int c_MyApp::p_Button(int slot, float x, float y, int frame) {
    p_DrawImg(slot, x, y, static_cast<float>(frame));
    return touched(*this, slot, x, y, kTouches) ? 1 : 0;
}

int c_MyApp::p_Button0(int slot, float x, float y, int frame) {
    p_DrawImg(slot, x, y, static_cast<float>(frame));
    return touched(*this, slot, x, y, 1) ? 1 : 0;
}

int c_MyApp::p_Menu() {
    p_CLS2D(0, 60, 20, 1);
    float cx = kv_Tol_jscrw * 0.5f;
    p_DrawImg(kImgTitle, cx, kv_Tol_jscrh * 0.3f, 0);
    p_SetSize(2);
    p_Text(cx, kv_Tol_jscrh * 0.6f, String("The cave awaits."), 1, 1, 0);
    p_SetSize(1);
    p_SetCol(200, 220, 200);
    p_Text(cx, kv_Tol_jscrh * 0.75f, String("F4 to quit  -  F11 full screen"), 1, 1, 0);
    return 0;
}

int c_MyApp::p_LoadGame() {
    m_gameState = kStateMenu;
    return 0;
}

int c_MyApp::p_Game() {
    p_CLS2D(0, 120, 0, 1);  // the play ground, until the play itself draws on it
    return 0;
}
int c_MyApp::p_InGame() { return 0; }
int c_MyApp::p_GameOver() { return 0; }
int c_MyApp::p_OptionBox() { return 0; }
int c_MyApp::p_OuyaQuit() {
    m_gameState = kStateMenu;
    return 0;
}
int c_MyApp::p_LoadMenu() { return 0; }
int c_MyApp::p_ShowBadges() { return 0; }
