// The game's sound interface: sounds loaded from the data folder, played on numbered channels,
// and music started by file name, all handed on to the one audio device.
#pragma once

#include "audio/device.h"
#include "runtime/gc.h"
#include "runtime/string.h"

class c_Sound : public Object {
public:
    gxtkSample* sample = nullptr;

    c_Sound* m_new(gxtkSample* sample);
    void mark() override;
};

// Set once at start-up by the game delegate.
extern gxtkAudio* kv_audio_device;

void kv_audio_SetAudioDevice(gxtkAudio* device);
c_Sound* kv_audio_LoadSound(String path);
void kv_audio_PlaySound(c_Sound* sound, int channel, int flags);
void kv_audio_StopChannel(int channel);
void kv_audio_SetChannelVolume(int channel, float volume);
void kv_audio_SetChannelPan(int channel, float pan);
void kv_audio_SetChannelRate(int channel, float rate);
int kv_audio_PlayMusic(String path, int flags);
void kv_audio_StopMusic();
void kv_audio_PauseMusic();
void kv_audio_ResumeMusic();
