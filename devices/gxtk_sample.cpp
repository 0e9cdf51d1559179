// Samples: giving their OpenAL buffers back to the device's queue when a
// sample is discarded or freed.
#include "devices/gxtk_audio.h"

gxtkSample::~gxtkSample() {
    if (!gxtkAudio::audio || gxtkAudio::audio->FirstDiscardOf(path)) kzPrint(String("Discarding sample"));
    Discard();
}

int gxtkSample::Discard() {
    if (buffer) {
        gxtkAudio::discarded.push_back(buffer);
        buffer = 0;
    }
    return 0;
}
