// The runtime's key codes as the desktop keyboard produces them: GLFW key numbers translated
// into the one 512-code space, and the characters that editing keys type.
#pragma once

// Named codes outside the keyboard range.
constexpr int kKeyMouseLeft = 1;
constexpr int kKeyJoystickBase = 256;
constexpr int kKeyTouchBase = 384;
constexpr int kKeyBack = 416;
constexpr int kKeyClose = 432;
constexpr int kKeyCount = 512;

// The runtime code of a GLFW key, 0 for keys the runtime ignores (and for unknown keys).
int TransKey(int glfwKey);

// The character a key press types by itself: 8, 9, 13 and 27 as themselves, 127 for delete,
// navigation keys as their code with bit 16 set; 0 for every other key.
int KeyToChar(int code);
