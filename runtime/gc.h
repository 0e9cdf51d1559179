// The collector: an incremental, non-moving, tri-colour mark-and-sweep
// collector that owns every object and array of the translated code.
//
// It only runs between host events. After each forwarded event one step marks
// a slice of the live objects in proportion to what was allocated since the
// last full collection; a full collection runs once 8 MiB of new data (objects
// plus outside buffers) has accumulated. Dead objects go to a free list and are
// destroyed a few at a time by later allocations. Blocks below 64 bytes are
// recycled through per-size caches.
//
// Colours: an object whose two low flag bits equal gc_markbit is white (not
// reached in this cycle); gc_markbit ^ 1 means reached (grey on the queued
// list, black on the marked list); 3 marks permanent objects (the static empty
// arrays) that are never queued, marked or freed.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>

struct gc_interface;

// The collector header every collected thing begins with. The constructor
// sets it up: for storage that gc_object_alloc has just handed out, the object
// becomes white at the tail of the unmarked list; anything else (static
// objects such as the permanent empty arrays and the list sentinels) becomes
// permanent. Doing this in the constructor, not in the allocator, keeps the
// header safe from the zero-initialisation that `new T()` performs.
//
// An object destroyed while still on one of the live lists (its constructor
// threw, or code deleted it directly) is taken off that list and out of the
// counts by the destructor, so the collector never walks freed memory.
struct gc_object {
    gc_object* succ;  // null once the object is on no list
    gc_object* pred;
    int flags;  // allocated size (a multiple of 8) | kGcQueuedFlag | colour (low 2 bits)

    gc_object();
    virtual ~gc_object();
    // Queues every collected object this one references.
    virtual void mark() {}

    static void* operator new(std::size_t size);
    static void operator delete(void* p);
    // Arrays get their variable-size block from gc_object_alloc directly.
    static void* operator new(std::size_t, void* block) { return block; }
    static void operator delete(void*, void*) {}

    int gc_size() const { return flags & ~7; }
    int gc_colour() const { return flags & 3; }
};

constexpr int kGcPermanentColour = 3;
// Set while the object is on the queued list (grey), so that an object
// destroyed early can be taken out of the right count.
constexpr int kGcQueuedFlag = 4;
constexpr int kGcFullCollectionBytes = 8388608;
constexpr int kGcCacheClasses = 8;     // blocks of 0, 8, .. 56 bytes
constexpr int kGcLocalsCapacity = 8192;

extern int gc_markbit;

extern gc_object gc_queued_list;
extern gc_object gc_unmarked_list;
extern gc_object gc_marked_list;
extern gc_object gc_free_list;

extern int gc_new_bytes;
extern std::atomic<int> gc_ext_new_bytes;
extern int gc_alloced_bytes;
extern int gc_max_alloced_bytes;
extern int gc_marked_bytes;
extern int gc_free_bytes;

extern gc_object* gc_locals[kGcLocalsCapacity];
extern int gc_locals_sp;

// Sets the four lists empty. Run once at start-up, before any allocation.
void gc_init();

// Storage for a new object of the given size, counted as allocated; the
// object's constructor links it white at the tail of the unmarked list.
// Destroys about as many dead bytes as it allocates first. A size the int
// counts cannot hold, or memory that has run out, ends the program with the
// fatal report "Out of memory".
void* gc_object_alloc(std::size_t size);
// Releases an object's storage; reached from the deleting destructor.
void gc_object_free(gc_object* p);
// Counts an outside buffer (image, sound, file data) towards the next full
// collection. Safe to call from any thread.
void gc_ext_malloced(int bytes);

inline bool gc_is_white(const gc_object* p) { return (p->flags & 3) == gc_markbit; }

// Queues a white object (grey): the write barrier's half and what mark() does
// for each reference.
void gc_queue(gc_object* p);
// Marks a white object now: black at once, its references queued.
void gc_mark_now(gc_object* p);

// Interfaces are not collector headers themselves; the object implementing
// one is found through the dynamic type.
gc_object* gc_object_of(gc_interface* p);

template <class T>
inline void gc_mark_q(T* p) {
    if constexpr (std::is_base_of_v<gc_object, T>) {
        if (p) gc_queue(p);
    } else {
        static_assert(std::is_base_of_v<gc_interface, T>, "not a collected type");
        if (p) gc_queue(gc_object_of(p));
    }
}

// The write barrier: every store of an object or array reference into a
// field, an array element or a global goes through it, so that no black
// object ever points to a white one that is not queued.
template <class T, class U>
inline void gc_assign(T*& field, U* value) {
    gc_mark_q(value);
    field = value;
}

// Root sets: a module that keeps collected objects in globals registers a
// function that queues them (with gc_mark_q); gc_mark() calls every one.
using gc_roots_fn = void (*)();
void gc_add_roots(gc_roots_fn fn);
void gc_mark();

void gc_mark_locals();
// Scans queued objects while fewer than `budget` bytes are marked this cycle.
void gc_mark_queued(int budget);
// Ends a cycle: the unmarked objects become dead, the marked ones white.
// Returns the number of bytes found dead.
int gc_sweep();
// Marks everything reachable, sweeps and queues the roots again.
void gc_collect_all();

// One collection step, run by the host after every forwarded event: marks the
// given root (the host's delegate) now, then runs either a full collection
// (when 8 MiB has accumulated) or one incremental slice.
void gc_step(gc_object* root);

// Whether `p` is the address of a collected object that is still alive (on
// the queued, unmarked or marked list). Linear; for untrusted addresses.
bool gc_is_live_object(const void* p);
