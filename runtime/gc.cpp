#include "runtime/gc.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include "runtime/errors.h"
#include "runtime/object.h"

int gc_markbit = 0;

gc_object gc_queued_list;
gc_object gc_unmarked_list;
gc_object gc_marked_list;
gc_object gc_free_list;

int gc_new_bytes = 0;
std::atomic<int> gc_ext_new_bytes{0};
int gc_alloced_bytes = 0;
int gc_max_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_free_bytes = 0;

gc_object* gc_locals[kGcLocalsCapacity];
int gc_locals_sp = 0;

namespace {

// The largest object whose size, rounded up to whole words, an int still holds.
constexpr std::size_t kLargestObjectBytes = INT32_MAX - 7;

// Recycled small blocks, chained through the word after the vtable slot.
struct FreeBlock {
    void* unused_vtable_slot;
    FreeBlock* succ;
};
FreeBlock* gc_cache[kGcCacheClasses];

// The header flags of storage whose object has already been destroyed (so
// the bytes are read as bytes, not through the dead object).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
constexpr std::size_t kFlagsOffset = offsetof(gc_object, flags);
#pragma GCC diagnostic pop

int dead_block_size(const void* block) {
    int flags;
    std::memcpy(&flags, static_cast<const char*>(block) + kFlagsOffset, sizeof flags);
    return flags & ~7;
}

// Blocks handed out by gc_object_alloc whose constructor has not run yet.
// Allocation and construction nest (the arguments of a new-expression are
// evaluated after its allocation and constructed before it), so a small stack
// pairs each constructor with its block.
struct PendingBlock {
    gc_object* block;
    int size;
};
constexpr int kMaxPendingBlocks = 256;
PendingBlock pending_blocks[kMaxPendingBlocks];
int pending_count = 0;

constexpr int kMaxRootSets = 64;
gc_roots_fn gc_root_sets[kMaxRootSets];
int gc_root_set_count = 0;

void list_clear(gc_object* list) { list->succ = list->pred = list; }

bool list_empty(const gc_object* list) { return list->succ == list; }

void list_remove(gc_object* p) {
    p->pred->succ = p->succ;
    p->succ->pred = p->pred;
}

void list_append(gc_object* p, gc_object* list) {
    p->succ = list;
    p->pred = list->pred;
    list->pred->succ = p;
    list->pred = p;
}

// Moves every object of `from` to the tail of `to`, leaving `from` empty.
void list_splice_tail(gc_object* from, gc_object* to) {
    if (list_empty(from)) return;
    gc_object* first = from->succ;
    gc_object* last = from->pred;
    first->pred = to->pred;
    to->pred->succ = first;
    last->succ = to;
    to->pred = last;
    list_clear(from);
}

bool list_contains(const gc_object* list, const void* p) {
    for (const gc_object* q = list->succ; q != list; q = q->succ) {
        if (q == p) return true;
    }
    return false;
}

// The lists must be usable before any code runs, including in programs that
// never reach the host's start-up (tests, tools).
struct ListsAtLoad {
    ListsAtLoad() { gc_init(); }
} lists_at_load;

void destroy_dead_objects(int size) {
    const int target = std::max(gc_free_bytes - size, 0);
    while (gc_free_bytes > target) {
        gc_object* p = gc_free_list.succ;
        if (p == &gc_free_list) {
            gc_free_bytes = 0;
            return;
        }
        list_remove(p);
        p->succ = nullptr;  // off every list: its destructor leaves the lists alone
        gc_free_bytes -= p->gc_size();
        delete p;
    }
}

void* take_block(int size) {
    if (size < kGcCacheClasses * 8) {
        FreeBlock*& chain = gc_cache[size / 8];
        if (FreeBlock* block = chain) {
            chain = block->succ;
            return block;
        }
    }
    return kzMalloc(size > 0 ? size : 8);
}

void scan_first_queued() {
    gc_object* p = gc_queued_list.succ;
    list_remove(p);
    list_append(p, &gc_marked_list);
    p->flags &= ~kGcQueuedFlag;
    gc_marked_bytes += p->gc_size();
    p->mark();
}

void release_block(void* p, int size) {
    if (size < kGcCacheClasses * 8) {
        gc_cache[size / 8] = new (p) FreeBlock{nullptr, gc_cache[size / 8]};
    } else {
        std::free(p);
    }
}

// Takes an object that is destroyed while still live off its list and out
// of the counts: out of the allocated bytes, and out of the marked bytes when
// it was already scanned this cycle (black, on the marked list).
void forget_live_object(gc_object* p) {
    list_remove(p);
    p->succ = p->pred = nullptr;
    gc_alloced_bytes -= p->gc_size();
    if (!gc_is_white(p) && !(p->flags & kGcQueuedFlag)) gc_marked_bytes -= p->gc_size();
}

void full_collection() {
    gc_ext_new_bytes.store(0);
    gc_mark_locals();
    gc_mark_queued(INT32_MAX);
    gc_sweep();
    gc_mark();
    gc_new_bytes = 0;
}

}  // namespace

gc_object::gc_object() {
    if (pending_count > 0 && pending_blocks[pending_count - 1].block == this) {
        flags = pending_blocks[--pending_count].size | gc_markbit;
        list_append(this, &gc_unmarked_list);
    } else {
        flags = kGcPermanentColour;
        succ = pred = nullptr;
    }
}

gc_object::~gc_object() {
    if (succ && gc_colour() != kGcPermanentColour) forget_live_object(this);
}

void* gc_object::operator new(std::size_t size) { return gc_object_alloc(size); }

void gc_object::operator delete(void* p) {
    // An argument of the new-expression threw before construction began: the
    // block is still waiting for its constructor and was never linked.
    if (pending_count > 0 && pending_blocks[pending_count - 1].block == p) {
        const int size = pending_blocks[--pending_count].size;
        gc_alloced_bytes -= size;
        release_block(p, size);
        return;
    }
    gc_object_free(static_cast<gc_object*>(p));
}

void gc_init() {
    list_clear(&gc_queued_list);
    list_clear(&gc_unmarked_list);
    list_clear(&gc_marked_list);
    list_clear(&gc_free_list);
}

void* gc_object_alloc(std::size_t requested) {
    if (requested > kLargestObjectBytes) dbg_out_of_memory();
    const int size = static_cast<int>((requested + 7) & ~std::size_t{7});
    gc_new_bytes += size;
    destroy_dead_objects(size);

    gc_object* p = static_cast<gc_object*>(take_block(size));
    if (pending_count == kMaxPendingBlocks) std::abort();  // constructions nested absurdly deep
    pending_blocks[pending_count++] = {p, size};
    gc_alloced_bytes += size;
    gc_max_alloced_bytes = std::max(gc_max_alloced_bytes, gc_alloced_bytes);
    return p;
}

void gc_object_free(gc_object* p) { release_block(p, dead_block_size(p)); }

void gc_ext_malloced(int bytes) { gc_ext_new_bytes.fetch_add(bytes); }

void gc_queue(gc_object* p) {
    if (!gc_is_white(p)) return;
    p->flags = (p->flags ^ 1) | kGcQueuedFlag;
    list_remove(p);
    list_append(p, &gc_queued_list);
}

void gc_mark_now(gc_object* p) {
    if (!p || !gc_is_white(p)) return;
    p->flags ^= 1;
    gc_marked_bytes += p->gc_size();
    list_remove(p);
    list_append(p, &gc_marked_list);
    p->mark();
}

gc_object* gc_object_of(gc_interface* p) { return dynamic_cast<gc_object*>(p); }

void gc_add_roots(gc_roots_fn fn) {
    for (int i = 0; i < gc_root_set_count; ++i) {
        if (gc_root_sets[i] == fn) return;
    }
    if (gc_root_set_count == kMaxRootSets) std::abort();  // a fixed, small number of modules
    gc_root_sets[gc_root_set_count++] = fn;
}

void gc_mark() {
    for (int i = 0; i < gc_root_set_count; ++i) gc_root_sets[i]();
}

void gc_mark_locals() {
    for (int i = 0; i < gc_locals_sp; ++i) gc_mark_q(gc_locals[i]);
}

void gc_mark_queued(int budget) {
    while (gc_marked_bytes < budget && !list_empty(&gc_queued_list)) scan_first_queued();
}

int gc_sweep() {
    const int dead = gc_alloced_bytes - gc_marked_bytes;
    if (dead != 0) {
        list_splice_tail(&gc_unmarked_list, &gc_free_list);
        gc_free_bytes += dead;
    }
    list_splice_tail(&gc_marked_list, &gc_unmarked_list);
    gc_alloced_bytes = gc_marked_bytes;
    gc_marked_bytes = 0;
    gc_markbit ^= 1;
    return dead;
}

void gc_collect_all() {
    gc_mark_locals();
    gc_mark_queued(INT32_MAX);
    gc_sweep();
    gc_mark();
}

void gc_step(gc_object* root) {
    gc_mark_now(root);
    gc_locals_sp = 0;

    const int64_t pending = int64_t{gc_new_bytes} + gc_ext_new_bytes.load();
    if (pending > kGcFullCollectionBytes) {
        full_collection();
        return;
    }
    const int64_t budget =
        gc_new_bytes + int64_t{gc_alloced_bytes - gc_new_bytes} * gc_new_bytes / kGcFullCollectionBytes;
    while (gc_marked_bytes < budget && !list_empty(&gc_queued_list)) scan_first_queued();
}

bool gc_is_live_object(const void* p) {
    if (!p) return false;
    return list_contains(&gc_queued_list, p) || list_contains(&gc_unmarked_list, p) ||
           list_contains(&gc_marked_list, p);
}
