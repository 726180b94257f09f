// The GLFW key table: letters and digits pass through, named keys take the runtime's codes,
// and keys the game never sees translate to 0; editing keys type their own characters.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "host/keys.h"

namespace {

struct KeyCase {
    int glfw;
    int code;
};

const KeyCase kKeys[] = {
    {GLFW_KEY_A, 65},          {GLFW_KEY_Z, 90},          {GLFW_KEY_0, 48},           {GLFW_KEY_9, 57},
    {GLFW_KEY_SPACE, 32},      {GLFW_KEY_APOSTROPHE, 222}, {GLFW_KEY_COMMA, 188},     {GLFW_KEY_MINUS, 189},
    {GLFW_KEY_PERIOD, 190},    {GLFW_KEY_SLASH, 191},     {GLFW_KEY_SEMICOLON, 186},  {GLFW_KEY_EQUAL, 187},
    {GLFW_KEY_LEFT_BRACKET, 219}, {GLFW_KEY_BACKSLASH, 220}, {GLFW_KEY_RIGHT_BRACKET, 221},
    {GLFW_KEY_GRAVE_ACCENT, 192}, {GLFW_KEY_ESCAPE, 27},  {GLFW_KEY_F1, 112},         {GLFW_KEY_F4, 115},
    {GLFW_KEY_F12, 123},       {GLFW_KEY_UP, 38},         {GLFW_KEY_DOWN, 40},        {GLFW_KEY_LEFT, 37},
    {GLFW_KEY_RIGHT, 39},      {GLFW_KEY_LEFT_SHIFT, 16}, {GLFW_KEY_RIGHT_SHIFT, 16}, {GLFW_KEY_LEFT_CONTROL, 17},
    {GLFW_KEY_RIGHT_CONTROL, 17}, {GLFW_KEY_TAB, 9},      {GLFW_KEY_ENTER, 13},       {GLFW_KEY_BACKSPACE, 8},
    {GLFW_KEY_INSERT, 45},     {GLFW_KEY_DELETE, 46},     {GLFW_KEY_PAGE_UP, 33},     {GLFW_KEY_PAGE_DOWN, 34},
    {GLFW_KEY_HOME, 36},       {GLFW_KEY_END, 35},        {GLFW_KEY_KP_0, 96},        {GLFW_KEY_KP_9, 105},
    {GLFW_KEY_KP_DIVIDE, 111}, {GLFW_KEY_KP_MULTIPLY, 106}, {GLFW_KEY_KP_SUBTRACT, 109}, {GLFW_KEY_KP_ADD, 107},
    {GLFW_KEY_KP_DECIMAL, 110},
    // Ignored: Alt, the system keys, the menu key, F13 and up, keypad equals and enter, the
    // lock keys, pause, print screen, the extra international keys, unknown keys.
    {GLFW_KEY_LEFT_ALT, 0},    {GLFW_KEY_RIGHT_ALT, 0},   {GLFW_KEY_LEFT_SUPER, 0},   {GLFW_KEY_MENU, 0},
    {GLFW_KEY_F13, 0},         {GLFW_KEY_F25, 0},         {GLFW_KEY_KP_EQUAL, 0},     {GLFW_KEY_KP_ENTER, 0},
    {GLFW_KEY_NUM_LOCK, 0},    {GLFW_KEY_CAPS_LOCK, 0},   {GLFW_KEY_SCROLL_LOCK, 0},  {GLFW_KEY_PAUSE, 0},
    {GLFW_KEY_PRINT_SCREEN, 0}, {GLFW_KEY_WORLD_1, 0},    {GLFW_KEY_UNKNOWN, 0},      {GLFW_KEY_LAST + 1, 0},
};

TEST(KeyTranslation, MapsEveryGlfwKeyToItsRuntimeCode) {
    for (const KeyCase& key : kKeys) EXPECT_EQ(TransKey(key.glfw), key.code) << "GLFW key " << key.glfw;
}

struct CharCase {
    int code;
    int character;
};

const CharCase kChars[] = {
    {8, 8},         {9, 9},         {13, 13},       {27, 27},       {46, 127},      {33, 65569},
    {34, 65570},    {35, 65571},    {36, 65572},    {37, 65573},    {38, 65574},    {39, 65575},
    {40, 65576},    {45, 65581},    {65, 0},        {32, 0},        {16, 0},        {112, 0},
};

TEST(KeyTranslation, EditingKeysTypeTheirOwnCharacters) {
    for (const CharCase& key : kChars) EXPECT_EQ(KeyToChar(key.code), key.character) << "code " << key.code;
}

}  // namespace
