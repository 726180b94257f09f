// The screens whose full versions come with the play and options work: until then starting a
// game returns to the menu, and the rest stay idle.
#include "game/app.h"
#include "game/globals.h"

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
