// File text decoding: any bytes decode to some text, and text written out as
// UTF-8 (as the state file is) decodes back to itself, unless it starts with
// U+FEFF, which is read back as a byte-order mark.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/kzstring.h"

namespace {
constexpr Char kByteOrderMark = 0xFEFF;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const String text = String::Load(data, static_cast<int>(size));
    if (text.Length() > static_cast<int>(size)) std::abort();

    std::string utf8;
    text.AppendUtf8(utf8);
    const String again = String::Load(reinterpret_cast<const unsigned char*>(utf8.data()),
                                      static_cast<int>(utf8.size()));
    const bool mark_dropped = text.Length() > 0 && text[0] == kByteOrderMark;
    if (!mark_dropped && !(again == text)) std::abort();
    return 0;
}
