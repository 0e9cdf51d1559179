// Random object graphs mutated through the write barrier, interleaved with
// incremental steps and full collections: no reachable object is ever
// destroyed, and once the graph is dropped every object is destroyed.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <vector>

#include "tests/unit/runtime/gc_support.h"

namespace {

constexpr int kRoots = 8;
Array<Probe*> g_roots;

void MarkRoots() { gc_mark_q(g_roots); }

class GraphModel {
public:
    explicit GraphModel(unsigned seed) : rng_(seed) {}

    void Run(int operations) {
        for (int op = 0; op < operations; ++op) {
            const int choice = Pick(100);
            if (choice < 45) {
                const int id = next_id_++;
                objects_[id] = new Probe(id);
                gc_assign(*RandomSlot(), objects_[id]);
            } else if (choice < 80) {
                const std::vector<Probe*> reachable = Reachable();
                if (reachable.empty()) continue;
                Probe* target = reachable[Pick(reachable.size())];
                gc_assign(*RandomSlot(), target);
            } else if (choice < 88) {
                gc_assign(*RandomSlot(), static_cast<Probe*>(nullptr));
            } else if (choice < 98) {
                gc_step(nullptr);
            } else {
                gc_collect_all();
            }
            for (Probe* p : Reachable()) ASSERT_FALSE(WasDestroyed(p->id)) << "reachable object " << p->id;
        }
    }

    const std::map<int, Probe*>& objects() const { return objects_; }

private:
    int Pick(size_t n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng_); }

    // Every object reachable from the roots, by following the real links.
    std::vector<Probe*> Reachable() const {
        std::vector<Probe*> found;
        std::set<Probe*> seen;
        const auto visit = [&](Probe* p) {
            if (p && seen.insert(p).second) found.push_back(p);
        };
        for (Probe* root : g_roots) visit(root);
        for (size_t i = 0; i < found.size(); ++i) {
            for (Probe* link : found[i]->links) visit(link);
        }
        return found;
    }

    // A root or a link of a reachable object.
    Probe** RandomSlot() {
        const std::vector<Probe*> reachable = Reachable();
        if (reachable.empty() || Pick(4) == 0) return &g_roots[Pick(kRoots)];
        return &reachable[Pick(reachable.size())]->links[Pick(3)];
    }

    std::mt19937 rng_;
    std::map<int, Probe*> objects_;
    static inline int next_id_ = 1'000'000;  // unique across models: destroyed ids are kept
};

TEST(CollectorPropertyTest, RandomGraphsKeepReachableObjectsAndFreeAllOthersInTheEnd) {
    gc_add_roots(MarkRoots);
    for (unsigned seed = 1; seed <= 12; ++seed) {
        gc_assign(g_roots, Array<Probe*>(kRoots));
        GraphModel model(seed);
        model.Run(3000);
        if (HasFatalFailure()) return;

        gc_assign(g_roots, Array<Probe*>());
        // The roots queued by the last cycle survive one more.
        CollectAndDrain();
        CollectAndDrain();
        for (const auto& [id, p] : model.objects()) {
            ASSERT_TRUE(WasDestroyed(id)) << "seed " << seed << ": unreachable object " << id << " never destroyed";
        }
    }
}

}  // namespace
