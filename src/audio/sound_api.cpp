// The sound module functions: data-folder paths for sounds and music, a guard against playing
// a sound that failed to load, and everything else handed straight to the audio device.
#include "audio/sound_api.h"

#include "host/data_path.h"

gxtkAudio* kv_audio_device = nullptr;

namespace {

gc_roots roots([] { gc_mark_q(kv_audio_device); });

}  // namespace

c_Sound* c_Sound::m_new(gxtkSample* value) {
    gc_assign(sample, value);
    return this;
}

void c_Sound::mark() { gc_mark_q(sample); }

void kv_audio_SetAudioDevice(gxtkAudio* device) { gc_assign(kv_audio_device, device); }

c_Sound* kv_audio_LoadSound(String path) {
    gxtkSample* sample = kv_audio_device->LoadSample(kv_data_FixDataPath(path));
    return sample ? (new c_Sound())->m_new(sample) : nullptr;
}

void kv_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (sound && sound->sample) kv_audio_device->PlaySample(sound->sample, channel, flags);
}

void kv_audio_StopChannel(int channel) { kv_audio_device->StopChannel(channel); }

void kv_audio_SetChannelVolume(int channel, float volume) { kv_audio_device->SetVolume(channel, volume); }

void kv_audio_SetChannelPan(int channel, float pan) { kv_audio_device->SetPan(channel, pan); }

void kv_audio_SetChannelRate(int channel, float rate) { kv_audio_device->SetRate(channel, rate); }

int kv_audio_PlayMusic(String path, int flags) { return kv_audio_device->PlayMusic(kv_data_FixDataPath(path), flags); }

void kv_audio_StopMusic() { kv_audio_device->StopMusic(); }

void kv_audio_PauseMusic() { kv_audio_device->PauseMusic(); }

void kv_audio_ResumeMusic() { kv_audio_device->ResumeMusic(); }
