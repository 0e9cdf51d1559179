#include "host/vorbis_comments.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kPageHeaderSize = 27;
constexpr int kSegmentCountOffset = 26;
constexpr unsigned char kCommentPacketType = 3;
constexpr int kPacketHeaderSize = 7;  // type byte and "vorbis"

// Appends the page's segments to `packet` up to the end of the first packet
// that ends on it; whether one did.
bool ReadPage(std::FILE* file, Bytes* packet, bool* packet_ended) {
    unsigned char header[kPageHeaderSize];
    if (std::fread(header, 1, sizeof header, file) != sizeof header || std::memcmp(header, "OggS", 4) != 0) {
        return false;
    }
    unsigned char lacing[255];
    const size_t segments = header[kSegmentCountOffset];
    if (std::fread(lacing, 1, segments, file) != segments) return false;
    for (size_t i = 0; i < segments && !*packet_ended; ++i) {
        const size_t old_size = packet->size();
        packet->resize(old_size + lacing[i]);
        if (std::fread(packet->data() + old_size, 1, lacing[i], file) != lacing[i]) return false;
        *packet_ended = lacing[i] < 255;
    }
    return true;
}

// The packet that starts on the second page; empty when the file ends first.
Bytes CommentPacket(std::FILE* file) {
    Bytes packet;
    bool ended = false;
    if (!ReadPage(file, &packet, &ended)) return {};
    packet.clear();
    ended = false;
    while (!ended) {
        if (!ReadPage(file, &packet, &ended)) return {};
    }
    return packet;
}

// The little-endian 32-bit value at `pos`, moving past it; false past the end.
bool ReadU32(const Bytes& packet, size_t* pos, std::uint32_t* value) {
    if (packet.size() - *pos < 4) return false;
    const unsigned char* p = packet.data() + *pos;
    *value = p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    *pos += 4;
    return true;
}

// Moves past `count` bytes; false when they run past the end.
bool Skip(const Bytes& packet, size_t* pos, std::uint32_t count) {
    if (count > packet.size() - *pos) return false;
    *pos += count;
    return true;
}

// The vendor string, the comment count, and each comment's length and text.
bool CommentsFit(const Bytes& packet) {
    if (packet.size() < kPacketHeaderSize || packet[0] != kCommentPacketType ||
        std::memcmp(&packet[1], "vorbis", 6) != 0) {
        return false;
    }
    size_t pos = kPacketHeaderSize;
    std::uint32_t vendor = 0, comments = 0, length = 0;
    if (!ReadU32(packet, &pos, &vendor) || !Skip(packet, &pos, vendor) || !ReadU32(packet, &pos, &comments)) {
        return false;
    }
    for (std::uint32_t i = 0; i < comments; ++i) {
        if (!ReadU32(packet, &pos, &length) || !Skip(packet, &pos, length)) return false;
    }
    return true;
}

}  // namespace

bool VorbisCommentsFit(std::FILE* file) {
    const long start = std::ftell(file);
    if (start < 0) return false;
    const bool fit = CommentsFit(CommentPacket(file));
    return std::fseek(file, start, SEEK_SET) == 0 && fit;
}
