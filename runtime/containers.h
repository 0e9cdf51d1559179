// The container module: a growable stack and a red-black map from int keys,
// generic over their element types. The modules that own the element types
// name the instances (a stack of display modes, of event sources ...); the
// string stacks, whose element type is the runtime's own, are named here.
//
// All are collected objects and store object references through the write
// barrier.
#pragma once

#include <type_traits>

#include "runtime/array.h"
#include "runtime/object.h"

template <class T>
class gc_stack : public Object {
public:
    Array<T> m_data;  // its length is the capacity
    int m_length = 0;
    // The empty element value: what the slots at and beyond m_length hold.
    static inline T m_NIL{};

    gc_stack* m_new() { return this; }
    gc_stack* m_new2(const Array<T>& data) {
        gc_assign(m_data, Array<T>(data.begin(), data.Length()));
        m_length = data.Length();
        return this;
    }

    int p_Push(T value) {
        if (m_length == m_data.Length()) grow(m_length * 2 + 10);
        store(m_data[m_length], value);
        ++m_length;
        return 0;
    }
    // Appends `count` elements of `values` starting at `offset`.
    int p_Push2(const Array<T>& values, int offset, int count) {
        if (m_length + count > m_data.Length()) grow((m_length + count) * 2 + 10);
        for (int i = 0; i < count; ++i) store(m_data[m_length + i], values[offset + i]);
        m_length += count;
        return 0;
    }
    int p_Push3(const Array<T>& values, int offset) { return p_Push2(values, offset, values.Length() - offset); }

    Array<T> p_ToArray() const { return Array<T>(m_data.begin(), m_length); }
    T p_Get(int index) const { return m_data[index]; }

    int p_Length(int length) {
        if (length < m_length) {
            for (int i = length; i < m_length; ++i) store(m_data[i], m_NIL);
        } else if (length > m_data.Length()) {
            grow(length * 2 + 10);
        }
        m_length = length;
        return 0;
    }
    int p_Length2() const { return m_length; }

    void mark() override { gc_mark_q(m_data); }

private:
    static void store(T& slot, const T& value) {
        if constexpr (std::is_pointer_v<T>) {
            gc_assign(slot, value);
        } else {
            slot = value;
        }
    }

    // Replaces the storage by a larger array; the new slots hold m_NIL.
    void grow(int capacity) {
        Array<T> grown(capacity);
        for (int i = 0; i < m_length; ++i) grown[i] = m_data[i];
        gc_assign(m_data, grown);
    }
};

// The stack of strings.
class c_Stack2 : public gc_stack<String> {
public:
    c_Stack2* m_new() { return this; }
    c_Stack2* m_new2(const Array<String>& data) {
        gc_stack::m_new2(data);
        return this;
    }
    int p_Push5(const Array<String>& values, int offset, int count) { return p_Push2(values, offset, count); }
    int p_Push6(const Array<String>& values, int offset) { return p_Push3(values, offset); }
};

class c_StringStack : public c_Stack2 {
public:
    c_StringStack* m_new() { return this; }
    c_StringStack* m_new2(const Array<String>& data) {
        c_Stack2::m_new2(data);
        return this;
    }
    String p_Join(const String& separator) const { return separator.Join(p_ToArray()); }
};

constexpr int kRed = -1;
constexpr int kBlack = 1;

template <class V>
class gc_map_node : public Object {
public:
    int m_key = 0;
    gc_map_node* m_right = nullptr;
    gc_map_node* m_left = nullptr;
    V m_value{};
    int m_color = 0;
    gc_map_node* m_parent = nullptr;

    gc_map_node* m_new(int key, V value, int color, gc_map_node* parent) {
        m_key = key;
        gc_assign(m_value, value);
        m_color = color;
        gc_assign(m_parent, parent);
        return this;
    }

    void mark() override {
        gc_mark_q(m_right);
        gc_mark_q(m_left);
        gc_mark_q(m_value);
        gc_mark_q(m_parent);
    }
};

// An ordered map from int keys, a red-black tree; subclasses give the order.
template <class V>
class gc_map : public Object {
public:
    using Node = gc_map_node<V>;

    Node* m_root = nullptr;

    gc_map* m_new() { return this; }
    virtual int p_Compare(int key, int other) = 0;

    Node* p_FindNode(int key) {
        Node* node = m_root;
        while (node) {
            const int cmp = p_Compare(key, node->m_key);
            if (cmp > 0) {
                node = node->m_right;
            } else if (cmp < 0) {
                node = node->m_left;
            } else {
                return node;
            }
        }
        return nullptr;
    }

    bool p_Contains(int key) { return p_FindNode(key) != nullptr; }

    // Returns 1 when the key was added, 0 when an existing value was replaced.
    int p_Set(int key, V value) {
        Node* node = m_root;
        Node* parent = nullptr;
        int cmp = 0;
        while (node) {
            parent = node;
            cmp = p_Compare(key, node->m_key);
            if (cmp > 0) {
                node = node->m_right;
            } else if (cmp < 0) {
                node = node->m_left;
            } else {
                gc_assign(node->m_value, value);
                return 0;
            }
        }
        node = (new Node())->m_new(key, value, kRed, parent);
        if (!parent) {
            gc_assign(m_root, node);
        } else if (cmp < 0) {
            gc_assign(parent->m_left, node);
        } else {
            gc_assign(parent->m_right, node);
        }
        p_InsertFixup(node);
        return 1;
    }
    int p_Insert(int key, V value) { return p_Set(key, value); }

    void mark() override { gc_mark_q(m_root); }

private:
    void p_RotateLeft(Node* node) {
        Node* child = node->m_right;
        gc_assign(node->m_right, child->m_left);
        if (child->m_left) gc_assign(child->m_left->m_parent, node);
        replace_child(node, child);
        gc_assign(child->m_left, node);
        gc_assign(node->m_parent, child);
    }

    void p_RotateRight(Node* node) {
        Node* child = node->m_left;
        gc_assign(node->m_left, child->m_right);
        if (child->m_right) gc_assign(child->m_right->m_parent, node);
        replace_child(node, child);
        gc_assign(child->m_right, node);
        gc_assign(node->m_parent, child);
    }

    // Puts `child` where `node` hangs under its parent (or at the root).
    void replace_child(Node* node, Node* child) {
        Node* parent = node->m_parent;
        gc_assign(child->m_parent, parent);
        if (!parent) {
            gc_assign(m_root, child);
        } else if (node == parent->m_left) {
            gc_assign(parent->m_left, child);
        } else {
            gc_assign(parent->m_right, child);
        }
    }

    void p_InsertFixup(Node* node) {
        while (node->m_parent && node->m_parent->m_color == kRed && node->m_parent->m_parent) {
            Node* parent = node->m_parent;
            Node* grandparent = parent->m_parent;
            if (parent == grandparent->m_left) {
                Node* uncle = grandparent->m_right;
                if (uncle && uncle->m_color == kRed) {
                    parent->m_color = uncle->m_color = kBlack;
                    grandparent->m_color = kRed;
                    node = grandparent;
                    continue;
                }
                if (node == parent->m_right) {
                    node = parent;
                    p_RotateLeft(node);
                }
                node->m_parent->m_color = kBlack;
                node->m_parent->m_parent->m_color = kRed;
                p_RotateRight(node->m_parent->m_parent);
            } else {
                Node* uncle = grandparent->m_left;
                if (uncle && uncle->m_color == kRed) {
                    parent->m_color = uncle->m_color = kBlack;
                    grandparent->m_color = kRed;
                    node = grandparent;
                    continue;
                }
                if (node == parent->m_left) {
                    node = parent;
                    p_RotateRight(node);
                }
                node->m_parent->m_color = kBlack;
                node->m_parent->m_parent->m_color = kRed;
                p_RotateLeft(node->m_parent->m_parent);
            }
        }
        m_root->m_color = kBlack;
    }
};

// A map ordered by the integer keys themselves.
template <class V>
class gc_int_map : public gc_map<V> {
public:
    gc_int_map* m_new() {
        gc_map<V>::m_new();
        return this;
    }
    // The keys are small and non-negative; unsigned arithmetic keeps the
    // subtraction defined for any keys.
    int p_Compare(int key, int other) override {
        return static_cast<int>(static_cast<unsigned>(key) - static_cast<unsigned>(other));
    }
};
