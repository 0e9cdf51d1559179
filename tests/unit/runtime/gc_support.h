// Collected objects and helpers shared by the collector tests.
#pragma once

#include <set>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/object.h"

// An object with three references that records its destruction by id.
struct Probe : Object {
    static std::set<int>& destroyed() {
        static std::set<int> ids;
        return ids;
    }
    explicit Probe(int id) : id(id) {}
    ~Probe() override { destroyed().insert(id); }
    void mark() override {
        for (Probe* link : links) gc_mark_q(link);
    }

    int id;
    Probe* links[3] = {nullptr, nullptr, nullptr};
};

inline bool WasDestroyed(int id) { return Probe::destroyed().count(id) != 0; }

// One allocation as large as the free list destroys everything on it.
inline void DrainFreeList() { Array<char> sink(gc_free_bytes + 8); }

inline void CollectAndDrain() {
    gc_collect_all();
    DrainFreeList();
}
