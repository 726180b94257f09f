// Growable stacks and an int-keyed red-black map, written once as templates; the named
// classes (c_Stack2, c_StringStack here, the display-mode and event-source ones beside their
// element types) give each element type its own class.
#pragma once

#include <cstdint>

#include "runtime/array.h"

template <class T>
class StackOf : public Object {
public:
    Array<T> data;
    int length = 0;

    // Written into every vacated slot: the empty string, or null.
    static inline T m_NIL{};

    void Push(const T& value) {
        if (length == data.Length()) {
            Array<T> grown(length * 2 + 10);
            for (int i = 0; i < length; ++i) grown[i] = data[i];
            gc_mark(grown);
            gc_assign(data, grown);
        }
        store(data[length++], value);
    }
    void PushRange(const Array<T>& values, int offset, int count) {
        for (int i = 0; i < count; ++i) Push(values[offset + i]);
    }
    void PushTail(const Array<T>& values, int offset) { PushRange(values, offset, values.Length() - offset); }

    Array<T> ToArray() const {
        Array<T> copy(length);
        for (int i = 0; i < length; ++i) copy[i] = data[i];
        return copy;
    }
    const T& Get(int index) const { return data[index]; }
    int Length() const { return length; }
    void SetLength(int count) {
        if (count < length) {
            for (int i = count; i < length; ++i) data[i] = m_NIL;
        } else if (count > data.Length()) {
            Array<T> grown(length * 2 + 10 > count ? length * 2 + 10 : count);
            for (int i = 0; i < length; ++i) grown[i] = data[i];
            gc_mark(grown);
            gc_assign(data, grown);
        }
        length = count;
    }
    void Clear() {
        for (int i = 0; i < length; ++i) data[i] = m_NIL;
        length = 0;
    }
    bool Contains(const T& value) const {
        for (int i = 0; i < length; ++i) {
            if (data[i] == value) return true;
        }
        return false;
    }

    void mark() override { gc_mark_q(data); }

private:
    static void store(T& slot, const T& value) {
        if constexpr (std::is_pointer_v<T>) {
            gc_assign(slot, value);
        } else {
            slot = value;
        }
    }
};

class c_Stack2 : public StackOf<String> {
public:
    c_Stack2* m_new() { return this; }
    c_Stack2* m_new2(const Array<String>& values) {
        PushTail(values, 0);
        return this;
    }
    int p_Push4(const String& value) { return Push(value), 0; }
    int p_Push5(const Array<String>& values, int offset, int count) { return PushRange(values, offset, count), 0; }
    int p_Push6(const Array<String>& values, int offset) { return PushTail(values, offset), 0; }
    Array<String> p_ToArray() { return ToArray(); }
    int p_Clear() { return Clear(), 0; }
    int p_Length(int count) { return SetLength(count), 0; }
    int p_Length2() { return Length(); }
    String p_Get(int index) { return Get(index); }
};

class c_StringStack : public c_Stack2 {
public:
    c_StringStack* m_new(const Array<String>& values) {
        c_Stack2::m_new2(values);
        return this;
    }
    c_StringStack* m_new2() { return this; }
    String p_Join(const String& separator) { return separator.Join(ToArray()); }
};

template <class V>
class MapNode : public Object {
public:
    int key = 0;
    MapNode* right = nullptr;
    MapNode* left = nullptr;
    V value{};
    int color = 0;  // -1 red, 1 black
    MapNode* parent = nullptr;

    void mark() override {
        gc_mark_q(right);
        gc_mark_q(left);
        gc_mark_q(value);
        gc_mark_q(parent);
    }
};

template <class V>
class MapOf : public Object {
public:
    using Node = MapNode<V>;
    Node* root = nullptr;

    virtual int p_Compare(int a, int b) = 0;

    bool p_Set(int key, V value) {
        Node* node = root;
        Node* parent = nullptr;
        int c = 0;
        while (node) {
            parent = node;
            c = p_Compare(key, node->key);
            if (c > 0) {
                node = node->right;
            } else if (c < 0) {
                node = node->left;
            } else {
                gc_assign(node->value, value);
                return false;
            }
        }
        Node* fresh = new Node;
        fresh->key = key;
        gc_assign(fresh->value, value);
        fresh->color = -1;
        gc_assign(fresh->parent, parent);
        if (!parent) {
            gc_assign(root, fresh);
        } else if (c > 0) {
            gc_assign(parent->right, fresh);
        } else {
            gc_assign(parent->left, fresh);
        }
        p_InsertFixup(fresh);
        return true;
    }
    bool p_Insert(int key, V value) { return p_Set(key, value); }

    Node* p_FindNode(int key) {
        Node* node = root;
        while (node) {
            int c = p_Compare(key, node->key);
            if (c == 0) return node;
            node = c > 0 ? node->right : node->left;
        }
        return nullptr;
    }
    bool p_Contains(int key) { return p_FindNode(key) != nullptr; }
    V p_Get(int key) {
        Node* node = p_FindNode(key);
        return node ? node->value : V{};
    }

    // Rotations and the fix-up are written once; a side flag picks the mirror image.
    int p_RotateLeft(Node* node) { return rotate(node, false), 0; }
    int p_RotateRight(Node* node) { return rotate(node, true), 0; }

    int p_InsertFixup(Node* node) {
        while (node->parent && node->parent->color == -1 && node->parent->parent) {
            Node* parent = node->parent;
            Node* grand = parent->parent;
            bool parent_is_left = parent == grand->left;
            Node* uncle = parent_is_left ? grand->right : grand->left;
            if (uncle && uncle->color == -1) {
                parent->color = 1;
                uncle->color = 1;
                grand->color = -1;
                node = grand;
                continue;
            }
            if (node == (parent_is_left ? parent->right : parent->left)) {
                node = parent;
                rotate(node, !parent_is_left);
                parent = node->parent;
            }
            parent->color = 1;
            grand->color = -1;
            rotate(grand, parent_is_left);
        }
        root->color = 1;
        return 0;
    }

    void mark() override { gc_mark_q(root); }

private:
    static Node*& child(Node* node, bool right_side) { return right_side ? node->right : node->left; }

    // Left rotation when `right` is false: the node's right child takes its place.
    void rotate(Node* node, bool right) {
        Node* pivot = child(node, !right);
        gc_assign(child(node, !right), child(pivot, right));
        if (child(pivot, right)) gc_assign(child(pivot, right)->parent, node);
        gc_assign(pivot->parent, node->parent);
        if (!node->parent) {
            gc_assign(root, pivot);
        } else if (node == node->parent->right) {
            gc_assign(node->parent->right, pivot);
        } else {
            gc_assign(node->parent->left, pivot);
        }
        gc_assign(child(pivot, right), node);
        gc_assign(node->parent, pivot);
    }
};

// Keys ordered by their 32-bit wrapping difference.
template <class V>
class IntMapOf : public MapOf<V> {
public:
    int p_Compare(int a, int b) override { return static_cast<int>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
};
