#include "framework/audio.h"

#include "host/files.h"

namespace {

void MarkAudioRoots() { gc_mark_q(kz_audio_device); }
const bool kRootsRegistered = (gc_add_roots(MarkAudioRoots), true);

}  // namespace

gxtkAudio* kz_audio_device = nullptr;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
    gc_assign(m_sample, sample);
    return this;
}

void c_Sound::mark() { gc_mark_q(m_sample); }

int kz_audio_SetAudioDevice(gxtkAudio* device) {
    gc_assign(kz_audio_device, device);
    return 0;
}

c_Sound* kz_audio_LoadSound(String path) {
    gxtkSample* sample = kz_audio_device->LoadSample(kz_data_FixDataPath(path));
    if (!sample) return nullptr;
    return (new c_Sound())->m_new(sample);
}

int kz_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (sound && sound->m_sample) kz_audio_device->PlaySample(sound->m_sample, channel, flags);
    return 0;
}

int kz_audio_StopChannel(int channel) { return kz_audio_device->StopChannel(channel); }
int kz_audio_SetChannelVolume(int channel, float volume) { return kz_audio_device->SetVolume(channel, volume); }
int kz_audio_SetChannelPan(int channel, float pan) { return kz_audio_device->SetPan(channel, pan); }
int kz_audio_SetChannelRate(int channel, float rate) { return kz_audio_device->SetRate(channel, rate); }

int kz_audio_PlayMusic(String path, int flags) {
    return kz_audio_device->PlayMusic(kz_data_FixDataPath(path), flags);
}

int kz_audio_DecodeSoundsAhead(Array<String> paths) {
    if (kz_audio_device && kz_audio_device->host) {
        kz_audio_device->host->DecodeSoundsAhead(kz_data_FixDataPaths(paths));
    }
    return 0;
}

int kz_audio_StopMusic() { return kz_audio_device->StopMusic(); }
int kz_audio_PauseMusic() { return kz_audio_device->PauseMusic(); }
int kz_audio_ResumeMusic() { return kz_audio_device->ResumeMusic(); }
