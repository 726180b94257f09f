// The audio device: OpenAL's device and context, 32 sound-effect channels and one music
// channel with lazily obtained sources, the samples that hold OpenAL buffers, and the deferred
// deletion of buffers that a source may still be holding.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include "runtime/gc.h"
#include "runtime/string.h"

class gxtkSample;

constexpr int kAudioEffectChannels = 32;
constexpr int kAudioMusicChannel = 32;
constexpr int kAudioChannels = 33;

// Channel states as the device sees them; OpenAL may already have finished a one-shot sound
// that still reads kChannelPlaying here until ChannelState asks.
constexpr int kChannelStopped = 0;
constexpr int kChannelPlaying = 1;
constexpr int kChannelPaused = 2;

// A plain record inside the device, not a collected object.
struct gxtkChannel {
    ALuint source = 0;
    gxtkSample* sample = nullptr;
    int flags = 0;
    int state = kChannelStopped;

    // The channel's source, obtained on first use; 0 when OpenAL grants none and no idle
    // effect channel has one to give up.
    ALuint AL_Source();
};

class gxtkSample : public Object {
public:
    ALuint buffer = 0;

    gxtkSample();
    explicit gxtkSample(ALuint buffer);
    ~gxtkSample() override;

    void SetBuffer(ALuint buffer);
    virtual void Discard();
};

class gxtkAudio : public Object {
public:
    ALCdevice* alcDevice = nullptr;
    ALCcontext* alcContext = nullptr;
    gxtkChannel channels[kAudioChannels];

    // The device most recently constructed; there is one per program.
    static gxtkAudio* audio;

    gxtkAudio();
    void mark() override;

    // Loss and return of focus: sources paused underneath, channel states untouched, so a
    // channel the game paused itself stays paused after Resume.
    virtual void Suspend();
    virtual void Resume();
    virtual gxtkSample* LoadSample(String path);
    virtual bool LoadSample__UNSAFE__(gxtkSample* sample, String path);
    virtual void PlaySample(gxtkSample* sample, int channel, int flags);
    virtual void StopChannel(int channel);
    virtual void PauseChannel(int channel);
    virtual void ResumeChannel(int channel);
    virtual int ChannelState(int channel);
    virtual void SetVolume(int channel, float volume);
    virtual void SetPan(int channel, float pan);
    virtual void SetRate(int channel, float rate);
    // 0 when the music started, -1 when the file could not be loaded (the old music is stopped).
    virtual int PlayMusic(String path, int flags);
    virtual void StopMusic();
    virtual void PauseMusic();
    virtual void ResumeMusic();
    virtual int MusicState();
    virtual void SetMusicVolume(float volume);
};
