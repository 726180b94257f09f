// Badges and highscores: the top-ten and most-recent tables per difficulty with the finished
// game's entry and the save that follows it, the rank words, the badge catalogue, and the
// badge-earned banners that slide in from the left edge and stack up from the bottom.
#include "game/app.h"
#include "game/globals.h"

namespace {

constexpr int kTableSize = 10;
constexpr int kRecentBase = 30;   // the recent lists follow the three top tables
constexpr int kShownBanners = 13; // slots 0..12 fit on the screen
constexpr int kBannerLife = 240;  // frames: 10 sliding in, 220 at rest, 10 sliding out
constexpr int kBannerW = 160;
constexpr int kBannerH = 32;
constexpr int kBadgeIcons = 64;   // "BadgesA" has an icon for the first 64 badges

}  // namespace

int c_MyApp::p_LoadMenu() {
    if (m_difficulty >= 1 && m_difficulty <= 3) {
        const int top = kTableSize * (m_difficulty - 1);
        const int recent = kRecentBase + top;
        // An equal score goes below the one it ties with: the earlier game keeps its place.
        for (int p = 0; p < kTableSize; ++p) {
            if (m_scores[top + p] < m_score) {
                for (int j = kTableSize - 1; j > p; --j) m_scores[top + j] = m_scores[top + j - 1];
                m_scores[top + p] = m_score;
                break;
            }
        }
        for (int j = kTableSize - 1; j > 0; --j) m_scores[recent + j] = m_scores[recent + j - 1];
        m_scores[recent] = m_score;
    }
    p_Save();
    return 0;
}

String c_MyApp::p_Nth(int n) {
    if (n < 1 || n > 30) return String();
    const int last = n % 10;
    const char* suffix = n >= 11 && n <= 13 ? "th" : last == 1 ? "st" : last == 2 ? "nd" : last == 3 ? "rd" : "th";
    return String(n) + String(suffix);
}

String c_MyApp::p_MyNth() {
    m_n = 0;
    if (m_difficulty < 1 || m_difficulty > 3) return String();
    const int top = kTableSize * (m_difficulty - 1);
    int rank = 1;
    while (rank <= kTableSize && m_scores[top + rank - 1] > m_score) ++rank;
    if (rank > kTableSize) return String();
    m_n = rank;
    return m_n == 1 ? String("1st!") : p_Nth(m_n);
}

String c_MyApp::p_BadgeID(int n) {
    if (n == 0) return String("Test Badge|This is a Test Badge which has no purpose.");
    return String("Odd Badge|This badge hasn't been defined!");
}

String c_MyApp::p_BadgeName(int n) { return p_BadgeID(n).Split(String("|"))[0]; }

String c_MyApp::p_BadgeDetail(int n) { return p_BadgeID(n).Split(String("|"))[1]; }

int c_MyApp::p_AwardBadge(int n) {
    if (n < 0 || n >= kBadgeCount || m_badgeFlags[n]) return 0;
    m_badgeFlags[n] = true;
    // With every shown slot busy the badge is still earned and saved; only its banner is lost.
    for (int k = 0; k < kShownBanners; ++k) {
        if (m_badgeTimers[k] == 0) {
            m_badgeIds[k] = n;
            m_badgeTimers[k] = 1;
            break;
        }
    }
    return 1;
}

int c_MyApp::p_ShowBadges() {
    p_ResetDraw();
    for (int k = 0; k < kShownBanners; ++k) {
        int t = m_badgeTimers[k];
        if (t <= 0) continue;
        ++t;
        float x = 16.0f * t - kBannerW;
        if (t > kBannerLife - 10) x = 16.0f * (kBannerLife - t) - kBannerW;
        if (x > 0) x = 0;
        const float y = kv_Tol_jscrh - (kBannerH + 2) * (k + 1);
        const int id = m_badgeIds[k];
        p_SetCol(0, 0, 80, 0.8f);
        p_Rect(x, y, kBannerW, kBannerH);
        p_SetCol(255, 255, 255, 1);
        p_Text(x + 16, y + 4, p_BadgeName(id), 0, 0, 0);
        if (id >= 0 && id < kBadgeIcons) {
            p_SetSize(0.5f);
            p_DrawImg(kImgBadges, x + 144, y + 16, static_cast<float>(id));
            p_SetSize(1);
        }
        m_badgeTimers[k] = t > kBannerLife ? 0 : t;
    }
    return 0;
}
