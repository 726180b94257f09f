// String: an immutable run of UTF-16 units shared by plain reference counting (main thread
// only). Every operation whose result equals an operand shares the operand's representation,
// and every empty result is the one shared empty representation.
#pragma once

#include <cstdio>
#include <string>

using Char = char16_t;

template <class T>
class Array;

class String {
public:
    struct Rep {
        int refs;
        int length;
        Char* units() { return reinterpret_cast<Char*>(this + 1); }
    };
    static Rep nullRep;

    String() : rep(&nullRep) { ++rep->refs; }
    String(const String& other) : rep(other.rep) { ++rep->refs; }
    String(String&& other) noexcept : rep(other.rep) {
        other.rep = &nullRep;
        ++nullRep.refs;
    }
    String(const Char* units, int length);
    String(const char* text);  // one unit per byte; for ASCII text
    explicit String(int value);
    explicit String(float value);
    ~String() { release(rep); }

    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;

    static String FromChar(int unit);
    static String Load(FILE* file);
    static String DecodeText(const unsigned char* bytes, size_t count);

    int Length() const { return rep->length; }
    int operator[](int index) const { return rep->units()[index]; }
    const Char* Data() const { return rep->units(); }
    bool SharesRep(const String& other) const { return rep == other.rep; }

    String operator+(const String& other) const;
    String& operator+=(const String& other) { return *this = *this + other; }
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }
    int Compare(const String& other) const;  // unit by unit, then by length
    bool operator<(const String& other) const { return Compare(other) < 0; }

    String Slice(int from) const { return Slice(from, Length()); }
    String Slice(int from, int to) const;
    int Find(const String& sub, int start = 0) const;
    int FindLast(const String& sub) const;
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    bool Contains(const String& sub) const { return Find(sub) >= 0; }
    String Replace(const String& find, const String& with) const;
    Array<String> Split(const String& separator) const;
    String Join(const Array<String>& pieces) const;
    int ToInt() const;
    String ToLower() const;
    String ToUpper() const;

    // Narrowing for file names, messages and URLs: each unit cut to its low byte.
    template <class C>
    struct CString {
        std::basic_string<C> text;
        operator const C*() const { return text.c_str(); }
        const C* c_str() const { return text.c_str(); }
    };
    CString<char> ToCString() const;

    // UTF-8 with each unit encoded on its own (surrogate pairs are not combined).
    int Utf8Length() const;
    void EncodeUtf8(char* out) const;

private:
    explicit String(Rep* owned) : rep(owned) {}
    static Rep* allocate(int length);
    static void release(Rep* rep);
    Rep* rep;
};

// Slot helpers behind arrays of strings.
void t_create(int count, String* slots);
void t_create(int count, String* slots, const String* from);
void t_destroy(int count, String* slots);

// UTF-8 of one- to three-byte sequences appended to `units` as UTF-16 units; false at the
// first invalid or cut-short sequence, where each caller has its own fallback.
bool decode_utf8(const unsigned char* bytes, size_t count, std::u16string& units);

// The number parser behind ToInt: the C library's atoi rules (leading white space, optional
// sign, decimal digits) with out-of-range values saturated instead of undefined.
int parse_int(const char* text);
