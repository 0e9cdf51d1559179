#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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
using ItemMap = gc_int_map<Item*>;
using Node = gc_map_node<Item*>;

TEST(StackTest, GrowsToTwiceTheLengthPlusTen) {
    ItemStack* stack = (new ItemStack())->m_new();
    std::vector<int> capacities;
    for (int i = 0; i < 11; ++i) {
        stack->p_Push(new Item(i));
        capacities.push_back(stack->m_data.Length());
    }
    EXPECT_EQ(capacities.front(), 10);
    EXPECT_EQ(capacities[9], 10);
    EXPECT_EQ(capacities.back(), 30);
    EXPECT_EQ(stack->m_length, 11);
    for (int i = 11; i < 30; ++i) EXPECT_EQ(stack->m_data[i], nullptr);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(stack->p_Get(i)->n, i);
}

TEST(StackTest, AppendingGrowsForTheWholeCountAndCopiesInOrder) {
    c_StringStack* stack = (new c_StringStack())->m_new();
    const Array<String> words = String("a b c d e").Split(String(" "));
    stack->p_Push(String("first"));
    stack->p_Push5(words, 1, 3);
    EXPECT_EQ(stack->m_data.Length(), 10);  // 1 + 3 fits in the first storage
    stack->p_Push6(words, 0);
    EXPECT_EQ(stack->m_length, 9);
    stack->p_Push5(words, 0, 5);
    EXPECT_EQ(stack->m_data.Length(), 2 * 14 + 10);
    EXPECT_EQ(stack->p_Join(String(",")), String("first,b,c,d,a,b,c,d,e,a,b,c,d,e"));
}

TEST(StackTest, ToArrayOfAnEmptyStackIsTheSharedEmptyArray) {
    EXPECT_TRUE((new ItemStack())->m_new()->p_ToArray().IsSharedEmpty());
    EXPECT_EQ((new c_StringStack())->m_new()->p_Join(String("|")).Length(), 0);
}

TEST(StackTest, NewFromArrayCopiesTheElements) {
    const Array<String> words = String("x|y").Split(String("|"));
    c_Stack2* stack = (new c_Stack2())->m_new2(words);
    words[0] = String("changed");
    EXPECT_EQ(stack->m_length, 2);
    EXPECT_EQ(stack->p_Get(0), String("x"));
    const Array<String> out = stack->p_ToArray();
    EXPECT_NE(static_cast<void*>(out.rep()), static_cast<void*>(stack->m_data.rep()));
}

TEST(StackTest, SettingTheLengthClearsDroppedSlotsAndGrowsBeyondCapacity) {
    gc_stack<ItemSource*>* stack = (new gc_stack<ItemSource*>())->m_new();
    for (int i = 0; i < 4; ++i) stack->p_Push(new SourceObject());
    stack->p_Length(1);
    EXPECT_EQ(stack->p_Length2(), 1);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(stack->m_data[i], gc_stack<ItemSource*>::m_NIL);
    stack->p_Length(25);
    EXPECT_EQ(stack->p_Length2(), 25);
    EXPECT_EQ(stack->m_data.Length(), 60);
    EXPECT_NE(stack->p_Get(0), nullptr);
}

TEST(StackTest, MarkKeepsTheElementsAlive) {
    // Interface elements are marked through the object that implements them.
    gc_stack<ItemSource*>* stack = (new gc_stack<ItemSource*>())->m_new();
    SourceObject* source = new SourceObject();
    stack->p_Push(source);
    gc_mark_now(stack);
    gc_mark_queued(INT32_MAX);
    EXPECT_FALSE(gc_is_white(source));
}

// Checks every red-black invariant below `node`; returns the black height.
int CheckSubtree(Node* node, Node* parent, long low, long high) {
    if (!node) return 1;
    EXPECT_EQ(node->m_parent, parent) << "parent link of " << node->m_key;
    EXPECT_TRUE(node->m_color == kRed || node->m_color == kBlack);
    EXPECT_GT(node->m_key, low);
    EXPECT_LT(node->m_key, high);
    if (node->m_color == kRed) {
        EXPECT_FALSE(node->m_left && node->m_left->m_color == kRed) << "red node " << node->m_key << " with a red child";
        EXPECT_FALSE(node->m_right && node->m_right->m_color == kRed) << "red node " << node->m_key << " with a red child";
    }
    const int left = CheckSubtree(node->m_left, node, low, node->m_key);
    const int right = CheckSubtree(node->m_right, node, node->m_key, high);
    EXPECT_EQ(left, right) << "black heights differ below " << node->m_key;
    return left + (node->m_color == kBlack ? 1 : 0);
}

void CheckRedBlack(ItemMap* map) {
    ASSERT_NE(map->m_root, nullptr);
    EXPECT_EQ(map->m_root->m_color, kBlack);
    CheckSubtree(map->m_root, nullptr, -1, 1L << 40);
}

std::vector<std::pair<int, int>> Shape(Node* node) {
    if (!node) return {};
    std::vector<std::pair<int, int>> out = Shape(node->m_left);
    out.emplace_back(node->m_key, node->m_color);
    for (const auto& kc : Shape(node->m_right)) out.push_back(kc);
    out.emplace_back(node->m_left ? node->m_left->m_key : -1, node->m_right ? node->m_right->m_key : -1);
    return out;
}

TEST(MapTest, InsertingOneTwoThreeBalancesAroundTwo) {
    ItemMap* map = (new ItemMap())->m_new();
    for (int key : {1, 2, 3}) EXPECT_EQ(map->p_Insert(key, new Item(key)), 1);
    ASSERT_EQ(map->m_root->m_key, 2);
    EXPECT_EQ(map->m_root->m_color, kBlack);
    EXPECT_EQ(map->m_root->m_left->m_key, 1);
    EXPECT_EQ(map->m_root->m_left->m_color, kRed);
    EXPECT_EQ(map->m_root->m_right->m_key, 3);
    EXPECT_EQ(map->m_root->m_right->m_color, kRed);
}

TEST(MapTest, RandomInsertionsKeepEveryRedBlackInvariant) {
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        ItemMap* map = (new ItemMap())->m_new();
        std::vector<int> keys;
        const int count = 1 + round * 7;
        for (int i = 0; i < count; ++i) {
            const int key = static_cast<int>(rng() % (round % 3 == 0 ? 50 : 100000));
            const bool fresh = std::find(keys.begin(), keys.end(), key) == keys.end();
            EXPECT_EQ(map->p_Set(key, new Item(key)), fresh ? 1 : 0);
            if (fresh) keys.push_back(key);
        }
        CheckRedBlack(map);
        for (int key : keys) {
            ASSERT_NE(map->p_FindNode(key), nullptr) << key;
            EXPECT_EQ(map->p_FindNode(key)->m_value->n, key);
        }
        EXPECT_FALSE(map->p_Contains(-5));
        EXPECT_FALSE(map->p_Contains(100001));
        if (HasFailure()) return;
    }
}

TEST(MapTest, AscendingAndDescendingInsertionsStayBalanced) {
    for (int direction : {1, -1}) {
        ItemMap* map = (new ItemMap())->m_new();
        for (int i = 0; i < 1000; ++i) map->p_Set(1000 + direction * i, nullptr);
        CheckRedBlack(map);
    }
}

TEST(MapTest, SettingAnExistingKeyReplacesTheValueOnly) {
    ItemMap* map = (new ItemMap())->m_new();
    for (int key : {40, 10, 70, 5, 20, 60, 80, 15}) map->p_Set(key, new Item(key));
    const auto before = Shape(map->m_root);
    Item* replacement = new Item(-1);
    EXPECT_EQ(map->p_Set(20, replacement), 0);
    EXPECT_EQ(Shape(map->m_root), before);
    EXPECT_EQ(map->p_FindNode(20)->m_value, replacement);
}

TEST(MapTest, MarkReachesEveryNodeAndValue) {
    ItemMap* map = (new ItemMap())->m_new();
    std::vector<Item*> items;
    for (int key = 0; key < 50; ++key) {
        items.push_back(new Item(key));
        map->p_Set(key * 3, items.back());
    }
    gc_mark_now(map);
    gc_mark_queued(INT32_MAX);
    for (Item* item : items) EXPECT_FALSE(gc_is_white(item)) << item->n;
}

}  // namespace
