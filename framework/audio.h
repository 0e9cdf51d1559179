// The audio module: what the game calls to load and play sounds and music,
// over the installed audio device.
#pragma once

#include "devices/gxtk_audio.h"
#include "runtime/runtime.h"

class c_Sound : public Object {
public:
    gxtkSample* m_sample = nullptr;

    c_Sound* m_new(gxtkSample* sample);
    void mark() override;
};

extern gxtkAudio* kz_audio_device;

int kz_audio_SetAudioDevice(gxtkAudio* device);
// Null when the file cannot be loaded.
c_Sound* kz_audio_LoadSound(String path);
// Does nothing for a null sound; any non-zero flags loop.
int kz_audio_PlaySound(c_Sound* sound, int channel, int flags);
int kz_audio_StopChannel(int channel);
int kz_audio_SetChannelVolume(int channel, float volume);
int kz_audio_SetChannelPan(int channel, float pan);
int kz_audio_SetChannelRate(int channel, float rate);
// 0, or -1 when the file cannot be loaded (nothing plays then).
int kz_audio_PlayMusic(String path, int flags);
// The sound files that will be loaded or played next begin decoding on the
// side where the host can; the sounds are the same either way.
int kz_audio_DecodeSoundsAhead(Array<String> paths);
int kz_audio_StopMusic();
int kz_audio_PauseMusic();
int kz_audio_ResumeMusic();
