// Level generation: fills the grid with rock, digs the tunnels, places the base, the flags and
// the spawners, and puts the column at the start. The four steps run on separate intro frames
// so the cover hides the work; every draw is taken in a fixed order, so a seed makes one level.
#include <cmath>

#include "game/app.h"
#include "game/globals.h"
#include "runtime/random.h"

namespace {

constexpr int kBorder = 10;      // the outer cells on every side that are always rock
constexpr int kDigMin = 4;       // the diggers stay within columns and rows 4..123
constexpr int kDiggers = 4;
constexpr int kBaseColumn = 64;  // the base centre, where the diggers and the base flood start
constexpr int kBaseRow = 64;
constexpr int kBaseFloodPasses = 257;
constexpr int kFlags = 5;
constexpr int kRejectsPerStep = 500;  // rejected tries before the placement threshold drops
constexpr int kMinThreshold = 6;
// Tries at the lowest threshold before placement gives up drawing and takes the farthest
// free cell: eight times the grid, so a single qualifying cell is missed about once in 3000.
constexpr int kTriesAtFloor = 8 * kGridSide * kGridSide;
constexpr float kStartX = 3983.5f;  // the player's start, in the base slot (64, 65)
constexpr float kStartY = 3360.0f;

// The base slots around the centre, which take the planted flags.
constexpr int kBaseSlots[5][2] = {{63, 64}, {65, 64}, {63, 65}, {64, 65}, {65, 65}};

float* cell_at(Array<float>& grid, int c, int r) { return &grid[cell_index(c, r)]; }

void dig(Array<float>& grid, int c, int r) {
    float* cell = cell_at(grid, c, r);
    cell[kCellValue] = kCellOpen;
    cell[kCellSolid] = 0;
}

// The widening modes dig two more cells beside the digger; other modes dig nothing more.
void widen(Array<float>& grid, int mode, int c, int r) {
    static constexpr int kExtra[5][4] = {
        {0, 0, 0, 0}, {-1, 0, -1, -1}, {1, 0, 1, -1}, {0, -1, 1, -1}, {0, 1, 1, 1},
    };
    if (mode < 1 || mode > 4) return;
    const int* extra = kExtra[mode];
    dig(grid, c + extra[0], r + extra[1]);
    dig(grid, c + extra[2], r + extra[3]);
}

int first_free_slot(Array<float>& table) {
    for (int slot = 0; slot < kSlotsInUse; ++slot) {
        if (table[slot * kRecordSize + kObjKind] == 0) return slot;
    }
    return -1;
}

// The fallback when drawing finds nothing: the free open cell farthest from the base, or -1
// when no open cell with value 0 is connected to it at all.
int farthest_free_cell(Array<float>& grid) {
    int best = -1;
    float bestDistance = 0;
    for (int c = 0; c < kGridSide; ++c) {
        for (int r = 0; r < kGridSide; ++r) {
            const float* cell = cell_at(grid, c, r);
            if (cell[kCellValue] == kCellOpen && cell[kCellBaseDistance] > bestDistance) {
                bestDistance = cell[kCellBaseDistance];
                best = cell_index(c, r);
            }
        }
    }
    return best;
}

}  // namespace

int c_MyApp::p_GetLevelA() {
    m_vars[kVarLevel] += 1;
    p_SeedRnd(kv_app_Millisecs());
    m_introTimer = 1;
    m_vars[kVarSoldiers] = 4;
    m_vars[kVarFlagsCarried] = 0;
    m_vars[kVarDamage] = m_vars[kVarCompleteTimer] = m_vars[kVarNoSoldiersTime] = 0;
    for (int slot = 0; slot < kSlotsInUse; ++slot) {
        m_objects[slot * kRecordSize + kObjKind] = 0;
        m_bullets[slot * kRecordSize + kObjKind] = 0;
    }
    for (int c = 0; c < kGridSide; ++c) {
        for (int r = 0; r < kGridSide; ++r) {
            int value = p_Rand(-3, 9);
            if (c < kBorder || c >= kGridSide - kBorder || r < kBorder || r >= kGridSide - kBorder) {
                value = p_Rand(kCellRockFirst, kCellRockLast);
            }
            float* cell = cell_at(m_grid, c, r);
            cell[kCellValue] = static_cast<float>(value);
            cell[kCellSolid] = value > 0 ? 1.0f : 0.0f;
        }
    }
    return 0;
}

int c_MyApp::p_GetLevB() {
    // Directions 0..4: none, left, up, right, down.
    static constexpr int kMoves[5][2] = {{0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    int widening = 0;  // carries over from one digger to the next
    for (int digger = 0; digger < kDiggers; ++digger) {
        int c = kBaseColumn, r = kBaseRow, direction = 0;
        for (int step = 0; step <= m_digSteps; ++step) {
            c += kMoves[direction][0];
            r += kMoves[direction][1];
            const int last = kGridSide - 1 - kDigMin;
            if (c < kDigMin || c > last) {
                c = c < kDigMin ? kDigMin : last;
                direction = 0;
            }
            if (r < kDigMin || r > last) {
                r = r < kDigMin ? kDigMin : last;
                direction = 0;
            }
            if (kv_random_Rnd() * 20 < 4) direction = 0;
            kv_random_Rnd();  // a draw the digger spends without using it; the sequence needs it
            dig(m_grid, c, r);
            widen(m_grid, widening, c, r);
            if (direction == 0) direction = static_cast<int>(std::floor(kv_random_Rnd() * 3.99f + 1));
            if (kv_random_Rnd() * 7 < 1) widening = static_cast<int>(std::floor(kv_random_Rnd() * 8.99f - 3));
        }
    }
    for (int c = kBaseColumn - 2; c <= kBaseColumn + 2; ++c) {
        for (int r = kBaseRow - 2; r <= kBaseRow + 2; ++r) dig(m_grid, c, r);
    }
    return 0;
}

int c_MyApp::p_GetLevC() {
    cell_at(m_grid, kBaseColumn, kBaseRow)[kCellValue] = kCellBaseCentre;
    for (const auto& slot : kBaseSlots) cell_at(m_grid, slot[0], slot[1])[kCellValue] = kCellBaseSlot;
    m_vars[kVarBaseSpare] = 0;
    m_vars[kVarBaseDistanceMax] = static_cast<float>(BuildDistanceField(kBaseColumn, kBaseRow, kBaseFloodPasses));
    for (int c = 1; c < kGridSide - 1; ++c) {
        for (int r = 1; r < kGridSide - 1; ++r) {
            float* cell = cell_at(m_grid, c, r);
            cell[kCellBaseDistance] = cell[kCellDistance];
        }
    }

    int last = static_cast<int>(2 * m_vars[kVarLevel] + (5 * m_difficulty + 2));
    for (int item = 0; item <= last; ++item) {
        float threshold = m_vars[kVarBaseDistanceMax];
        int rejected = 0, triesAtFloor = 0, chosen = -1;
        while (chosen < 0) {
            int c = static_cast<int>(std::floor(kv_random_Rnd() * 127.99f));
            int r = static_cast<int>(std::floor(kv_random_Rnd() * 127.99f));
            const float* cell = cell_at(m_grid, c, r);
            if (cell[kCellValue] == kCellOpen && cell[kCellBaseDistance] >= threshold) {
                chosen = cell_index(c, r);
                break;
            }
            if (++rejected % kRejectsPerStep == 0) {
                threshold = std::fmax(threshold - 1, static_cast<float>(kMinThreshold));
                m_vars[kVarBaseDistanceMax] = threshold;
            }
            // A cave with no free cell far enough from the base would otherwise be drawn from
            // forever.
            if (threshold <= kMinThreshold && ++triesAtFloor > kTriesAtFloor) {
                chosen = farthest_free_cell(m_grid);
                break;
            }
        }
        if (chosen < 0) continue;  // no free open cell is left anywhere; the item is dropped
        if (item < kFlags) {
            m_grid[chosen + kCellValue] = kCellFlagSpot;
        } else {
            m_grid[chosen + kCellValue] = kCellSpawner;
            m_grid[chosen + kCellSpawnTimer] = std::floor(kv_random_Rnd() * 320.99f + 320);
        }
    }
    return 0;
}

int c_MyApp::p_GetLevD() {
    for (int c = 0; c < kGridSide; ++c) {
        for (int r = 0; r < kGridSide; ++r) {
            float* cell = cell_at(m_grid, c, r);
            if (cell[kCellValue] != kCellFlagSpot) continue;
            // Only a spot with a slot for its flag draws; without one it is simply cleared.
            int slot = first_free_slot(m_objects);
            if (slot >= 0) {
                float* flag = &m_objects[slot * kRecordSize];
                flag[kObjKind] = kKindFlag;
                flag[kObjX] = static_cast<float>(kCellWidth * c);
                flag[kObjY] = static_cast<float>(kCellHeight * r);
                flag[kObjPhase] = kv_random_Rnd() * 6;
            }
            cell[kCellValue] = kCellOpen;
        }
    }
    m_vars[kVarPlayerX] = kStartX;
    m_vars[kVarPlayerY] = kStartY;
    m_camX = m_camTargetX = kStartX - kv_Tol_jscrw * 0.5f;
    m_camY = m_camTargetY = kStartY - kv_Tol_jscrh * 0.5f;
    for (int i = 0; i < kTrailLength; ++i) {
        m_vars[kVarTrailX + i] = kStartX - i;
        m_vars[kVarTrailY + i] = kStartY;
        m_vars[kVarTrailFacing + i] = 1;
    }
    return 0;
}
