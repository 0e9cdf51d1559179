// The OpenAL device: set-up, loading sound files into buffers, channels and
// their sources, playback state, suspension, and the deferred deletion of
// discarded buffers.
#include "devices/gxtk_audio.h"

#include <algorithm>
#include <cstdlib>


gxtkAudio* gxtkAudio::audio = nullptr;
std::vector<ALuint> gxtkAudio::discarded;

namespace {

// 0 for a layout OpenAL cannot take; uploading with it leaves the buffer empty.
ALenum OpenAlFormat(int bytes_per_sample, int channels) {
    if (bytes_per_sample == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (bytes_per_sample == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (bytes_per_sample == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (bytes_per_sample == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

// A source OpenAL cannot describe (there is no context) counts as stopped.
ALint SourceState(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

bool SourceStopped(ALuint source) { return SourceState(source) == AL_STOPPED; }

void MarkAudioDevice() { gc_mark_q(gxtkAudio::audio); }
const bool kRootsRegistered = (gc_add_roots(MarkAudioDevice), true);

// Opens the default device and makes a context current on it; each failure
// is reported and ends the set-up.
void OpenDevice(gxtkAudio* device) {
    device->alcDevice = alcOpenDevice(nullptr);
    if (!device->alcDevice) {
        kzPrint(String("OpenAl error: alcOpenDevice failed"));
        return;
    }
    device->alcContext = alcCreateContext(device->alcDevice, nullptr);
    if (!device->alcContext) {
        kzPrint(String("OpenAl error: alcCreateContext failed"));
        return;
    }
    if (!alcMakeContextCurrent(device->alcContext)) {
        kzPrint(String("OpenAl error: alcMakeContextCurrent failed"));
    }
}

// Gives the device back at the program's end, whichever way it ends, so that
// OpenAL has nothing left open to complain of.
void CloseDeviceAtExit() {
    gxtkAudio* device = gxtkAudio::audio;
    if (!device) return;
    alcMakeContextCurrent(nullptr);
    if (device->alcContext) alcDestroyContext(device->alcContext);
    if (device->alcDevice) alcCloseDevice(device->alcDevice);
    device->alcContext = nullptr;
    device->alcDevice = nullptr;
}

}  // namespace

ALuint gxtkChannel::AL_Source() {
    if (source) return source;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() == AL_NO_ERROR) return source;

    // Out of sources: take one from a stopped effect channel. The music
    // channel keeps its own.
    source = 0;
    for (int i = 0; i < kEffectChannels; ++i) {
        gxtkChannel& other = gxtkAudio::audio->channels[i];
        if (other.source && gxtkAudio::audio->ChannelState(i) == kChannelStopped) {
            source = other.source;
            other.source = 0;
            return source;
        }
    }
    return 0;
}

gxtkAudio::gxtkAudio(KzGame* host) : host(host) {
    static const bool kClosedAtExit = (std::atexit(CloseDeviceAtExit), true);
    (void)kClosedAtExit;
    gc_assign(audio, this);
    OpenDevice(this);
    // Positions only pan: there is no attenuation with distance.
    alDistanceModel(AL_NONE);
    channels[kMusicChannel].AL_Source();
}

gxtkChannel* gxtkAudio::Channel(int channel) {
    return channel >= 0 && channel < kChannelCount ? &channels[channel] : nullptr;
}

void gxtkAudio::mark() {
    gc_mark_q(music);
    for (const gxtkChannel& channel : channels) {
        if (channel.state != kChannelStopped && !SourceStopped(channel.source)) gc_mark_q(channel.sample);
    }
}

void gxtkAudio::FlushDiscarded() {
    if (discarded.empty()) return;
    // A buffer attached to a source cannot be deleted: finished channels let
    // go of theirs first.
    for (const gxtkChannel& channel : channels) {
        if (channel.state != kChannelStopped && SourceStopped(channel.source)) {
            alSourcei(channel.source, AL_BUFFER, 0);
        }
    }
    std::vector<ALuint> kept;
    for (ALuint buffer : discarded) {
        alGetError();
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) kept.push_back(buffer);
    }
    discarded.swap(kept);
}

int gxtkAudio::Suspend() {
    for (const gxtkChannel& channel : channels) {
        if (channel.state == kChannelPlaying && SourceState(channel.source) == AL_PLAYING) {
            alSourcePause(channel.source);
        }
    }
    return 0;
}

int gxtkAudio::Resume() {
    for (const gxtkChannel& channel : channels) {
        if (channel.state == kChannelPlaying && SourceState(channel.source) == AL_PAUSED) {
            alSourcePlay(channel.source);
        }
    }
    return 0;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    gxtkChannel* target = Channel(channel);
    if (!sample || !target) return -1;
    FlushDiscarded();
    const ALuint source = target->AL_Source();
    if (!source) return -1;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(source, AL_LOOPING, flags ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    gc_assign(target->sample, sample);
    target->flags = flags;
    target->state = kChannelPlaying;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    gxtkChannel* target = Channel(channel);
    if (target && target->state != kChannelStopped) {
        alSourceStop(target->source);
        target->state = kChannelStopped;
    }
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel* target = Channel(channel);
    if (!target || target->state != kChannelPlaying) return 0;
    if (SourceStopped(target->source)) {
        target->state = kChannelStopped;
    } else {
        alSourcePause(target->source);
        target->state = kChannelPaused;
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel* target = Channel(channel);
    if (target && target->state == kChannelPaused) {
        alSourcePlay(target->source);
        target->state = kChannelPlaying;
    }
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    gxtkChannel* target = Channel(channel);
    if (!target) return kChannelStopped;
    if (target->state == kChannelPlaying && SourceStopped(target->source)) target->state = kChannelStopped;
    return target->state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
    if (gxtkChannel* target = Channel(channel)) alSourcef(target->AL_Source(), AL_GAIN, volume);
    return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
    // On the unit circle around the listener, `pan` radians right of ahead.
    if (gxtkChannel* target = Channel(channel)) {
        const SinCos turn = SinCosOfRadians(pan);
        alSource3f(target->AL_Source(), AL_POSITION, turn.sin, 0.0f, -turn.cos);
    }
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    if (gxtkChannel* target = Channel(channel)) alSourcef(target->AL_Source(), AL_PITCH, rate);
    return 0;
}

// Playing a sample rewinds it, so the kept tune starts from its beginning
// just as a freshly decoded one would.
int gxtkAudio::PlayMusic(String path, int flags) {
    StopMusic();
    if (!music || musicPath != path) {
        gxtkSample* sample = LoadSample(path);
        if (!sample) return -1;
        gc_assign(music, sample);
        musicPath = path;
    }
    PlaySample(music, kMusicChannel, flags);
    return 0;
}

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }
int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }
int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }

gxtkSample* gxtkAudio::LoadSample(String path) {
    FlushDiscarded();
    auto* sample = new gxtkSample();
    return LoadSample__UNSAFE__(sample, path) ? sample : nullptr;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
    if (!host) return false;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* data = host->LoadAudioData(path, &length, &channels, &format, &hertz);
    if (!data) return false;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, OpenAlFormat(format, channels), data, length * channels * format, hertz);
    std::free(data);
    sample->buffer = buffer;
    sample->path = path;
    return true;
}

bool gxtkAudio::FirstDiscardOf(const String& path) {
    if (path.Length() == 0) return true;
    if (std::find(discardedPaths.begin(), discardedPaths.end(), path) != discardedPaths.end()) return false;
    discardedPaths.push_back(path);
    return true;
}
