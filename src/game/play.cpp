// The frame of play: a new game, the camera, the world drawn row by row with its spawners
// ticking, the column's fire, movement along walls and trail, flags planted at the base,
// soldiers lost to damage, the end of the game and of a level; and the pause control on top.
#include <cmath>

#include "game/app.h"
#include "game/globals.h"
#include "runtime/errors.h"
#include "runtime/random.h"

namespace {

constexpr float kSpeed = 2.5f;  // pixels per frame at full deflection
constexpr int kViewColumns = 8;  // cells drawn on each side of the player's cell
constexpr int kViewRows = 7;
constexpr float kSpawnReachX = 240;  // how near the player must be for a ready spawner to spawn
constexpr float kSpawnReachY = 160;
// Wall contact: how close to a cell's edge the column may come before the next cell stops it.
constexpr int kEdgeLeft = 15;
constexpr int kEdgeRight = 46;
constexpr int kEdgeTop = 10;
constexpr int kEdgeBottom = 41;
constexpr int kSfxFire = 21;
constexpr int kSfxPause = 98;
constexpr int kPlantedSounds[] = {0, 2, 3, 4, 5};  // by flags planted in one frame

// The base slots in planting order, with the planted flags' positions.
struct BaseSlot {
    int c, r;
    float x, y;
};
constexpr BaseSlot kPlantingOrder[] = {
    {63, 64, 3906, 3328}, {63, 65, 3906, 3380}, {64, 65, 3968, 3380}, {65, 65, 4030, 3380}, {65, 64, 4030, 3328},
};
constexpr int kBaseSlotCount = sizeof kPlantingOrder / sizeof kPlantingOrder[0];
constexpr float kPlantCentreY = 3360;  // the column plants from anywhere near the base slots
constexpr float kPlantReachX = 96;
constexpr float kPlantReachY = 52;

int clamp_cell(int value) { return value < 0 ? 0 : value > kGridSide - 1 ? kGridSide - 1 : value; }

}  // namespace

int c_MyApp::p_ResetObj() {
    for (int i = 0; i < kRecordTableLength; ++i) m_objects[i] = 0;
    return 0;
}

int c_MyApp::p_ResetGrid() {
    for (int i = 0; i < kGridLength; ++i) m_grid[i] = 0;
    return 0;
}

int c_MyApp::p_ResetParticles(int n) {
    if (n >= 1 && n <= kParticleSlotsMax) {
        m_maxParticles = n;
    } else {
        n = m_maxParticles;
    }
    for (int slot = 0; slot <= n; ++slot) m_particles[slot * kRecordSize + kPartKind] = 0;
    return 0;
}

int c_MyApp::p_LoadGame() {
    m_gameState = kStatePlay;
    p_PlayTune(String("testmusic"), 1);
    p_ResetObj();
    p_ResetGrid();
    m_maxParticles = 250;
    p_ResetParticles(m_maxParticles);
    p_ResetPlayers();
    m_paused = 0;
    m_score = 0;
    m_scoreShown = 0;  // a new game's panel starts at zero rather than counting down
    m_gameOverTimer = 0;
    m_gameOverAnim = 0;
    m_quitGame = 0;
    m_camX = m_camY = m_camTargetX = m_camTargetY = 0;
    m_maxObjects = 100;
    p_GetLevelA();
    return 0;
}

int c_MyApp::p_Game() {
    p_DoBG(0, 120, 0, -123);
    m_camX -= (m_camX - m_camTargetX) / 12;
    m_camY -= (m_camY - m_camTargetY) / 12;
    p_AnalogueControl();

    p_ResetDraw();
    m_camTargetX = m_vars[kVarPlayerX] - kv_Tol_jscrw * 0.5f;
    m_camTargetY = m_vars[kVarPlayerY] - kv_Tol_jscrh * 0.5f;
    const int c = cell_column(m_vars[kVarPlayerX]), r = cell_row(m_vars[kVarPlayerY]);
    if (c >= 0 && c < kGridSide && r >= 0 && r < kGridSide) {
        BuildDistanceField(c, r, kPlayFloodPasses);
    } else if (kv_Tol_DebugMode == 1) {
        kvPrint(String("Your Exceeds Limit"));
    }
    m_vars[kVarFirstColumn] = static_cast<float>(clamp_cell(c - kViewColumns));
    m_vars[kVarLastColumn] = static_cast<float>(clamp_cell(c + kViewColumns));
    m_vars[kVarFirstRow] = static_cast<float>(clamp_cell(r - kViewRows));
    m_vars[kVarLastRow] = static_cast<float>(clamp_cell(r + kViewRows));
    const int plantedInView = DrawWorld();

    FireColumn();
    MoveColumn();
    ShiftTrail();

    p_ResetDraw();
    p_SetRot(-45);
    static const String kArrow("<-");
    if (m_inputMode == 2) p_Text(static_cast<float>(m_pointerX), static_cast<float>(m_pointerY), kArrow, 0, 0, 0);
    p_DrawBul();
    p_DoBul();
    p_DoObj();
    PlantFlags();
    LoseSoldier();

    if (m_vars[kVarSoldiers] < 1) {
        m_vars[kVarNoSoldiersTime] += 1;
        if (m_vars[kVarNoSoldiersTime] > kGameOverDelay) m_gameOverTimer = 1;
    }
    // The level is won while all its planted flags are in view; walking away pauses the banner.
    if (plantedInView >= kBaseSlotCount) LevelComplete();
    p_DoParticles(1.0f);
    p_ScoreDisplay();
    return 0;
}

// Rows top to bottom; in each, its objects and soldiers first and then its cells, so the walls
// of a row cover whatever stands in it. Returns the planted flags drawn.
int c_MyApp::DrawWorld() {
    int planted = 0;
    const int firstColumn = static_cast<int>(m_vars[kVarFirstColumn]);
    const int lastColumn = static_cast<int>(m_vars[kVarLastColumn]);
    const int lastRow = static_cast<int>(m_vars[kVarLastRow]);
    for (int r = static_cast<int>(m_vars[kVarFirstRow]); r <= lastRow; ++r) {
        const float rowScreenY = kCellHeight * r - m_camY;
        p_DrawObj(rowScreenY);
        for (int k = 0; k < m_vars[kVarSoldiers]; ++k) p_DrawPlr(rowScreenY, k);
        for (int c = firstColumn; c <= lastColumn; ++c) planted += DrawCell(c, r) == kCellBasePlanted;
    }
    return planted;
}

// Draws one cell and runs its spawner's clock; returns the cell's value after the frame.
int c_MyApp::DrawCell(int c, int r) {
    float* cell = &m_grid[cell_index(c, r)];
    const float x = kCellWidth * c - m_camX, y = kCellHeight * r - m_camY;
    int value = static_cast<int>(cell[kCellValue]);
    if (value >= kCellRockFirst && value <= kCellRockLast) {
        p_DrawImg(kImgRocks, x, y, static_cast<float>(value - 1));
        return value;
    }
    if (value == kCellSpawner) {
        cell[kCellSpawnTimer] -= m_difficulty * 0.75f;
        if (cell[kCellSpawnTimer] < 1) value = kCellSpawnerReady;
    }
    if (value == kCellSpawnerReady) {
        cell[kCellSpawnTimer] = std::floor(kv_random_Rnd() * 320.99f + 320);
        const float wx = static_cast<float>(kCellWidth * c), wy = static_cast<float>(kCellHeight * r);
        if (std::fabs(m_vars[kVarPlayerX] - wx) < kSpawnReachX && std::fabs(m_vars[kVarPlayerY] - wy) < kSpawnReachY &&
            p_FreeObj(m_maxObjects) >= 0) {
            p_SpawnBaddie(wx - 10, wy + 9, kKindEnemy);
            value = kCellSpawner;
        }
    }
    cell[kCellValue] = static_cast<float>(value);
    switch (value) {
    case kCellFlagSpot:
        p_SetSize(0.5f);
        p_DrawImg(kImgSprites, x, y, static_cast<float>((kv_app_Millisecs() / 60 + c + r) % 7));
        p_SetSize(1);
        break;
    case kCellSpawner:
        p_DrawImg(kImgSprites, x, y, kFrameSpawner);
        break;
    case kCellSpawnerReady:
        p_DrawImg(kImgSprites, x, y, kFrameSpawner);
        p_SetSize(-1, 1);
        p_DrawImg(kImgSprites, x - 10, y + 9, kFrameEnemy);
        p_SetSize(1);
        break;
    case kCellBaseCentre:
        p_DrawImg(kImgSprites, x, y, kFrameBaseCentre);
        break;
    case kCellBaseSlot:
        p_DrawImg(kImgSprites, x, y, kFrameBaseSlot);
        break;
    case kCellBasePlanted:
        p_DrawImg(kImgSprites, x, y, kFrameBasePlanted);
        break;
    }
    return value;
}

// Soldiers fire while the button is held, each on his own cooldown; a soldier carrying a flag
// (soldiers 1..flags carried) has no hand free.
void c_MyApp::FireColumn() {
    for (int k = 1; k <= kMaxSoldiers; ++k) m_vars[kVarCooldown + k - 1] -= kv_random_Rnd() * 0.5f + 0.5f;
    const float soldiers = m_vars[kVarSoldiers];
    if (!p_PlayKey(kActFire1, 1, 0) || soldiers <= 0) return;
    bool fired = false;
    for (int k = 1; k <= kMaxSoldiers; ++k) {
        float& cooldown = m_vars[kVarCooldown + k - 1];
        if (cooldown >= 0 || k > soldiers || k <= m_vars[kVarFlagsCarried]) continue;
        cooldown = kv_random_Rnd() * 8 + 10;
        const int p = kTrailSpacing * (k - 1);
        p_Shoot(1, m_vars[kVarTrailX + p], m_vars[kVarTrailY + p] - 3, m_vars[kVarTrailFacing + p]);
        fired = true;
    }
    if (fired) p_PlaySFX(kSfxFire, kv_random_Rnd() * 0.9f + 0.6f, 1.0f, 0);
}

void c_MyApp::MoveColumn() {
    float dx = m_moveX * kSpeed, dy = m_moveY * kSpeed;
    if (m_vars[kVarSoldiers] < 1) {
        dx = dy = 0;
        p_StopTune();
    }
    float& x = m_vars[kVarPlayerX];
    float& y = m_vars[kVarPlayerY];
    const int c = cell_column(x), r = cell_row(y);
    if (c >= 1 && c <= kGridSide - 2 && r >= 1 && r <= kGridSide - 2) {
        const int mx = static_cast<int>(std::fmod(x + kCellWidth / 2, static_cast<float>(kCellWidth)));
        const int my = static_cast<int>(std::fmod(y + kCellHeight / 2, static_cast<float>(kCellHeight)));
        auto solid = [this, c, r](int dc, int dr) { return m_grid[cell_index(c + dc, r + dr) + kCellSolid] != 0; };
        const bool nearLeft = mx < kEdgeLeft, nearRight = mx > kEdgeRight;
        const bool nearTop = my < kEdgeTop, nearBottom = my > kEdgeBottom;
        if ((dx < 0 && nearLeft && solid(-1, 0)) || (dx > 0 && nearRight && solid(1, 0))) dx = 0;
        if ((dy < 0 && nearTop && solid(0, -1)) || (dy > 0 && nearBottom && solid(0, 1))) dy = 0;
        // Pressing diagonally into a corner turns into a slow slide along one wall.
        if (dx != 0 && dy != 0) {
            if (dx < 0 && dy < 0 && nearLeft && nearTop && solid(-1, -1)) {
                dx = -0.5f, dy = 0;
            } else if (dx < 0 && dy > 0 && nearLeft && nearBottom && solid(-1, 1)) {
                dx = 0, dy = 0.5f;
            } else if (dx > 0 && dy < 0 && nearRight && nearTop && solid(1, -1)) {
                dx = 0, dy = -0.5f;
            } else if (dx > 0 && dy > 0 && nearRight && nearBottom && solid(1, 1)) {
                dx = 0.5f, dy = 0;
            }
        }
    }
    if (dx > 0.5f) m_vars[kVarFacing] = 1;
    if (dx < -0.5f) m_vars[kVarFacing] = -1;
    x += dx;
    y += dy;
}

// Facings pass down the trail every frame, positions only when the column moved, so the
// soldiers behind keep their spacing while the column stands.
void c_MyApp::ShiftTrail() {
    for (int i = kTrailLength - 1; i >= 1; --i) {
        const float facing = m_vars[kVarTrailFacing + i - 1];
        m_vars[kVarTrailFacing + i] = facing != 0 ? facing : 1;
    }
    m_vars[kVarTrailFacing] = m_vars[kVarFacing] != 0 ? m_vars[kVarFacing] : 1;
    const float x = m_vars[kVarPlayerX], y = m_vars[kVarPlayerY];
    if (m_vars[kVarTrailX] == x && m_vars[kVarTrailY] == y) {
        m_moved = 0;
        return;
    }
    m_moved = 1;
    for (int i = kTrailLength - 1; i >= 1; --i) {
        m_vars[kVarTrailX + i] = m_vars[kVarTrailX + i - 1];
        m_vars[kVarTrailY + i] = m_vars[kVarTrailY + i - 1];
    }
    m_vars[kVarTrailX] = x;
    m_vars[kVarTrailY] = y;
}

void c_MyApp::PlantFlags() {
    if (std::fabs(m_vars[kVarPlayerX] - kBaseX) >= kPlantReachX || std::fabs(m_vars[kVarPlayerY] - kPlantCentreY) >= kPlantReachY) {
        return;
    }
    int planted = 0;
    for (const BaseSlot& slot : kPlantingOrder) {
        float& value = m_grid[cell_index(slot.c, slot.r) + kCellValue];
        if (value != kCellBaseSlot || m_vars[kVarFlagsCarried] <= 0) continue;
        m_vars[kVarFlagsCarried] -= 1;
        value = kCellBasePlanted;
        for (int n = 0; n < kSlotsInUse; ++n) {
            float* object = &m_objects[n * kRecordSize];
            if (object[kObjKind] >= kKindFlagCarried && object[kObjKind] < kKindFlagPlanted) {
                object[kObjKind] = kKindFlagPlanted;
                object[kObjX] = slot.x;
                object[kObjY] = slot.y;
                break;
            }
        }
        ++planted;
    }
    if (planted == 0) return;
    p_Gimme(planted * planted * 250, kBaseX, kBaseY);
    if (planted < static_cast<int>(sizeof kPlantedSounds / sizeof kPlantedSounds[0])) {
        p_PlaySFX(kPlantedSounds[planted], 1.0f, 1.0f, 0);
    }
}

// Enough hits cost the last soldier of the column, who leaves a corpse; the flags he can no
// longer carry fall where they are (the objects see the column shrink).
void c_MyApp::LoseSoldier() {
    if (m_vars[kVarDamage] >= 1 - kHitsPerSoldier || m_vars[kVarCompleteTimer] != 0 || m_gameOverTimer != 0) return;
    m_vars[kVarDamage] = 0;
    const int slot = p_FreeObj(kSlotsInUse - 1);
    if (slot < 0) return;
    const int p = kTrailSpacing * (static_cast<int>(m_vars[kVarSoldiers]) - 1);
    if (p < 0) return;
    float* corpse = &m_objects[slot];
    corpse[kObjKind] = kKindCorpse;
    corpse[kObjX] = m_vars[kVarTrailX + p];
    corpse[kObjY] = m_vars[kVarTrailY + p];
    corpse[kObjFacing] = m_vars[kVarTrailFacing + p];
    m_vars[kVarSoldiers] -= 1;
    if (m_vars[kVarFlagsCarried] > m_vars[kVarSoldiers]) m_vars[kVarFlagsCarried] = m_vars[kVarSoldiers];
}

void c_MyApp::LevelComplete() {
    p_ResetDraw();
    float& t = m_vars[kVarCompleteTimer];
    t += 1;
    if (t == 5) p_StopTune();
    if (t > kLevelCompleteFrames) p_GetLevelA();
    float x = static_cast<float>(static_cast<int>((t - 45) * 16));
    if (x >= 1) x = 0;
    static const String kBanner("LEVEL COMPLETE");
    p_SetCol(0, 0, 0, 0.75f);
    p_Rect(x, kv_Tol_jscrh * 0.5f - 32, kv_Tol_jscrw, 64);
    p_SetCol(255, 255, 255, 1);
    p_SetSize(3);
    p_Text(x + kv_Tol_jscrw * 0.5f, kv_Tol_jscrh * 0.5f, kBanner, 1, 1, 0);
    p_SetSize(1);
}

int c_MyApp::p_InGame() {
    p_ResetDraw();
    m_menuIntro = -32;  // the menu slides back in when the game hands over to it
    auto pause = [this] {
        m_keyLatch = 1;
        m_paused = 1;
        m_pauseSel = 1;
        p_PlaySFX(kSfxPause, 1.0f, 0.5f, 0);
    };
    // Once the game is over nothing pauses it: the panel hands over to the menu on its own.
    const bool canPause = m_paused == 0 && m_gameOverTimer == 0;
    bool asked = false;
    for (int j = 0; j < 4; ++j) {
        if (p_PlayKey(kActBack, 1, j) || (kv_Tol_isOuya == 1 && p_PlayKey(kActFire4, 1, j))) asked = true;
    }
    if (asked && canPause && m_keyLatch == 0) pause();

    // While the intro's cover owns the frame (it clears nothing) the icon stays off it.
    const bool underCover = m_introTimer > 0 && m_clearA < 0;
    if (m_hudHidden == 0 && !underCover) {
        if (m_inputMode != 2) p_Alpha(0.2f);
        const float iconX = 16, iconY = 16;
        p_DrawImg(kImgIcons, iconX, iconY, 0);
        const float halfW = m_imageInfo[3 * kImgIcons] * m_hdScale * m_sizeX / 2;
        const float halfH = m_imageInfo[3 * kImgIcons + 1] * m_hdScale * m_sizeY / 2;
        auto onIcon = [&](float x, float y) { return std::fabs(x - iconX) < halfW && std::fabs(y - iconY) < halfH; };
        bool touched = false;
        for (int i = 0; i < kTouches; ++i) touched = touched || onIcon(static_cast<float>(m_touchX[i]), static_cast<float>(m_touchY[i]));
        // A mouse click on the icon pauses too; on the desktop the held-pointer flag is never up here.
        const bool clicked = m_pointerHit > 0 && onIcon(static_cast<float>(m_pointerX), static_cast<float>(m_pointerY));
        if (((touched && m_pointerDown > 0) || clicked) && canPause) {
            pause();
            m_pointerTaken = 1;
        }
        p_Alpha(1);
    }
    if (m_paused == 1) p_PauseMenu();
    return 0;
}
