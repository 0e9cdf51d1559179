// Samples: loading sound files into OpenAL buffers, and giving the buffers
// back when a sample is discarded or freed.
#include <cstdlib>

#include "devices/gxtk_audio.h"
#include "host/kzglfwgame.h"

namespace {

// 0 for a layout OpenAL cannot take; uploading with it leaves the buffer empty.
ALenum OpenAlFormat(int bytes_per_sample, int channels) {
    if (bytes_per_sample == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (bytes_per_sample == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (bytes_per_sample == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (bytes_per_sample == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

}  // namespace

gxtkSample::~gxtkSample() {
    kzPrint(String("Discarding sample"));
    Discard();
}

int gxtkSample::Discard() {
    if (buffer) {
        gxtkAudio::discarded.push_back(buffer);
        buffer = 0;
    }
    return 0;
}

gxtkSample* gxtkAudio::LoadSample(String path) {
    FlushDiscarded();
    auto* sample = new gxtkSample();
    return LoadSample__UNSAFE__(sample, path) ? sample : nullptr;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* data = KzGlfwGame::_glfwGame->LoadAudioData(path, &length, &channels, &format, &hertz);
    if (!data) return false;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, OpenAlFormat(format, channels), data, length * channels * format, hertz);
    std::free(data);
    sample->buffer = buffer;
    return true;
}
