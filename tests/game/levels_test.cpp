// Level generation: the same clock makes the same level, the rock border, the open centre and
// its tunnels, the base and its distances, flags and spawners far from the base in the counts
// difficulty and level ask for, the column's start, and the whole intro in the real frame order.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/globals.h"
#include "test_host.h"

namespace {

constexpr int kBaseC = 64;
constexpr int kBaseR = 64;

// The shared bare app at the default difficulty.
c_MyApp* level_app() {
    c_MyApp* app = bare_app();
    return app;
}

float& field(c_MyApp* app, int c, int r, int f) { return app->m_grid[cell_index(c, r) + f]; }

// Runs steps A..D (or fewer) of level `level` at difficulty `difficulty` seeded by clock `ms`.
void generate(c_MyApp* app, int ms, int steps = 4, int level = 1, int difficulty = 2) {
    TestHost::Start().clockMs = ms;
    app->m_difficulty = difficulty;
    app->m_vars[kVarLevel] = static_cast<float>(level - 1);
    app->p_GetLevelA();
    if (steps > 1) app->p_GetLevB();
    if (steps > 2) app->p_GetLevC();
    if (steps > 3) app->p_GetLevD();
}

// Each cell's value and solid flag, cell (c, r) at 2 * (128c + r).
std::vector<float> ground(c_MyApp* app) {
    std::vector<float> g;
    for (int c = 0; c < kGridSide; ++c) {
        for (int r = 0; r < kGridSide; ++r) {
            g.push_back(field(app, c, r, kCellValue));
            g.push_back(field(app, c, r, kCellSolid));
        }
    }
    return g;
}

// What a level is made of: the ground, the base distances, the spawners' timers and the
// objects in use. Fields that no one reads (timers of other cells, fields of free slots) may
// hold whatever an earlier level left there.
std::vector<float> level_snapshot(c_MyApp* app) {
    std::vector<float> s = ground(app);
    for (int c = 1; c < kGridSide - 1; ++c) {
        for (int r = 1; r < kGridSide - 1; ++r) {
            s.push_back(field(app, c, r, kCellBaseDistance));
            if (field(app, c, r, kCellValue) == kCellSpawner) s.push_back(field(app, c, r, kCellSpawnTimer));
        }
    }
    for (int slot = 0; slot < kSlotsInUse; ++slot) {
        const float* object = &app->m_objects[slot * kRecordSize];
        s.push_back(object[kObjKind]);
        if (object[kObjKind] != 0) s.insert(s.end(), {object[kObjX], object[kObjY], object[kObjPhase]});
    }
    return s;
}

int count_cells(c_MyApp* app, int value) {
    int n = 0;
    for (int c = 0; c < kGridSide; ++c) {
        for (int r = 0; r < kGridSide; ++r) n += field(app, c, r, kCellValue) == value;
    }
    return n;
}

std::vector<int> flag_slots(c_MyApp* app) {
    std::vector<int> slots;
    for (int slot = 0; slot < kSlotsInUse; ++slot) {
        if (app->m_objects[slot * kRecordSize + kObjKind] == kKindFlag) slots.push_back(slot);
    }
    return slots;
}

bool on_border(int c, int r) { return c < 10 || c > 117 || r < 10 || r > 117; }

TEST(Levels, SameClockMakesTheSameLevel) {
    c_MyApp* app = level_app();
    generate(app, 123456);
    std::vector<float> first = level_snapshot(app);
    generate(app, 123456);
    EXPECT_TRUE(level_snapshot(app) == first);
    generate(app, 123457);
    EXPECT_FALSE(level_snapshot(app) == first) << "another clock makes another level";
}

TEST(Levels, BorderIsRockAndEveryCellsSolidFlagFollowsItsValue) {
    c_MyApp* app = level_app();
    for (int ms : {5, 98765, 2000000}) {
        generate(app, ms);
        int border = 0, mismatched = 0;
        for (int c = 0; c < kGridSide; ++c) {
            for (int r = 0; r < kGridSide; ++r) {
                float value = field(app, c, r, kCellValue);
                if (on_border(c, r)) border += value >= kCellRockFirst && value <= kCellRockLast;
                bool solidWanted = value >= kCellRockFirst && value <= kCellRockLast;
                mismatched += (field(app, c, r, kCellSolid) == 1) != solidWanted;
                EXPECT_GE(value, -3) << c << "," << r;
            }
        }
        EXPECT_EQ(border, kGridSide * kGridSide - 108 * 108) << "clock " << ms;
        EXPECT_EQ(mismatched, 0) << "clock " << ms;
    }
}

TEST(Levels, FillDrawsOpenGroundAndRockInside) {
    c_MyApp* app = level_app();
    generate(app, 777, 1);
    int open = 0, inside = 0;
    for (int c = 10; c <= 117; ++c) {
        for (int r = 10; r <= 117; ++r) {
            ++inside;
            open += field(app, c, r, kCellSolid) == 0;
        }
    }
    // Rand(-3, 9) is open ground for 4 of its 13 values.
    EXPECT_NEAR(static_cast<double>(open) / inside, 4.0 / 13.0, 0.03);
}

TEST(Levels, CentreAndTunnelsAreDugAndJoinTheCentre) {
    c_MyApp* app = level_app();
    for (int ms : {31, 4242, 90001}) {
        generate(app, ms, 1);
        std::vector<float> before = ground(app);
        app->p_GetLevB();
        std::vector<float> after = ground(app);
        // The dug set: the cells the diggers changed, and the centre block.
        std::vector<bool> dug(kGridSide * kGridSide, false), passable(dug);
        int outsideBlock = 0;
        for (int c = 0; c < kGridSide; ++c) {
            for (int r = 0; r < kGridSide; ++r) {
                int i = (c * kGridSide + r) * 2;
                bool inBlock = std::abs(c - kBaseC) <= 2 && std::abs(r - kBaseR) <= 2;
                bool changed = before[i] != after[i] || before[i + 1] != after[i + 1];
                if (inBlock) {
                    EXPECT_EQ(field(app, c, r, kCellValue), 0);
                    EXPECT_EQ(field(app, c, r, kCellSolid), 0);
                }
                if (changed) {
                    EXPECT_EQ(field(app, c, r, kCellValue), 0) << c << "," << r;
                    EXPECT_EQ(field(app, c, r, kCellSolid), 0) << c << "," << r;
                    outsideBlock += !inBlock;
                }
                // Diggers also pass through ground that was open already.
                bool open = field(app, c, r, kCellValue) == 0 && field(app, c, r, kCellSolid) == 0;
                passable[r * kGridSide + c] = inBlock || changed || open;
                dug[r * kGridSide + c] = inBlock || changed;
            }
        }
        EXPECT_GT(outsideBlock, 0) << "the diggers left the centre, clock " << ms;
        // Every dug cell is reached from the centre through dug cells.
        std::vector<int> front{kBaseR * kGridSide + kBaseC};
        std::vector<bool> seen(dug.size(), false);
        seen[front[0]] = true;
        while (!front.empty()) {
            int i = front.back();
            front.pop_back();
            for (int n : {i - 1, i + 1, i - kGridSide, i + kGridSide}) {
                if (n >= 0 && n < static_cast<int>(dug.size()) && passable[n] && !seen[n]) {
                    seen[n] = true;
                    front.push_back(n);
                }
            }
        }
        int cutOff = 0;
        for (size_t i = 0; i < dug.size(); ++i) cutOff += dug[i] && !seen[i];
        EXPECT_EQ(cutOff, 0) << "clock " << ms;
    }
}

TEST(Levels, LongDiggersStayInsideTheirClamp) {
    c_MyApp* app = level_app();
    app->m_digSteps = 2000;
    generate(app, 55, 1);
    std::vector<float> before = ground(app);
    app->p_GetLevB();
    std::vector<float> after = ground(app);
    app->m_digSteps = 16;
    int reachedClamp = 0;
    for (int c = 0; c < kGridSide; ++c) {
        for (int r = 0; r < kGridSide; ++r) {
            int i = (c * kGridSide + r) * 2;
            if (before[i] == after[i] && before[i + 1] == after[i + 1]) continue;
            EXPECT_TRUE(c >= 3 && c <= 124 && r >= 3 && r <= 124) << c << "," << r;
            reachedClamp += c <= 4 || c >= 123 || r <= 4 || r >= 123;
        }
    }
    EXPECT_GT(reachedClamp, 0);
}

TEST(Levels, BaseCellsAndTheirDistances) {
    c_MyApp* app = level_app();
    generate(app, 8080, 3);
    EXPECT_EQ(field(app, 64, 64, kCellValue), kCellBaseCentre);
    for (auto cell : {std::pair{63, 64}, {65, 64}, {63, 65}, {64, 65}, {65, 65}}) {
        EXPECT_EQ(field(app, cell.first, cell.second, kCellValue), kCellBaseSlot);
        EXPECT_EQ(field(app, cell.first, cell.second, kCellSolid), 0);
    }
    EXPECT_EQ(count_cells(app, kCellBaseSlot), 5);
    EXPECT_EQ(field(app, 64, 64, kCellBaseDistance), 1);
    EXPECT_EQ(field(app, 65, 64, kCellBaseDistance), 2);
    EXPECT_EQ(field(app, 65, 65, kCellBaseDistance), 3);
    EXPECT_EQ(field(app, 66, 66, kCellBaseDistance), 5);
    for (int c = 1; c < kGridSide - 1; ++c) {
        for (int r = 1; r < kGridSide - 1; ++r) {
            EXPECT_EQ(field(app, c, r, kCellBaseDistance), field(app, c, r, kCellDistance)) << c << "," << r;
        }
    }
}

// A long winding corridor from the base: the base distance counts its steps + 1 and stops
// after 256 steps.
TEST(Levels, BaseDistanceReachesTwoHundredFiftySixSteps) {
    c_MyApp* app = level_app();
    generate(app, 1, 1);
    for (int c = 0; c < kGridSide; ++c) {
        for (int r = 0; r < kGridSide; ++r) {
            field(app, c, r, kCellValue) = 5;
            field(app, c, r, kCellSolid) = 1;
            field(app, c, r, kCellBaseDistance) = 99;
        }
    }
    std::vector<std::pair<int, int>> path;
    for (int c = kBaseC; c <= 120; ++c) path.emplace_back(c, 64);
    path.emplace_back(120, 65);
    for (int c = 120; c >= 10; --c) path.emplace_back(c, 66);
    path.emplace_back(10, 67);
    for (int c = 10; c <= 120; ++c) path.emplace_back(c, 68);
    ASSERT_GT(path.size(), 258u);
    for (auto [c, r] : path) {
        field(app, c, r, kCellValue) = 0;
        field(app, c, r, kCellSolid) = 0;
    }
    app->p_GetLevC();
    for (size_t i = 0; i < path.size(); ++i) {
        float want = i <= 256 ? static_cast<float>(i + 1) : 0;
        EXPECT_EQ(field(app, path[i].first, path[i].second, kCellBaseDistance), want) << "step " << i;
    }
    EXPECT_EQ(field(app, 30, 30, kCellBaseDistance), 0) << "rock never gets a base distance";
    EXPECT_EQ(app->BuildDistanceField(kBaseC, kBaseR, 257), 257) << "the largest base distance";
}

struct CountCase {
    int level, difficulty, spawners;
};
const CountCase kCounts[] = {{1, 2, 10}, {2, 2, 12}, {1, 1, 5}, {1, 3, 15}, {4, 3, 21}};

TEST(Levels, FlagsAndSpawnersByDifficultyAndLevelFarFromTheBase) {
    c_MyApp* app = level_app();
    for (const CountCase& k : kCounts) {
        generate(app, 1000 + k.level * 10 + k.difficulty, 3, k.level, k.difficulty);
        EXPECT_EQ(count_cells(app, kCellFlagSpot), 5) << k.level << "/" << k.difficulty;
        EXPECT_EQ(count_cells(app, kCellSpawner), k.spawners) << k.level << "/" << k.difficulty;
        float threshold = app->m_vars[kVarBaseDistanceMax];
        EXPECT_GE(threshold, 6);
        for (int c = 0; c < kGridSide; ++c) {
            for (int r = 0; r < kGridSide; ++r) {
                float value = field(app, c, r, kCellValue);
                if (value != kCellFlagSpot && value != kCellSpawner) continue;
                EXPECT_GE(field(app, c, r, kCellBaseDistance), threshold) << c << "," << r;
                EXPECT_EQ(field(app, c, r, kCellSolid), 0);
                if (value == kCellSpawner) {
                    float timer = field(app, c, r, kCellSpawnTimer);
                    EXPECT_TRUE(timer >= 320 && timer <= 640 && timer == std::floor(timer)) << timer;
                }
            }
        }
    }
}

// With only the centre block open no cell lies six steps from the base; placement must still
// end, putting the items in the farthest free cells and dropping those that find no room (19
// free cells: 15 items on level 1 at difficulty 2 all fit, 24 on level 3 at difficulty 3 not).
TEST(Levels, PlacementEndsWhenNoCellIsFarEnough) {
    c_MyApp* app = level_app();
    struct Case { int level, difficulty, flags, spawners; };
    for (Case k : {Case{1, 2, 5, 10}, Case{3, 3, 5, 14}}) {
        generate(app, 3, 1, k.level, k.difficulty);
        for (int c = 0; c < kGridSide; ++c) {
            for (int r = 0; r < kGridSide; ++r) {
                bool inBlock = std::abs(c - kBaseC) <= 2 && std::abs(r - kBaseR) <= 2;
                field(app, c, r, kCellValue) = inBlock ? 0 : 4;
                field(app, c, r, kCellSolid) = inBlock ? 0 : 1;
            }
        }
        app->p_GetLevC();
        EXPECT_EQ(count_cells(app, kCellFlagSpot), k.flags);
        EXPECT_EQ(count_cells(app, kCellSpawner), k.spawners);
        for (auto corner : {std::pair{62, 62}, {66, 62}, {62, 66}, {66, 66}}) {
            EXPECT_NE(field(app, corner.first, corner.second, kCellValue), 0) << "the farthest cells go first";
        }
    }
}

TEST(Levels, FlagSpotsBecomeFlagsAndTheColumnStartsInTheBase) {
    c_MyApp* app = level_app();
    for (int slot = 0; slot < 510; ++slot) app->m_objects[slot * kRecordSize + kObjKind] = 3;
    for (int slot = 0; slot < 510; ++slot) app->m_bullets[slot * kRecordSize + kObjKind] = 21;
    app->m_vars[kVarSoldiers] = 1;
    app->m_vars[kVarFlagsCarried] = 3;
    app->m_vars[kVarDamage] = app->m_vars[kVarCompleteTimer] = app->m_vars[kVarNoSoldiersTime] = -2;
    app->m_introTimer = 0;
    generate(app, 6060, 3);
    EXPECT_EQ(app->m_vars[kVarLevel], 1);
    EXPECT_EQ(app->m_introTimer, 1);
    EXPECT_EQ(app->m_vars[kVarSoldiers], 4);
    EXPECT_EQ(app->m_vars[kVarFlagsCarried], 0);
    for (int v : {kVarDamage, kVarCompleteTimer, kVarNoSoldiersTime}) EXPECT_EQ(app->m_vars[v], 0) << v;
    EXPECT_EQ(app->m_objects[kSlotsInUse * kRecordSize + kObjKind], 3) << "slots past 100 are left alone";
    EXPECT_EQ(app->m_bullets[100 * kRecordSize + kObjKind], 0);
    EXPECT_EQ(app->m_bullets[kSlotsInUse * kRecordSize + kObjKind], 21);

    std::vector<std::pair<int, int>> spots;
    for (int c = 0; c < kGridSide; ++c) {
        for (int r = 0; r < kGridSide; ++r) {
            if (field(app, c, r, kCellValue) == kCellFlagSpot) spots.emplace_back(c, r);
        }
    }
    app->p_GetLevD();
    EXPECT_EQ(count_cells(app, kCellFlagSpot), 0);
    std::vector<int> flags = flag_slots(app);
    ASSERT_EQ(flags, (std::vector<int>{0, 1, 2, 3, 4}));
    for (size_t i = 0; i < spots.size(); ++i) {
        const float* flag = &app->m_objects[flags[i] * kRecordSize];
        EXPECT_EQ(flag[kObjX], 62.0f * spots[i].first);
        EXPECT_EQ(flag[kObjY], 52.0f * spots[i].second);
        EXPECT_TRUE(flag[kObjPhase] >= 0 && flag[kObjPhase] < 6);
        EXPECT_EQ(field(app, spots[i].first, spots[i].second, kCellValue), 0);
    }

    EXPECT_EQ(app->m_vars[kVarPlayerX], 3983.5f);
    EXPECT_EQ(app->m_vars[kVarPlayerY], 3360.0f);
    EXPECT_EQ(cell_column(app->m_vars[kVarPlayerX]), 64);
    EXPECT_EQ(cell_row(app->m_vars[kVarPlayerY]), 65);
    EXPECT_EQ(field(app, 64, 65, kCellValue), kCellBaseSlot) << "the column starts on an empty base slot";
    EXPECT_EQ(app->m_camX, 3983.5f - kv_Tol_jscrw * 0.5f);
    EXPECT_EQ(app->m_camY, 3360.0f - kv_Tol_jscrh * 0.5f);
    EXPECT_EQ(app->m_camTargetX, app->m_camX);
    EXPECT_EQ(app->m_camTargetY, app->m_camY);
    for (int i : {0, 1, 12, 99}) {
        EXPECT_EQ(app->m_vars[kVarTrailX + i], 3983.5f - i);
        EXPECT_EQ(app->m_vars[kVarTrailY + i], 3360.0f);
        EXPECT_EQ(app->m_vars[kVarTrailFacing + i], 1);
    }
}

TEST(Levels, LevelNumberRisesWithEveryNewLevel) {
    c_MyApp* app = level_app();
    app->m_vars[kVarLevel] = 0;
    for (int want = 1; want <= 3; ++want) {
        app->p_GetLevelA();
        EXPECT_EQ(app->m_vars[kVarLevel], want);
    }
}

TEST(Levels, FlagSpotWithoutAFreeSlotIsCleared) {
    c_MyApp* app = level_app();
    generate(app, 4444, 3);
    for (int slot = 0; slot < kSlotsInUse; ++slot) app->m_objects[slot * kRecordSize + kObjKind] = 3;
    app->p_GetLevD();
    EXPECT_EQ(count_cells(app, kCellFlagSpot), 0);
    EXPECT_TRUE(flag_slots(app).empty());
}

// The level intro in the running game: the three later steps come on intro frames 5, 10 and
// 15 and leave the same level as the four steps run back to back.
TEST(Levels, IntroBuildsTheWholeLevelInFrameOrder) {
    TestHost& host = TestHost::Start();
    host.FinishLoading();
    c_MyApp* game = host.app;
    game->m_difficulty = 2;
    game->m_vars[kVarLevel] = 0;
    game->m_gameState = kStatePlay;
    const int clock = host.clockMs;
    game->p_GetLevelA();
    game->m_introTimer = 1;
    std::vector<float> filled = level_snapshot(game);
    host.Frames(3);
    EXPECT_TRUE(level_snapshot(game) == filled) << "nothing is dug before intro frame 5";
    host.Frames(17);
    EXPECT_EQ(game->m_introTimer, 21);
    EXPECT_EQ(count_cells(game, kCellFlagSpot), 0);
    EXPECT_EQ(flag_slots(game).size(), 5u);
    EXPECT_EQ(count_cells(game, kCellSpawner), 10);
    EXPECT_EQ(field(game, 64, 64, kCellValue), kCellBaseCentre);
    EXPECT_EQ(count_cells(game, kCellBaseSlot), 5);
    EXPECT_EQ(game->m_vars[kVarPlayerX], 3983.5f);
    EXPECT_EQ(game->m_vars[kVarPlayerY], 3360.0f);

    c_MyApp* direct = level_app();
    generate(direct, clock);
    EXPECT_TRUE(level_snapshot(game) == level_snapshot(direct));
}

}  // namespace
