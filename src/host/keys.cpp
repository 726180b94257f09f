// One fixed table over GLFW's key numbers, built at compile time: letters and digits keep
// their numbers, punctuation and named keys take the codes the game's key constants use,
// and modifiers other than shift and control, lock keys and the extra function keys stay 0.
#include "host/keys.h"

#include <GLFW/glfw3.h>

#include <array>

namespace {

constexpr std::array<short, GLFW_KEY_LAST + 1> build_key_table() {
    std::array<short, GLFW_KEY_LAST + 1> table{};
    for (int k = GLFW_KEY_0; k <= GLFW_KEY_9; ++k) table[k] = static_cast<short>(k);
    for (int k = GLFW_KEY_A; k <= GLFW_KEY_Z; ++k) table[k] = static_cast<short>(k);
    for (int f = 0; f < 12; ++f) table[GLFW_KEY_F1 + f] = static_cast<short>(112 + f);
    for (int d = 0; d < 10; ++d) table[GLFW_KEY_KP_0 + d] = static_cast<short>(96 + d);
    const struct {
        int glfw;
        short code;
    } named[] = {
        {GLFW_KEY_SPACE, 32},         {GLFW_KEY_APOSTROPHE, 222},  {GLFW_KEY_COMMA, 188},
        {GLFW_KEY_MINUS, 189},        {GLFW_KEY_PERIOD, 190},      {GLFW_KEY_SLASH, 191},
        {GLFW_KEY_SEMICOLON, 186},    {GLFW_KEY_EQUAL, 187},       {GLFW_KEY_LEFT_BRACKET, 219},
        {GLFW_KEY_BACKSLASH, 220},    {GLFW_KEY_RIGHT_BRACKET, 221}, {GLFW_KEY_GRAVE_ACCENT, 192},
        {GLFW_KEY_ESCAPE, 27},        {GLFW_KEY_ENTER, 13},        {GLFW_KEY_TAB, 9},
        {GLFW_KEY_BACKSPACE, 8},      {GLFW_KEY_INSERT, 45},       {GLFW_KEY_DELETE, 46},
        {GLFW_KEY_RIGHT, 39},         {GLFW_KEY_LEFT, 37},         {GLFW_KEY_DOWN, 40},
        {GLFW_KEY_UP, 38},            {GLFW_KEY_PAGE_UP, 33},      {GLFW_KEY_PAGE_DOWN, 34},
        {GLFW_KEY_HOME, 36},          {GLFW_KEY_END, 35},          {GLFW_KEY_KP_DECIMAL, 110},
        {GLFW_KEY_KP_DIVIDE, 111},    {GLFW_KEY_KP_MULTIPLY, 106}, {GLFW_KEY_KP_SUBTRACT, 109},
        {GLFW_KEY_KP_ADD, 107},       {GLFW_KEY_LEFT_SHIFT, 16},   {GLFW_KEY_RIGHT_SHIFT, 16},
        {GLFW_KEY_LEFT_CONTROL, 17},  {GLFW_KEY_RIGHT_CONTROL, 17},
    };
    for (const auto& key : named) table[key.glfw] = key.code;
    return table;
}

constexpr auto kKeyTable = build_key_table();

}  // namespace

int TransKey(int glfwKey) {
    if (glfwKey < 0 || glfwKey > GLFW_KEY_LAST) return 0;
    return kKeyTable[glfwKey];
}

int KeyToChar(int code) {
    switch (code) {
        case 8:
        case 9:
        case 13:
        case 27:
            return code;
        case 46:
            return 127;
        default:
            if ((code >= 33 && code <= 40) || code == 45) return code | 0x10000;
            return 0;
    }
}
