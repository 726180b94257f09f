// The draw list and text: records with the drawing state of the moment, the 2499-record
// limit, the palette, and the text layout rules (alignment, line breaks, prompts, rotation).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "test_host.h"

namespace {

constexpr int kAdvance = 7, kLineHeight = 10;

// A bare app object (not the running one) with a font slot of the game's metrics.
c_MyApp* make_app() {
    TestHost::Start();
    c_MyApp* app = new c_MyApp;
    app->m_font = kImgFont;
    app->m_imageInfo[3 * kImgFont] = kAdvance;
    app->m_imageInfo[3 * kImgFont + 1] = kLineHeight;
    app->m_imageInfo[3 * kImgFont + 2] = 128;
    app->p_CLS2D(0, 0, 0, 1);
    return app;
}

struct Glyph {
    int frame;
    float x, y;
};

std::vector<Glyph> glyphs(c_MyApp* app) {
    std::vector<Glyph> out;
    for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
        out.push_back({int(app->m_drawList[k + kDrawFrame]), app->m_drawList[k + kDrawX], app->m_drawList[k + kDrawY]});
    }
    return out;
}

TEST(DrawList, RecordsCaptureTheStateAtTheMomentOfTheCall) {
    c_MyApp* app = make_app();
    app->p_SetCol(10, 20, 30, 0.5f);
    app->p_SetSize(2);
    app->p_SetRot(30);
    app->p_DrawImg(kImgSprites, 5, 6, 7);
    app->p_SetCol(1, 2, 3);
    app->p_Rect(1, 2, 3, 4);
    const float* image = &app->m_drawList[0];
    EXPECT_EQ(int(image[kDrawKind]), kImgSprites);
    EXPECT_EQ(image[kDrawRot], -30);
    EXPECT_EQ(image[kDrawSizeX], 2);
    EXPECT_EQ(image[kDrawSizeY], 2);
    EXPECT_EQ(image[kDrawFrame], 7);
    EXPECT_EQ(image[kDrawInkR], 10);
    EXPECT_EQ(image[kDrawAlpha], 0.5f);
    EXPECT_EQ(image[kDrawBlend], 1);
    const float* rect = &app->m_drawList[kDrawRecordSize];
    EXPECT_EQ(rect[kDrawKind], kDrawRect);
    EXPECT_EQ(rect[kDrawSizeX], 3);
    EXPECT_EQ(rect[kDrawSizeY], 4);
    EXPECT_EQ(rect[kDrawInkB], 3);
    EXPECT_EQ(rect[kDrawAlpha], 0.5f) << "a colour without alpha keeps the alpha";
}

TEST(DrawList, AcceptsTwoThousandFourHundredNinetyNineRecordsAFrame) {
    c_MyApp* app = make_app();
    for (int i = 0; i < 2600; ++i) app->p_Oval(float(i), 0, 1, 1);
    EXPECT_EQ(app->m_drawCount, 2499 * kDrawRecordSize);
    EXPECT_EQ(app->m_drawList[2498 * kDrawRecordSize + kDrawX], 2498);
    app->p_CLS2D();
    EXPECT_EQ(app->m_drawCount, 0);
    EXPECT_EQ(app->m_clearA, 1) << "no colour keeps the last clear colour";
    app->p_Line(1, 2, 3, 4);
    EXPECT_EQ(app->m_drawList[kDrawKind], kDrawLine);
}

struct InkCase {
    int colour;
    float brightness;
    float r, g, b;
};
const InkCase kInks[] = {
    {9, 2.0f, 255, 255, 255}, {1, 1.0f, 255, 25.5f, 25.5f}, {6, 0.5f, 12.75f, 12.75f, 127.5f},
    {42, 1.0f, 76.5f, 76.5f, 76.5f}, {3, -1.0f, 0, 0, 0},
};

TEST(DrawList, InkComesFromThePaletteClamped) {
    c_MyApp* app = make_app();
    for (const InkCase& c : kInks) {
        app->p_Ink(c.colour, c.brightness);
        EXPECT_NEAR(app->m_inkR, c.r, 0.01) << c.colour;
        EXPECT_NEAR(app->m_inkG, c.g, 0.01) << c.colour;
        EXPECT_NEAR(app->m_inkB, c.b, 0.01) << c.colour;
    }
}

TEST(Text, EmptyTextDrawsNothing) {
    c_MyApp* app = make_app();
    app->p_Text(100, 100, String(), 1, 1, 0);
    EXPECT_EQ(app->m_drawCount, 0);
}

TEST(Text, LeftAlignedTextStartsOneAdvanceRight) {
    c_MyApp* app = make_app();
    app->p_SetSize(2);
    app->p_Text(100, 50, String("AB"), 0, 1, 0);
    std::vector<Glyph> g = glyphs(app);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].frame, 'A' - 32);
    EXPECT_NEAR(g[0].x, 100 + kAdvance * 2, 1e-3);
    EXPECT_NEAR(g[0].y, 50, 1e-3);
    EXPECT_NEAR(g[1].x, 100 + 2 * kAdvance * 2, 1e-3);
}

TEST(Text, RightAlignedTextEndsAtX) {
    c_MyApp* app = make_app();
    app->p_Text(200, 50, String("Hello"), 2, 1, 0);
    std::vector<Glyph> g = glyphs(app);
    ASSERT_EQ(g.size(), 5u);
    EXPECT_NEAR(g.back().x, 200, 1.0);
}

TEST(Text, CentredTextIsCentredAndYAlignShiftsByHalfLines) {
    c_MyApp* app = make_app();
    app->p_Text(100, 100, String("abc"), 1, 0, 0);  // width: space, a, b = 3 advances
    std::vector<Glyph> g = glyphs(app);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_NEAR(g[0].x, 100 - 21 / 2.0f + kAdvance, 1e-3);
    EXPECT_NEAR(g[0].y, 100 + kLineHeight / 2.0f, 1e-3);
}

TEST(Text, LetterAdjustmentsNarrowAndWiden) {
    c_MyApp* app = make_app();
    app->p_Text(0, 0, String("ilwWa"), 0, 1, 0);
    std::vector<Glyph> g = glyphs(app);
    ASSERT_EQ(g.size(), 5u);
    EXPECT_NEAR(g[1].x - g[0].x, kAdvance - 3, 1e-3);  // advance after "i"
    EXPECT_NEAR(g[2].x - g[1].x, kAdvance - 3, 1e-3);  // after "l"
    EXPECT_NEAR(g[3].x - g[2].x, kAdvance + 2, 1e-3);  // after "w"
    EXPECT_NEAR(g[4].x - g[3].x, kAdvance + 1, 1e-3);  // after "W"
}

TEST(Text, LineBreakStartsTheNextLineAtTheLineOrigin) {
    c_MyApp* app = make_app();
    app->p_Text(10, 20, String("A\\nB"), 0, 1, 0);
    std::vector<Glyph> g = glyphs(app);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[1].frame, 'B' - 32);
    EXPECT_NEAR(g[1].x, g[0].x, 1e-3);
    EXPECT_NEAR(g[1].y, g[0].y + kLineHeight, 1e-3);
}

TEST(Text, RotatedNinetyDegreesRunsDownAndLinesMoveLeft) {
    c_MyApp* app = make_app();
    app->p_SetRot(90);
    app->p_Text(100, 100, String("AB\\nC"), 0, 1, 0);
    std::vector<Glyph> g = glyphs(app);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_NEAR(g[1].x, g[0].x, 1e-3);
    EXPECT_NEAR(g[1].y - g[0].y, kAdvance, 1e-3);
    EXPECT_NEAR(g[2].x, g[0].x - kLineHeight, 1e-3);
}

struct PromptCase {
    int inputMode;
    Char letter;
    int frame;
};
const PromptCase kPromptGlyphs[] = {
    {2, 'K', 97}, {0, 'K', 113}, {2, 'U', 100}, {0, 'D', 124}, {2, 'Z', 'Z'},
};

TEST(Text, PromptEscapesShowPadButtonsOrKeyCaps) {
    c_MyApp* app = make_app();
    for (const PromptCase& c : kPromptGlyphs) {
        app->p_CLS2D();
        app->m_inputMode = c.inputMode;
        Char text[] = {u'H', 0x00AC, c.letter};
        app->p_Text(0, 0, String(text, 3), 0, 1, 0);
        std::vector<Glyph> g = glyphs(app);
        ASSERT_EQ(g.size(), 2u);
        EXPECT_EQ(g[1].frame, c.frame) << char(c.letter) << " mode " << c.inputMode;
    }
}

TEST(Text, PromptEscapeAtTheEndDrawsNothingMore) {
    c_MyApp* app = make_app();
    Char text[] = {u'A', 0x00AC};
    app->p_Text(0, 0, String(text, 2), 0, 1, 0);
    EXPECT_EQ(glyphs(app).size(), 1u);
}

TEST(Text, PaddedNumbers) {
    c_MyApp* app = make_app();
    EXPECT_EQ(text_of(app->p_rstr(7, 3, String("0"))), "007");
    EXPECT_EQ(text_of(app->p_rstr(12345, 3, String("0"))), "345");
    EXPECT_EQ(text_of(app->p_rstr(42, 5, String(" "))), "   42");
}

}  // namespace
