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
constexpr float kDegrees = 0.0174532924f;  // degrees to radians, as the game has always rounded it
constexpr int kFrameCog = 8;               // "common/Buttons" 8..10: the cog's three layers
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
    kSetRightStickY = 16,
};

// Play. Game variables (m_vars) of the running game, besides those the level generator sets.
constexpr int kVarFacing = 5;  // 1 right, -1 left
constexpr int kVarPlayerCellX = 11;  // the player's position in cell units, not truncated
constexpr int kVarPlayerCellY = 12;
constexpr int kVarFirstColumn = 21;  // the visible window of cells
constexpr int kVarLastColumn = 22;
constexpr int kVarFirstRow = 23;
constexpr int kVarLastRow = 24;
constexpr int kVarCooldown = 31;  // soldier k's fire cooldown at 30 + k
constexpr int kVarsPerGame = 500;  // entries 0..499 are cleared when a game starts
constexpr int kMaxSoldiers = 4;
constexpr int kTrailSpacing = 12;  // soldier k (1..4) stands on trail point 12 (k - 1)
constexpr int kHitsPerSoldier = 5;  // the damage counter below -4 costs a soldier
constexpr int kGameOverDelay = 120;  // frames without soldiers before the panel starts
constexpr int kLevelCompleteFrames = 300;
constexpr float kBaseX = 3968;  // the base centre, where flags are planted
constexpr float kBaseY = 3328;

// Objects: enemies, dying enemies, corpses and flags. Slot 0..m_maxObjects.
enum ObjectRecordField {
    kObjTargetX = 3,  // -1 = no target
    kObjTargetY = 4,
    kObjFacing = 5,     // enemies: 1 right, -1 left (the flags keep their phase here)
    kObjFireTimer = 7,  // dying enemies: frames left
    kObjSpeed = 8,
    kObjStandOff = 9,
};
constexpr int kKindEnemy = 1;
constexpr int kKindDyingEnemy = 2;
constexpr int kKindCorpse = 3;
constexpr int kKindFlagCarried = 11;  // 10 + the carrying soldier, 11..14
constexpr int kKindFlagPlanted = 15;
constexpr int kFrameEnemy = 14;  // "gfx" frames
constexpr int kFrameDyingEnemy = 18;
constexpr int kFrameSpawner = 7;
constexpr int kFrameBaseCentre = 9;
constexpr int kFrameBaseSlot = 10;
constexpr int kFrameBasePlanted = 11;
constexpr int kFrameCorpse = 7;  // "plr" frames; 0..2 walking, 4..6 carrying a flag
constexpr int kFrameCarrying = 4;

// Bullets: slots 0..100, flying only sideways.
enum BulletField {
    kBulKind = 0,
    kBulX = 1,
    kBulY = 2,
    kBulDx = 3,  // the bullet moves 2 dx per frame
    kBulSpare = 4,
    kBulFacing = 5,
    kBulLife = 7,
};
constexpr int kKindEnemyBullet = 1;
constexpr int kKindPlayerBullet = 21;  // any kind 20..29 counts as a player's
inline bool is_player_bullet(float kind) { return kind > 19 && kind < 30; }

// Particles: floating score numbers, slots 0..m_maxParticles.
enum ParticleField {
    kPartKind = 0,
    kPartX = 1,
    kPartY = 2,
    kPartDx = 3,
    kPartDy = 4,
    kPartAngle = 5,
    kPartSpin = 6,
    kPartLife = 7,  // also the alpha, capped at 1
    kPartColour = 8,
    kPartValue = 9,
};
constexpr int kKindNumber = 99;
constexpr int kParticleSlotsMax = 499;

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

    // Play: the frame of play, the column's movement and trail, firing, flags at the base,
    // losing soldiers, level completion and the pause control.
    int p_LoadGame();
    int p_Game();
    int p_InGame();
    int p_ResetObj();
    int p_ResetGrid();
    int p_ResetParticles(int n);
    int DrawWorld();
    int DrawCell(int c, int r);
    void FireColumn();
    void MoveColumn();
    void ShiftTrail();
    void PlantFlags();
    void LoseSoldier();
    void LevelComplete();

    // Objects and enemies.
    int p_FreeObj(int max);
    int p_SpawnBaddie(float x, float y, int kind);
    int p_DoObj();
    int p_DrawObj(float rowScreenY);
    bool MoveEnemy(float* enemy);

    // Bullets.
    int p_Shoot(int n, float x, float y, float dir);
    int p_FreeBul(int max);
    int p_DoBul();
    int p_DrawBul();

    // Particles.
    int p_AddParticle(int kind, float x, float y, float dx, float dy, int value, int colour, int life);
    int p_FreeParticle();
    int p_DoParticles(float scale);
    const String& NumberText(int value);

    // Player control and drawing.
    int p_AnalogueControl();
    int p_DrawPlr(float rowScreenY, int k);
    int p_ResetPlayers();

    // Scoring and game over.
    int p_Gimme(int amount, float x, float y);
    int p_ScoreDisplay();
    int p_GameOver();

    // Options, pause and quit.
    int p_OptionBox();
    int p_PauseMenu();
    int p_OuyaQuit();
    int m_optionSel = 0;      // the highlighted row of the options box, 0 = back
    int m_optionRow = 0;      // the row being laid out
    int m_optionHit = 0;      // a fresh tap lies on the row being laid out
    int m_optionGo = 0;       // the row being laid out acts this frame
    int m_optionLatchA = 0;   // keys: set until the box's keys are all let go
    int m_optionLatchB = 0;   // pointer: set until the pointer is let go
    int m_pauseCursor = 0;    // -1 leave, 0 resume, 1 options; each pause starts on resume
    float m_ornamentRadius = 25.0f;  // the pause ornament's size, changed by up and down
    float m_ornamentSpeed = 25.0f;   // its middle arm's turn, tenths of a degree per update

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

    // Play.
    float m_moveX = 0;  // the column's direction this frame, each -1..1
    float m_moveY = 0;
    int m_moved = 0;    // 1 when the column's position changed this frame
    int m_maxObjects = 0;
    int m_lastSlot = 0;  // float index of the last shot's bullet slot, or -1
    float m_keyVelX = 0;  // the direction keys' ramped velocities
    float m_keyVelY = 0;
    int m_stickAnchorX = -1;  // the pointer joystick's anchor; x = -1 with no drag
    int m_stickAnchorY = 0;
    int m_scoreShown = 0;
    int m_gameOverAnim = 0;
    int m_quitGame = 0;  // -1 when the game was ended from the pause menu
    // Texts drawn every frame are made only when they change, so play allocates none itself.
    static constexpr int kNumberTexts = 8;
    int m_numberValues[kNumberTexts] = {};
    String m_numberTexts[kNumberTexts];
    int m_numberNext = 0;
    int m_scoreTextValue = -1;
    String m_scoreText;
    int m_targetPlace = -1;
    int m_targetScore = -1;
    String m_targetText;

    // Statistics call-home.
    String m_netStatus;
    c_HttpRequest* m_request = nullptr;
    int m_requestDone = 0;
};
