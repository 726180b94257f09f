// The score and the end of a game: points with their floating numbers, the score panel that
// names the next highscore to beat, and the game-over panel that fades in over play and
// hands back to the menu, where the finished score goes into the tables.
#include <cmath>

#include "game/app.h"
#include "game/globals.h"

namespace {

constexpr int kPanelFrames = 90;  // play frames of the panel before the menu comes back
constexpr int kPopupColour = 3;
constexpr int kTableSize = 10;

}  // namespace

int c_MyApp::p_Gimme(int amount, float x, float y) {
    m_score += amount;
    p_AddParticle(kKindNumber, x, y, 0, -0.25f, amount, kPopupColour, 0);
    return 0;
}

int c_MyApp::p_ScoreDisplay() {
    m_scoreShown -= (m_scoreShown - m_score) / 6;
    // A gap of 5 moves by nothing under integer division, so it snaps too; otherwise the
    // panel would stop 5 short of the score for good.
    if (std::abs(m_scoreShown - m_score) <= 5) m_scoreShown = m_score;
    if (m_hudHidden == 1) return 0;

    if (m_scoreTextValue != m_scoreShown) {
        m_scoreTextValue = m_scoreShown;
        m_scoreText = p_rstr(m_scoreShown, 8, String("0"));
    }
    p_SetRot(0);
    p_SetCol(100, 255, 100, 0.8f);
    m_blend = 1;
    p_SetSize(2);
    p_Text(kv_Tol_jscrw * 0.5f, 28, m_scoreText, 1, 1, 0);

    // The next entry above the score; an equal score has not passed it yet.
    const int difficulty = m_difficulty < 1 ? 1 : m_difficulty > 3 ? 3 : m_difficulty;
    const int* table = &m_scores[kTableSize * (difficulty - 1)];
    int place = kTableSize, target = table[kTableSize - 1];
    for (int j = kTableSize - 1; j >= 1; --j) {
        if (table[j] < m_score || table[j] == 0) {
            place = j - 1;
            target = table[j - 1];
        }
    }
    if (place != m_targetPlace || target != m_targetScore) {
        m_targetPlace = place;
        m_targetScore = target;
        m_targetText = p_Nth(place + 1) + String(" ") + p_rstr(target, 8, String("0"));
    }
    p_SetSize(1);
    p_SetCol(255, 255, 100, 0.8f);
    p_Text(kv_Tol_jscrw * 0.5f, 10, m_targetText, 1, 1, 0);
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_GameOver() {
    int& t = m_gameOverAnim;
    if (t > 0) {
        m_keyLatch = 1;
        m_pointerTaken = 1;
        p_ResetDraw();
        p_SetCol(0, 0, 0, std::fmin(t / 40.0f, 0.7f));
        p_Rect(-1, -1, kv_Tol_jscrw + 2, kv_Tol_jscrh + 2);
        const float y = std::fmin(t * 12.0f, static_cast<float>(static_cast<int>(kv_Tol_jscrh * 0.45f)));
        p_SetCol(255, 255, 0, 0.5f);
        p_Rect(-1, kv_Tol_jscrh * 0.45f - 8, 2 * y, 16);
        p_SetCol(255, 128, 0, 0.5f);
        p_Rect(kv_Tol_jscrw - 2 * y, kv_Tol_jscrh * 0.55f - 8, 2 * y + 1, 16);

        static const String kWords[2][2] = {{String("GAME"), String("OVER")}, {String("Quit"), String("Game")}};
        const String* words = kWords[m_quitGame == -1 ? 1 : 0];
        p_SetSize(4);
        p_SetCol(255, 180, 180, 1);
        p_Text(kv_Tol_jscrw * 0.35f, y, words[0], 1, 1, 0);
        p_Text(kv_Tol_jscrw * 0.65f, kv_Tol_jscrh - y, words[1], 1, 1, 0);

        const String rank = p_MyNth();
        if (m_n > 0) {
            p_SetSize(1);
            p_SetCol(0, 125, 255, 0.5f);
            p_Rect(kv_Tol_jscrw * 0.35f, kv_Tol_jscrh - y / 1.5f - 16, kv_Tol_jscrw * 0.3f, 32);
            p_SetSize(2);
            p_SetCol(100, 255, 100, 1);
            p_Text(kv_Tol_jscrw * 0.5f, kv_Tol_jscrh - y / 1.5f, String("New Highscore\\n           ") + rank, 0.5f, 2, 0);
        }
        p_ResetDraw();
    }

    if (m_gameState == kStatePlay) {
        ++t;
        if (t == kPanelFrames) {
            m_gameState = kStateReturnToMenu;
            if (kv_Tol_HasMusicStream != 1) {
                t = 73;
            } else {
                t = 75;
                p_StopTune();
            }
        }
    } else if (m_gameState < kStatePlay) {
        t = t > 2 ? t - 2 : 0;
    }
    return 0;
}
