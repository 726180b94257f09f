// The game module's globals: the design and virtual screen sizes, the build-time switches
// (their start values come from the build configuration), and the menu and credit texts.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

extern float kv_Tol_rawscrw;
extern float kv_Tol_rawscrh;
extern float kv_Tol_jscrw;
extern float kv_Tol_jscrh;
extern float kv_Tol_overscan;
extern int kv_Tol_isOuya;
extern int kv_Tol_DebugMode;
extern int kv_Tol_UseHDImages;
extern int kv_Tol_HasMusicStream;
extern int kv_Tol_iCadeControls;
extern int kv_Tol_GameNum;
extern int kv_Tol_J_On_Allow;
extern int kv_Tol_J_On_Able;
extern int kv_Tol_OnScreenControls;
extern int kv_Tol_AccelerometerControls;
extern Array<String> kv_Tol_MenuSet;
extern Array<String> kv_Tol_CreditText;

// The statistics endpoint (configuration, not a game value).
extern const char* const kv_Tol_CallHomeUrl;

// Gives every global its start value; part of the program's start-up.
void kv_Tol_InitGlobals();
