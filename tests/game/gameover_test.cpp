// The score and the end of a game: points with their popups, the panel's ease and the next
// highscore it names, and the game-over panel's words, count and wind-down.
#include "play_fixture.h"

namespace {

class Score : public Play {
protected:
    void Table(std::initializer_list<int> scores) {
        int i = 0;
        for (int j = 0; j < 10; ++j) app->m_scores[10 + j] = 0;
        for (int s : scores) app->m_scores[10 + i++] = s;
    }
    // The small line above the score.
    std::string TargetLine() {
        app->m_drawCount = 0;
        app->p_ScoreDisplay();
        std::string text = DrawnText();
        return text.substr(8);
    }
};

TEST_F(Score, GimmeAddsThePointsAndAFloatingNumber) {
    app->m_score = 100;
    app->p_Gimme(1000, 3968, 3328);
    EXPECT_EQ(app->m_score, 1100);
    int slot = app->p_FreeParticle() / kRecordSize + 1;
    EXPECT_EQ(Particle(slot)[kPartValue], 1000);
    EXPECT_EQ(Particle(slot)[kPartX], 3968);
    EXPECT_EQ(Particle(slot)[kPartDy], -0.25f);
}

TEST_F(Score, TheShownScoreEasesAllTheWayToTheScore) {
    app->m_scoreShown = 0;
    app->m_score = 25;
    const int steps[] = {4, 7, 10, 12, 14, 15, 16, 17, 18, 19, 25};
    for (int want : steps) {
        app->p_ScoreDisplay();
        EXPECT_EQ(app->m_scoreShown, want);
    }
    app->m_drawCount = 0;
    app->p_ScoreDisplay();
    EXPECT_EQ(DrawnText().substr(0, 8), "00000025");
}

struct TargetCase {
    const char* why;
    std::initializer_list<int> table;
    int score;
    const char* line;
};

TEST_F(Score, ThePanelNamesTheNextHighscoreToBeat) {
    const TargetCase cases[] = {
        {"empty table", {}, 0, "1st00000000"},
        {"below all of a full table", {900, 800, 700, 600, 500, 400, 300, 200, 150, 100}, 50, "11th00000100"},
        {"past the last entry", {900, 800, 700, 600, 500, 400, 300, 200, 150, 100}, 120, "9th00000150"},
        {"an equal score has not passed it", {900, 800, 700}, 800, "2nd00000800"},
        {"empty entries are passed", {900, 800, 700}, 10, "3rd00000700"},
        {"top of the table", {900, 800}, 1000, "1st00000900"},
    };
    for (const TargetCase& c : cases) {
        Table(c.table);
        app->m_score = app->m_scoreShown = c.score;
        EXPECT_EQ(TargetLine(), c.line) << c.why;
    }
    app->m_hudHidden = 1;
    app->m_drawCount = 0;
    app->p_ScoreDisplay();
    EXPECT_EQ(app->m_drawCount, 0) << "a hidden HUD draws no panel";
    app->m_hudHidden = 0;
    Table({});
}

TEST_F(Score, ThePanelSaysQuitGameOnlyAfterAQuitAndNamesANewHighscore) {
    Table({500});
    app->m_score = 700;
    struct Words {
        int quit;
        const char* words;
    };
    for (Words w : {Words{0, "GAMEOVER"}, Words{-1, "QuitGame"}}) {
        app->m_quitGame = w.quit;
        app->m_gameOverAnim = 30;
        app->m_drawCount = 0;
        app->p_GameOver();
        std::string text = DrawnText();
        EXPECT_EQ(text.substr(0, 8), w.words);
        EXPECT_EQ(text.substr(8), "NewHighscore1st!") << "the rank on the line below";
        EXPECT_EQ(app->m_keyLatch, 1);
        EXPECT_EQ(app->m_gameOverAnim, 31) << "it counts during play";
    }
    app->m_score = 100;
    Table({500, 400, 300, 200, 190, 180, 170, 160, 150, 140});
    app->m_drawCount = 0;
    app->p_GameOver();
    EXPECT_EQ(DrawnText(), "QuitGame") << "no highscore line below the table";
    app->m_quitGame = 0;
    app->m_gameOverAnim = 0;
    Table({});
}

TEST_F(Score, InTheMenuThePanelWindsDownTwoAFrame) {
    app->m_gameOverAnim = 89;
    app->p_GameOver();
    EXPECT_EQ(app->m_gameState, kStateReturnToMenu);
    EXPECT_EQ(app->m_gameOverAnim, 75) << "with music streaming the panel restarts at 75";
    EXPECT_EQ(app->m_musicOn, 0);
    app->m_gameState = kStateMenu;
    app->p_GameOver();
    EXPECT_EQ(app->m_gameOverAnim, 73);
    app->m_gameOverAnim = 1;
    app->p_GameOver();
    EXPECT_EQ(app->m_gameOverAnim, 0);
    app->m_drawCount = 0;
    app->p_GameOver();
    EXPECT_EQ(app->m_drawCount, 0) << "an idle panel draws nothing";
}

}  // namespace
