// String: an immutable, reference-counted sequence of 16-bit characters
// (UTF-16 code units). Every empty string shares one static representation
// that is never freed; no operation allocates a representation of length 0.
// Operations that would copy a whole operand unchanged share its
// representation instead.
#pragma once

#include <cstdint>
#include <string>

using Char = uint16_t;

template <class T>
class Array;

class String {
public:
    struct Rep {
        int refs;
        int length;
        Char data[];
    };

    // An 8-bit copy for handing text to the C library: the low byte of each
    // character, zero-terminated, shared between copies.
    template <class C>
    class CString;

    String() : rep_(&nullRep) { retain(rep_); }
    String(const Char* data, int length);
    String(const char* text);
    explicit String(int value);
    explicit String(float value);

    String(const String& other) : rep_(other.rep_) { retain(rep_); }
    String(String&& other) noexcept : rep_(other.rep_) {
        other.rep_ = &nullRep;
        retain(&nullRep);
    }
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    ~String() { release(rep_); }

    int Length() const { return rep_->length; }
    Char operator[](int index) const { return rep_->data[index]; }
    const Char* Data() const { return rep_->data; }

    // From `start` to the end; a negative start counts from the end.
    String Substring(int start) const;
    // The separator's join of the pieces.
    String Join(const Array<String>& pieces) const;
    Array<String> Split(const String& separator) const;
    // `find` must not be empty.
    String Replace(const String& find, const String& replacement) const;
    // The C library's atoi of the first 63 characters, each narrowed to 8 bits.
    int ToInt() const;
    // Appends the UTF-8 encoding (1 to 3 bytes per character, surrogates
    // encoded one by one) to `out`.
    void AppendUtf8(std::string& out) const;
    // The text of a file's bytes: UTF-16 by byte-order mark, else UTF-8 (an
    // optional mark skipped), else 8-bit characters when the UTF-8 is invalid.
    static String Load(const unsigned char* bytes, int length);

    friend String operator+(const String& a, const String& b);
    friend bool operator==(const String& a, const String& b);
    friend bool operator!=(const String& a, const String& b) { return !(a == b); }

    // Whether two strings share one representation (the sharing rules are part
    // of the contract, and the tests check them).
    bool SharesRepWith(const String& other) const { return rep_ == other.rep_; }

    static Rep nullRep;

private:
    explicit String(Rep* adopted) : rep_(adopted) {}
    // A Rep for `length` characters (more than 0); a length beyond the int
    // range ends the program with the fatal report "Out of memory".
    static Rep* Allocate(int64_t length);
    static void retain(Rep* rep) { ++rep->refs; }
    static void release(Rep* rep);

    Rep* rep_;
};

template <class C>
class String::CString {
    static_assert(sizeof(C) == 1, "only 8-bit copies exist");

public:
    explicit CString(const String& text);
    CString(const CString& other) : buf_(other.buf_) { ++buf_->refs; }
    CString& operator=(const CString&) = delete;
    ~CString();

    operator const C*() const { return buf_->chars; }

private:
    struct Buf {
        int refs;
        C chars[];
    };
    Buf* buf_;
};

extern template class String::CString<char>;
