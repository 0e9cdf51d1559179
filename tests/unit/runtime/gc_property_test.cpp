// Random object graphs mutated through the write barrier, interleaved with
// incremental steps and full collections: no reachable object is ever
// destroyed, and once the graph is dropped every object is destroyed.
#include <gtest/gtest.h>

#include <map>
#include <random>
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
                AddObject();
            } else if (choice < 80) {
                Relink();
            } else if (choice < 88) {
                CutLink();
            } else if (choice < 98) {
                gc_step(nullptr);
            } else {
                gc_collect_all();
            }
            CheckNoReachableObjectDestroyed();
        }
    }

    const std::map<int, Probe*>& objects() const { return objects_; }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    // Every object reachable from the roots, by following the real links.
    std::vector<Probe*> Reachable() const {
        std::vector<Probe*> found;
        std::map<Probe*, bool> seen;
        for (Probe* root : g_roots) {
            if (root && !seen[root]) {
                seen[root] = true;
                found.push_back(root);
            }
        }
        for (size_t i = 0; i < found.size(); ++i) {
            for (Probe* link : found[i]->links) {
                if (link && !seen[link]) {
                    seen[link] = true;
                    found.push_back(link);
                }
            }
        }
        return found;
    }

    // A slot to store into: a root or a link of a reachable object.
    Probe** RandomSlot() {
        const std::vector<Probe*> reachable = Reachable();
        if (reachable.empty() || Pick(4) == 0) return &g_roots[Pick(kRoots)];
        return &reachable[Pick(static_cast<int>(reachable.size()))]->links[Pick(3)];
    }

    void AddObject() {
        const int id = next_id_++;
        Probe* p = new Probe(id);
        objects_[id] = p;
        gc_assign(*RandomSlot(), p);
    }

    void Relink() {
        const std::vector<Probe*> reachable = Reachable();
        if (reachable.empty()) return;
        Probe* target = reachable[Pick(static_cast<int>(reachable.size()))];
        gc_assign(*RandomSlot(), target);
    }

    void CutLink() { gc_assign(*RandomSlot(), static_cast<Probe*>(nullptr)); }

    void CheckNoReachableObjectDestroyed() const {
        for (Probe* p : Reachable()) {
            ASSERT_FALSE(WasDestroyed(p->id)) << "reachable object " << p->id << " was destroyed";
        }
    }

    std::mt19937 rng_;
    std::map<int, Probe*> objects_;
    static inline int next_id_ = 1'000'000;  // unique across models: ids of destroyed objects are kept
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
