#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "runtime/containers.h"

namespace {

struct Item : Object {
    explicit Item(int n) : n(n) {}
    int n;
};

struct ItemSource : gc_interface {};
struct SourceObject : Object, virtual ItemSource {};

using ItemStack = gc_stack<Item*>;
using SourceStack = gc_stack<ItemSource*>;
using ItemMap = gc_int_map<Item*>;
using Node = gc_map_node<Item*>;

TEST(StackTest, GrowingKeepsEveryElement) {
    ItemStack* stack = (new ItemStack())->m_new();
    for (int i = 0; i < 11; ++i) stack->p_Push(new Item(i));
    for (int i = 0; i < 11; ++i) EXPECT_EQ(stack->p_Get(i)->n, i);
    EXPECT_EQ((new ItemStack())->m_new()->p_ToArray().Length(), 0);
}

TEST(ContainerMarkTest, MarkReachesEveryElementNodeAndValue) {
    // Interface elements are marked through the object that implements them.
    SourceStack* stack = (new SourceStack())->m_new();
    SourceObject* source = new SourceObject();
    stack->p_Push(source);
    ItemMap* map = (new ItemMap())->m_new();
    std::vector<Item*> items;
    for (int key = 0; key < 50; ++key) {
        items.push_back(new Item(key));
        map->p_Insert(key * 3, items.back());
    }
    gc_mark_now(stack);
    gc_mark_now(map);
    gc_mark_queued(INT32_MAX);
    EXPECT_FALSE(gc_is_white(source));
    for (Item* item : items) EXPECT_FALSE(gc_is_white(item)) << item->n;
}

// Checks every red-black invariant below `node`; returns the black height.
int CheckSubtree(Node* node, Node* parent, long low, long high) {
    if (!node) return 1;
    EXPECT_EQ(node->m_parent, parent) << "parent link of " << node->m_key;
    EXPECT_TRUE(node->m_color == kRed || node->m_color == kBlack);
    EXPECT_TRUE(node->m_key > low && node->m_key < high) << node->m_key << " out of order";
    if (node->m_color == kRed) {
        for (Node* child : {node->m_left, node->m_right}) {
            EXPECT_FALSE(child && child->m_color == kRed) << "red node " << node->m_key << " with a red child";
        }
    }
    const int left = CheckSubtree(node->m_left, node, low, node->m_key);
    const int right = CheckSubtree(node->m_right, node, node->m_key, high);
    EXPECT_EQ(left, right) << "black heights differ below " << node->m_key;
    return left + (node->m_color == kBlack ? 1 : 0);
}

TEST(MapTest, InsertionsInRandomAndSortedOrderKeepEveryRedBlackInvariant) {
    std::mt19937 rng(7);
    for (int round = 0; round < 62; ++round) {
        ItemMap* map = (new ItemMap())->m_new();
        std::set<int> keys;
        const int count = round < 60 ? 1 + round * 7 : 1000;
        for (int i = 0; i < count; ++i) {
            const int key = round == 60 ? 1000 + i
                          : round == 61 ? 1000 - i
                                        : static_cast<int>(rng() % (round % 3 == 0 ? 50 : 100000));
            EXPECT_EQ(map->p_Set(key, new Item(key)), keys.insert(key).second ? 1 : 0);
        }
        ASSERT_NE(map->m_root, nullptr);
        EXPECT_EQ(map->m_root->m_color, kBlack);
        CheckSubtree(map->m_root, nullptr, -1, 1L << 40);
        for (int key : keys) {
            ASSERT_NE(map->p_FindNode(key), nullptr) << key;
            EXPECT_EQ(map->p_FindNode(key)->m_value->n, key);
        }
        EXPECT_FALSE(map->p_Contains(-5));
        EXPECT_FALSE(map->p_Contains(100001));
        if (HasFailure()) return;
    }
}

}  // namespace
