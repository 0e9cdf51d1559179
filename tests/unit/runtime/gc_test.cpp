#include <gtest/gtest.h>

#include "tests/unit/runtime/gc_support.h"

namespace {

Probe* g_root = nullptr;
int g_next_id = 1000;

void MarkTestRoot() { gc_mark_q(g_root); }

int NewId() { return g_next_id++; }

class CollectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        gc_add_roots(MarkTestRoot);
        gc_assign(g_root, static_cast<Probe*>(nullptr));
        // Two cycles: the first may still find objects queued by the last one.
        CollectAndDrain();
        CollectAndDrain();
    }
    void TearDown() override { g_root = nullptr; }

    // A root object that the next cycle finds black (reached and scanned).
    Probe* BlackRoot() {
        gc_assign(g_root, new Probe(NewId()));
        gc_collect_all();              // queues the root at the end
        gc_mark_queued(INT32_MAX);     // scans it: black
        EXPECT_FALSE(gc_is_white(g_root));
        return g_root;
    }
};

TEST_F(CollectorTest, NewObjectsAreWhiteAndCountedAsAllocated) {
    const int alloced = gc_alloced_bytes;
    const int fresh = gc_new_bytes;
    Probe* p = new Probe(NewId());
    EXPECT_TRUE(gc_is_white(p));
    EXPECT_EQ(p->gc_size() % 8, 0);
    EXPECT_GE(p->gc_size(), static_cast<int>(sizeof(Probe)));
    EXPECT_EQ(gc_alloced_bytes, alloced + p->gc_size());
    EXPECT_EQ(gc_new_bytes, fresh + p->gc_size());
    EXPECT_GE(gc_max_alloced_bytes, gc_alloced_bytes);
    EXPECT_TRUE(gc_is_live_object(p));
}

TEST_F(CollectorTest, WhiteObjectStoredIntoBlackOneThroughTheBarrierSurvives) {
    Probe* holder = BlackRoot();
    const int child = NewId();
    gc_assign(holder->links[0], new Probe(child));
    CollectAndDrain();
    CollectAndDrain();
    EXPECT_FALSE(WasDestroyed(child));
    EXPECT_EQ(holder->links[0]->id, child);
}

TEST_F(CollectorTest, WhiteObjectStoredIntoBlackOneWithoutTheBarrierIsLost) {
    // The control for the test above: the barrier is what keeps it alive.
    Probe* holder = BlackRoot();
    const int child = NewId();
    holder->links[0] = new Probe(child);
    CollectAndDrain();
    EXPECT_TRUE(WasDestroyed(child));
    holder->links[0] = nullptr;
}

TEST_F(CollectorTest, UnreachableObjectIsDestroyedOnlyByALaterAllocationAfterAFullCollection) {
    const int id = NewId();
    Probe* dropped = new Probe(id);
    const int size = dropped->gc_size();

    gc_step(nullptr);  // an incremental step never frees anything
    EXPECT_FALSE(WasDestroyed(id));

    gc_collect_all();  // found dead: on the free list, not yet destroyed
    EXPECT_FALSE(WasDestroyed(id));
    EXPECT_GE(gc_free_bytes, size);
    EXPECT_FALSE(gc_is_live_object(dropped));

    // Each allocation destroys at least as many dead bytes as it takes (the
    // free list also holds what earlier tests dropped), until it runs empty.
    while (!WasDestroyed(id)) {
        ASSERT_GT(gc_free_bytes, 0) << "the free list ran empty without destroying the object";
        const int free_before = gc_free_bytes;
        Probe* fresh = new Probe(NewId());
        EXPECT_TRUE(gc_free_bytes == 0 || gc_free_bytes <= free_before - fresh->gc_size());
    }
}

TEST_F(CollectorTest, SweepReturnsTheDeadBytesAndFlipsTheMarkBit) {
    const int markbit = gc_markbit;
    Probe* kept = BlackRoot();
    Probe* dropped = new Probe(NewId());
    gc_mark_queued(INT32_MAX);
    const int free_before = gc_free_bytes;
    const int dead = gc_sweep();
    EXPECT_TRUE(gc_is_white(kept)) << "the flip turns black objects white without touching them";
    gc_mark();
    EXPECT_EQ(gc_free_bytes - free_before, dead);
    EXPECT_GE(dead, dropped->gc_size());
    EXPECT_FALSE(gc_is_live_object(dropped));
    EXPECT_TRUE(gc_is_live_object(kept));
    EXPECT_EQ(gc_markbit, markbit);  // BlackRoot's collection flipped it once, the sweep again
    EXPECT_EQ(gc_marked_bytes, 0);
}

TEST_F(CollectorTest, PermanentEmptyArraysAreNeverQueuedMarkedOrFreed) {
    Array<Probe*>::Rep* empty = &Array<Probe*>::nullRep;
    Probe* holder = BlackRoot();
    Array<Probe*> field;
    gc_assign(field, Array<Probe*>(0));
    gc_mark_q(field);
    gc_mark_now(empty);
    CollectAndDrain();
    CollectAndDrain();
    EXPECT_EQ(empty->flags, kGcPermanentColour);
    EXPECT_EQ(empty->length, 0);
    EXPECT_FALSE(gc_is_live_object(empty));
    EXPECT_TRUE(field.IsSharedEmpty());
    EXPECT_FALSE(holder->IsDestroyed());
}

TEST_F(CollectorTest, OutsideBytesTriggerAFullCollectionAtTheNextStep) {
    const int id = NewId();
    new Probe(id);
    gc_step(nullptr);
    EXPECT_EQ(gc_free_bytes, 0) << "a small allocation alone must not collect";

    gc_ext_malloced(kGcFullCollectionBytes - gc_new_bytes);
    gc_step(nullptr);
    EXPECT_EQ(gc_free_bytes, 0) << "8 MiB exactly is not yet over the limit";

    gc_ext_malloced(1);
    gc_step(nullptr);
    EXPECT_EQ(gc_ext_new_bytes.load(), 0);
    EXPECT_EQ(gc_new_bytes, 0);
    EXPECT_GT(gc_free_bytes, 0);
    DrainFreeList();
    EXPECT_TRUE(WasDestroyed(id));
}

TEST_F(CollectorTest, StepMarksTheRootNowAndMarksInProportionToAllocation) {
    Probe* root = new Probe(NewId());
    gc_step(root);
    EXPECT_FALSE(gc_is_white(root));
    EXPECT_EQ(root->succ, &gc_marked_list) << "marked now: black, at the tail of the marked list";

    // Queue a chain of 200 objects; with nothing allocated since the last
    // full collection, the budget is 0 and nothing more is scanned.
    Probe* chain = nullptr;
    for (int i = 0; i < 200; ++i) {
        Probe* p = new Probe(NewId());
        gc_assign(p->links[0], chain);
        chain = p;
    }
    gc_assign(root->links[1], chain);
    gc_new_bytes = 0;
    const int marked = gc_marked_bytes;
    gc_step(root);
    EXPECT_EQ(gc_marked_bytes, marked);

    // After allocation the slice covers at least the new bytes.
    gc_new_bytes = 4096;
    gc_step(root);
    const int64_t budget = 4096 + int64_t{gc_alloced_bytes - 4096} * 4096 / kGcFullCollectionBytes;
    EXPECT_GE(gc_marked_bytes, budget);
    EXPECT_LT(gc_marked_bytes, budget + chain->gc_size() + 1) << "stops right after the budget";
}

TEST_F(CollectorTest, SmallBlocksAreReusedFromTheirSizeClassCache) {
    struct Small : Object {};
    static_assert(sizeof(Small) < 64);
    Small* first = new Small();
    const void* address = first;
    CollectAndDrain();
    Small* second = new Small();
    EXPECT_EQ(static_cast<const void*>(second), address);
}

TEST_F(CollectorTest, OnlyLiveCollectedObjectsAreRecognisedByAddress) {
    int local = 0;
    Probe* live = BlackRoot();
    Probe* dead = new Probe(NewId());
    CollectAndDrain();
    EXPECT_TRUE(gc_is_live_object(live));
    EXPECT_FALSE(gc_is_live_object(dead));
    EXPECT_FALSE(gc_is_live_object(&local));
    EXPECT_FALSE(gc_is_live_object(reinterpret_cast<char*>(live) + 8));
    EXPECT_FALSE(gc_is_live_object(nullptr));
}

TEST_F(CollectorTest, ArraysMarkTheirObjectElementsAndReleaseTheirStrings) {
    Probe* holder = BlackRoot();
    struct Box : Object {
        Array<Probe*> probes;
        Array<String> names;
        void mark() override {
            gc_mark_q(probes);
            gc_mark_q(names);
        }
    };
    Box* box = new Box();
    gc_assign(box->probes, Array<Probe*>(2));
    const int kept = NewId();
    gc_assign(box->probes[1], new Probe(kept));
    gc_assign(box->names, Array<String>(3));
    box->names[2] = String("released with the array");
    gc_assign(holder->attachment, box);
    CollectAndDrain();
    CollectAndDrain();
    EXPECT_FALSE(WasDestroyed(kept));
    EXPECT_EQ(box->names[2], String("released with the array"));
    EXPECT_EQ(box->names[0].Length(), 0);
    EXPECT_EQ(box->probes[0], nullptr);
}

}  // namespace
