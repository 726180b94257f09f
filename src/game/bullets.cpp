// Bullets: the soldiers' shots and the enemies', flying only sideways until a wall or their
// life ends them; enemy bullets that reach a soldier count against the column here (the
// player's bullets are tested against the enemies with the objects).
#include <cmath>

#include "game/app.h"
#include "runtime/random.h"

namespace {

constexpr float kPlayerBulletSpeed = 4;
constexpr int kPlayerBulletLife = 60;
constexpr float kSoldierReach = 8;
constexpr int kSfxHitFirst = 23;  // one of 23..26 when a soldier is hit

int first_free(const Array<float>& table, int max) {
    for (int slot = 0; slot <= max && slot < kSlotsInUse; ++slot) {
        if (table[slot * kRecordSize + kBulKind] == 0) return slot * kRecordSize;
    }
    return -1;
}

}  // namespace

int c_MyApp::p_FreeBul(int max) { return first_free(m_bullets, max); }

int c_MyApp::p_Shoot(int, float x, float y, float dir) {
    m_lastSlot = p_FreeBul(kSlotsInUse - 1);
    if (m_lastSlot < 0) return 0;
    float* bullet = &m_bullets[m_lastSlot];
    bullet[kBulKind] = kKindPlayerBullet;
    bullet[kBulX] = x;
    bullet[kBulY] = y;
    bullet[kBulDx] = dir * kPlayerBulletSpeed;
    bullet[kBulSpare] = 0;
    bullet[kBulLife] = kPlayerBulletLife;
    return 0;
}

int c_MyApp::p_DoBul() {
    bool hit = false;
    const int soldiers = static_cast<int>(m_vars[kVarSoldiers]);
    for (int slot = 0; slot < kSlotsInUse; ++slot) {
        float* bullet = &m_bullets[slot * kRecordSize];
        if (bullet[kBulKind] <= 0) continue;
        bullet[kBulX] += 2 * bullet[kBulDx];
        const int c = cell_column(bullet[kBulX]), r = cell_row(bullet[kBulY]);
        // Outside the grid counts as rock, so a stray bullet never reads past the cells.
        const bool inside = c >= 0 && c < kGridSide && r >= 0 && r < kGridSide && bullet[kBulX] > -kCellWidth / 2;
        if (!inside || m_grid[cell_index(c, r) + kCellSolid] != 0) bullet[kBulKind] = 0;
        bullet[kBulLife] -= 1;
        if (bullet[kBulLife] < 1) {
            bullet[kBulKind] = 0;
            continue;
        }
        if (bullet[kBulKind] != kKindEnemyBullet) continue;
        for (int k = 1; k <= kMaxSoldiers && k <= soldiers; ++k) {
            const int p = kTrailSpacing * (k - 1);
            if (std::fabs(bullet[kBulX] - m_vars[kVarTrailX + p]) < kSoldierReach &&
                std::fabs(bullet[kBulY] - m_vars[kVarTrailY + p]) < kSoldierReach) {
                m_vars[kVarDamage] -= 1;
                hit = true;
                bullet[kBulKind] = 0;
                break;
            }
        }
    }
    if (hit) {
        const float r1 = kv_random_Rnd(), r2 = kv_random_Rnd();
        p_PlaySFX(static_cast<int>(std::floor(r2 * 3.99f + kSfxHitFirst)), r1 * 0.8f + 0.6f, 1.0f, 0);
    }
    return 0;
}

int c_MyApp::p_DrawBul() {
    for (int slot = 0; slot < kSlotsInUse; ++slot) {
        const float* bullet = &m_bullets[slot * kRecordSize];
        if (bullet[kBulKind] <= 0) continue;
        if (is_player_bullet(bullet[kBulKind])) {
            p_SetCol(255, 255, 0);
        } else {
            // Enemy shots flicker through hot colours; the values go past 255 on purpose and
            // the renderer saturates them.
            const float r1 = kv_random_Rnd(), r2 = kv_random_Rnd();
            p_SetCol(r2 * 1900 + 100, r1 * 105 + 150, 250);
        }
        p_Rect(bullet[kBulX] - 3 - m_camX, bullet[kBulY] - m_camY, 6, 2);
        p_SetCol(255, 255, 255);
    }
    p_SetSize(1, m_sizeY);
    return 0;
}
