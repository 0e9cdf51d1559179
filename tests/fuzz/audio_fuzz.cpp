// Sound files through the host's sound reader; the file name given at build
// time (FUZZ_AUDIO_NAME) picks the decoder by its extension.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tests/fuzz/memory_file_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFileHost host;
    host.SetContent(data, size);
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* samples = host.LoadAudioData(String(FUZZ_AUDIO_NAME), &length, &channels, &format, &hertz);
    if (samples) {
        if (length < 0 || channels <= 0 || format <= 0) std::abort();
        TouchEveryByte(samples, static_cast<long>(length) * channels * format);
    }
    std::free(samples);
    return 0;
}
