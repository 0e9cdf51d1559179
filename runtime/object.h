// The object model of translated code: collected objects, the throwable type
// and interfaces.
#pragma once

#include <functional>

#include "runtime/gc.h"
#include "runtime/kzstring.h"

class Object : public gc_object {
public:
    virtual bool Equals(Object* other) { return this == other; }
    // Orders objects by address; only the sign and zero-ness are meaningful.
    // (A plain address difference narrowed to int could get the sign wrong.)
    virtual int Compare(Object* other) {
        const std::less<Object*> before;
        return before(other, this) - before(this, other);
    }
    virtual String debug() { return String("+Object\n"); }
};

// What translated code throws and the host's event gate catches, always as
// ThrowableObject*.
class ThrowableObject : public Object {};

// The base of translated interfaces; a class implementing one has it as an
// additional virtual base.
struct gc_interface {
    virtual ~gc_interface() {}
};
