// The audio device over OpenAL: 33 channels (0-31 for effects, 32 for music),
// each playing one sample at a time through one lazily created source, and
// samples that own OpenAL buffers.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <vector>

#include "host/kzgame.h"
#include "runtime/runtime.h"

class gxtkSample;

// One playback channel (a plain record inside the device).
struct gxtkChannel {
    ALuint source = 0;  // 0 until the channel first needs one
    gxtkSample* sample = nullptr;  // the sample last started here
    int flags = 0;  // of the last PlaySample; bit 0 loops
    int state = 0;  // kChannelStopped, kChannelPlaying or kChannelPaused

    // The channel's source, created on first use; when OpenAL has no more,
    // the source of a stopped effect channel is taken over. 0 if none.
    ALuint AL_Source();
};

constexpr int kChannelStopped = 0;
constexpr int kChannelPlaying = 1;
constexpr int kChannelPaused = 2;

constexpr int kEffectChannels = 32;
constexpr int kMusicChannel = 32;
constexpr int kChannelCount = 33;

class gxtkAudio : public Object {
public:
    // Opens the default OpenAL device; set-up failures are printed and the
    // device then runs on silently.
    // Sound files are read through `host`, the program's host object, given
    // once here; with none, no sample loads.
    explicit gxtkAudio(KzGame* host);

    virtual int Suspend();
    virtual int Resume();
    virtual gxtkSample* LoadSample(String path);
    virtual bool LoadSample__UNSAFE__(gxtkSample* sample, String path);
    virtual int PlaySample(gxtkSample* sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    virtual int PlayMusic(String path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);

    // Keeps alive the samples that are still playing or paused.
    void mark() override;

    KzGame* host = nullptr;
    ALCdevice* alcDevice = nullptr;
    ALCcontext* alcContext = nullptr;
    gxtkChannel channels[kChannelCount];

    // The last tune played and its file: a tune decoded once is played again
    // from the same buffer, so a new level does not decode it again.
    gxtkSample* music = nullptr;
    String musicPath;

    // Whether a sample of this file is discarded for the first time in this
    // device's life; a sample not loaded from a file always is. A window
    // resize reloads every effect, and one line per sound file is enough.
    bool FirstDiscardOf(const String& path);

    static gxtkAudio* audio;
    // Buffers of discarded samples, deleted once no source holds them.
    static std::vector<ALuint> discarded;

private:
    // The channel of that number; null outside 0-32.
    gxtkChannel* Channel(int channel);
    // Deletes the discarded buffers that no source holds any more.
    void FlushDiscarded();

    std::vector<String> discardedPaths;
};

class gxtkSample : public Object {
public:
    // Prints "Discarding sample" (once per sound file) and queues the buffer
    // for deletion.
    ~gxtkSample() override;

    // Queues the buffer for deletion; the sample then has none.
    virtual int Discard();

    ALuint buffer = 0;
    String path;  // the file it was loaded from; empty if none
};
