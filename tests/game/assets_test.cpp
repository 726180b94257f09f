// The sound wrappers over the banks: effects rotate over 24 channels, the sound mode gates
// effects and music, and "-1" replays the last tune.
#include <gtest/gtest.h>

#include "audio/sound_api.h"
#include "test_host.h"

namespace {

class Sounds : public ::testing::Test {
protected:
    void SetUp() override {
        host = &TestHost::Start();
        app = host->app;
        host->FinishLoading();
        app->m_settings[kSetSoundMode] = 1;
        app->p_StopTune();
        app->m_tune = String();
    }
    TestHost* host = nullptr;
    c_MyApp* app = nullptr;
};

TEST_F(Sounds, EffectsRotateOverTwentyFourChannels) {
    int first = -1;
    for (int i = 0; i < 25; ++i) {
        app->p_PlaySFX(21, 1, 1, 0);
        if (i == 0) first = app->m_sfxChannel;
    }
    EXPECT_EQ(app->m_sfxChannel, first) << "the 25th effect reuses the channel of the 1st";
    EXPECT_LT(app->m_sfxChannel, 24);
}

TEST_F(Sounds, TheSoundModeGatesEffectsAndMusic) {
    struct Mode {
        int mode;
        bool effects, music;
    };
    for (Mode m : {Mode{0, false, false}, Mode{1, true, true}, Mode{2, true, false}, Mode{3, false, true}}) {
        app->m_settings[kSetSoundMode] = m.mode;
        int channel = app->m_sfxChannel;
        app->p_PlaySFX(22, 1, 1, 0);
        EXPECT_EQ(app->m_sfxChannel != channel, m.effects) << "mode " << m.mode;
        app->p_PlayTune(String("testmusic"), 1);
        EXPECT_EQ(app->m_musicOn == 1, m.music) << "mode " << m.mode;
        app->p_StopTune();
    }
}

TEST_F(Sounds, MissingSoundsPlayNothing) {
    int channel = app->m_sfxChannel;
    app->p_PlaySFX(50, 1, 1, 0);  // no sound 50 in the banks
    EXPECT_EQ(app->m_sfxChannel, channel);
}

TEST_F(Sounds, MinusOneReplaysTheLastTune) {
    app->p_PlayTune(String("-1"), 1);
    EXPECT_EQ(app->m_musicOn, 0) << "nothing to replay yet";
    EXPECT_EQ(app->m_tune.Length(), 0);
    app->p_PlayTune(String("testmusic"), 1);
    app->p_StopTune();
    app->p_PlayTune(String("-1"), 1);
    EXPECT_EQ(app->m_musicOn, 1);
    EXPECT_EQ(text_of(app->m_tune), "testmusic");
    app->p_StopTune();
}

}  // namespace
