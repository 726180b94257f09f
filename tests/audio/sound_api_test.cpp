// The game's sound functions on OpenAL Soft's null output: data-folder paths, the guard
// against playing a sound that failed to load, music that is stopped before a failed start,
// and the globals the collector must keep.
#include "audio/sound_api.h"

#include <gtest/gtest.h>

#include <cstring>

#include "audio/audio_harness.h"
#include "audio/sound_fixtures.h"

namespace {

class SoundApi : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        use_openal("null");
        host = new TestHost;
        kv_audio_SetAudioDevice(new gxtkAudio());
        gc_mark();
        tone_path = temp_path("tone.wav");
        write_file(tone_path, wave_file({.channels = 1, .bits = 16, .hertz = 22050}, sine_pcm16(22050, 1, 440, 22050, 0.5f)));
        tune_path = temp_path("tune.ogg");
        write_file(tune_path, sine_ogg(22050, 22050, 330, 0.5f));
    }

    void TearDown() override {
        kv_audio_StopMusic();
        for (int channel = 0; channel < kAudioEffectChannels; ++channel) kv_audio_StopChannel(channel);
    }

    static String tone() { return String(tone_path.c_str()); }
    static String tune() { return String(tune_path.c_str()); }

    static ALuint source(int channel) { return kv_audio_device->channels[channel].source; }

    static TestHost* host;
    static std::string tone_path, tune_path;
};

TestHost* SoundApi::host;
std::string SoundApi::tone_path, SoundApi::tune_path;

TEST_F(SoundApi, LoadedSoundPlaysOnItsChannel) {
    c_Sound* sound = kv_audio_LoadSound(tone());
    ASSERT_NE(sound, nullptr);
    ASSERT_NE(sound->sample, nullptr);
    kv_audio_PlaySound(sound, 5, 1);
    EXPECT_EQ(kv_audio_device->ChannelState(5), kChannelPlaying);
    EXPECT_EQ(kv_audio_device->channels[5].sample, sound->sample);
    kv_audio_StopChannel(5);
    EXPECT_EQ(kv_audio_device->ChannelState(5), kChannelStopped);
}

TEST_F(SoundApi, RelativeNamesAreLookedUpInTheDataFolder) {
    EXPECT_EQ(kv_audio_LoadSound(String("sfx/001.wav")), nullptr);
    EXPECT_EQ(host->last_path, String("tarvik://data/sfx/001.wav"));
    EXPECT_EQ(kv_audio_PlayMusic(String("sfx/testmusic.ogg"), 1), -1);
    EXPECT_EQ(host->last_path, String("tarvik://data/sfx/testmusic.ogg"));
    kv_audio_LoadSound(tone());
    EXPECT_EQ(host->last_path, tone());
}

TEST_F(SoundApi, MissingSoundIsNoneAndSaysNothing) {
    testing::internal::CaptureStdout();
    c_Sound* sound = kv_audio_LoadSound(String(temp_path("missing.wav").c_str()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(sound, nullptr);
}

TEST_F(SoundApi, PlayingNothingTouchesNoChannel) {
    gxtkChannel before[kAudioChannels];
    std::memcpy(before, kv_audio_device->channels, sizeof before);
    kv_audio_PlaySound(nullptr, 0, 1);
    kv_audio_PlaySound((new c_Sound())->m_new(nullptr), 1, 1);
    EXPECT_EQ(std::memcmp(before, kv_audio_device->channels, sizeof before), 0);
}

TEST_F(SoundApi, ChannelShapingReachesTheSource) {
    kv_audio_SetChannelVolume(4, 0.3f);
    kv_audio_SetChannelRate(4, 0.75f);
    kv_audio_SetChannelPan(4, 1.5708f);
    ALfloat gain = 0, pitch = 0, x = 0, y = 0, z = 0;
    alGetSourcef(source(4), AL_GAIN, &gain);
    alGetSourcef(source(4), AL_PITCH, &pitch);
    alGetSource3f(source(4), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.3f);
    EXPECT_FLOAT_EQ(pitch, 0.75f);
    EXPECT_NEAR(x, 1.0f, 1e-4);
    EXPECT_NEAR(z, 0.0f, 1e-4);
}

TEST_F(SoundApi, MusicStartsPausesResumesAndStops) {
    ASSERT_EQ(kv_audio_PlayMusic(tune(), 1), 0);
    EXPECT_EQ(kv_audio_device->MusicState(), kChannelPlaying);
    kv_audio_PauseMusic();
    EXPECT_EQ(kv_audio_device->MusicState(), kChannelPaused);
    kv_audio_ResumeMusic();
    EXPECT_EQ(kv_audio_device->MusicState(), kChannelPlaying);
    kv_audio_StopMusic();
    EXPECT_EQ(kv_audio_device->MusicState(), kChannelStopped);
}

TEST_F(SoundApi, MissingMusicStopsTheOldTuneAndSaysSo) {
    ASSERT_EQ(kv_audio_PlayMusic(tune(), 1), 0);
    EXPECT_EQ(kv_audio_PlayMusic(String(temp_path("missing.ogg").c_str()), 1), -1);
    EXPECT_EQ(kv_audio_device->MusicState(), kChannelStopped);
    ALint state = 0;
    alGetSourcei(source(kAudioMusicChannel), AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_STOPPED);
}

// Objects the collector must keep: the device through its global, a sample through its sound.
int destroyed;
class WatchedSample : public gxtkSample {
public:
    ~WatchedSample() override { ++destroyed; }
};
c_Sound* kept_sound;
gc_roots test_roots([] { gc_mark_q(kept_sound); });

TEST_F(SoundApi, SoundsAndTheDeviceSurviveCollection) {
    gxtkAudio* device = kv_audio_device;
    gc_assign(kept_sound, (new c_Sound())->m_new(new WatchedSample));
    (new c_Sound())->m_new(new WatchedSample);
    destroyed = 0;
    for (int i = 0; i < 3; ++i) {
        gc_ext_malloced(kGcFullCollectBytes + 1);
        gc_collect(nullptr);
    }
    while (gc_free_bytes > 0) new Object;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(kv_audio_device, device);
    // The device still works after the collections.
    c_Sound* sound = kv_audio_LoadSound(tone());
    ASSERT_NE(sound, nullptr);
    kv_audio_PlaySound(sound, 0, 0);
    EXPECT_EQ(kv_audio_device->ChannelState(0), kChannelPlaying);
}

}  // namespace
