// The main menu driven through the running game: the highscore panel's rows for the screen
// height, focus and row moves by key, starting a game by key and by pointer, drags that do not
// click, the credits, the console's extra quit row; and the hit tests behind every button.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "game/globals.h"
#include "host/input.h"
#include "test_host.h"

namespace {

constexpr int kKeyEnter = 13, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
constexpr int kJoyButtonA = 256;
constexpr float kDegrees = 0.0174532924f;

class Menu : public ::testing::Test {
protected:
    void SetUp() override {
        host = &TestHost::Start();
        app = host->app;
        host->FinishLoading();
        host->Render();  // fits the screen, so pointer positions map one to one
        kv_Tol_isOuya = 0;
        kv_Tol_jscrw = 640;
        kv_Tol_jscrh = 480;
        app->m_gameState = kStateMenu;
        app->m_menuFocus = 1;
        app->m_menuRow = 1;
        app->m_menuTarget = app->m_menuScroll = -32;
        app->m_menuVel = 0;
        app->m_menuIntro = 0;
        app->m_sidePanelOpen = app->m_optionsOpen = app->m_optionsRequest = 0;
        app->m_sidePanelX = 0;
        app->m_keyLatch = 0;
        app->m_inputMode = 0;
        host->Frame();
    }
    void TearDown() override {
        host->ReleaseKeys();
        kv_Tol_isOuya = 0;
        kv_Tol_jscrh = 480;
        app->m_gameState = kStateMenu;
        host->Frame();
    }
    // One press and release, a frame each.
    void Tap(int key) {
        host->KeyDown(key);
        host->Frame();
        host->KeyUp(key);
        host->Frame();
    }
    // Where the wheel shows row r: the angle and the bulge of the menu's layout.
    void RowCentre(int r, float& x, float& y) const {
        float a = 32.0f * r + 48 + app->m_menuScroll;
        float off = std::fabs(a - 45);
        float radius = 116 + (off <= 45 ? 1.5f * (45 - off) : 0);
        x = 38 + std::sin(a * kDegrees) * radius;
        y = kv_Tol_jscrh - 64 - std::cos(a * kDegrees) * radius;
    }
    // Runs frames until one leaves the menu (a started game lasts a frame before it returns while
    // play is not built); gives the number of frames that stayed.
    int FramesInMenu(int count) {
        for (int frame = 0; frame < count; ++frame) {
            host->Frame();
            if (app->m_gameState != kStateMenu) return frame;
        }
        return count;
    }
    bool Drawn(int slot, int frame) const {
        for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
            if (app->m_drawList[k + kDrawKind] == float(slot) && app->m_drawList[k + kDrawFrame] == float(frame)) {
                return true;
            }
        }
        return false;
    }
    TestHost* host = nullptr;
    c_MyApp* app = nullptr;
};

// The characters drawn in the font with one ink, in drawing order (spaces draw nothing).
std::string drawn_text(const c_MyApp* app, float r, float g, float b) {
    std::string out;
    for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
        const float* record = &app->m_drawList[k];
        if (record[kDrawKind] == float(kImgFont) && record[kDrawInkR] == r && record[kDrawInkG] == g &&
            record[kDrawInkB] == b) {
            out += char(record[kDrawFrame] + 32);
        }
    }
    return out;
}

struct ScoreRowsCase {
    float screenH;
    int rows;
    const char* topTitle;
    const char* lastTitle;
};
// rows = floor((h - 90 - h / 2) / (1.5 * 10)), kept within 1..10.
const ScoreRowsCase kScoreRows[] = {
    {480, 10, "Top10", "Last10"}, {1000, 10, "Top10", "Last10"}, {330, 5, "Top5", "Last5"},
    {210, 1, "Highscore", "Last"}, {180, 1, "Highscore", "Last"}, {100, 1, "Highscore", "Last"},
};

TEST_F(Menu, HighscorePanelShowsTheRowsThatFitTheScreen) {
    ASSERT_EQ(app->m_imageInfo[3 * app->m_font + 1], 10) << "the font's line height";
    for (int i = 0; i < 10; ++i) {
        app->m_scores[i] = 111;  // Easy must not show
        app->m_scores[10 + i] = 900 - 10 * i;
        app->m_scores[40 + i] = 50 + i;
    }
    for (const ScoreRowsCase& c : kScoreRows) {
        kv_Tol_jscrh = c.screenH;
        host->Frame();
        EXPECT_EQ(app->m_scoreRows, c.rows) << c.screenH;
        std::string top = c.topTitle, last = c.lastTitle;
        for (int i = 0; i < c.rows; ++i) {
            top += std::to_string(900 - 10 * i);
            last += std::to_string(50 + i);
        }
        EXPECT_EQ(drawn_text(app, 255, 200, 100), top) << c.screenH;
        EXPECT_EQ(drawn_text(app, 200, 255, 100), last) << c.screenH;
    }
    for (int i = 0; i < kScoresCount; ++i) app->m_scores[i] = 0;
}

struct FocusCase {
    int focus, key, wantFocus;
    bool sound;
};
const FocusCase kFocusMoves[] = {
    {1, kKeyLeft, 0, true}, {1, kKeyRight, 2, true}, {0, kKeyRight, 1, true},
    {0, kKeyLeft, 0, false}, {2, kKeyRight, 2, false},
};

TEST_F(Menu, LeftAndRightMoveTheFocusAndStopSilentlyAtTheEnds) {
    ASSERT_NE(app->m_sounds[99], nullptr);
    for (const FocusCase& c : kFocusMoves) {
        app->m_menuFocus = c.focus;
        int channel = app->m_sfxChannel;
        Tap(c.key);
        EXPECT_EQ(app->m_menuFocus, c.wantFocus) << c.focus << " key " << c.key;
        EXPECT_EQ(app->m_sfxChannel != channel, c.sound) << c.focus << " key " << c.key;
    }
}

TEST_F(Menu, UpAndDownMoveTheWheelRowWithinEasyToHard) {
    const struct {
        int key, row;
    } steps[] = {{kKeyDown, 2}, {kKeyDown, 2}, {kKeyUp, 1}, {kKeyUp, 0}, {kKeyUp, 0}, {kKeyDown, 1}};
    for (const auto& step : steps) {
        Tap(step.key);
        EXPECT_EQ(app->m_menuRow, step.row);
        EXPECT_EQ(app->m_menuTarget, -32.0f * step.row);
        EXPECT_EQ(app->m_difficulty, step.row + 1);
    }
}

TEST_F(Menu, HeldDirectionRepeatsFasterAndFaster) {
    app->m_menuRow = 0;
    app->m_menuTarget = app->m_menuScroll = 0;
    host->KeyDown(kKeyDown);
    int frames[2] = {0, 0};
    for (int move = 0; move < 2; ++move) {
        int row = app->m_menuRow;
        while (app->m_menuRow == row && frames[move] < 100) {
            host->Frame();
            ++frames[move];
        }
    }
    host->KeyUp(kKeyDown);
    EXPECT_EQ(app->m_menuRow, 2);
    EXPECT_EQ(frames[0], 1) << "the press moves at once";
    EXPECT_EQ(frames[1], 28) << "the first repeat waits 27 frames";
}

TEST_F(Menu, RowAboveEasyIsUnreachableAndHiddenOnDesktops) {
    app->m_menuRow = 0;
    Tap(kKeyUp);
    EXPECT_EQ(app->m_menuRow, 0);
    EXPECT_FALSE(Drawn(kImgIcons, 1)) << "the quit row";
    EXPECT_TRUE(Drawn(kImgButtons, 0)) << "the Easy emblem";
}

TEST_F(Menu, ConsoleReachesTheQuitRowWithoutADescription) {
    kv_Tol_isOuya = 1;
    app->m_menuRow = 0;
    Tap(kKeyUp);
    EXPECT_EQ(app->m_menuRow, -1);
    EXPECT_EQ(app->m_difficulty, 1);
    EXPECT_TRUE(Drawn(kImgIcons, 1)) << "the quit row";
    EXPECT_GE(app->m_menuDesc, 1);
    EXPECT_LE(app->m_menuDesc, 5);
    Tap(kKeyDown);
    EXPECT_EQ(app->m_menuRow, 0);
}

struct StartCase {
    const char* how;
    int key;
    int row;
    int inputMode;
};
const StartCase kStarts[] = {
    {"keyboard fire on Hard", kKeyEnter, 2, 0},
    {"pad button A on Easy", kJoyButtonA, 0, 1},
    {"keyboard fire on Normal", 'Z', 1, 0},
};

TEST_F(Menu, FireOnTheWheelStartsAGameAtTheRowsDifficulty) {
    for (const StartCase& c : kStarts) {
        app->m_gameState = kStateMenu;
        app->m_menuRow = c.row;
        app->m_menuTarget = app->m_menuScroll = -32.0f * c.row;
        host->Frame();
        host->KeyDown(c.key);
        host->Frame();
        EXPECT_EQ(app->m_gameState, kStateStartGame) << c.how;
        EXPECT_EQ(app->m_difficulty, c.row + 1) << c.how;
        EXPECT_EQ(app->m_inputMode, c.inputMode) << c.how;
        EXPECT_EQ(app->m_keyLatch, 1) << c.how;
        host->KeyUp(c.key);
        host->Frame();
    }
}

TEST_F(Menu, ClickOnTheSelectedRowStartsAGameWithThePointer) {
    float x, y;
    RowCentre(1, x, y);
    host->MouseDown(x + 20, y + 20);
    host->Frame();
    EXPECT_EQ(app->m_gameState, kStateStartGame);
    EXPECT_EQ(app->m_difficulty, 2);
    EXPECT_EQ(app->m_inputMode, 2);
    host->MouseUp(x + 20, y + 20);
    host->Frame();
}

TEST_F(Menu, ClickOnAnotherRowSelectsIt) {
    float x, y;
    RowCentre(2, x, y);
    host->MouseDown(x, y);
    host->Frame();
    host->MouseUp(x, y);
    EXPECT_EQ(app->m_menuRow, 2);
    EXPECT_EQ(app->m_gameState, kStateMenu);
    host->Frames(60);
    EXPECT_EQ(app->m_menuScroll, -64.0f) << "the wheel turns the row to the front";
}

TEST_F(Menu, DragOverTheWheelThenReleaseDoesNotStartAGame) {
    float x, y;
    RowCentre(1, x, y);
    const float startX = 250, startY = 420;  // on the ring, clear of the rows and the cog
    host->MouseDown(startX, startY);
    host->Frame();
    float velocity = 0;
    for (int step = 1; step <= 8; ++step) {
        host->MouseEvent(::MouseMove, 0, startX + (x - startX) * step / 8, startY + (y - startY) * step / 8);
        ASSERT_EQ(FramesInMenu(1), 1) << "step " << step;
        velocity = std::fmax(velocity, std::fabs(app->m_menuVel));
    }
    EXPECT_GT(velocity, 1) << "the drag turned the wheel";
    EXPECT_EQ(FramesInMenu(30), 30) << "held still";
    host->MouseUp(x, y);
    EXPECT_EQ(FramesInMenu(90), 90) << "released";
    EXPECT_EQ(app->m_dragX0, -1);
    EXPECT_EQ(app->m_menuScroll, app->m_menuTarget);
    EXPECT_EQ(app->m_menuTarget, -32.0f * app->m_menuRow) << "the wheel rests on its row";
}

TEST_F(Menu, PressThatSlidesOntoTheSelectedRowDoesNotClick) {
    float x, y;
    RowCentre(1, x, y);
    // Sliding up and right by equal steps leaves the wheel still, so it stays settled.
    host->MouseDown(x - 60, y + 60);
    host->Frame();
    for (int step = 1; step <= 6; ++step) {
        host->MouseEvent(::MouseMove, 0, x - 60 + 10 * step, y + 60 - 10 * step);
        ASSERT_EQ(FramesInMenu(1), 1) << "step " << step;
    }
    EXPECT_EQ(FramesInMenu(30), 30);
    EXPECT_EQ(app->m_menuScroll, -32.0f);
    host->MouseUp(x, y);
    EXPECT_EQ(FramesInMenu(1), 1);
}

TEST_F(Menu, CreditsOpenScrollAndClose) {
    app->m_menuFocus = 2;
    app->m_creditOffset = 0;
    Tap(kKeyEnter);
    ASSERT_EQ(app->m_sidePanelOpen, 1);
    float offset = app->m_creditOffset;
    int first = app->m_creditFirst;
    host->Frame();
    EXPECT_NEAR(app->m_creditOffset, offset - 0.3f, 1e-4);
    host->Frames(60);
    EXPECT_EQ(app->m_creditFirst, (first + 1) % (kv_Tol_CreditText.Length() - 1)) << "a line every 16 pixels";
    EXPECT_EQ(app->m_sidePanelX, kv_Tol_jscrw - 140) << "the panel has slid open";
    EXPECT_NE(drawn_text(app, 180, 200, 255).find("Engine640x480"), std::string::npos);
    Tap(kKeyEnter);
    EXPECT_EQ(app->m_sidePanelOpen, 0);
    EXPECT_EQ(app->m_gameState, kStateMenu);

    Tap(kKeyEnter);
    ASSERT_EQ(app->m_sidePanelOpen, 1) << "the panel keeps the focus";
    host->MouseDown(320, 240);
    host->Frame();
    host->MouseUp(320, 240);
    host->Frame();
    EXPECT_EQ(app->m_sidePanelOpen, 0) << "a click closes the credits";
    EXPECT_EQ(app->m_gameState, kStateMenu);
}

TEST_F(Menu, PanelClickTakesTheFocusThenOpensTheCredits) {
    host->MouseDown(560, 200);
    host->Frame();
    host->MouseUp(560, 200);
    host->Frame();
    EXPECT_EQ(app->m_menuFocus, 2);
    EXPECT_EQ(app->m_sidePanelOpen, 0);
    host->MouseDown(560, 200);
    host->Frame();
    host->MouseUp(560, 200);
    host->Frame();
    EXPECT_EQ(app->m_sidePanelOpen, 1);
    Tap(kKeyEnter);
}

TEST_F(Menu, CogClickOpensTheOptions) {
    host->MouseDown(40, 414);
    host->Frame();
    EXPECT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(app->m_menuFocus, 0);
    host->MouseUp(40, 414);
    app->m_optionsOpen = 0;
}

// Hit tests on a bare app object with a 64 x 32 image; each case writes the touch tables anew.
c_MyApp* hit_app() {
    TestHost::Start();
    c_MyApp* app = new c_MyApp;
    app->m_imageInfo[3 * kImgButtons] = 64;
    app->m_imageInfo[3 * kImgButtons + 1] = 32;
    return app;
}

void place_touch(c_MyApp* app, int touch, bool held, int x, int y) {
    for (int i = 0; i < kTouches; ++i) {
        app->m_touchDown[i] = 0;
        app->m_touchX[i] = app->m_touchY[i] = int(kNoValue);
    }
    app->m_touchDown[touch] = held ? 1 : 0;
    app->m_touchX[touch] = x;
    app->m_touchY[touch] = y;
    app->p_CLS2D(0, 0, 0, 1);
}

struct ButtonCase {
    const char* what;
    float size, hdScale;
    int touch;
    bool held;
    int tx, ty, pointerDown;
    int button, button0;
};
const ButtonCase kButtons[] = {
    {"centre", 1, 1, 0, true, 100, 100, 1, 1, 1},
    {"just inside the right edge", 1, 1, 0, true, 131, 100, 1, 1, 1},
    {"on the right edge", 1, 1, 0, true, 132, 100, 1, 0, 0},
    {"on the left edge", 1, 1, 0, true, 68, 100, 1, 0, 0},
    {"on the bottom edge", 1, 1, 0, true, 100, 116, 1, 0, 0},
    {"just inside the top edge", 1, 1, 0, true, 100, 85, 1, 1, 1},
    {"outside", 1, 1, 0, true, 140, 100, 1, 0, 0},
    {"size 2 doubles the box", 2, 1, 0, true, 163, 100, 1, 1, 1},
    {"hd images count at their design size", 1, 0.5f, 0, true, 115, 100, 1, 1, 1},
    {"hd scale halves the box", 1, 0.5f, 0, true, 117, 100, 1, 0, 0},
    {"pointer up", 1, 1, 0, true, 100, 100, 0, 0, 0},
    {"a second finger", 1, 1, 3, true, 100, 100, 1, 1, 0},
    {"a finger no longer held still counts", 1, 1, 3, false, 100, 100, 1, 1, 0},
};

TEST(HitTests, ButtonsTestTheImageBoxStrictly) {
    c_MyApp* app = hit_app();
    for (const ButtonCase& c : kButtons) {
        place_touch(app, c.touch, c.held, c.tx, c.ty);
        app->m_hdScale = c.hdScale;
        app->p_SetSize(c.size);
        app->m_pointerDown = c.pointerDown;
        EXPECT_EQ(app->p_Button(kImgButtons, 100, 100, 4), c.button) << c.what;
        EXPECT_EQ(app->p_Button0(kImgButtons, 100, 100, 4), c.button0) << c.what;
        ASSERT_EQ(app->m_drawCount, 2 * kDrawRecordSize) << "each call draws its frame";
        EXPECT_EQ(app->m_drawList[kDrawFrame], 4);
    }
}

enum Region { kIn, kCentered, kRadius, kTouchBox };
struct RegionCase {
    Region region;
    const char* what;
    int tx, ty;
    bool held;
    int want;
};
// Regions: p_MouseIn(10, 10, 20, 20), p_MouseIn_Centered(50, 50, 20, 10),
// p_MouseIn_Radius(50, 50, 6, 8) (radius 5), p_Touch(10, 10, 20, 20).
const RegionCase kRegions[] = {
    {kIn, "inside", 15, 15, true, 1},         {kIn, "left edge", 10, 15, true, 0},
    {kIn, "right edge", 30, 15, true, 0},     {kIn, "just inside", 29, 29, true, 1},
    {kIn, "not held", 15, 15, false, 0},      {kCentered, "inside", 59, 50, true, 1},
    {kCentered, "side edge", 60, 50, true, 0}, {kCentered, "top edge", 50, 45, true, 0},
    {kCentered, "just inside", 50, 54, true, 1}, {kCentered, "not held", 50, 50, false, 0},
    {kRadius, "on the circle", 55, 50, true, 1}, {kRadius, "on the circle aslant", 53, 54, true, 1},
    {kRadius, "outside", 56, 50, true, 0},    {kRadius, "not held", 50, 50, false, 0},
    {kTouchBox, "left margin", 5, 15, true, 1}, {kTouchBox, "past the left margin", 4, 15, true, 0},
    {kTouchBox, "right margin", 41, 15, true, 1}, {kTouchBox, "past the right margin", 42, 15, true, 0},
    {kTouchBox, "bottom margin", 15, 41, true, 1}, {kTouchBox, "not held", 15, 15, false, 0},
};

TEST(HitTests, RegionsTestHeldTouches) {
    c_MyApp* app = hit_app();
    for (const RegionCase& c : kRegions) {
        place_touch(app, 5, c.held, c.tx, c.ty);  // any finger counts
        int got = 0;
        switch (c.region) {
        case kIn:
            got = app->p_MouseIn(10, 10, 20, 20);
            break;
        case kCentered:
            got = app->p_MouseIn_Centered(50, 50, 20, 10);
            break;
        case kRadius:
            got = app->p_MouseIn_Radius(50, 50, 6, 8);
            break;
        case kTouchBox:
            got = app->p_Touch(10, 10, 20, 20);
            EXPECT_EQ(app->m_drawList[kDrawKind], kDrawRect) << "p_Touch draws its box";
            break;
        }
        EXPECT_EQ(got, c.want) << c.what;
    }
}

}  // namespace
