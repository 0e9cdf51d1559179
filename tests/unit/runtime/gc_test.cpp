#include <gtest/gtest.h>

#include <functional>

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
        gc_collect_all();
        gc_mark_queued(INT32_MAX);
        EXPECT_FALSE(gc_is_white(g_root));
        return g_root;
    }
};

// The store without the barrier is the control: it shows the holder is black.
TEST_F(CollectorTest, WhiteObjectStoredIntoBlackOneSurvivesOnlyThroughTheBarrier) {
    Probe* holder = BlackRoot();
    const int kept = NewId(), lost = NewId();
    gc_assign(holder->links[0], new Probe(kept));
    holder->links[1] = new Probe(lost);
    CollectAndDrain();
    EXPECT_TRUE(WasDestroyed(lost));
    holder->links[1] = nullptr;
    CollectAndDrain();
    EXPECT_TRUE(!WasDestroyed(kept) && holder->links[0]->id == kept);
}

TEST_F(CollectorTest, UnreachableObjectIsDestroyedOnlyByALaterAllocationAfterAFullCollection) {
    const int id = NewId();
    const int size = (new Probe(id))->gc_size();
    gc_step(nullptr);
    EXPECT_FALSE(WasDestroyed(id)) << "an incremental step never frees";
    gc_collect_all();
    EXPECT_FALSE(WasDestroyed(id)) << "found dead: queued, not yet destroyed";
    EXPECT_GE(gc_free_bytes, size);

    // Each allocation destroys at least as many dead bytes as it takes.
    while (!WasDestroyed(id)) {
        ASSERT_GT(gc_free_bytes, 0) << "the free list ran empty without destroying the object";
        const int free_before = gc_free_bytes;
        Probe* fresh = new Probe(NewId());
        EXPECT_TRUE(gc_free_bytes == 0 || gc_free_bytes <= free_before - fresh->gc_size());
    }
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
    EXPECT_EQ(std::vector<int>({int(gc_ext_new_bytes.load()), gc_new_bytes}), std::vector<int>({0, 0}));
    DrainFreeList();
    EXPECT_TRUE(WasDestroyed(id));
}

TEST_F(CollectorTest, StepMarksTheRootNowAndScansInProportionToAllocation) {
    Probe* root = new Probe(NewId());
    gc_step(root);
    EXPECT_FALSE(gc_is_white(root));
    EXPECT_EQ(root->succ, &gc_marked_list) << "marked now: black, at the tail of the marked list";

    Probe* chain = nullptr;
    for (int i = 0; i < 1000; ++i) {
        Probe* p = new Probe(NewId());
        gc_assign(p->links[0], chain);
        chain = p;
    }
    gc_assign(root->links[1], chain);
    gc_new_bytes = 0;
    const int marked = gc_marked_bytes;
    gc_step(root);
    EXPECT_EQ(gc_marked_bytes, marked) << "nothing allocated: nothing scanned";

    gc_new_bytes = 4096;
    gc_step(root);
    EXPECT_GE(gc_marked_bytes, 4096) << "scanned until the marked bytes reach the new bytes";
    EXPECT_LT(gc_marked_bytes - marked, 500 * chain->gc_size()) << "the slice stops after its budget";
}

// An object destroyed while still live leaves no trace on the lists or in the
// counts, so later allocations and collections never touch its freed block
// (the sanitizer build turns a slip into a use-after-free report).
TEST_F(CollectorTest, AnObjectDestroyedWhileLiveIsUnlinkedAndUncounted) {
    struct ThrowsInConstructor : Probe {
        ThrowsInConstructor() : Probe(NewId()) { throw 1; }
    };
    const auto throwing_id = []() -> int { throw 2; };
    const auto deleted = [](void (*colour)(gc_object*)) {
        return [colour] {
            Probe* p = new Probe(NewId());
            colour(p);
            delete p;
        };
    };
    const struct {
        const char* how;
        std::function<void()> destroy;
    } cases[] = {
        {"constructor threw", [] { EXPECT_THROW(new ThrowsInConstructor(), int); }},
        {"argument threw", [&] { EXPECT_THROW(new Probe(throwing_id()), int); }},
        {"white, deleted", deleted([](gc_object*) {})},
        {"grey, deleted", deleted(gc_queue)},
        {"black, deleted", deleted(gc_mark_now)},
    };
    for (const auto& c : cases) {
        const int alloced = gc_alloced_bytes, marked = gc_marked_bytes;
        c.destroy();
        EXPECT_EQ(gc_alloced_bytes, alloced) << c.how;
        EXPECT_EQ(gc_marked_bytes, marked) << c.how;
        // Garbage is still found dead: the counts the sweep relies on are exact.
        const int garbage = NewId();
        new Probe(garbage);
        CollectAndDrain();
        EXPECT_TRUE(WasDestroyed(garbage)) << c.how;
    }
}

}  // namespace
