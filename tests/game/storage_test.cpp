// The saved state: the exact string the game writes, a full round trip, and each checksummed
// block failing on its own while the others load.
#include <gtest/gtest.h>

#include "game/globals.h"
#include "test_host.h"

namespace {

class Storage : public ::testing::Test {
protected:
    void SetUp() override {
        host = &TestHost::Start();
        app = new c_MyApp;  // a bare app: loading and saving only touch its tables
        for (int i = 0; i < kSettingsCount; ++i) app->m_settings[i] = 0;
        app->m_settings[kSetSoundMode] = 1;
    }
    void TearDown() override { host->savedState = String(); }

    Array<String> saved_fields() {
        app->p_Save();
        return host->savedState.Split(String("|"));
    }

    TestHost* host = nullptr;
    c_MyApp* app = nullptr;
};

TEST_F(Storage, DefaultsAreWrittenWithTheirChecksums) {
    Array<String> fields = saved_fields();
    ASSERT_EQ(fields.Length(), 204);
    EXPECT_EQ(text_of(fields[203]), "") << "every field ends with the separator";
    EXPECT_EQ(text_of(host->savedState.Slice(0, 52)), "0|0|0|0|0|1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|5|");
}

TEST_F(Storage, EverythingSurvivesARoundTrip) {
    for (int i = 0; i < kSettingsCount; ++i) app->m_settings[i] = 100 + i;
    app->m_badgeFlags[31] = true;  // makes the first badge word negative
    app->m_badgeFlags[200] = true;
    for (int i = 0; i < 60; ++i) app->m_scores[i] = 1000 * i + 7;
    app->p_Save();
    EXPECT_EQ(text_of(host->savedState.Split(String("|"))[26]), "-2147483648");

    c_MyApp* loaded = new c_MyApp;
    loaded->p_Load();
    for (int i = 0; i < kSettingsCount; ++i) {
        if (i != kSetOverscan) {
            EXPECT_EQ(loaded->m_settings[i], 100 + i) << i;
        }
    }
    EXPECT_EQ(loaded->m_settings[kSetOverscan], 1) << "desktops always load overscan 1";
    EXPECT_TRUE(loaded->m_badgeFlags[31]);
    EXPECT_TRUE(loaded->m_badgeFlags[200]);
    EXPECT_FALSE(loaded->m_badgeFlags[30]);
    for (int i = 0; i < 60; ++i) EXPECT_EQ(loaded->m_scores[i], 1000 * i + 7) << i;
}

// Replaces field `index` of the saved string.
String with_field(const String& state, int index, const char* value) {
    Array<String> fields = state.Split(String("|"));
    fields[index] = String(value);
    return String("|").Join(fields);
}

TEST_F(Storage, ADamagedBlockResetsOnlyItself) {
    app->m_settings[3] = 9;
    app->m_badgeFlags[5] = true;
    for (int i = 0; i < 60; ++i) app->m_scores[i] = 50 + i;
    app->p_Save();
    String good = host->savedState;

    struct Damage {
        int field;
        bool settings, badges, table0, table1;
    };
    for (Damage d : {Damage{3, false, true, true, true}, Damage{27, true, false, true, true},
                     Damage{35, true, true, false, true}, Damage{57, true, true, true, false}}) {
        host->savedState = with_field(good, d.field, "12345");
        c_MyApp* loaded = new c_MyApp;
        loaded->p_Load();
        EXPECT_EQ(loaded->m_settings[3] == 9, d.settings) << d.field;
        EXPECT_EQ(loaded->m_settings[kSetSoundMode], 1) << d.field;
        EXPECT_EQ(loaded->m_badgeFlags[5], d.badges) << d.field;
        EXPECT_EQ(loaded->m_scores[0] == 50, d.table0) << d.field;
        EXPECT_EQ(loaded->m_scores[30] == 80, d.table0) << d.field;
        EXPECT_EQ(loaded->m_scores[10] == 60, d.table1) << d.field;
        EXPECT_EQ(loaded->m_scores[20], 70) << d.field;
    }
}

TEST_F(Storage, ShortStringsLoadWhatTheyHold) {
    for (int i = 0; i < 60; ++i) app->m_scores[i] = 3 + i;
    app->p_Save();
    Array<String> fields = host->savedState.Split(String("|"));
    // Three highscore tables end at field 97: 98 fields load as fully as the whole string.
    host->savedState = String("|").Join(Array<String>(fields.begin(), 98));
    c_MyApp* loaded = new c_MyApp;
    loaded->p_Load();
    EXPECT_EQ(loaded->m_scores[29], 3 + 29);
    EXPECT_EQ(loaded->m_scores[59], 3 + 59);

    // A string cut right after the settings has no checksum to trust.
    host->savedState = String("|").Join(Array<String>(fields.begin(), 25));
    loaded = new c_MyApp;
    loaded->m_settings[7] = 4;
    loaded->p_Load();
    EXPECT_EQ(loaded->m_settings[7], 0);
    EXPECT_EQ(loaded->m_settings[kSetSoundMode], 1);
}

TEST_F(Storage, EmptyStateKeepsTheDefaultsAndClampsThePad) {
    host->savedState = String();
    c_MyApp* loaded = new c_MyApp;
    loaded->m_settings[kSetSoundMode] = 1;
    loaded->p_Load();
    EXPECT_EQ(loaded->m_settings[kSetSoundMode], 1);
    EXPECT_EQ(loaded->m_settings[kSetPadX], 64);
    EXPECT_EQ(loaded->m_settings[kSetPadHeight], 64);
    EXPECT_EQ(loaded->m_settings[kSetPadSize], 10);
}

}  // namespace
