// The device's channel bookkeeping against OpenAL Soft's null output: restarts, sounds that end
// on their own, the game's pauses across suspend and resume, deferred buffer deletion, pan
// positions, buffer formats, and samples kept alive while they are heard.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "audio/audio_harness.h"
#include "audio/device.h"
#include "audio/sound_fixtures.h"

namespace {

class Device : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        use_openal("null");
        host = new TestHost;
        audio = new gxtkAudio();
        ASSERT_NE(audio->alcContext, nullptr);
        // As at start-up: the roots are queued once their globals have their values.
        gc_mark();
        tone_path = temp_path("tone.wav");
        write_file(tone_path, wave_file({.channels = 1, .bits = 16, .hertz = 22050}, sine_pcm16(22050, 1, 440, 22050, 0.5f)));
        blip_path = temp_path("blip.wav");
        write_file(blip_path, wave_file({.channels = 1, .bits = 8, .hertz = 22050}, Bytes(5512, 200)));
    }

    void TearDown() override {
        for (int channel = 0; channel < kAudioChannels; ++channel) {
            audio->ResumeChannel(channel);
            audio->StopChannel(channel);
        }
    }

    gxtkSample* load(const std::string& path) { return audio->LoadSample(String(path.c_str())); }

    ALint source_state(int channel) {
        ALint state = 0;
        alGetSourcei(audio->channels[channel].source, AL_SOURCE_STATE, &state);
        return state;
    }

    // Waits (at most two seconds) for a one-shot sound to end in OpenAL.
    void wait_until_stopped(int channel) {
        for (int i = 0; i < 200 && source_state(channel) != AL_STOPPED; ++i) sleep_ms(10);
        ASSERT_EQ(source_state(channel), AL_STOPPED);
    }

    static TestHost* host;
    static gxtkAudio* audio;
    static std::string tone_path, blip_path;
};

TestHost* Device::host;
gxtkAudio* Device::audio;
std::string Device::tone_path, Device::blip_path;

TEST_F(Device, MusicChannelHasItsSourceFromTheStart) {
    EXPECT_NE(audio->channels[kAudioMusicChannel].source, 0u);
    EXPECT_EQ(gxtkAudio::audio, audio);
}

TEST_F(Device, PlayingOnABusyChannelRestartsItWithTheNewSample) {
    gxtkSample* first = load(tone_path);
    gxtkSample* second = load(blip_path);
    audio->PlaySample(first, 2, 1);
    audio->PlaySample(second, 2, 0);
    ALint buffer = 0, looping = -1;
    alGetSourcei(audio->channels[2].source, AL_BUFFER, &buffer);
    alGetSourcei(audio->channels[2].source, AL_LOOPING, &looping);
    EXPECT_EQ(ALuint(buffer), second->buffer);
    EXPECT_EQ(looping, AL_FALSE);
    EXPECT_EQ(audio->channels[2].sample, second);
    EXPECT_EQ(audio->channels[2].flags, 0);
    EXPECT_EQ(audio->ChannelState(2), kChannelPlaying);
}

TEST_F(Device, EndedOneShotReadsStoppedAndStaysStoppedWhenPaused) {
    audio->PlaySample(load(blip_path), 1, 0);
    EXPECT_EQ(audio->channels[1].state, kChannelPlaying);
    wait_until_stopped(1);
    // The device only learns of the end when it asks.
    EXPECT_EQ(audio->channels[1].state, kChannelPlaying);
    audio->PauseChannel(1);
    EXPECT_EQ(audio->ChannelState(1), kChannelStopped);
    audio->PlaySample(load(blip_path), 1, 0);
    wait_until_stopped(1);
    EXPECT_EQ(audio->ChannelState(1), kChannelStopped);
}

struct Transition {
    const char* name;
    void (gxtkAudio::*operation)(int);
    int want_state;
    ALint want_source_state;
};

TEST_F(Device, PauseResumeAndStopMoveTheChannelThroughItsStates) {
    const Transition steps[] = {
        {"pause a playing channel", &gxtkAudio::PauseChannel, kChannelPaused, AL_PAUSED},
        {"pause again changes nothing", &gxtkAudio::PauseChannel, kChannelPaused, AL_PAUSED},
        {"resume a paused channel", &gxtkAudio::ResumeChannel, kChannelPlaying, AL_PLAYING},
        {"resume again changes nothing", &gxtkAudio::ResumeChannel, kChannelPlaying, AL_PLAYING},
        {"pause once more", &gxtkAudio::PauseChannel, kChannelPaused, AL_PAUSED},
        {"stop a paused channel", &gxtkAudio::StopChannel, kChannelStopped, AL_STOPPED},
        {"resume a stopped channel changes nothing", &gxtkAudio::ResumeChannel, kChannelStopped, AL_STOPPED},
    };
    audio->PlaySample(load(tone_path), 6, 1);
    for (const Transition& step : steps) {
        SCOPED_TRACE(step.name);
        (audio->*step.operation)(6);
        EXPECT_EQ(audio->ChannelState(6), step.want_state);
        EXPECT_EQ(source_state(6), step.want_source_state);
    }
}

TEST_F(Device, SuspendAndResumeKeepTheGamesOwnPause) {
    gxtkSample* tone = load(tone_path);
    audio->PlaySample(tone, 3, 1);
    audio->PlaySample(tone, 4, 1);
    audio->PauseChannel(4);

    audio->Suspend();
    EXPECT_EQ(source_state(3), AL_PAUSED);
    EXPECT_EQ(source_state(4), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(3), kChannelPlaying);
    EXPECT_EQ(audio->ChannelState(4), kChannelPaused);

    audio->Resume();
    EXPECT_EQ(source_state(3), AL_PLAYING);
    EXPECT_EQ(source_state(4), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(4), kChannelPaused);
}

TEST_F(Device, DiscardedSampleIsDeletedOnceNoSourceHoldsIt) {
    gxtkSample* blip = load(blip_path);
    gxtkSample* other = load(tone_path);
    ALuint buffer = blip->buffer;
    audio->PlaySample(blip, 7, 0);
    blip->Discard();
    EXPECT_EQ(blip->buffer, 0u);

    // Still heard: OpenAL refuses the deletion and the buffer waits.
    audio->PlaySample(other, 8, 1);
    EXPECT_TRUE(alIsBuffer(buffer));

    wait_until_stopped(7);
    audio->PlaySample(other, 8, 1);
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

struct PanCase {
    float pan;
    float x, z;
};

const PanCase kPans[] = {
    {0.0f, 0.0f, -1.0f},
    {1.5708f, 1.0f, 0.0f},
    {-1.5708f, -1.0f, 0.0f},
    {1.0f, 0.841471f, -0.540302f},
    {-1.0f, -0.841471f, -0.540302f},
};

TEST_F(Device, PanPlacesTheSourceOnACircleAroundTheListener) {
    for (const PanCase& c : kPans) {
        SCOPED_TRACE(c.pan);
        audio->SetPan(9, c.pan);
        ALfloat x = 9, y = 9, z = 9;
        alGetSource3f(audio->channels[9].source, AL_POSITION, &x, &y, &z);
        EXPECT_NEAR(x, c.x, 1e-4);
        EXPECT_EQ(y, 0.0f);
        EXPECT_NEAR(z, c.z, 1e-4);
    }
}

TEST_F(Device, VolumeAndRateStayOnTheSourceAcrossPlays) {
    audio->SetVolume(10, 0.25f);
    audio->SetRate(10, 1.5f);
    audio->PlaySample(load(tone_path), 10, 0);
    ALfloat gain = 0, pitch = 0;
    alGetSourcef(audio->channels[10].source, AL_GAIN, &gain);
    alGetSourcef(audio->channels[10].source, AL_PITCH, &pitch);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
    audio->SetMusicVolume(0.5f);
    alGetSourcef(audio->channels[kAudioMusicChannel].source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.5f);
}

struct FormatCase {
    const char* name;
    const char* file;
    Bytes bytes;
    int want_bits, want_channels, want_hertz, want_size;
};

TEST_F(Device, LoadedSamplesGetTheBufferFormatOfTheirData) {
    const FormatCase cases[] = {
        {"8-bit mono", "mono8.wav", wave_file({.channels = 1, .bits = 8, .hertz = 11025}, Bytes(500, 128)), 8, 1, 11025, 500},
        {"16-bit stereo", "stereo16.wav", wave_file({.channels = 2, .bits = 16, .hertz = 44100}, Bytes(4000, 0)), 16, 2, 44100, 4000},
        {"upper-case extension", "LOUD.WAV", wave_file({.channels = 2, .bits = 8, .hertz = 8000}, Bytes(64, 128)), 8, 2, 8000, 64},
        {"mono Ogg Vorbis", "tune.ogg", sine_ogg(2205, 22050, 440, 0.5f), 16, 1, 22050, 4410},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = temp_path(c.file);
        write_file(path, c.bytes);
        gxtkSample* sample = load(path);
        ASSERT_NE(sample, nullptr);
        ALint bits = 0, channels = 0, hertz = 0, size = 0;
        alGetBufferi(sample->buffer, AL_BITS, &bits);
        alGetBufferi(sample->buffer, AL_CHANNELS, &channels);
        alGetBufferi(sample->buffer, AL_FREQUENCY, &hertz);
        alGetBufferi(sample->buffer, AL_SIZE, &size);
        EXPECT_EQ(bits, c.want_bits);
        EXPECT_EQ(channels, c.want_channels);
        EXPECT_EQ(hertz, c.want_hertz);
        EXPECT_EQ(size, c.want_size);
    }
}

TEST_F(Device, TwentyFourBitSampleLoadsButHoldsNothing) {
    std::string path = temp_path("deep.wav");
    write_file(path, wave_file({.channels = 1, .bits = 24, .hertz = 22050}, Bytes(300, 1)));
    gxtkSample* sample = load(path);
    ASSERT_NE(sample, nullptr);
    ALint size = -1;
    alGetBufferi(sample->buffer, AL_SIZE, &size);
    EXPECT_EQ(size, 0);
    alGetError();
}

TEST_F(Device, UnloadableFilesGiveNoSample) {
    std::string mp3 = temp_path("song.mp3");
    write_file(mp3, wave_file({.channels = 1, .bits = 8, .hertz = 8000}, Bytes(10, 1)));
    std::string broken = temp_path("broken.wav");
    write_file(broken, Bytes{'R', 'I', 'F', 'F'});
    for (const std::string& path : {mp3, broken, temp_path("missing.wav")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(load(path), nullptr);
    }
    EXPECT_EQ(audio->PlayMusic(String(temp_path("missing.ogg").c_str()), 1), -1);
}

TEST_F(Device, ChannelNumbersOutsideTheDeviceAreIgnored) {
    gxtkSample* tone = load(tone_path);
    for (int channel : {-1, 33, 1000}) {
        SCOPED_TRACE(channel);
        audio->PlaySample(tone, channel, 1);
        audio->SetVolume(channel, 0.5f);
        audio->SetPan(channel, 1.0f);
        audio->SetRate(channel, 2.0f);
        audio->PauseChannel(channel);
        audio->ResumeChannel(channel);
        audio->StopChannel(channel);
        EXPECT_EQ(audio->ChannelState(channel), kChannelStopped);
    }
}

// A sample whose destruction the test can see.
int destroyed_samples;
class WatchedSample : public gxtkSample {
public:
    ~WatchedSample() override { ++destroyed_samples; }
};

void collect_everything_unreachable() {
    for (int i = 0; i < 3; ++i) {
        gc_ext_malloced(kGcFullCollectBytes + 1);
        gc_collect(nullptr);
    }
    // Garbage is destroyed as new objects are allocated.
    while (gc_free_bytes > 0) new Object;
}

TEST_F(Device, SampleStaysAliveWhileItIsHeard) {
    auto* heard = new WatchedSample;
    auto* stopped = new WatchedSample;
    ASSERT_TRUE(audio->LoadSample__UNSAFE__(heard, String(tone_path.c_str())));
    ASSERT_TRUE(audio->LoadSample__UNSAFE__(stopped, String(tone_path.c_str())));
    audio->PlaySample(heard, 11, 1);
    audio->PlaySample(stopped, 12, 1);
    audio->StopChannel(12);

    destroyed_samples = 0;
    collect_everything_unreachable();
    EXPECT_EQ(destroyed_samples, 1);
    EXPECT_EQ(source_state(11), AL_PLAYING);

    audio->StopChannel(11);
    collect_everything_unreachable();
    EXPECT_EQ(destroyed_samples, 2);
}

}  // namespace
