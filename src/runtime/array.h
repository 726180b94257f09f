// Array<T>: fixed-length storage held in one collected object, copied by reference.
// Each element type has one permanent shared empty representation; indexing is unchecked,
// so every caller keeps its indices in range.
#pragma once

#include <initializer_list>
#include <new>
#include <type_traits>

#include "runtime/gc.h"
#include "runtime/string.h"

template <class T>
class Array {
public:
    struct Rep : gc_object {
        int length;

        constexpr Rep() : gc_object(permanent_tag{}), length(0) {}
        explicit Rep(int count) : length(count) {
            if constexpr (std::is_same_v<T, String>) {
                t_create(count, elements());
            } else {
                for (int i = 0; i < count; ++i) elements()[i] = T{};
            }
        }
        ~Rep() override {
            if constexpr (std::is_same_v<T, String>) t_destroy(length, elements());
        }
        void mark() override {
            if constexpr (std::is_pointer_v<T>) {
                for (int i = 0; i < length; ++i) gc_mark(elements()[i]);
            }
        }
        T* elements() { return reinterpret_cast<T*>(this + 1); }
    };
    static_assert(sizeof(Rep) % alignof(T) == 0);

    static inline Rep nullRep{};

    Array() : rep(&nullRep) {}
    explicit Array(int length) : rep(length > 0 ? new (sizeof(T) * length) Rep(length) : &nullRep) {}
    Array(std::initializer_list<T> values) : Array(static_cast<int>(values.size())) {
        int i = 0;
        for (const T& value : values) rep->elements()[i++] = value;
    }
    Array(const T* values, int length) : Array(length) {
        for (int i = 0; i < length; ++i) rep->elements()[i] = values[i];
    }

    int Length() const { return rep->length; }
    T& operator[](int index) const { return rep->elements()[index]; }
    T* begin() const { return rep->elements(); }
    T* end() const { return rep->elements() + rep->length; }

    // The same storage (arrays compare by identity, like objects).
    bool operator==(const Array& other) const { return rep == other.rep; }

    Rep* rep;
};

template <class T>
inline void gc_mark_q(const Array<T>& array) {
    gc_mark_q(array.rep);
}

template <class T>
inline void gc_mark(const Array<T>& array) {
    gc_mark(array.rep);
}

// Write barrier for array-valued fields and globals.
template <class T>
inline void gc_assign(Array<T>& field, const Array<T>& value) {
    gc_mark_q(value.rep);
    field = value;
}
