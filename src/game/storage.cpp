// Everything the game remembers between runs, as one string of "|"-separated numbers in three
// checksummed blocks (settings, badges, highscore tables): a damaged block is reset on its
// own while the others survive.
#include <cstdint>

#include "game/app.h"
#include "game/globals.h"

namespace {

constexpr int kBadgeWords = 8;
constexpr int kTablesWritten = 8;  // tables 3..7 repeat entries of 0..2 and are never read back
constexpr int kTablesRead = 3;

// Sums wrap around at 32 bits, as the stored checksums were computed.
int wrap_add(int a, int b) { return static_cast<int>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
int wrap_mul(int a, int b) { return static_cast<int>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }

int settings_checksum(const Array<int>& settings) {
    int sum = 0;
    for (int i = 0; i < kSettingsCount; ++i) sum = wrap_add(sum, wrap_mul(i, settings[i]));
    return sum;
}

int badge_word(const Array<bool>& flags, int word) {
    uint32_t bits = 0;
    for (int j = 0; j < 32; ++j) {
        if (flags[32 * word + j]) bits |= 1u << j;
    }
    return static_cast<int>(bits);
}

int table_checksum(const Array<int>& scores, int table) {
    int sum = 0;
    for (int j = 0; j < 10; ++j) {
        sum = wrap_add(sum, wrap_mul(j + 4, scores[10 * table + j]));
        sum = wrap_add(sum, wrap_mul(table + 3 + j, scores[30 + 10 * table + j]));
    }
    return sum;
}

void reset_settings(Array<int>& settings) {
    for (int i = 0; i < kSettingsCount; ++i) settings[i] = 0;
    settings[kSetSoundMode] = 1;
}

}  // namespace

int c_MyApp::p_Save() {
    String text;
    auto field = [&text](int value) { text += String(value) + String("|"); };
    for (int i = 0; i < kSettingsCount; ++i) field(m_settings[i]);
    field(settings_checksum(m_settings));
    int badgeSum = 0;
    for (int b = 0; b < kBadgeWords; ++b) {
        field(badge_word(m_badgeFlags, b));
        badgeSum = wrap_add(badgeSum, badge_word(m_badgeFlags, b));
    }
    field(badgeSum);
    for (int t = 0; t < kTablesWritten; ++t) {
        for (int j = 0; j < 10; ++j) {
            field(m_scores[10 * t + j]);
            field(m_scores[30 + 10 * t + j]);
        }
        field(table_checksum(m_scores, t));
    }
    if (kv_Tol_DebugMode == 1) kvPrint(text);
    kv_app_SaveState(text);
    return 0;
}

int c_MyApp::p_Load() {
    String state = kv_app_LoadState();
    Array<String> fields = state.Split(String("|"));
    const int count = fields.Length();
    if (kv_Tol_DebugMode == 1) kvPrint(state);

    int badgeStart = 0;
    if (count >= kSettingsCount) {
        for (int i = 0; i < kSettingsCount; ++i) m_settings[i] = fields[i].ToInt();
        // A block cut off right before its checksum counts as damaged, not as a read past the end.
        bool present = count > kSettingsCount;
        if (present && settings_checksum(m_settings) == fields[kSettingsCount].ToInt()) {
            kvPrint(String("Settings Loaded"));
        } else {
            kvPrint(String("Settings Checksum Invalid"));
            reset_settings(m_settings);
        }
        badgeStart = kSettingsCount + 1;
    }

    if (m_settings[kSetPadX] < 64) m_settings[kSetPadX] = 64;
    if (m_settings[kSetPadHeight] < 64) m_settings[kSetPadHeight] = 64;
    if (m_settings[kSetPadSize] < 8) m_settings[kSetPadSize] = 10;
    if (m_settings[kSetOverscan] < 1) m_settings[kSetOverscan] = 64;
    if (kv_Tol_isOuya == 1) {
        kv_Tol_overscan = static_cast<float>(m_settings[kSetOverscan]);
    } else {
        m_settings[kSetOverscan] = 1;
        kv_Tol_overscan = 0;
    }

    int scoreStart = badgeStart;
    const int badgeChecksum = badgeStart + kBadgeWords;
    if (count > badgeChecksum) {
        int sum = 0;
        for (int b = 0; b < kBadgeWords; ++b) {
            uint32_t word = static_cast<uint32_t>(fields[badgeStart + b].ToInt());
            for (int j = 0; j < 32; ++j) m_badgeFlags[32 * b + j] = (word >> j) & 1u;
            sum = wrap_add(sum, static_cast<int>(word));
        }
        if (sum == fields[badgeChecksum].ToInt()) {
            kvPrint(String("Badges Loaded"));
        } else {
            kvPrint(String("Badge Checksum Invalid"));
            for (int i = 0; i < kBadgeCount; ++i) m_badgeFlags[i] = false;
        }
        scoreStart = badgeStart + kBadgeWords + 1;
    }

    for (int t = 0; t < kTablesRead; ++t) {
        if (count <= scoreStart + 20) continue;
        for (int j = 0; j < 10; ++j) {
            m_scores[10 * t + j] = fields[scoreStart + 2 * j].ToInt();
            m_scores[30 + 10 * t + j] = fields[scoreStart + 2 * j + 1].ToInt();
        }
        if (table_checksum(m_scores, t) != fields[scoreStart + 20].ToInt()) {
            for (int j = 0; j < 10; ++j) m_scores[10 * t + j] = m_scores[30 + 10 * t + j] = 0;
        }
        scoreStart += 21;
    }
    kvPrint(String("Highscores Loaded"));
    return 0;
}
