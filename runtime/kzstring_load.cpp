// Decoding of file text into 16-bit characters.
#include <vector>

#include "runtime/kzstring.h"

namespace {

String FromUtf16(const unsigned char* bytes, int length, bool big_endian) {
    std::vector<Char> chars;
    chars.reserve(length / 2);
    for (int i = 0; i + 1 < length; i += 2) {
        const Char high = big_endian ? bytes[i] : bytes[i + 1];
        const Char low = big_endian ? bytes[i + 1] : bytes[i];
        chars.push_back(static_cast<Char>(high << 8 | low));
    }
    return String(chars.data(), static_cast<int>(chars.size()));
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes 1- to 3-byte sequences (overlong forms accepted as they decode);
// false on anything else.
bool DecodeUtf8(const unsigned char* bytes, int length, std::vector<Char>& chars) {
    int i = 0;
    while (i < length) {
        const unsigned char first = bytes[i];
        if (first < 0x80) {
            chars.push_back(first);
            i += 1;
        } else if ((first & 0xE0) == 0xC0 && i + 1 < length && IsContinuation(bytes[i + 1])) {
            chars.push_back(static_cast<Char>((first & 0x1F) << 6 | (bytes[i + 1] & 0x3F)));
            i += 2;
        } else if ((first & 0xF0) == 0xE0 && i + 2 < length && IsContinuation(bytes[i + 1]) &&
                   IsContinuation(bytes[i + 2])) {
            chars.push_back(static_cast<Char>(first << 12 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F)));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

String String::Load(const unsigned char* bytes, int length) {
    if (length >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return FromUtf16(bytes + 2, length - 2, true);
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return FromUtf16(bytes + 2, length - 2, false);

    if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        length -= 3;
    }
    std::vector<Char> chars;
    chars.reserve(length);
    if (!DecodeUtf8(bytes, length, chars)) chars.assign(bytes, bytes + length);
    return String(chars.data(), static_cast<int>(chars.size()));
}
