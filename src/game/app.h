// The game: one application object holding every table, bank and scalar of the game. Its
// update runs the state machine and appends the frame's drawing to a retained list; its render
// fits the 640 x 480 design screen to the window and replays that list.
#pragma once

#include <vector>

#include "audio/sound_api.h"
#include "graphics/image.h"
#include "host/delegate.h"
#include "net/http.h"
#include "runtime/array.h"
#include "runtime/string.h"

// Game states.
enum GameState {
    kStateMenu = 1,
    kStateReturnToMenu = 2,
    kStateQuitPrompt = 4,
    kStatePlay = 10,
    kStateStartGame = 11,
};

// The draw list: records of 15 floats, at most 2499 of them per frame.
constexpr int kDrawRecordSize = 15;
constexpr int kDrawListLength = 37500;
constexpr int kDrawListLastStart = 37484;  // an append at a count above this is dropped
enum DrawRecordField {
    kDrawKind = 0,  // image slot (>= 0) or one of the kinds below
    kDrawX = 1,
    kDrawY = 2,
    kDrawRot = 3,
    kDrawSizeX = 4,  // width, radius x or x2 for shapes
    kDrawSizeY = 5,  // height, radius y or y2 for shapes
    kDrawFrame = 6,
    kDrawAlpha = 7,
    kDrawInkR = 10,
    kDrawInkG = 11,
    kDrawInkB = 12,
    kDrawBlend = 13,
};
constexpr float kNoValue = -3717.0f;  // the "not given" marker of optional arguments
constexpr float kDrawRect = -3717.0f;
constexpr float kDrawOval = -3716.0f;
constexpr float kDrawLine = -3715.0f;

// Table sizes, all allocated once at construction.
constexpr int kGridLength = 5000000;
constexpr int kRecordTableLength = 5100;
constexpr int kVarsLength = 512;
constexpr int kImageSlots = 100;
constexpr int kSoundSlots = 100;
constexpr int kPadEntries = 20;
constexpr int kSettingsCount = 25;
constexpr int kScoresCount = 150;
constexpr int kChannelCount = 33;
constexpr int kEffectChannels = 24;
constexpr int kBadgeQueue = 15;
constexpr int kBadgeCount = 256;
constexpr int kTouches = 10;

// Image bank slots the front end addresses by number.
enum ImageSlot {
    kImgPlayer = 1,
    kImgSprites = 2,
    kImgRocks = 5,
    kImgBadges = 80,
    kImgBlank = 81,
    kImgCircle = 85,
    kImgLight = 86,
    kImgFont = 90,
    kImgLogo = 93,
    kImgDpad = 94,
    kImgButtons = 95,
    kImgParts = 96,
    kImgIcons = 97,
    kImgTitle = 98,
    kImgMenu = 99,
};

// Abstract actions of the controls mapping.
enum Action {
    kActUp = 0,
    kActLeft = 3,
    kActRight = 5,
    kActDown = 8,
    kActFire1 = 10,
    kActFire2 = 11,
    kActFire3 = 12,
    kActFire4 = 13,
    kActFire5 = 14,
    kActFire6 = 15,
    kActPause = 98,
    kActBack = 99,
};

// Game variables (m_vars) read outside the play code.
constexpr int kVarLevel = 27;
constexpr int kVarKeyRepeat = 500;       // menu key-repeat timer; above the entries a new game clears
constexpr int kVarKeyRepeatDelay = 501;  // the delay the timer takes at the next move

// Levels and the distance field. The grid holds 128 x 128 cells of 10 floats; rows are 150
// cells apart, so columns 128..149 of every row stay unused. Cell (c, r) is centred on the
// world point (62c, 52r).
constexpr int kGridSide = 128;
constexpr int kGridStride = 150;
constexpr int kCellRecordSize = 10;
constexpr int kCellWidth = 62;
constexpr int kCellHeight = 52;
enum CellField {
    kCellValue = 0,
    kCellDistance = 4,      // steps from the player + 1; 0 = not reached this frame
    kCellBaseDistance = 5,  // steps from the base + 1; 0 = not connected within 256 steps
    kCellSpawnTimer = 7,
    kCellSolid = 9,  // 1 blocks the column, enemies' steps and bullets
};
// Cell values; they are compared with the grid's floats, so plain ints rather than an enum.
constexpr int kCellOpen = 0;  // -3..0 are all open ground; only 0 takes flags and spawners
constexpr int kCellRockFirst = 1;
constexpr int kCellRockLast = 9;
constexpr int kCellFlagSpot = 10;  // only between the base step and the objects step of generation
constexpr int kCellSpawner = 17;
constexpr int kCellSpawnerReady = 18;
constexpr int kCellBaseCentre = 19;
constexpr int kCellBaseSlot = 20;
constexpr int kCellBasePlanted = 21;
constexpr int kPlayFloodPasses = 26;  // the play field reaches 25 steps from the player

// Float index of cell (c, r)'s record in the grid.
inline int cell_index(int c, int r) { return (r * kGridStride + c) * kCellRecordSize; }
// The cell holding a world point.
inline int cell_column(float x) { return static_cast<int>((x + kCellWidth / 2) / kCellWidth); }
inline int cell_row(float y) { return static_cast<int>((y + kCellHeight / 2) / kCellHeight); }

// Game variables (m_vars) the level generator sets for play.
constexpr int kVarPlayerX = 1;
constexpr int kVarPlayerY = 2;
constexpr int kVarDamage = 15;
constexpr int kVarCompleteTimer = 17;
constexpr int kVarNoSoldiersTime = 18;
constexpr int kVarBaseDistanceMax = 25;  // also the flag and spawner placement threshold
constexpr int kVarBaseSpare = 26;        // cleared with entry 25; nothing reads it
constexpr int kVarSoldiers = 97;
constexpr int kVarFlagsCarried = 98;
constexpr int kVarTrailX = 100;  // trail point i at 100 + i, 200 + i and 300 + i; 0 = newest
constexpr int kVarTrailY = 200;
constexpr int kVarTrailFacing = 300;
constexpr int kTrailLength = 100;

// Object and bullet records: 10 floats, slots 0..100 in use, free when the kind is 0.
constexpr int kRecordSize = 10;
constexpr int kSlotsInUse = 101;
enum ObjectField {
    kObjKind = 0,
    kObjX = 1,
    kObjY = 2,
    kObjPhase = 5,  // enemies' facing; the flags' animation phase
};
constexpr int kKindFlag = 10;  // a flag lying on the ground

// Settings entries with a meaning outside the options screen.
enum Setting {
    kSetSoundMode = 5,
    kSetPadX = 10,
    kSetPadHeight = 11,
    kSetPadSize = 12,
    kSetOverscan = 14,
    kSetLeftStickY = 15,
};

class c_MyApp : public c_App, public virtual c_IOnHttpRequestComplete {
public:
    c_MyApp();
    c_MyApp* m_new();

    void mark() override;
    int p_OnCreate() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    void p_OnHttpRequestComplete(c_HttpRequest* request) override;

    // States and dispatch.
    int p_FullscreenFlip();
    void RunLevelIntro();
    void FitScreen(int deviceWidth, int deviceHeight);
    void ApplyPauseRule();

    // Drawing helpers and text.
    int p_CLS2D(float r = kNoValue, float g = kNoValue, float b = kNoValue, float a = kNoValue);
    int p_ResetDraw();
    int p_SetCol(float r, float g, float b, float a = kNoValue);
    int p_Ink(int colour, float brightness);
    int p_Alpha(float a);
    int p_SetSize(float sx, float sy = kNoValue);
    int p_SetRot(float angle);
    int p_DrawImg(int slot, float x, float y, float frame);
    int p_Rect(float x, float y, float w, float h);
    int p_Oval(float x, float y, float rx, float ry);
    int p_Line(float x1, float y1, float x2, float y2);
    int p_Text(float x, float y, const String& text, float xAlign, float yAlign, int fontOffset);
    String p_rstr(int value, int digits, const String& pad);
    void ReplayDrawList();

    // Asset banks and the loader screen.
    int p_LoadImg(int slot, const String& name, int w, int h, int frames, int flags);
    int p_LoadFont(int slot, const String& name, int advance, int lineHeight);
    int p_ReserveImg(int slot, int w, int h);
    int p_LoadSFX(int n);
    int p_PlaySFX(int n, float rate, float volume, float pan);
    int p_PlayTune(String name, int loop);
    int p_StopTune();
    int p_Reload();
    int p_Loader();
    int p_WaitStart(int phase);
    int p_BankLoad();
    void ChooseResolution();
    String ImageFileName(const String& name);

    // Controls.
    int p_PlayKey(int action, int stick, int player);
    int p_PlayKeyAll(int action, int stick);
    float p_StickX(int stick, int player);
    float p_StickY(int stick, int player);
    int p_iCade(int on);

    // Frame input and overlay controls.
    void ReadPointer();
    void KeyLatchAndBack();
    void ApplyICadeOrRelease();
    void OnScreenPad();
    void TiltIndicator();
    void DebugReadout();

    // Random numbers.
    int p_SeedRnd(int n);
    int p_Rand(float lo, float hi);

    // Settings, badges and highscores storage.
    int p_Save();
    int p_Load();

    // Statistics call-home.
    int p_GetURL(const String& url, const String& query);

    // Main menu, buttons and hit tests.
    int p_Button(int slot, float x, float y, int frame);
    int p_Button0(int slot, float x, float y, int frame);
    int p_Touch(float x, float y, float w, float h);
    int p_MouseIn(float x, float y, float w, float h);
    int p_MouseIn_Centered(float cx, float cy, float w, float h);
    int p_MouseIn_Radius(float cx, float cy, float w, float h);
    int p_Menu();
    int p_DoBG(int r, int g, int b, float alpha);
    void MenuScores();
    void MenuWheel(float cx, float cy, bool tapReady);
    void MenuKeys(bool panelsOpen);
    void MenuSelect();
    void MenuCredits();

    // Badge and highscore tables.
    int p_LoadMenu();
    int p_ShowBadges();
    int p_AwardBadge(int n);
    String p_BadgeID(int n);
    String p_BadgeName(int n);
    String p_BadgeDetail(int n);
    String p_Nth(int n);
    String p_MyNth();

    // Levels and the distance field.
    int p_GetLevelA();
    int p_GetLevB();
    int p_GetLevC();
    int p_GetLevD();
    // Floods field 4 from the origin for `passes` passes; returns the largest distance given,
    // or 0 with the field left as it was when the origin lies outside the grid.
    int BuildDistanceField(int column, int row, int passes);
    // The enemy's next cell down the field, if one is chosen; draws as the choice requires.
    bool ChooseEnemyStep(int column, int row, float standOff, int* stepColumn, int* stepRow);

    // Play, options, pause and game over; placeholders until their work lands.
    int p_LoadGame();
    int p_Game();
    int p_InGame();
    int p_GameOver();

    // Options, pause and quit.
    int p_OptionBox();
    int p_PauseMenu();
    int p_OuyaQuit();

    // Tables.
    Array<float> m_drawList;
    Array<float> m_grid;
    Array<float> m_objects;
    Array<float> m_bullets;
    Array<float> m_particles;
    Array<float> m_vars;
    Array<c_Image*> m_images;
    Array<int> m_imageInfo;
    Array<c_Sound*> m_sounds;
    Array<int> m_pad;
    Array<int> m_settings;
    Array<int> m_scores;
    Array<int> m_channels;
    Array<int> m_badgeIds;
    Array<int> m_badgeTimers;
    Array<bool> m_badgeFlags;
    Array<float> m_pauseMenu;
    Array<int> m_touchDown;
    Array<int> m_touchX;
    Array<int> m_touchY;
    Array<int> m_spare;

    // State.
    int m_gameState = 0;
    int m_reload = 0;
    int m_introTimer = 0;
    int m_paused = 0;
    int m_pauseSel = 0;
    int m_pauseY = 0;
    int m_gameOverTimer = 0;
    int m_difficulty = 0;
    int m_fullscreen = 0;
    int m_inputMode = 0;
    int m_hudHidden = 0;

    // Options overlay and side panel.
    int m_optionsRequest = 0;
    int m_optionsOpen = 0;
    int m_sidePanelOpen = 0;
    int m_optionsAnim = 0;
    float m_sidePanelX = 0;

    // Timing.
    int m_updateMs = 0;
    int m_updateFps = 0;
    int m_updateFpsAvg = 0;
    int m_renderMs = 0;
    int m_renderFps = 0;
    int m_renderFpsAvg = 0;

    // Screen fit.
    float m_fitX = 0;
    float m_fitY = 0;
    int m_fitMode = 0;
    int m_landscape = 0;
    int m_lastDevW = 0;
    int m_lastDevH = 0;

    // Pointer.
    int m_pointerX = 0;
    int m_pointerY = 0;
    int m_pointerPrevX = 0;
    int m_pointerPrevY = 0;
    int m_pointerWasDown = 0;
    int m_pointerDown = 0;
    int m_pointerHit = 0;
    int m_pointerTaken = 0;
    int m_pointerCooldown = 0;
    int m_keyLatch = 0;
    int m_lastChar = 0;

    // Drawing state.
    int m_drawCount = 0;
    float m_clearR = 0;
    float m_clearG = 0;
    float m_clearB = 0;
    float m_clearA = 0;
    float m_viewX = 0;
    float m_viewY = 0;
    float m_viewW = 0;
    float m_viewH = 0;
    float m_sizeX = 0;
    float m_sizeY = 0;
    float m_rot = 0;
    float m_inkR = 0;
    float m_inkG = 0;
    float m_inkB = 0;
    float m_alpha = 0;
    int m_blend = 0;
    float m_hdScale = 0;
    int m_font = 0;

    // Banks and the loader screen.
    int m_hdLevel = 0;
    int m_logoSoundPlayed = 0;
    int m_sfxChannel = 0;
    int m_musicOn = 0;
    String m_tune;
    int m_spinAngle = 0;
    float m_fadeR = 0;
    float m_fadeG = 0;
    float m_fadeB = 0;
    int m_minDim = 0;

    // On-screen pad and tilt.
    int m_padX = 0;
    int m_padY = 0;
    float m_padScale = 0;
    int m_dragging = 0;
    int m_pinchDistance = 0;
    float m_tiltCalX = 0;
    float m_tiltCalY = 0;
    float m_tiltX = 0;
    float m_tiltY = 0;
    float m_tiltSmoothX = 0;
    float m_tiltSmoothY = 0;

    // Main menu state (with the values set at creation).
    int m_menuFocus = 1;
    int m_menuRow = 0;
    float m_menuTarget = 0;
    float m_menuScroll = 0;
    int m_menuIntro = 0;
    float m_panelW = 0;
    float m_menuVel = 0;
    int m_menuDesc = 0;
    int m_scoreRows = 0;
    int m_dragX0 = -1;
    int m_dragY0 = -1;
    float m_cogAngle = 0;
    float m_creditOffset = 0;
    int m_creditFirst = 0;
    // The screen background eases from its current colour toward the last one asked for.
    float m_bgTargetR = 0;
    float m_bgTargetG = 0;
    float m_bgTargetB = 0;
    float m_bgR = 0;
    float m_bgG = 0;
    float m_bgB = 0;
    float m_optionsScrollA = 25.0f;
    float m_optionsScrollB = 25.0f;
    int m_maxParticles = 250;
    int m_digSteps = 16;
    int m_n = 0;

    // Badge and highscore tables.
    int m_score = 0;  // the finished game's score, entered into the tables on the way back

    // Levels and the distance field.
    float m_camX = 0;  // the camera's top-left in world pixels, placed at the start of a level
    float m_camY = 0;
    float m_camTargetX = 0;
    float m_camTargetY = 0;
    std::vector<int> m_floodQueue;  // the flood's front, room for every cell of the grid once

    // Statistics call-home.
    String m_netStatus;
    c_HttpRequest* m_request = nullptr;
    int m_requestDone = 0;
};
