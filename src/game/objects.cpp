// Objects on the map: enemies that hunt the column down the distance field and fire at it,
// dying enemies, the corpses of fallen soldiers, and the flags lying, carried and planted.
// One fixed table, updated once a frame and drawn row by row with the walls.
#include <cmath>

#include "game/app.h"
#include "game/globals.h"
#include "runtime/random.h"

namespace {

constexpr float kPickUpReach = 24;
constexpr float kHitReach = 12;  // a player bullet this close on both axes kills an enemy
constexpr float kOnScreenMargin = 32;  // enemies fire only from this far inside the screen
constexpr int kKillScore = 25;
constexpr int kDyingFrames = 120;
constexpr int kEnemyBulletLife = 69;
constexpr float kEnemyBulletSpeed = 2.5f;
constexpr int kSfxPickUp = 6;
constexpr int kSfxEnemyFire = 22;
constexpr int kSfxHitFirst = 27;  // one of 27..31 when an enemy is hit
constexpr int kSfxHitLast = 31;

float enemy_speed() { return kv_random_Rnd() * 3.5f + 1.0f; }

// Moves `position` half the speed toward `target` (-1: none) and drops the target once near.
// Returns the direction moved: 1, -1 or 0.
int approach(float& position, float& target, float speed) {
    if (target <= -1) return 0;
    int moved = 0;
    if (position < target) {
        position += speed * 0.5f;
        moved = 1;
    }
    if (target < position) {
        position -= speed * 0.5f;
        moved = -1;
    }
    if (std::fabs(position - target) < 4) target = -1;
    return moved;
}

}  // namespace

int c_MyApp::p_FreeObj(int max) {
    for (int slot = 0; slot <= max && slot < kSlotsInUse; ++slot) {
        if (m_objects[slot * kRecordSize + kObjKind] == 0) return slot * kRecordSize;
    }
    return -1;
}

int c_MyApp::p_SpawnBaddie(float x, float y, int kind) {
    const int at = p_FreeObj(m_maxObjects);
    if (at < 0) return 0;
    float* enemy = &m_objects[at];
    enemy[kObjKind] = static_cast<float>(kind);
    enemy[kObjX] = x;
    enemy[kObjY] = y;
    enemy[kObjTargetX] = enemy[kObjTargetY] = -1;
    enemy[kObjFacing] = -1;
    enemy[kObjSpeed] = enemy_speed();
    enemy[kObjStandOff] = kv_random_Rnd() * 3.0f;
    return 0;
}

int c_MyApp::p_DoObj() {
    bool anyFired = false;
    const float soldiers = m_vars[kVarSoldiers];
    for (int n = 0; n <= m_maxObjects && n < kSlotsInUse; ++n) {
        float* object = &m_objects[n * kRecordSize];
        if (object[kObjKind] == kKindEnemy) anyFired = MoveEnemy(object) || anyFired;
        if (object[kObjKind] == kKindDyingEnemy) {
            object[kObjFireTimer] -= 1;
            if (object[kObjFireTimer] < 1) object[kObjKind] = 0;
        }
        if (object[kObjKind] == kKindFlag && std::fabs(object[kObjX] - m_vars[kVarPlayerX]) < kPickUpReach &&
            std::fabs(object[kObjY] - m_vars[kVarPlayerY]) < kPickUpReach && m_vars[kVarFlagsCarried] < soldiers) {
            m_vars[kVarFlagsCarried] += 1;
            p_PlaySFX(kSfxPickUp, 1.0f, 1.0f, 0);
            object[kObjKind] = kKindFlag + m_vars[kVarFlagsCarried];
        }
        const int carrier = static_cast<int>(object[kObjKind]) - kKindFlag;
        if (carrier >= 1 && carrier <= kMaxSoldiers) {
            const int p = kTrailSpacing * (carrier - 1);
            object[kObjX] = m_vars[kVarTrailX + p] - m_vars[kVarTrailFacing + p] * 6;
            object[kObjY] = m_vars[kVarTrailY + p];
            if (soldiers < carrier) object[kObjKind] = kKindFlag;
        }
    }
    if (anyFired) p_PlaySFX(kSfxEnemyFire, kv_random_Rnd() * 0.9f + 0.6f, 0.5f, 0);
    return 0;
}

// One enemy's frame: a new target down the field now and then, a step toward it, a shot
// sideways when it stands well on screen, and the player's bullets that reach it. Returns
// whether it fired.
bool c_MyApp::MoveEnemy(float* enemy) {
    float& x = enemy[kObjX];
    float& y = enemy[kObjY];
    const int c = cell_column(x), r = cell_row(y);
    const float sx = x - m_camX, sy = y - m_camY;
    int stepC = 0, stepR = 0;
    if (r >= 1 && r <= kGridSide - 2 && c >= 1 && c <= kGridSide - 2 &&
        ChooseEnemyStep(c, r, enemy[kObjStandOff], &stepC, &stepR) && kv_random_Rnd() * 10 < 3) {
        enemy[kObjTargetX] = std::floor(kv_random_Rnd() * 56.99f - 28) + kCellWidth * stepC;
        enemy[kObjTargetY] = std::floor(kv_random_Rnd() * 48.99f - 24) + kCellHeight * stepR;
    }
    if (kv_random_Rnd() * 600 < 2) enemy[kObjSpeed] = enemy_speed();
    const int turned = approach(x, enemy[kObjTargetX], enemy[kObjSpeed]);
    if (turned != 0) enemy[kObjFacing] = static_cast<float>(turned);
    approach(y, enemy[kObjTargetY], enemy[kObjSpeed]);

    bool fired = false;
    enemy[kObjFireTimer] += kv_random_Rnd() * 1.3f + 0.7f;
    if (enemy[kObjFireTimer] > 20 && kv_random_Rnd() * 30 < 2 && sx > kOnScreenMargin &&
        sx < kv_Tol_jscrw - kOnScreenMargin && sy > kOnScreenMargin && sy < kv_Tol_jscrh - kOnScreenMargin &&
        m_vars[kVarCompleteTimer] == 0) {
        const int at = p_FreeBul(kSlotsInUse - 1);
        m_lastSlot = at;
        if (at >= 0) {
            float* bullet = &m_bullets[at];
            bullet[kBulKind] = kKindEnemyBullet;
            bullet[kBulX] = x;
            bullet[kBulY] = y;
            bullet[kBulDx] = enemy[kObjFacing] * kEnemyBulletSpeed;
            bullet[kBulSpare] = 0;
            bullet[kBulFacing] = enemy[kObjFacing];
            bullet[kBulLife] = kEnemyBulletLife;
            enemy[kObjFireTimer] = 0;
            fired = true;
        }
    }

    // Every bullet in reach is spent on the enemy, even after the first has killed it.
    bool hit = false;
    for (int b = 0; b < kSlotsInUse; ++b) {
        float* bullet = &m_bullets[b * kRecordSize];
        if (!is_player_bullet(bullet[kBulKind]) || std::fabs(bullet[kBulX] - x) >= kHitReach ||
            std::fabs(bullet[kBulY] - y) >= kHitReach) {
            continue;
        }
        bullet[kBulKind] = 0;
        m_score += kKillScore;
        p_AddParticle(kKindNumber, x, y, 0, -0.25f, kKillScore, 3, 0);
        enemy[kObjKind] = kKindDyingEnemy;
        enemy[kObjFireTimer] = kDyingFrames;
        hit = true;
    }
    if (hit) {
        const float rate = kv_random_Rnd() * 0.8f + 0.6f;
        p_PlaySFX(p_Rand(kSfxHitFirst, kSfxHitLast), rate, 1.0f, 0);
    }
    return fired;
}

int c_MyApp::p_DrawObj(float rowScreenY) {
    const float w = rowScreenY + m_camY;
    for (int n = 0; n <= m_maxObjects && n < kSlotsInUse; ++n) {
        float* object = &m_objects[n * kRecordSize];
        const int kind = static_cast<int>(object[kObjKind]);
        const float y = object[kObjY];
        if (kind <= 0 || y <= w - 53 || y >= w + 1) continue;
        const float mirror = object[kObjFacing] < 0 ? -1.0f : 1.0f;
        const float sx = object[kObjX] - m_camX, sy = y - m_camY;
        if (kind == kKindEnemy) {
            p_SetSize(mirror, 1);
            p_DrawImg(kImgSprites, sx, sy, kFrameEnemy);
        } else if (kind == kKindDyingEnemy) {
            p_SetSize(mirror, 1);
            p_Alpha(std::fmin(1.0f, std::fmax(0.0f, object[kObjFireTimer] / 60)));
            p_DrawImg(kImgSprites, sx, sy, kFrameDyingEnemy);
            p_Alpha(1);
        } else if (kind == kKindCorpse) {
            p_SetSize(mirror, 1);
            p_DrawImg(kImgPlayer, sx, sy, kFrameCorpse);
        } else if (kind >= kKindFlag && kind <= kKindFlagPlanted) {
            float& phase = object[kObjPhase];
            phase = std::fmod(phase + 0.3f, 7.0f);
            if (kind == kKindFlag) {
                p_SetSize(0.5f);
                p_DrawImg(kImgSprites, sx, sy, phase);
            } else {
                // Raised flags face away from the soldier, except behind one walking left.
                const int p = kTrailSpacing * (kind - kKindFlag - 1);
                const bool walkingLeft = kind < kKindFlagPlanted && m_vars[kVarTrailFacing + p] == -1;
                p_SetSize(walkingLeft ? 0.5f : -0.5f, 0.5f);
                p_DrawImg(kImgSprites, sx, sy - 4, phase);
            }
        }
        p_SetSize(1);
    }
    return 0;
}
