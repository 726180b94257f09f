// The highscore tables and badges: a finished game's entry into its difficulty's top ten and
// recent list, the save on the way back to the menu, the rank words, the badge catalogue, and
// the badge banners' slide, stacking and lifetime.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/globals.h"
#include "test_host.h"

namespace {

// Sets every score entry apart by a marker, so a write outside the expected tables shows.
void mark_scores(c_MyApp* app) {
    for (int i = 0; i < kScoresCount; ++i) app->m_scores[i] = -1000 - i;
}

// A bare app object, not the running one.
c_MyApp* score_app() {
    TestHost::Start();
    c_MyApp* app = new c_MyApp;
    mark_scores(app);
    return app;
}

std::vector<int> table(const c_MyApp* app, int start) {
    std::vector<int> out;
    for (int i = 0; i < 10; ++i) out.push_back(app->m_scores[start + i]);
    return out;
}

void fill(c_MyApp* app, int start, const std::vector<int>& values) {
    for (int i = 0; i < 10; ++i) app->m_scores[start + i] = values[i];
}

using Ten = std::vector<int>;
const Ten kZeros = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const Ten kRecent = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
const Ten kTop = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};

struct EntryCase {
    const char* what;
    int difficulty;
    Ten top;
    int score;
    Ten wantTop;
};
const EntryCase kEntries[] = {
    {"first game on an empty table", 2, kZeros, 500, {500, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"a score of 0 makes no place", 2, kZeros, 0, kZeros},
    {"a tie goes below the earlier score", 2, kTop, 500, {900, 800, 700, 600, 500, 500, 400, 300, 200, 100}},
    {"exactly the best goes second", 1, kTop, 900, {900, 900, 800, 700, 600, 500, 400, 300, 200, 100}},
    {"a new best pushes the last out", 3, kTop, 1000, {1000, 900, 800, 700, 600, 500, 400, 300, 200, 100}},
    {"below every entry", 3, kTop, 10, kTop},
    {"between the last two", 1, kTop, 75, {900, 800, 700, 600, 500, 400, 300, 200, 100, 75}},
};

TEST(HighscoreTables, FinishedGameEntersItsDifficultysTables) {
    c_MyApp* app = score_app();
    for (const EntryCase& c : kEntries) {
        mark_scores(app);
        const int top = 10 * (c.difficulty - 1);
        fill(app, top, c.top);
        fill(app, 30 + top, kRecent);
        app->m_difficulty = c.difficulty;
        app->m_score = c.score;
        std::vector<int> before(&app->m_scores[0], &app->m_scores[0] + kScoresCount);
        app->p_LoadMenu();

        EXPECT_EQ(table(app, top), c.wantTop) << c.what;
        Ten recent = {c.score, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        EXPECT_EQ(table(app, 30 + top), recent) << c.what << ": newest first, oldest dropped";
        for (int i = 0; i < kScoresCount; ++i) {
            bool mine = (i >= top && i < top + 10) || (i >= 30 + top && i < 40 + top);
            if (!mine) {
                EXPECT_EQ(app->m_scores[i], before[i]) << c.what << ": entry " << i;
            }
        }
    }
}

TEST(HighscoreTables, DifficultyOutsideTheTablesRecordsNothingButStillSaves) {
    TestHost& host = TestHost::Start();
    c_MyApp* app = score_app();
    std::vector<int> before(&app->m_scores[0], &app->m_scores[0] + kScoresCount);
    int saves = host.saves;
    for (int difficulty : {0, 4, -1}) {
        app->m_difficulty = difficulty;
        app->m_score = 500;
        app->p_LoadMenu();
        EXPECT_EQ(std::vector<int>(&app->m_scores[0], &app->m_scores[0] + kScoresCount), before) << difficulty;
        EXPECT_EQ(text_of(app->p_MyNth()), "") << difficulty;
        EXPECT_EQ(app->m_n, 0) << difficulty;
    }
    EXPECT_EQ(host.saves, saves + 3);
}

TEST(HighscoreTables, ReturnToTheMenuRecordsTheGameAndSaves) {
    TestHost& host = TestHost::Start();
    c_MyApp* app = host.app;
    host.FinishLoading();
    for (int i = 0; i < kScoresCount; ++i) app->m_scores[i] = 0;
    app->m_scores[10] = 2000;
    app->m_menuRow = 1;  // the menu keeps the difficulty on Normal
    app->m_difficulty = 2;
    app->m_score = 1234;
    app->p_AwardBadge(5);
    int saves = host.saves;
    app->m_gameState = kStateReturnToMenu;
    host.Frame();

    EXPECT_EQ(app->m_gameState, kStateMenu);
    EXPECT_EQ(host.saves, saves + 1);
    EXPECT_EQ(app->m_scores[11], 1234);
    EXPECT_EQ(app->m_scores[40], 1234);
    std::string saved = text_of(host.savedState);
    std::vector<std::string> fields;
    for (size_t start = 0, bar; (bar = saved.find('|', start)) != std::string::npos; start = bar + 1) {
        fields.push_back(saved.substr(start, bar - start));
    }
    ASSERT_EQ(fields.size(), 203u);
    EXPECT_EQ(fields[26], "32") << "badge 5 is bit 5 of the first badge word";
    // Normal's table: ten (top, recent) pairs after Easy's 21 fields.
    EXPECT_EQ(fields[35 + 21 + 0], "2000");
    EXPECT_EQ(fields[35 + 21 + 1], "1234");
    EXPECT_EQ(fields[35 + 21 + 2], "1234");
    EXPECT_EQ(fields[35 + 21 + 3], "0");
}

struct NthCase {
    int n;
    const char* word;
};
const NthCase kNths[] = {
    {0, ""},      {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},   {10, "10th"}, {11, "11th"},
    {12, "12th"}, {13, "13th"}, {20, "20th"}, {21, "21st"}, {22, "22nd"}, {23, "23rd"}, {24, "24th"},
    {30, "30th"}, {31, ""},     {-1, ""},
};

TEST(RankWords, OrdinalsFromOneToThirty) {
    c_MyApp* app = score_app();
    for (const NthCase& c : kNths) EXPECT_EQ(text_of(app->p_Nth(c.n)), c.word) << c.n;
}

struct RankCase {
    int score;
    const char* word;
    int rank;
};
const RankCase kRanks[] = {
    {1000, "1st!", 1}, {900, "1st!", 1}, {850, "2nd", 2}, {800, "2nd", 2},
    {450, "6th", 6},   {50, "10th", 10}, {49, "", 0},
};

TEST(RankWords, RankOfTheScoreInTheCurrentTable) {
    c_MyApp* app = score_app();
    fill(app, 10, kTop);
    app->m_difficulty = 2;
    for (const RankCase& c : kRanks) {
        app->m_score = c.score;
        app->m_n = -7;
        EXPECT_EQ(text_of(app->p_MyNth()), c.word) << c.score;
        EXPECT_EQ(app->m_n, c.rank) << c.score;
    }
}

TEST(Badges, CatalogueNamesAndDetails) {
    c_MyApp* app = score_app();
    EXPECT_EQ(text_of(app->p_BadgeName(0)), "Test Badge");
    EXPECT_EQ(text_of(app->p_BadgeDetail(0)), "This is a Test Badge which has no purpose.");
    EXPECT_EQ(text_of(app->p_BadgeName(7)), "Odd Badge");
    EXPECT_EQ(text_of(app->p_BadgeDetail(7)), "This badge hasn't been defined!");
    EXPECT_EQ(text_of(app->p_BadgeName(255)), "Odd Badge");
}

// A bare app with the game's font metrics, drawing one frame of banners at a time.
c_MyApp* banner_app() {
    c_MyApp* app = score_app();
    app->m_font = kImgFont;
    app->m_imageInfo[3 * kImgFont] = 7;
    app->m_imageInfo[3 * kImgFont + 1] = 10;
    kv_Tol_jscrh = 480;
    return app;
}

struct Banner {
    float x, y;
};
// The banner boxes drawn by one frame, in slot order.
std::vector<Banner> banners(c_MyApp* app) {
    app->p_CLS2D(0, 0, 0, 1);
    app->p_ShowBadges();
    std::vector<Banner> out;
    for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
        const float* r = &app->m_drawList[k];
        if (r[kDrawKind] == kDrawRect) out.push_back({r[kDrawX], r[kDrawY]});
    }
    return out;
}

TEST(Badges, BannerSlidesInRestsAndSlidesOutOver240Frames) {
    c_MyApp* app = banner_app();
    EXPECT_EQ(app->p_AwardBadge(5), 1);
    EXPECT_TRUE(app->m_badgeFlags[5]);
    EXPECT_EQ(app->m_badgeTimers[0], 1);
    EXPECT_EQ(app->m_badgeIds[0], 5);

    // Frame f of the banner's life draws it at these x positions.
    const struct {
        int frame;
        float x;
    } path[] = {{1, -128}, {2, -112}, {9, 0}, {10, 0}, {120, 0}, {229, 0}, {230, -16}, {239, -160}, {240, -176}};
    int frame = 0;
    for (const auto& at : path) {
        std::vector<Banner> drawn;
        while (frame < at.frame) {
            drawn = banners(app);
            ++frame;
        }
        ASSERT_EQ(drawn.size(), 1u) << "frame " << at.frame;
        EXPECT_EQ(drawn[0].x, at.x) << "frame " << at.frame;
        EXPECT_EQ(drawn[0].y, 480 - 34) << "slot 0 sits at the bottom";
    }
    EXPECT_EQ(app->m_badgeTimers[0], 0) << "idle after 240 frames";
    EXPECT_TRUE(banners(app).empty());
    EXPECT_TRUE(app->m_badgeFlags[5]) << "the badge stays earned";
}

TEST(Badges, BannerShowsNameAndIconForTheFirst64) {
    c_MyApp* app = banner_app();
    app->p_AwardBadge(0);
    app->p_AwardBadge(100);
    app->p_CLS2D(0, 0, 0, 1);
    app->p_ShowBadges();
    std::string names;
    std::vector<int> icons;
    for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
        const float* r = &app->m_drawList[k];
        if (r[kDrawKind] == float(kImgFont)) names += char(r[kDrawFrame] + 32);
        if (r[kDrawKind] == float(kImgBadges)) {
            icons.push_back(int(r[kDrawFrame]));
            EXPECT_EQ(r[kDrawSizeX], 0.5f);
        }
    }
    EXPECT_EQ(names, "TestBadgeOddBadge");
    EXPECT_EQ(icons, std::vector<int>{0}) << "badge 100 has no icon";
}

TEST(Badges, EarnedOnceAndStackedInThirteenShownSlots) {
    c_MyApp* app = banner_app();
    EXPECT_EQ(app->p_AwardBadge(3), 1);
    EXPECT_EQ(app->p_AwardBadge(3), 0) << "a badge is earned once";
    EXPECT_EQ(app->p_AwardBadge(-1), 0);
    EXPECT_EQ(app->p_AwardBadge(kBadgeCount), 0);
    for (int n = 10; n < 22; ++n) app->p_AwardBadge(n);
    for (int k = 0; k < 13; ++k) EXPECT_EQ(app->m_badgeTimers[k], 1) << "slot " << k;
    EXPECT_EQ(app->p_AwardBadge(40), 1);
    EXPECT_TRUE(app->m_badgeFlags[40]) << "earned even with no room for its banner";
    EXPECT_EQ(app->m_badgeTimers[13], 0);
    EXPECT_EQ(app->m_badgeTimers[14], 0);

    std::vector<Banner> drawn = banners(app);
    ASSERT_EQ(drawn.size(), 13u);
    for (int k = 0; k < 13; ++k) EXPECT_EQ(drawn[k].y, 480 - 34 * (k + 1)) << "slot " << k;
}

}  // namespace
