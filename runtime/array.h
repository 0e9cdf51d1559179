// Array<T>: a fixed-length, collected array. The value holds one pointer to a
// Rep allocated through the collector; every element type has one permanent
// empty Rep (colour 3) that all empty arrays share and that the collector
// never queues, marks or frees.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <new>
#include <type_traits>

#include "runtime/gc.h"
#include "runtime/kzstring.h"

// Debug and sanitizer builds stop loudly on an index outside an array: a
// negative index would land in the array's header, where AddressSanitizer
// cannot see it. Release builds trust the caller.
#if !defined(NDEBUG) || defined(TARVOLAN_CHECKED_ARRAYS)
inline constexpr bool kArrayIndexesChecked = true;
#else
inline constexpr bool kArrayIndexesChecked = false;
#endif

[[noreturn]] inline void array_index_fault(int index, int length) {
    std::fprintf(stderr, "Array index %d outside an array of length %d\n", index, length);
    std::abort();
}

// Element constructors and destructors of string arrays.
void t_create(int n, String* p);
void t_create(int n, String* p, const String* src);
void t_destroy(int n, String* p);

template <class T>
class Array {
    static constexpr bool kHoldsObjects = std::is_pointer_v<T>;

public:
    struct Rep : gc_object {
        int length;

        explicit Rep(int n) : length(n) { construct_elements(); }
        ~Rep() override;
        void mark() override;

        T* data() { return reinterpret_cast<T*>(reinterpret_cast<char*>(this) + sizeof(Rep)); }
        static Rep* Create(int n) { return new (gc_object_alloc(sizeof(Rep) + sizeof(T) * n)) Rep(n); }

    private:
        void construct_elements();
    };

    Array() : rep_(&nullRep) {}
    explicit Array(int length) : rep_(length > 0 ? Rep::Create(length) : &nullRep) {}
    // A new array holding copies of `n` elements.
    Array(const T* src, int n);

    int Length() const { return rep_->length; }
    // Callers keep indexes within 0 .. Length()-1; only checked builds test it.
    T& operator[](int index) const {
        if constexpr (kArrayIndexesChecked) {
            if (index < 0 || index >= rep_->length) array_index_fault(index, rep_->length);
        }
        return rep_->data()[index];
    }
    T* begin() const { return rep_->data(); }
    T* end() const { return rep_->data() + rep_->length; }

    Rep* rep() const { return rep_; }
    bool IsSharedEmpty() const { return rep_ == &nullRep; }

    static Rep nullRep;

private:
    template <class U>
    friend void gc_assign(Array<U>& field, const Array<U>& value);

    Rep* rep_;
};

// Static storage, not the collector's: the constructor makes it permanent.
template <class T>
typename Array<T>::Rep Array<T>::nullRep(0);

template <class T>
void Array<T>::Rep::construct_elements() {
    if constexpr (std::is_same_v<T, String>) {
        t_create(length, data());
    } else {
        for (int i = 0; i < length; ++i) new (&data()[i]) T();
    }
}

template <class T>
Array<T>::Rep::~Rep() {
    if constexpr (std::is_same_v<T, String>) t_destroy(length, data());
}

template <class T>
void Array<T>::Rep::mark() {
    if constexpr (kHoldsObjects) {
        T* elements = data();
        for (int i = 0; i < length; ++i) gc_mark_q(elements[i]);
    }
}

template <class T>
Array<T>::Array(const T* src, int n) : Array(n) {
    // The new array is white, so filling it needs no write barrier.
    for (int i = 0; i < n; ++i) rep_->data()[i] = src[i];
}

// Queues an array's Rep when marking the object or global that holds it.
template <class T>
inline void gc_mark_q(const Array<T>& array) {
    gc_queue(array.rep());
}

// The write barrier for array fields, elements and globals.
template <class T>
inline void gc_assign(Array<T>& field, const Array<T>& value) {
    gc_queue(value.rep_);
    field.rep_ = value.rep_;
}
