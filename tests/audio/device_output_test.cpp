// What the device really puts out, recorded through OpenAL Soft's wave-file output: effects
// are heard where they are panned, stopping and suspending silence them, resuming brings them
// back, music loops. Each case opens its own device in a child process (OpenAL Soft reads its
// settings once per process). Also: borrowing sources when OpenAL grants no more, and a
// missing device that leaves a silent but working program.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "audio/audio_harness.h"
#include "audio/device.h"
#include "audio/sound_fixtures.h"

namespace {

constexpr double kLoud = 2000;   // RMS of a half-scale tone at the output is about 8000
constexpr double kSilent = 30;   // OpenAL Soft writes exact zeros when nothing plays
constexpr double kMargin = 0.08; // seconds allowed for a change to reach the output

const std::string& tone_path() {
    static const std::string path = [] {
        std::string p = temp_path("tone.wav");
        write_file(p, wave_file({.channels = 1, .bits = 16, .hertz = 22050}, sine_pcm16(22050, 1, 440, 22050, 0.5f)));
        return p;
    }();
    return path;
}

// 0.2 seconds of music, shorter than any recording, so only looping can keep it going.
const std::string& jingle_path() {
    static const std::string path = [] {
        std::string p = temp_path("jingle.ogg");
        write_file(p, sine_ogg(4410, 22050, 330, 0.5f));
        return p;
    }();
    return path;
}

// Times of a script's events in seconds after its first sound started.
class Timeline {
public:
    void start() { begun_ = now_seconds(); }
    void mark(const std::string& name) { std::printf("@%s %f\n", name.c_str(), seconds_since(begun_)); }

private:
    double begun_ = 0;
};

struct Recorded {
    Recording sound;
    std::map<std::string, double> marks;
    double onset = -1;  // when the first sound reached the output, in recording seconds

    double at(const std::string& mark) const { return onset + marks.at(mark); }
};

// Runs the script against a fresh device writing to a wave file, then reads what was heard.
Recorded record(const std::function<void(gxtkAudio*, Timeline*)>& script) {
    static int runs = 0;
    std::string output = temp_path("heard-" + std::to_string(++runs) + ".wav");
    tone_path();
    jingle_path();
    ChildRun run = run_in_child([&] {
        use_openal("wave", "[general]\nchannels=stereo\nsample-type=int16\nfrequency=48000\nperiod_size=480\n"
                           "[wave]\nfile=" + output + "\n");
        TestHost host;
        gxtkAudio* audio = new gxtkAudio();
        CHILD_CHECK(audio->alcContext != nullptr);
        Timeline timeline;
        script(audio, &timeline);
        close_device(audio);
    });
    Recorded out;
    EXPECT_EQ(run.exit_code, 0) << run.output;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 1 && line[0] == '@') {
            std::istringstream fields(line.substr(1));
            std::string name;
            double seconds;
            fields >> name >> seconds;
            out.marks[name] = seconds;
        }
    }
    out.sound = read_recording(output);
    out.onset = out.sound.onset(200);
    return out;
}

gxtkSample* load_or_die(gxtkAudio* audio, const std::string& path) {
    gxtkSample* sample = audio->LoadSample(String(path.c_str()));
    CHILD_CHECK(sample != nullptr && sample->buffer != 0);
    return sample;
}

struct PanCase {
    const char* name;
    float pan;
    int louder;  // output channel expected to carry the tone: 0 left, 1 right, -1 both alike
};

const PanCase kPans[] = {
    {"hard right", 1.5708f, 1},
    {"hard left", -1.5708f, 0},
    {"straight ahead", 0.0f, -1},
};

TEST(DeviceOutput, PlayedEffectIsHeardWhereItIsPanned) {
    for (const PanCase& c : kPans) {
        SCOPED_TRACE(c.name);
        Recorded heard = record([&](gxtkAudio* audio, Timeline* timeline) {
            gxtkSample* tone = load_or_die(audio, tone_path());
            audio->SetPan(0, c.pan);
            timeline->start();
            audio->PlaySample(tone, 0, 0);
            sleep_ms(400);
        });
        ASSERT_EQ(heard.sound.channels, 2);
        ASSERT_GE(heard.onset, 0) << "nothing was heard";
        double from = heard.onset + kMargin, to = heard.onset + 0.3;
        double left = heard.sound.rms(from, to, 0), right = heard.sound.rms(from, to, 1);
        EXPECT_GT(std::max(left, right), kLoud);
        if (c.louder == 1) {
            EXPECT_GT(right, 5 * left);
        } else if (c.louder == 0) {
            EXPECT_GT(left, 5 * right);
        } else {
            EXPECT_NEAR(left / right, 1.0, 0.2);
        }
    }
}

TEST(DeviceOutput, StoppedChannelGoesQuiet) {
    Recorded heard = record([](gxtkAudio* audio, Timeline* timeline) {
        gxtkSample* tone = load_or_die(audio, tone_path());
        timeline->start();
        audio->PlaySample(tone, 3, 1);
        sleep_ms(300);
        audio->StopChannel(3);
        timeline->mark("stopped");
        CHILD_CHECK(audio->ChannelState(3) == kChannelStopped);
        sleep_ms(300);
    });
    ASSERT_GE(heard.onset, 0) << "nothing was heard";
    EXPECT_GT(heard.sound.rms(heard.onset, heard.at("stopped") - kMargin), kLoud);
    EXPECT_LT(heard.sound.rms(heard.at("stopped") + kMargin, heard.sound.frames() / double(heard.sound.rate)), kSilent);
}

TEST(DeviceOutput, SuspendSilencesAndResumeRestores) {
    Recorded heard = record([](gxtkAudio* audio, Timeline* timeline) {
        gxtkSample* tone = load_or_die(audio, tone_path());
        timeline->start();
        audio->PlaySample(tone, 0, 1);
        sleep_ms(300);
        timeline->mark("suspend");
        audio->Suspend();
        timeline->mark("suspended");
        sleep_ms(400);
        timeline->mark("resume");
        audio->Resume();
        sleep_ms(300);
        CHILD_CHECK(audio->ChannelState(0) == kChannelPlaying);
    });
    ASSERT_GE(heard.onset, 0) << "nothing was heard";
    EXPECT_GT(heard.sound.rms(heard.onset, heard.at("suspend") - kMargin), kLoud);
    EXPECT_LT(heard.sound.rms(heard.at("suspended") + kMargin, heard.at("resume") - kMargin), kSilent);
    EXPECT_GT(heard.sound.rms(heard.at("resume") + kMargin, heard.at("resume") + 0.2), kLoud);
}

struct MusicCase {
    const char* name;
    int flags;
    bool heard_after_its_end;
};

const MusicCase kMusic[] = {
    {"looping music keeps playing", 1, true},
    {"music played once ends", 0, false},
};

TEST(DeviceOutput, MusicLoopsWhenAskedTo) {
    for (const MusicCase& c : kMusic) {
        SCOPED_TRACE(c.name);
        Recorded heard = record([&](gxtkAudio* audio, Timeline* timeline) {
            timeline->start();
            CHILD_CHECK(audio->PlayMusic(String(jingle_path().c_str()), c.flags) == 0);
            sleep_ms(800);
            CHILD_CHECK(audio->MusicState() == (c.heard_after_its_end ? kChannelPlaying : kChannelStopped));
        });
        ASSERT_GE(heard.onset, 0) << "nothing was heard";
        EXPECT_GT(heard.sound.rms(heard.onset + 0.02, heard.onset + 0.18), kLoud);
        // Every stretch well past the music's 0.2 seconds.
        for (double from = heard.onset + 0.3; from < heard.onset + 0.6; from += 0.05) {
            double level = heard.sound.rms(from, from + 0.05);
            if (c.heard_after_its_end) {
                EXPECT_GT(level, kLoud) << "at " << from;
            } else {
                EXPECT_LT(level, kSilent) << "at " << from;
            }
        }
    }
}

TEST(DeviceSources, BusyChannelBorrowsTheSourceOfTheLowestIdleEffectChannel) {
    tone_path();
    ChildRun run = run_in_child([] {
        // Four sources in all: the music channel's and three for effects.
        use_openal("null", "[general]\nsources=4\n");
        TestHost host;
        gxtkAudio* audio = new gxtkAudio();
        gxtkSample* tone = load_or_die(audio, tone_path());
        ALuint music_source = audio->channels[kAudioMusicChannel].source;
        CHILD_CHECK(music_source != 0);
        for (int channel : {0, 1, 2}) audio->PlaySample(tone, channel, 1);
        ALuint idle_source = audio->channels[1].source;
        CHILD_CHECK(idle_source != 0 && audio->channels[2].source != 0);
        audio->StopChannel(1);
        audio->StopChannel(2);

        audio->PlaySample(tone, 5, 1);
        CHILD_CHECK(audio->channels[5].source == idle_source);
        CHILD_CHECK(audio->channels[1].source == 0);
        CHILD_CHECK(audio->channels[2].source != 0);
        CHILD_CHECK(audio->ChannelState(5) == kChannelPlaying);

        // With every source busy the request plays nothing, and the music keeps its source.
        audio->PlaySample(tone, 2, 1);
        audio->PlaySample(tone, 6, 1);
        CHILD_CHECK(audio->channels[6].source == 0);
        CHILD_CHECK(audio->ChannelState(6) == kChannelStopped);
        CHILD_CHECK(audio->channels[kAudioMusicChannel].source == music_source);
        // The setters then reach no source and change nothing.
        audio->SetVolume(7, 0.5f);
        CHILD_CHECK(audio->channels[7].source == 0);
        close_device(audio);
    });
    EXPECT_EQ(run.exit_code, 0) << run.output;
}

TEST(DeviceWithoutHardware, SaysSoOnceAndThenDoesNothing) {
    tone_path();
    jingle_path();
    ChildRun run = run_in_child([] {
        use_openal("no-such-driver");
        TestHost host;
        gxtkAudio* audio = new gxtkAudio();
        CHILD_CHECK(audio->alcDevice == nullptr && audio->alcContext == nullptr);
        gxtkSample* tone = audio->LoadSample(String(tone_path().c_str()));
        CHILD_CHECK(tone != nullptr);
        for (int channel = 0; channel < kAudioEffectChannels; ++channel) {
            audio->SetVolume(channel, 0.5f);
            audio->SetPan(channel, 1.0f);
            audio->SetRate(channel, 2.0f);
            audio->PlaySample(tone, channel, 1);
            CHILD_CHECK(audio->ChannelState(channel) == kChannelStopped);
        }
        audio->PauseChannel(0);
        audio->ResumeChannel(0);
        audio->StopChannel(0);
        audio->Suspend();
        audio->Resume();
        CHILD_CHECK(audio->PlayMusic(String(jingle_path().c_str()), 1) == 0);
        CHILD_CHECK(audio->MusicState() == kChannelStopped);
        audio->SetMusicVolume(0.5f);
        audio->PauseMusic();
        audio->ResumeMusic();
        audio->StopMusic();
        tone->Discard();
    });
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.output, "opening openal device\nOpenAl error: alcOpenDevice failed\n");
}

}  // namespace
