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

TEST(StackTest, GrowsToTwiceTheLengthPlusTenAndStartsWithTheSharedEmptyArray) {
    ItemStack* stack = (new ItemStack())->m_new();
    std::vector<int> capacities;
    for (int i = 0; i < 11; ++i) {
        stack->p_Push(new Item(i));
        capacities.push_back(stack->m_data.Length());
    }
    EXPECT_EQ(capacities, std::vector<int>({10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 30}));
    for (int i = 11; i < 30; ++i) EXPECT_EQ(stack->m_data[i], nullptr);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(stack->p_Get(i)->n, i);
    EXPECT_TRUE((new ItemStack())->m_new()->p_ToArray().IsSharedEmpty()) << "ToArray of an empty stack";
}

TEST(StackTest, AppendingGrowsForTheWholeCountAndCopiesInOrder) {
    c_StringStack* stack = (new c_StringStack())->m_new();
    const Array<String> words = String("a b c d e").Split(String(" "));
    stack->p_Push(String("first"));
    stack->p_Push5(words, 1, 3);
    EXPECT_EQ(stack->m_data.Length(), 10);  // 1 + 3 fits in the first storage
    stack->p_Push6(words, 0);
    stack->p_Push5(words, 0, 5);
    EXPECT_EQ(stack->m_data.Length(), 2 * 14 + 10);
    EXPECT_EQ(stack->p_Join(String(",")), String("first,b,c,d,a,b,c,d,e,a,b,c,d,e"));
}

TEST(StackTest, NewFromArrayAndToArrayCopyTheElements) {
    const Array<String> words = String("x|y").Split(String("|"));
    c_Stack2* stack = (new c_Stack2())->m_new2(words);
    words[0] = String("changed");
    EXPECT_EQ(stack->m_length, 2);
    EXPECT_EQ(stack->p_Get(0), String("x"));
    EXPECT_NE(static_cast<void*>(stack->p_ToArray().rep()), static_cast<void*>(stack->m_data.rep()));
}

TEST(StackTest, SettingTheLengthClearsDroppedSlotsAndGrowsBeyondCapacity) {
    SourceStack* stack = (new SourceStack())->m_new();
    for (int i = 0; i < 4; ++i) stack->p_Push(new SourceObject());
    stack->p_Length(1);
    EXPECT_EQ(stack->p_Length2(), 1);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(stack->m_data[i], SourceStack::m_NIL);
    stack->p_Length(25);
    EXPECT_EQ(stack->p_Length2(), 25);
    EXPECT_EQ(stack->m_data.Length(), 60);
    EXPECT_NE(stack->p_Get(0), nullptr);
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
        map->p_Set(key * 3, items.back());
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

// Keys and colours in pre-order, which fixes the shape of a search tree.
void Shape(Node* node, std::vector<std::pair<int, int>>& out) {
    if (!node) return;
    out.emplace_back(node->m_key, node->m_color);
    Shape(node->m_left, out);
    Shape(node->m_right, out);
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

TEST(MapTest, SettingAnExistingKeyReplacesTheValueOnly) {
    ItemMap* map = (new ItemMap())->m_new();
    for (int key : {40, 10, 70, 5, 20, 60, 80, 15}) EXPECT_EQ(map->p_Insert(key, new Item(key)), 1);
    std::vector<std::pair<int, int>> before, after;
    Shape(map->m_root, before);
    Item* replacement = new Item(-1);
    EXPECT_EQ(map->p_Set(20, replacement), 0);
    Shape(map->m_root, after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(map->p_FindNode(20)->m_value, replacement);
}

}  // namespace
