// The audio device over OpenAL: opening it (or carrying on silently), the channel state
// machine, sources borrowed from idle effect channels when OpenAL grants no more, and buffer
// deletion deferred until no source holds the buffer.
#include "audio/device.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "host/game.h"
#include "runtime/errors.h"

gxtkAudio* gxtkAudio::audio = nullptr;

namespace {

// Buffers of discarded or destroyed samples whose deletion OpenAL has not yet accepted.
std::vector<ALuint> pending_deletions;

gc_roots roots([] { gc_mark_q(gxtkAudio::audio); });

// A failed query (no context) reads as stopped, so nothing waits on a source that is gone.
ALint source_state(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// Channel numbers come from the game unchecked; anything outside the 33 records is ignored.
gxtkChannel* channel_at(gxtkAudio* audio, int channel) {
    return channel >= 0 && channel < kAudioChannels ? &audio->channels[channel] : nullptr;
}

ALenum buffer_format(int format, int channels) {
    if (format == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (format == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (format == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (format == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

// OpenAL refuses to delete a buffer a source still holds, so finished sources let go of
// theirs first and whatever is still refused waits for the next flush.
void flush_pending_deletions(gxtkAudio* audio) {
    if (pending_deletions.empty()) return;
    for (gxtkChannel& chan : audio->channels) {
        if (chan.state != kChannelStopped && source_state(chan.source) == AL_STOPPED) {
            alSourcei(chan.source, AL_BUFFER, 0);
        }
    }
    // Compacted in place: this runs with every sound played, and must not allocate.
    size_t kept = 0;
    for (size_t i = 0; i < pending_deletions.size(); ++i) {
        ALuint buffer = pending_deletions[i];
        alGetError();
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) pending_deletions[kept++] = buffer;
    }
    pending_deletions.resize(kept);
}

void discard_buffer(ALuint* buffer) {
    if (*buffer) pending_deletions.push_back(*buffer);
    *buffer = 0;
}

}  // namespace

ALuint gxtkChannel::AL_Source() {
    if (source) return source;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() == AL_NO_ERROR) return source;

    // The music channel is never robbed: it takes its source at start-up and keeps it.
    source = 0;
    gxtkAudio* audio = gxtkAudio::audio;
    for (int i = 0; i < kAudioEffectChannels; ++i) {
        gxtkChannel& other = audio->channels[i];
        if (other.source && audio->ChannelState(i) == kChannelStopped) {
            source = other.source;
            other.source = 0;
            break;
        }
    }
    return source;
}

gxtkSample::gxtkSample() {}

gxtkSample::gxtkSample(ALuint buffer) : buffer(buffer) {}

gxtkSample::~gxtkSample() { discard_buffer(&buffer); }

void gxtkSample::SetBuffer(ALuint value) { buffer = value; }

void gxtkSample::Discard() { discard_buffer(&buffer); }

gxtkAudio::gxtkAudio() {
    audio = this;
    alcDevice = alcOpenDevice(nullptr);
    if (!alcDevice) alcDevice = alcOpenDevice("Generic Hardware");
    if (!alcDevice) alcDevice = alcOpenDevice("Generic Software");
    kvDebugLog(String("opening openal device"));
    if (!alcDevice) {
        kvDebugLog(String("OpenAl error: alcOpenDevice failed"));
    } else if (!(alcContext = alcCreateContext(alcDevice, nullptr))) {
        kvDebugLog(String("OpenAl error: alcCreateContext failed"));
    } else if (!alcMakeContextCurrent(alcContext)) {
        kvDebugLog(String("OpenAl error: alcMakeContextCurrent failed"));
    }
    // Positions only give a direction (the pan); distance never attenuates.
    alDistanceModel(AL_NONE);
    channels[kAudioMusicChannel].AL_Source();
}

void gxtkAudio::mark() {
    // A sample stays alive while it is heard, even after the game has let go of it.
    for (gxtkChannel& chan : channels) {
        if (chan.state != kChannelStopped && source_state(chan.source) != AL_STOPPED) gc_mark_q(chan.sample);
    }
}

void gxtkAudio::Suspend() {
    for (gxtkChannel& chan : channels) {
        if (chan.state == kChannelPlaying && source_state(chan.source) == AL_PLAYING) alSourcePause(chan.source);
    }
}

void gxtkAudio::Resume() {
    for (gxtkChannel& chan : channels) {
        if (chan.state == kChannelPlaying && source_state(chan.source) == AL_PAUSED) alSourcePlay(chan.source);
    }
}

gxtkSample* gxtkAudio::LoadSample(String path) {
    flush_pending_deletions(this);
    gxtkSample* sample = new gxtkSample();
    return LoadSample__UNSAFE__(sample, path) ? sample : nullptr;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
    if (!KvGame::_game) return false;
    int length = 0, channel_count = 0, format = 0, hertz = 0;
    unsigned char* data = KvGame::_game->LoadAudioData(path, &length, &channel_count, &format, &hertz);
    if (!data) return false;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, buffer_format(format, channel_count), data, format * channel_count * length, hertz);
    std::free(data);
    sample->SetBuffer(buffer);
    return true;
}

void gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    gxtkChannel* chan = channel_at(this, channel);
    if (!chan || !sample) return;
    flush_pending_deletions(this);
    ALuint source = chan->AL_Source();
    if (!source) return;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, ALint(sample->buffer));
    alSourcei(source, AL_LOOPING, flags ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    gc_assign(chan->sample, sample);
    chan->flags = flags;
    chan->state = kChannelPlaying;
}

void gxtkAudio::StopChannel(int channel) {
    gxtkChannel* chan = channel_at(this, channel);
    if (!chan || chan->state == kChannelStopped) return;
    alSourceStop(chan->source);
    chan->state = kChannelStopped;
}

void gxtkAudio::PauseChannel(int channel) {
    gxtkChannel* chan = channel_at(this, channel);
    if (!chan || chan->state != kChannelPlaying) return;
    if (source_state(chan->source) == AL_STOPPED) {
        chan->state = kChannelStopped;
        return;
    }
    alSourcePause(chan->source);
    chan->state = kChannelPaused;
}

void gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel* chan = channel_at(this, channel);
    if (!chan || chan->state != kChannelPaused) return;
    alSourcePlay(chan->source);
    chan->state = kChannelPlaying;
}

int gxtkAudio::ChannelState(int channel) {
    gxtkChannel* chan = channel_at(this, channel);
    if (!chan) return kChannelStopped;
    if (chan->state == kChannelPlaying && source_state(chan->source) == AL_STOPPED) chan->state = kChannelStopped;
    return chan->state;
}

void gxtkAudio::SetVolume(int channel, float volume) {
    if (gxtkChannel* chan = channel_at(this, channel)) alSourcef(chan->AL_Source(), AL_GAIN, volume);
}

void gxtkAudio::SetPan(int channel, float pan) {
    if (gxtkChannel* chan = channel_at(this, channel)) {
        alSource3f(chan->AL_Source(), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
    }
}

void gxtkAudio::SetRate(int channel, float rate) {
    if (gxtkChannel* chan = channel_at(this, channel)) alSourcef(chan->AL_Source(), AL_PITCH, rate);
}

int gxtkAudio::PlayMusic(String path, int flags) {
    StopMusic();
    gxtkSample* sample = LoadSample(path);
    if (!sample) return -1;
    PlaySample(sample, kAudioMusicChannel, flags);
    return 0;
}

void gxtkAudio::StopMusic() { StopChannel(kAudioMusicChannel); }

void gxtkAudio::PauseMusic() { PauseChannel(kAudioMusicChannel); }

void gxtkAudio::ResumeMusic() { ResumeChannel(kAudioMusicChannel); }

int gxtkAudio::MusicState() { return ChannelState(kAudioMusicChannel); }

void gxtkAudio::SetMusicVolume(float volume) { SetVolume(kAudioMusicChannel, volume); }
