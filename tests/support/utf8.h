// A runtime string as UTF-8 bytes, to compare with literals.
#pragma once

#include <string>

#include "runtime/kzstring.h"

inline std::string Utf8(const String& text) {
    std::string out;
    text.AppendUtf8(out);
    return out;
}
