// Start values of the game module's globals. The switches are fixed when the game is built
// (see the TOLVANE_* cache variables); everything else is the design's own.
#include "game/globals.h"

#include "runtime/gc.h"

float kv_Tol_rawscrw;
float kv_Tol_rawscrh;
float kv_Tol_jscrw;
float kv_Tol_jscrh;
float kv_Tol_overscan;
int kv_Tol_isOuya;
int kv_Tol_DebugMode;
int kv_Tol_UseHDImages;
int kv_Tol_HasMusicStream;
int kv_Tol_iCadeControls;
int kv_Tol_GameNum;
int kv_Tol_J_On_Allow;
int kv_Tol_J_On_Able;
int kv_Tol_OnScreenControls;
int kv_Tol_AccelerometerControls;
Array<String> kv_Tol_MenuSet;
Array<String> kv_Tol_CreditText;

const char* const kv_Tol_CallHomeUrl = TOLVANE_CALL_HOME_URL;

namespace {

gc_roots roots([] {
    gc_mark_q(kv_Tol_MenuSet);
    gc_mark_q(kv_Tol_CreditText);
});

// Each group is separated by a "-=-=-" line; the last entry ends the scroll and is not shown.
const char* const kCredits[] = {
    "Tolvane",
    "A cave, five flags",
    "and a column of four.",
    "-=-=-",
    "Design and code",
    "The Tolvane Team",
    "-=-=-",
    "Built with",
    "C++20, CMake, Ninja",
    "GCC and Clang",
    "-=-=-",
    "Runtime",
    "Our own host, renderer,",
    "collector and sockets",
    "-=-=-",
    "Libraries",
    "GLFW - windows, input",
    "OpenGL via Mesa",
    "OpenAL Soft - sound",
    "stb_image, stb_vorbis",
    "libvorbis - music",
    "Cairo - art generator",
    "-=-=-",
    "Graphics",
    "Drawn by our generator",
    "from shapes, at build",
    "time, in three sizes",
    "-=-=-",
    "Font",
    "Pixel glyphs drawn",
    "by our generator",
    "-=-=-",
    "Audio",
    "Effects and tunes",
    "synthesised from",
    "oscillators and noise",
    "-=-=-",
    "Testing",
    "GoogleTest, Xvfb,",
    "libFuzzer, sanitizers",
    "-=-=-",
    "Thanks",
    "Everyone who plays,",
    "reports, and plays",
    "again.",
    "-=-=-",
    "Thanks",
    "The Debian project",
    "and every library",
    "author above.",
    "-=-=-",
    "Have fun!",
    "",
    "",
    "-=-=-",
    "",
    "End",
};

}  // namespace

void kv_Tol_InitGlobals() {
    kv_Tol_rawscrw = 640.0f;
    kv_Tol_rawscrh = 480.0f;
    kv_Tol_jscrw = 640.0f;
    kv_Tol_jscrh = 480.0f;
    kv_Tol_overscan = 0.0f;
    kv_Tol_isOuya = TOLVANE_CONSOLE_MODE;
    kv_Tol_DebugMode = TOLVANE_DEBUG;
    kv_Tol_UseHDImages = TOLVANE_HD_IMAGES;
    kv_Tol_HasMusicStream = TOLVANE_MUSIC_STREAM;
    kv_Tol_iCadeControls = TOLVANE_ICADE;
    kv_Tol_GameNum = 415;
    kv_Tol_J_On_Allow = TOLVANE_CALL_HOME;
    kv_Tol_J_On_Able = 0;
    kv_Tol_OnScreenControls = TOLVANE_ONSCREEN_CONTROLS;
    kv_Tol_AccelerometerControls = TOLVANE_TILT_CONTROLS;
    gc_assign(kv_Tol_MenuSet, Array<String>{"Easy", "Easiest mode\\nNice and Easy.", "Normal",
                                            "Just right!\\nTough, but not hard.", "Hard",
                                            "Maybe TOO hard!\\nIf you like it like that"});
    Array<String> credits(static_cast<int>(sizeof kCredits / sizeof kCredits[0]));
    for (int i = 0; i < credits.Length(); ++i) credits[i] = String(kCredits[i]);
    gc_assign(kv_Tol_CreditText, credits);
}
