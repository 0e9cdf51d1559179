// The desktop host with every file holding the bytes of the current fuzz
// input: the readers run exactly as on a real file (the same open, read,
// seek and close calls on a stdio stream) without touching the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "host/kzglfwgame.h"

// Reads every byte of a decoded buffer, so that a buffer shorter than the size
// its reader reports (which the devices upload whole) fails under the address
// sanitizer.
inline void TouchEveryByte(const unsigned char* data, long size) {
    volatile unsigned char sink = 0;
    for (long i = 0; i < size; ++i) sink = sink ^ data[i];
}

class MemoryFileHost : public KzGlfwGame {
public:
    void SetContent(const std::uint8_t* data, std::size_t size) {
        data_ = data;
        size_ = size;
    }

    // Read-only: the stream never writes into the input.
    std::FILE* OpenFile(String /*path*/, String /*mode*/) override {
        // A memory stream cannot be empty; an empty file reads the same.
        if (size_ == 0) return std::fopen("/dev/null", "rb");
        return fmemopen(const_cast<std::uint8_t*>(data_), size_, "rb");
    }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};
