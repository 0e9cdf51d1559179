#include "runtime/kzstring.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/array.h"
#include "runtime/errors.h"

String::Rep String::nullRep{1, 0};

String::Rep* String::Allocate(int64_t length) {
    // Lengths are ints: a longer text cannot exist, whatever memory is left.
    if (length > INT32_MAX) dbg_out_of_memory();
    Rep* rep = static_cast<Rep*>(kzMalloc(sizeof(Rep) + sizeof(Char) * static_cast<std::size_t>(length)));
    rep->refs = 1;
    rep->length = static_cast<int>(length);
    return rep;
}

void String::release(Rep* rep) {
    // The shared empty Rep starts at 1 and is never freed.
    if (--rep->refs == 0 && rep != &nullRep) std::free(rep);
}

namespace {

// Index of the first occurrence of `find` in `text` at or after `from`, or -1.
int FindFrom(const Char* text, int length, const Char* find, int find_length, int from) {
    for (int i = from; i + find_length <= length; ++i) {
        if (std::memcmp(text + i, find, sizeof(Char) * find_length) == 0) return i;
    }
    return -1;
}

}  // namespace

String::String(const Char* data, int length) : rep_(&nullRep) {
    if (length <= 0) {
        retain(rep_);
        return;
    }
    rep_ = Allocate(length);
    std::memcpy(rep_->data, data, sizeof(Char) * length);
}

String::String(const char* text) : rep_(&nullRep) {
    const std::size_t length = std::strlen(text);
    if (length == 0) {
        retain(rep_);
        return;
    }
    rep_ = Allocate(static_cast<int64_t>(length));
    for (std::size_t i = 0; i < length; ++i) rep_->data[i] = static_cast<unsigned char>(text[i]);
}

String::String(int value) : String() {
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    *this = String(text);
}

String::String(float value) : String() {
    char text[40];
    std::snprintf(text, sizeof text - 2, "%.17lg", static_cast<double>(value));
    if (!std::strchr(text, '.') && !std::strchr(text, 'e')) std::strcat(text, ".0");
    *this = String(text);
}

String& String::operator=(const String& other) {
    retain(other.rep_);
    release(rep_);
    rep_ = other.rep_;
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        release(rep_);
        rep_ = other.rep_;
        other.rep_ = &nullRep;
        retain(&nullRep);
    }
    return *this;
}

String String::Substring(int start) const {
    const int length = rep_->length;
    if (start < 0) {
        start += length;
        if (start < 0) start = 0;
    }
    if (start == 0) return *this;
    if (start >= length) return String();
    return String(rep_->data + start, length - start);
}

String operator+(const String& a, const String& b) {
    if (a.Length() == 0) return b;
    if (b.Length() == 0) return a;
    String::Rep* rep = String::Allocate(int64_t{a.Length()} + b.Length());
    std::memcpy(rep->data, a.Data(), sizeof(Char) * a.Length());
    std::memcpy(rep->data + a.Length(), b.Data(), sizeof(Char) * b.Length());
    return String(rep);
}

bool operator==(const String& a, const String& b) {
    if (a.rep_ == b.rep_) return true;
    return a.Length() == b.Length() && std::memcmp(a.Data(), b.Data(), sizeof(Char) * a.Length()) == 0;
}

String String::Join(const Array<String>& pieces) const {
    const int count = pieces.Length();
    if (count == 0) return String();
    if (count == 1) return pieces[0];

    int64_t total = int64_t{rep_->length} * (count - 1);
    for (const String& piece : pieces) total += piece.Length();
    if (total == 0) return String();

    Rep* rep = Allocate(total);
    Char* out = rep->data;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            std::memcpy(out, rep_->data, sizeof(Char) * rep_->length);
            out += rep_->length;
        }
        std::memcpy(out, pieces[i].Data(), sizeof(Char) * pieces[i].Length());
        out += pieces[i].Length();
    }
    return String(rep);
}

Array<String> String::Split(const String& separator) const {
    const int length = rep_->length;
    const int sep_length = separator.Length();

    if (sep_length == 0) {
        Array<String> chars(length);
        for (int i = 0; i < length; ++i) chars[i] = String(rep_->data + i, 1);
        return chars;
    }

    int occurrences = 0;
    for (int at = FindFrom(rep_->data, length, separator.Data(), sep_length, 0); at >= 0;
         at = FindFrom(rep_->data, length, separator.Data(), sep_length, at + sep_length)) {
        ++occurrences;
    }

    Array<String> pieces(occurrences + 1);
    if (occurrences == 0) {
        pieces[0] = *this;
        return pieces;
    }
    int begin = 0;
    for (int i = 0; i < occurrences; ++i) {
        const int at = FindFrom(rep_->data, length, separator.Data(), sep_length, begin);
        pieces[i] = String(rep_->data + begin, at - begin);
        begin = at + sep_length;
    }
    pieces[occurrences] = String(rep_->data + begin, length - begin);
    return pieces;
}

String String::Replace(const String& find, const String& replacement) const {
    const int length = rep_->length;
    const int find_length = find.Length();
    if (find_length == 0) return *this;

    int occurrences = 0;
    for (int at = FindFrom(rep_->data, length, find.Data(), find_length, 0); at >= 0;
         at = FindFrom(rep_->data, length, find.Data(), find_length, at + find_length)) {
        ++occurrences;
    }
    if (occurrences == 0) return *this;

    const int64_t total = length + int64_t{occurrences} * (replacement.Length() - find_length);
    if (total == 0) return String();

    Rep* rep = Allocate(total);
    Char* out = rep->data;
    int begin = 0;
    for (int i = 0; i < occurrences; ++i) {
        const int at = FindFrom(rep_->data, length, find.Data(), find_length, begin);
        std::memcpy(out, rep_->data + begin, sizeof(Char) * (at - begin));
        out += at - begin;
        std::memcpy(out, replacement.Data(), sizeof(Char) * replacement.Length());
        out += replacement.Length();
        begin = at + find_length;
    }
    std::memcpy(out, rep_->data + begin, sizeof(Char) * (length - begin));
    return String(rep);
}

int String::ToInt() const {
    char text[64];
    const int n = rep_->length < 63 ? rep_->length : 63;
    for (int i = 0; i < n; ++i) text[i] = static_cast<char>(rep_->data[i] & 0xff);
    text[n] = 0;
    // What the C library's atoi does here, without its undefined behaviour
    // for text outside the int range: such values wrap to 32 bits.
    return static_cast<int>(std::strtol(text, nullptr, 10));
}

void String::AppendUtf8(std::string& out) const {
    for (int i = 0; i < rep_->length; ++i) {
        const unsigned c = rep_->data[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else {
            out += static_cast<char>(0xe0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
}

template <class C>
String::CString<C>::CString(const String& text) {
    const int length = text.Length();
    buf_ = static_cast<Buf*>(kzMalloc(sizeof(Buf) + length + 1));
    buf_->refs = 1;
    for (int i = 0; i < length; ++i) buf_->chars[i] = static_cast<C>(text[i] & 0xff);
    buf_->chars[length] = 0;
}

template <class C>
String::CString<C>::~CString() {
    if (--buf_->refs == 0) std::free(buf_);
}

template class String::CString<char>;

void t_create(int n, String* p) {
    for (int i = 0; i < n; ++i) new (&p[i]) String();
}

void t_create(int n, String* p, const String* src) {
    for (int i = 0; i < n; ++i) new (&p[i]) String(src[i]);
}

void t_destroy(int n, String* p) {
    for (int i = 0; i < n; ++i) p[i].~String();
}
