// Stacks and the int-keyed red-black map: growth, vacated slots, copies, and the tree's
// ordering and balance after many insertions.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "runtime/containers.h"

namespace {

class Item : public Object {
public:
    explicit Item(int v) : value(v) {}
    int value;
};

using ItemStack = StackOf<Item*>;
using ItemMap = IntMapOf<Item*>;
using ItemNode = MapNode<Item*>;

TEST(Stacks, GrowByTwiceTheLengthPlusTen) {
    ItemStack* stack = new ItemStack;
    std::vector<int> capacities;
    for (int i = 0; i < 31; ++i) {
        stack->Push(new Item(i));
        if (capacities.empty() || capacities.back() != stack->data.Length()) capacities.push_back(stack->data.Length());
    }
    EXPECT_EQ(capacities, (std::vector<int>{10, 30, 70}));
    EXPECT_EQ(stack->Get(0)->value, 0);
    EXPECT_EQ(stack->Get(30)->value, 30);
}

TEST(Stacks, ShrinkingReleasesStringsAndKeepsTheCapacity) {
    c_Stack2* stack = (new c_Stack2)->m_new();
    String text = String("held ") + String("text");
    for (int i = 0; i < 5; ++i) stack->p_Push4(text);
    int capacity = stack->data.Length();
    stack->p_Length(0);
    EXPECT_EQ(stack->p_Length2(), 0);
    EXPECT_EQ(stack->data.Length(), capacity);
    for (const String& slot : stack->data) EXPECT_EQ(slot.Length(), 0);
    stack->p_Length(40);  // growing past the capacity: max(2 * length + 10, n)
    EXPECT_EQ(stack->data.Length(), 40);
    EXPECT_EQ(stack->p_Get(39).Length(), 0);
}

TEST(Stacks, ClearEmptiesEveryUsedSlot) {
    c_Stack2* stack = (new c_Stack2)->m_new2(Array<String>{"a", "b", "c"});
    stack->p_Clear();
    EXPECT_EQ(stack->p_Length2(), 0);
    for (const String& slot : stack->data) EXPECT_EQ(slot.Length(), 0);
}

TEST(Stacks, PushRangesAndCopyOut) {
    c_Stack2* stack = (new c_Stack2)->m_new();
    Array<String> letters{"a", "b", "c", "d"};
    stack->p_Push5(letters, 1, 2);
    stack->p_Push6(letters, 3);
    Array<String> out = stack->p_ToArray();
    ASSERT_EQ(out.Length(), 3);
    EXPECT_EQ(out[0], String("b"));
    EXPECT_EQ(out[2], String("d"));
    EXPECT_EQ((new c_Stack2)->m_new()->p_ToArray().rep, &Array<String>::nullRep);
}

TEST(Stacks, StringStackJoins) {
    EXPECT_EQ((new c_StringStack)->m_new2()->p_Join(",").Length(), 0);
    EXPECT_EQ((new c_StringStack)->m_new(Array<String>{"x"})->p_Join(","), String("x"));
    EXPECT_EQ((new c_StringStack)->m_new(Array<String>{"x", "y", "z"})->p_Join(", "), String("x, y, z"));
}

TEST(Stacks, ContainsComparesIdentity) {
    ItemStack* stack = new ItemStack;
    Item* a = new Item(1);
    stack->Push(a);
    EXPECT_TRUE(stack->Contains(a));
    EXPECT_FALSE(stack->Contains(new Item(1)));
}

// Checks the red-black rules below `node`; returns the black height, or -1 on a violation.
int black_height(ItemNode* node, ItemNode* parent) {
    if (!node) return 1;
    if (node->parent != parent) return -1;
    if (node->color == -1 && parent && parent->color == -1) return -1;
    if (node->left && node->left->key >= node->key) return -1;
    if (node->right && node->right->key <= node->key) return -1;
    int left = black_height(node->left, node);
    int right = black_height(node->right, node);
    if (left < 0 || left != right) return -1;
    return left + (node->color == 1 ? 1 : 0);
}

int depth(ItemNode* node) { return node ? 1 + std::max(depth(node->left), depth(node->right)) : 0; }

TEST(Maps, StayBalancedUnderAscendingDescendingAndMixedInsertion) {
    const int n = 1000;
    std::vector<std::vector<int>> orders(3);
    for (int i = 0; i < n; ++i) {
        orders[0].push_back(i);
        orders[1].push_back(n - i);
        orders[2].push_back((i * 7919) % n);
    }
    for (const std::vector<int>& keys : orders) {
        ItemMap* map = new ItemMap;
        for (int key : keys) EXPECT_TRUE(map->p_Set(key, new Item(key)));
        EXPECT_EQ(map->root->color, 1);
        EXPECT_GT(black_height(map->root, nullptr), 0);
        EXPECT_LE(depth(map->root), 2 * 10 + 1);  // 2 log2(n + 1)
        for (int key : keys) ASSERT_EQ(map->p_FindNode(key)->value->value, key);
        EXPECT_FALSE(map->p_Contains(n + 5));
    }
}

TEST(Maps, SettingAnExistingKeyReplacesOnlyTheValue) {
    ItemMap* map = new ItemMap;
    for (int key : {5, 3, 8}) map->p_Insert(key, new Item(key));
    ItemNode* root = map->root;
    Item* replacement = new Item(99);
    EXPECT_FALSE(map->p_Set(3, replacement));
    EXPECT_EQ(map->root, root);
    EXPECT_EQ(map->p_FindNode(3)->value, replacement);
    EXPECT_EQ(map->p_FindNode(3)->parent, root);
}

TEST(Maps, DisplayModeKeysOrderByWidthThenHeight) {
    ItemMap* map = new ItemMap;
    map->p_Set((800 << 16) | 600, new Item(1));
    map->p_Set((640 << 16) | 480, new Item(2));
    map->p_Set((800 << 16) | 600, new Item(3));
    EXPECT_EQ(map->root->key, (800 << 16) | 600);
    EXPECT_EQ(map->root->left->key, (640 << 16) | 480);
}

}  // namespace
