// The application object as a whole: construction of its tables, creation, the per-frame order
// of work and the state dispatch, the level intro, the render-side screen fit and replay,
// suspend and resume, and the full-screen switch.
#include <cmath>

#include "game/app.h"
#include "game/globals.h"
#include "graphics/drawing.h"
#include "host/input.h"
#include "net/async.h"

namespace {

constexpr int kKeyF1 = 112;
constexpr int kKeyF2 = 113;
constexpr int kKeyF4 = 115;
constexpr int kKeyF11 = 122;
constexpr int kKeyBack = 416;
constexpr int kKeyClose = 432;
constexpr int kKeyOuyaMenu = 270;

// The frame rate from the time since the last call, smoothed over about ten frames.
void measure_rate(int& lastMs, int& fps, int& average) {
    int t = kv_app_Millisecs();
    if (t > lastMs) fps = static_cast<int>(1000.0 / (t - lastMs));
    average = static_cast<int>((fps + 9 * average) / 10.0);
    lastMs = kv_app_Millisecs();
}

}  // namespace

c_MyApp::c_MyApp()
    : m_drawList(kDrawListLength),
      m_grid(kGridLength),
      m_objects(kRecordTableLength),
      m_bullets(kRecordTableLength),
      m_particles(kRecordTableLength),
      m_vars(kVarsLength),
      m_images(kImageSlots),
      m_imageInfo(3 * kImageSlots),
      m_sounds(kSoundSlots),
      m_pad(kPadEntries),
      m_settings(kSettingsCount),
      m_scores(kScoresCount),
      m_channels(kChannelCount),
      m_badgeIds(kBadgeQueue),
      m_badgeTimers(kBadgeQueue),
      m_badgeFlags(kBadgeCount),
      m_pauseMenu(512),
      m_touchDown(kTouches),
      m_touchX(kTouches),
      m_touchY(kTouches),
      m_spare(5),
      m_floodQueue(kGridSide * kGridSide),
      m_netStatus("N/A") {}

c_MyApp* c_MyApp::m_new() {
    c_App::m_new();
    return this;
}

void c_MyApp::mark() {
    for (const auto* table : {&m_drawList, &m_grid, &m_objects, &m_bullets, &m_particles, &m_vars, &m_pauseMenu}) {
        gc_mark_q(*table);
    }
    for (const auto* table : {&m_imageInfo, &m_pad, &m_settings, &m_scores, &m_channels, &m_badgeIds,
                              &m_badgeTimers, &m_touchDown, &m_touchX, &m_touchY, &m_spare}) {
        gc_mark_q(*table);
    }
    gc_mark_q(m_images);
    gc_mark_q(m_sounds);
    gc_mark_q(m_badgeFlags);
    gc_mark_q(m_request);
}

int c_MyApp::p_OnCreate() {
    if (kv_Tol_isOuya == 1) {
        m_inputMode = 1;
        kv_Tol_overscan = 64.0f;
    }
    m_fullscreen = 0;
    m_menuIntro = 0;
    m_menuRow = 1;
    m_menuTarget = -32.0f;
    if (kv_Tol_J_On_Allow == 1) p_GetURL(kv_Tol_CallHomeUrl, String("hello=1&gameID=") + String(kv_Tol_GameNum));
    m_gameState = kStateMenu;
    kv_app_SetUpdateRate(60);
    m_lastDevW = kv_app_DeviceWidth();
    m_lastDevH = kv_app_DeviceHeight();
    m_tiltCalX = m_tiltCalY = 0;
    p_Reload();
    m_difficulty = 2;
    m_menuScroll = -32.0f;
    m_panelW = 50.0f;
    m_paused = 0;
    m_pauseSel = -1;
    m_pauseY = -64;
    for (int i = 0; i < kBadgeQueue; ++i) m_badgeIds[i] = m_badgeTimers[i] = 0;
    for (int i = 0; i < 128; ++i) m_badgeFlags[i] = false;
    for (int i = 0; i < 19; ++i) m_pad[i] = 0;
    for (int i = 0; i < kSettingsCount; ++i) m_settings[i] = 0;
    m_settings[kSetSoundMode] = 1;
    for (int i = 0; i <= 30; ++i) m_scores[i] = 0;
    p_Load();
    for (int i = 0; i < kChannelCount; ++i) m_channels[i] = i;
    return 0;
}

int c_MyApp::p_OnUpdate() {
    if (kv_Tol_isOuya == 0) {
        m_pad[19] = kv_input_KeyHit(kKeyBack);
    } else {
        m_pad[19] = kv_input_KeyHit(kKeyOuyaMenu) ? 1 : 0;
    }
    if (kv_input_KeyHit(kKeyF1)) kv_Tol_DebugMode = 1 - kv_Tol_DebugMode;
    if (kv_input_KeyHit(kKeyF2)) m_hudHidden = 1 - m_hudHidden;
    if (kv_input_KeyHit(kKeyF11)) p_FullscreenFlip();
    if (kv_input_KeyHit(kKeyF4) || kv_input_KeyHit(kKeyClose)) kvError(String());

    kv_asyncevent_UpdateAsyncEvents();

    if (kv_Tol_HasMusicStream == 1 && m_musicOn == 1) {
        if (m_paused != 0) {
            kv_audio_PauseMusic();
        } else {
            kv_audio_ResumeMusic();
        }
    }
    measure_rate(m_updateMs, m_updateFps, m_updateFpsAvg);

    ReadPointer();
    if (kv_Tol_isOuya == 1) m_inputMode = 1;
    m_pointerWasDown = m_pointerDown = m_pointerTaken = m_pointerCooldown = 0;
    KeyLatchAndBack();

    if (m_reload == 0) {
        int dispatched = m_gameState;
        switch (dispatched) {
        case kStateMenu:
            p_Menu();
            break;
        case kStateReturnToMenu:
            p_LoadMenu();
            p_PlaySFX(96, 1.0f, 1.0f, 0);
            m_gameState = kStateMenu;
            break;
        case kStateQuitPrompt:
            p_OuyaQuit();
            break;
        case kStatePlay:
            if (m_paused == 0) {
                if (m_introTimer == 0 || m_introTimer > 90) p_Game();
                if (m_paused == 0 && m_introTimer > 0) RunLevelIntro();
            }
            p_InGame();
            if (m_gameOverTimer > 0) {
                p_GameOver();
                if (m_gameState == kStateMenu || m_gameState == kStateReturnToMenu) p_GameOver();
            }
            break;
        case kStateStartGame:
            p_LoadGame();
            break;
        }
        // Outside play the game-over panel still gets its frame; it draws only while active.
        if (dispatched != kStatePlay && (m_gameState == kStateMenu || m_gameState == kStateReturnToMenu)) {
            p_GameOver();
        }

        if (m_optionsOpen == 1 || m_optionsAnim > 0) p_OptionBox();
        if (m_optionsOpen == 0 && m_optionsAnim > 0) --m_optionsAnim;
        if (m_optionsOpen == 1 && m_optionsAnim < 30) ++m_optionsAnim;

        if (m_sidePanelOpen == 0) {
            if (m_sidePanelX > 0) {
                m_sidePanelX -= m_sidePanelX * 0.125f;
                if (m_sidePanelX < 8) m_sidePanelX = 0;
            }
        } else {
            float target = kv_Tol_jscrw - 140;
            if (m_sidePanelX < target) {
                m_sidePanelX += (target - m_sidePanelX) * 0.125f;
                if (target - m_sidePanelX < 8) m_sidePanelX = target;
            }
        }
    }
    if (m_reload > 0) p_Loader();

    ApplyICadeOrRelease();
    OnScreenPad();
    TiltIndicator();
    DebugReadout();
    p_ShowBadges();
    return 0;
}

void c_MyApp::RunLevelIntro() {
    if (m_introTimer <= 90) {
        m_viewX = m_viewY = 0;
        m_viewW = kv_Tol_jscrw;
        m_viewH = kv_Tol_jscrh;
        m_drawCount = 0;
        m_clearR = m_clearG = m_clearB = 0;
        m_clearA = -1;
        p_ResetDraw();
    }
    float cover = 1.0f - (m_introTimer - 90) / 30.0f;
    cover = std::fmin(1.0f, std::fmax(0.0f, cover));

    p_SetCol(0, 0, 0, cover);
    p_Rect(-128, -128, kv_Tol_jscrw + 256, kv_Tol_jscrh + 256);
    float x = kv_Tol_jscrw * 0.5f;
    p_SetSize(4);
    p_SetCol(255, 255, 255, cover);
    p_Text(x, kv_Tol_jscrh * 0.5f - 64, String("Prepare"), 1, 1, 0);
    p_Text(x, kv_Tol_jscrh * 0.5f - 32, String("for"), 1, 1, 0);
    p_Text(x, kv_Tol_jscrh * 0.5f, String("Battle"), 1, 1, 0);
    p_SetSize(3);
    p_Text(x, kv_Tol_jscrh * 0.2f, String("Tolvane"), 1, 1, 0);
    p_Text(x, kv_Tol_jscrh * 0.8f, String("Level ") + String(static_cast<int>(m_vars[kVarLevel])), 1, 1, 0);

    ++m_introTimer;
    if (m_introTimer == 5) p_GetLevB();
    if (m_introTimer == 10) p_GetLevC();
    if (m_introTimer == 15) p_GetLevD();
    if (m_introTimer == 90) p_PlayTune(String("Correctional"), 0);
    if (m_introTimer > 120) m_introTimer = 0;
}

int c_MyApp::p_OnRender() {
    measure_rate(m_renderMs, m_renderFps, m_renderFpsAvg);
    int width = kv_app_DeviceWidth();
    int height = kv_app_DeviceHeight();

    kv_graphics_SetColor(m_clearR, m_clearG, m_clearB);
    kv_graphics_SetAlpha(m_clearA);
    kv_graphics_context->p_Validate();
    kv_graphics_DrawRect(-1, -1, width + 2, height + 2);
    kv_graphics_SetColor(255, 255, 255);
    kv_graphics_SetAlpha(1);

    if (width != m_lastDevW || height != m_lastDevH) {
        m_reload = 1;
        m_lastDevW = width;
        m_lastDevH = height;
    }
    FitScreen(width, height);
    if (m_drawCount >= kDrawRecordSize) ReplayDrawList();
    kv_graphics_SetAlpha(0.5f);
    kv_graphics_SetColor(255, 255, 255);
    return 0;
}

void c_MyApp::FitScreen(int width, int height) {
    float k = height > width ? 1.5f : 1.0f;
    float sx = (width - 2 * kv_Tol_overscan) / (kv_Tol_rawscrw * k);
    float sy = (height - 2 * kv_Tol_overscan) / (kv_Tol_rawscrh * k);
    if (sx > sy) {
        m_fitMode = 1;
    } else {
        m_fitMode = std::fabs(sy - 1) < std::fabs(sx - 1) ? 2 : 1;
    }
    // The virtual screen keeps the design size along the fitted axis and the window's aspect
    // along the other; the overscan margin shrinks the scale but not the virtual size.
    float t;
    if (m_fitMode == 1) {
        m_fitX = m_fitY = sx;
        t = width / (kv_Tol_rawscrw * k);
    } else {
        m_fitX = m_fitY = sy;
        t = height / (kv_Tol_rawscrh * k);
    }
    if (t > 0) {
        kv_Tol_jscrw = width / t;
        kv_Tol_jscrh = height / t;
    }
    m_landscape = kv_Tol_jscrh <= kv_Tol_jscrw ? 1 : 0;
}

void c_MyApp::ApplyPauseRule() {
    if (m_gameState < kStatePlay) {
        m_paused = m_pauseSel = m_pauseY = 0;
    } else {
        m_paused = 1;
        m_pauseSel = 1;
        m_pauseY = static_cast<int>(kv_Tol_jscrh * 0.5f);
    }
}

int c_MyApp::p_OnSuspend() {
    kv_app__game->SetKeyboardEnabled(false);
    kv_Tol_iCadeControls = 0;
    for (int i = 0; i < 19; ++i) m_pad[i] = 0;
    ApplyPauseRule();
    kv_app_SetUpdateRate(5);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    ApplyPauseRule();
    kv_app_SetUpdateRate(60);
    kv_app__game->SetKeyboardEnabled(false);
    kv_Tol_iCadeControls = 0;
    for (int i = 0; i < 19; ++i) m_pad[i] = 0;
    return 0;
}

int c_MyApp::p_FullscreenFlip() {
    KvDisplayMode* desktop = kv_app__game->GetDesktopMode();
    m_fullscreen = 1 - m_fullscreen;
    if (m_fullscreen == 1 && desktop) {
        kv_app__game->SetDeviceWindow(desktop->width, desktop->height, 1);
    } else {
        m_fullscreen = 0;
        kv_app__game->SetDeviceWindow(640, 480, 0);
    }
    return 0;
}
