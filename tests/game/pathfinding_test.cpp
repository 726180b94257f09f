// The distance field on small hand-drawn caves (steps, walls, the reach limit, the outer ring,
// sealed pockets), its agreement with the growing-square sweep on generated caves, and the
// enemies' step choice with the draws it spends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/random.h"
#include "test_host.h"

namespace {

constexpr float kStale = 7;  // a distance left over from an earlier flood


float& field(c_MyApp* app, int c, int r, int f) { return app->m_grid[cell_index(c, r) + f]; }

// Every cell rock, every distance stale, then the map's cells at (left, top): '#' rock,
// '.' open ground, 'O' the origin on open ground, '@' the origin inside rock.
void draw_cave(c_MyApp* app, int left, int top, const std::vector<std::string>& map, int* originC, int* originR) {
    for (int r = 0; r < kGridSide; ++r) {
        for (int c = 0; c < kGridStride; ++c) {
            field(app, c, r, kCellValue) = 1;
            field(app, c, r, kCellSolid) = 1;
            field(app, c, r, kCellDistance) = kStale;
        }
    }
    for (int y = 0; y < static_cast<int>(map.size()); ++y) {
        for (int x = 0; x < static_cast<int>(map[y].size()); ++x) {
            char ch = map[y][x];
            bool open = ch == '.' || ch == 'O';
            field(app, left + x, top + y, kCellValue) = open ? 0 : 1;
            field(app, left + x, top + y, kCellSolid) = open ? 0 : 1;
            if (ch == 'O' || ch == '@') {
                *originC = left + x;
                *originR = top + y;
            }
        }
    }
}

// '-' for 0, '1'..'9', then 'a' for 10 onwards.
char distance_char(float d) {
    int n = static_cast<int>(d);
    if (n == 0) return '-';
    return n < 10 ? static_cast<char>('0' + n) : static_cast<char>('a' + n - 10);
}

struct FieldCase {
    const char* name;
    int left, top, passes;
    std::vector<std::string> map;
    std::vector<std::string> want;
};

const FieldCase kFields[] = {
    {"CorridorCountsStepsPlusOne", 60, 60, kPlayFloodPasses,
     {"#######",
      "#O....#",
      "#######"},
     {"-------",
      "-12345-",
      "-------"}},
    {"WallsForceTheWayRound", 60, 60, kPlayFloodPasses,
     {"#######",
      "#O#...#",
      "#.#.#.#",
      "#...#.#",
      "#######"},
     {"-------",
      "-1-789-",
      "-2-6-a-",
      "-345-b-",
      "-------"}},
    {"PassesLimitTheReach", 60, 60, 3,
     {"#########",
      "#O.......",
      "#########"},
     {"---------",
      "-123-----",
      "---------"}},
    {"DiagonalGapIsNotCrossed", 60, 60, kPlayFloodPasses,
     {"#####",
      "#O###",
      "##..#",
      "#####"},
     {"-----",
      "-1---",
      "-----",
      "-----"}},
    {"SealedPocketStaysUnreached", 60, 60, kPlayFloodPasses,
     {"#########",
      "#O..#..##",
      "#...#..##",
      "#########"},
     {"---------",
      "-123-----",
      "-234-----",
      "---------"}},
    {"OriginInsideRockStillLeads", 60, 60, kPlayFloodPasses,
     {"#####",
      "#.@.#",
      "#####"},
     {"-----",
      "-212-",
      "-----"}},
    {"OuterRingIsNeverNumbered", 0, 0, kPlayFloodPasses,
     {"......",
      ".O....",
      "......"},
     {"------",
      "-12345",
      "-23456"}},
    {"NoPassesLeaveOnlyTheClearedField", 60, 60, 0,
     {"####",
      "#O.#",
      "####"},
     {"----",
      "----",
      "----"}},
};

class DistanceField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(DistanceField, NumbersCellsByStepsFromTheOrigin) {
    const FieldCase& k = GetParam();
    c_MyApp* app = bare_app();
    int c0 = -1, r0 = -1;
    draw_cave(app, k.left, k.top, k.map, &c0, &r0);
    app->BuildDistanceField(c0, r0, k.passes);
    for (int y = 0; y < static_cast<int>(k.want.size()); ++y) {
        std::string got;
        for (int x = 0; x < static_cast<int>(k.want[y].size()); ++x) {
            got += distance_char(field(app, k.left + x, k.top + y, kCellDistance));
        }
        EXPECT_EQ(got, k.want[y]) << "row " << y;
    }
    EXPECT_EQ(field(app, 30, 30, kCellDistance), 0) << "stale distances elsewhere are cleared";
    EXPECT_EQ(field(app, kGridSide + 5, 30, kCellDistance), kStale) << "columns beyond the grid stay untouched";
}

INSTANTIATE_TEST_SUITE_P(Caves, DistanceField, ::testing::ValuesIn(kFields),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DistanceFieldLimits, ReturnsTheLargestDistanceReached) {
    c_MyApp* app = bare_app();
    int c0 = -1, r0 = -1;
    draw_cave(app, 60, 60, {"#O......"}, &c0, &r0);
    EXPECT_EQ(app->BuildDistanceField(c0, r0, kPlayFloodPasses), 7);
    EXPECT_EQ(app->BuildDistanceField(c0, r0, 4), 4);
}

TEST(DistanceFieldLimits, PlayFieldStopsAfterTwentyFiveSteps) {
    c_MyApp* app = bare_app();
    int c0 = -1, r0 = -1;
    draw_cave(app, 20, 60, {"O" + std::string(40, '.')}, &c0, &r0);
    app->BuildDistanceField(c0, r0, kPlayFloodPasses);
    EXPECT_EQ(field(app, 20 + 25, 60, kCellDistance), 26);
    EXPECT_EQ(field(app, 20 + 26, 60, kCellDistance), 0);
}

TEST(DistanceFieldLimits, OriginOutsideTheGridChangesNothing) {
    c_MyApp* app = bare_app();
    int c0 = -1, r0 = -1;
    draw_cave(app, 60, 60, {"O.."}, &c0, &r0);
    for (auto origin : {std::pair{-1, 60}, {kGridSide, 60}, {60, -1}, {60, kGridSide}, {-500, -500}}) {
        EXPECT_EQ(app->BuildDistanceField(origin.first, origin.second, kPlayFloodPasses), 0);
        EXPECT_EQ(field(app, 60, 60, kCellDistance), kStale);
        EXPECT_EQ(field(app, 0, 0, kCellDistance), kStale);
    }
}

// The field as a sweep over growing squares defines it: on pass d every cell of the square of
// half-width d around the origin, inside the outer ring, open and still unnumbered, takes d + 1
// when a neighbour holds d; the origin takes 1 on pass 0.
std::vector<float> swept_field(c_MyApp* app, int c0, int r0, int passes) {
    std::vector<float> d(kGridSide * kGridSide, 0);
    auto at = [&](int c, int r) -> float& { return d[r * kGridSide + c]; };
    for (int pass = 0; pass < passes; ++pass) {
        for (int c = c0 - pass; c <= c0 + pass; ++c) {
            for (int r = r0 - pass; r <= r0 + pass; ++r) {
                if (pass == 0) at(c, r) = 1;
                if (c < 1 || c > 126 || r < 1 || r > 126) continue;
                if (field(app, c, r, kCellSolid) != 0 || at(c, r) != 0) continue;
                if (at(c, r - 1) == pass || at(c, r + 1) == pass || at(c + 1, r) == pass || at(c - 1, r) == pass) {
                    at(c, r) = static_cast<float>(pass + 1);
                }
            }
        }
    }
    return d;
}

TEST(DistanceFieldLimits, MatchesTheGrowingSquareSweepOnGeneratedCaves) {
    TestHost& host = TestHost::Start();
    c_MyApp* app = bare_app();
    struct Origin { int c, r, passes; };
    for (int clock : {1000, 424242}) {
        host.clockMs = clock;
        app->p_GetLevelA();
        app->p_GetLevB();
        for (Origin o : {Origin{64, 65, kPlayFloodPasses}, Origin{64, 64, 257}, Origin{40, 90, kPlayFloodPasses}}) {
            std::vector<float> want = swept_field(app, o.c, o.r, o.passes);
            app->BuildDistanceField(o.c, o.r, o.passes);
            int differences = 0;
            for (int r = 0; r < kGridSide; ++r) {
                for (int c = 0; c < kGridSide; ++c) {
                    if (field(app, c, r, kCellDistance) != want[r * kGridSide + c]) ++differences;
                }
            }
            EXPECT_EQ(differences, 0) << "clock " << clock << " origin " << o.c << "," << o.r;
        }
    }
}

// Draws spent since the generator stood at `before`.
int draws_since(uint32_t before) {
    int n = 0;
    for (uint32_t s = before; s != kv_random_Seed && n < 100; s = kv_random_Next(s)) ++n;
    return n;
}

// A seed whose next draws fall below 0.1 (a chosen neighbour) exactly where `picks` says.
uint32_t seed_with_draws(const std::vector<bool>& picks) {
    for (uint32_t seed = 1;; ++seed) {
        kv_random_Seed = seed;
        bool fits = true;
        for (bool pick : picks) fits = fits && ((kv_random_Rnd() * 20 < 2) == pick);
        if (fits) return seed;
    }
}

struct StepCase {
    const char* name;
    // Distances of the enemy's cell and of its left, right, up and down neighbours; -1 = rock.
    float own, left, right, up, down;
    float standOff;
    std::vector<bool> picks;  // the draws' outcomes, one per qualifying neighbour tested
    int wantDirection;        // 0 none, 1 left, 2 right, 3 up, 4 down
    int wantDraws;
};

const StepCase kSteps[] = {
    {"FartherNeighboursDoNotQualify", 5, 6, 6, 7, 0, 0, {}, 0, 1},
    {"RockDoesNotQualify", 5, -1, -1, -1, -1, 0, {}, 0, 1},
    {"EqualDistanceQualifies", 5, 5, 6, 6, 6, 0, {true}, 1, 2},
    {"StandOffKeepsTheEnemyBack", 5, 3, 4, 3, 2, 3.5f, {true}, 2, 2},
    {"SecondQualifierTakenWhenTheFirstDrawFails", 5, 6, 4, 4, 6, 0, {false, true}, 3, 3},
    {"NoChoiceWhenEveryDrawFails", 5, 4, 4, 4, 4, 0, {false, false, false, false}, 0, 5},
    {"OutsideTheFieldNothingQualifies", 0, 0, 0, 0, 0, 0, {}, 0, 1},
};

class EnemyStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(EnemyStep, ChoosesACloserNeighbourWithTheDrawsItSpends) {
    const StepCase& k = GetParam();
    c_MyApp* app = bare_app();
    int c0 = -1, r0 = -1;
    draw_cave(app, 60, 60, {"#.#", "...", "#.#"}, &c0, &r0);
    const int c = 61, r = 61;
    const float around[5][3] = {{0, 0, k.own}, {-1, 0, k.left}, {1, 0, k.right}, {0, -1, k.up}, {0, 1, k.down}};
    for (const auto& a : around) {
        int nc = c + static_cast<int>(a[0]), nr = r + static_cast<int>(a[1]);
        bool rock = a[2] < 0;
        field(app, nc, nr, kCellSolid) = rock ? 1 : 0;
        field(app, nc, nr, kCellDistance) = rock ? 0 : a[2];
    }
    uint32_t seed = seed_with_draws(k.picks);
    kv_random_Seed = seed;
    int stepC = -1, stepR = -1;
    bool chosen = app->ChooseEnemyStep(c, r, k.standOff, &stepC, &stepR);
    EXPECT_EQ(draws_since(seed), k.wantDraws);
    ASSERT_EQ(chosen, k.wantDirection != 0);
    if (chosen) {
        const int want[5][2] = {{0, 0}, {c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
        EXPECT_EQ(stepC, want[k.wantDirection][0]);
        EXPECT_EQ(stepR, want[k.wantDirection][1]);
    }
}

INSTANTIATE_TEST_SUITE_P(Neighbours, EnemyStep, ::testing::ValuesIn(kSteps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EnemyStepLimits, NoStepAndNoDrawOnTheOuterRing) {
    c_MyApp* app = bare_app();
    kv_random_Seed = 99;
    int stepC = -1, stepR = -1;
    EXPECT_FALSE(app->ChooseEnemyStep(0, 50, 0, &stepC, &stepR));
    EXPECT_FALSE(app->ChooseEnemyStep(50, kGridSide - 1, 0, &stepC, &stepR));
    EXPECT_EQ(kv_random_Seed, 99u);
}

}  // namespace
