// Options, pause and quit: the options box over the menu and the play screen, the pause menu
// of a running game, and the console's quit prompt.
#include "game/app.h"
#include "game/globals.h"

int c_MyApp::p_OptionBox() { return 0; }

int c_MyApp::p_PauseMenu() { return 0; }

int c_MyApp::p_OuyaQuit() {
    m_gameState = kStateMenu;
    return 0;
}
