// String operations, number formatting and parsing, and decoding whole files into text
// (byte-order marks, UTF-8, and a Latin-1 fallback when the UTF-8 is not valid).
#include "runtime/string.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <vector>

#include "runtime/array.h"

String::Rep String::nullRep = {1, 0};

String::Rep* String::allocate(int length) {
    if (length <= 0) {
        ++nullRep.refs;
        return &nullRep;
    }
    Rep* rep = static_cast<Rep*>(std::malloc(sizeof(Rep) + sizeof(Char) * length));
    rep->refs = 1;
    rep->length = length;
    return rep;
}

void String::release(Rep* rep) {
    if (--rep->refs == 0 && rep != &nullRep) std::free(rep);
}

String::String(const Char* units, int length) : rep(allocate(length)) {
    if (length > 0) std::memcpy(rep->units(), units, sizeof(Char) * length);
}

String::String(const char* text) : rep(allocate(static_cast<int>(std::strlen(text)))) {
    for (int i = 0; i < rep->length; ++i) rep->units()[i] = static_cast<unsigned char>(text[i]);
}

namespace {
std::string format_float(float value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.17lg", static_cast<double>(value));
    // Exponents are written with at least three digits (1.0000000200408773e+020), the form
    // saved numbers have always had.
    if (char* e = std::strchr(text, 'e')) {
        char* digits = e + 2;
        size_t count = std::strlen(digits);
        if (count < 3) {
            std::memmove(digits + 3 - count, digits, count + 1);
            std::memset(digits, '0', 3 - count);
        }
    }
    std::string out(text);
    bool finite = value == value && value - value == 0.0f;
    if (finite && out.find_first_of(".e") == std::string::npos) out += ".0";
    return out;
}
}  // namespace

String::String(int value) : String(std::to_string(value).c_str()) {}

String::String(float value) : String(format_float(value).c_str()) {}

String& String::operator=(const String& other) {
    ++other.rep->refs;
    release(rep);
    rep = other.rep;
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        release(rep);
        rep = other.rep;
        other.rep = &nullRep;
        ++nullRep.refs;
    }
    return *this;
}

String String::FromChar(int unit) {
    Char c = static_cast<Char>(unit);
    return String(&c, 1);
}

String String::operator+(const String& other) const {
    if (Length() == 0) return other;
    if (other.Length() == 0) return *this;
    Rep* joined = allocate(Length() + other.Length());
    std::memcpy(joined->units(), Data(), sizeof(Char) * Length());
    std::memcpy(joined->units() + Length(), other.Data(), sizeof(Char) * other.Length());
    return String(joined);
}

bool String::operator==(const String& other) const {
    return Length() == other.Length() && std::memcmp(Data(), other.Data(), sizeof(Char) * Length()) == 0;
}

int String::Compare(const String& other) const {
    int common = Length() < other.Length() ? Length() : other.Length();
    for (int i = 0; i < common; ++i) {
        if (Data()[i] != other.Data()[i]) return Data()[i] - other.Data()[i];
    }
    return Length() - other.Length();
}

String String::Slice(int from, int to) const {
    int length = Length();
    if (from < 0) {
        from += length;
        if (from < 0) from = 0;
    } else if (from > length) {
        from = length;
    }
    if (to < 0) {
        to += length;
    } else if (to > length) {
        to = length;
    }
    if (from >= to) return String();
    if (from == 0 && to == length) return *this;
    return String(Data() + from, to - from);
}

int String::Find(const String& sub, int start) const {
    if (start < 0) start = 0;
    for (int i = start; i + sub.Length() <= Length(); ++i) {
        if (std::memcmp(Data() + i, sub.Data(), sizeof(Char) * sub.Length()) == 0) return i;
    }
    return -1;
}

int String::FindLast(const String& sub) const {
    for (int i = Length() - sub.Length(); i >= 0; --i) {
        if (std::memcmp(Data() + i, sub.Data(), sizeof(Char) * sub.Length()) == 0) return i;
    }
    return -1;
}

bool String::StartsWith(const String& prefix) const {
    return Length() >= prefix.Length() &&
           std::memcmp(Data(), prefix.Data(), sizeof(Char) * prefix.Length()) == 0;
}

bool String::EndsWith(const String& suffix) const {
    return Length() >= suffix.Length() &&
           std::memcmp(Data() + Length() - suffix.Length(), suffix.Data(), sizeof(Char) * suffix.Length()) == 0;
}

String String::Replace(const String& find, const String& with) const {
    // An empty pattern matches nowhere, so the loops below always advance.
    if (find.Length() == 0) return *this;
    int matches = 0;
    for (int i = Find(find); i >= 0; i = Find(find, i + find.Length())) ++matches;
    if (matches == 0) return *this;

    Rep* out = allocate(Length() + matches * (with.Length() - find.Length()));
    Char* dst = out->units();
    int copied = 0;
    for (int i = Find(find); i >= 0; i = Find(find, copied)) {
        std::memcpy(dst, Data() + copied, sizeof(Char) * (i - copied));
        dst += i - copied;
        std::memcpy(dst, with.Data(), sizeof(Char) * with.Length());
        dst += with.Length();
        copied = i + find.Length();
    }
    std::memcpy(dst, Data() + copied, sizeof(Char) * (Length() - copied));
    return String(out);
}

Array<String> String::Split(const String& separator) const {
    if (separator.Length() == 0) {
        Array<String> units(Length());
        for (int i = 0; i < Length(); ++i) units[i] = String(Data() + i, 1);
        return units;
    }
    int pieces = 1;
    for (int i = Find(separator); i >= 0; i = Find(separator, i + separator.Length())) ++pieces;
    Array<String> result(pieces);
    if (pieces == 1) {
        result[0] = *this;
        return result;
    }
    int start = 0;
    for (int n = 0; n < pieces - 1; ++n) {
        int at = Find(separator, start);
        result[n] = Slice(start, at);
        start = at + separator.Length();
    }
    result[pieces - 1] = Slice(start);
    return result;
}

String String::Join(const Array<String>& pieces) const {
    int count = pieces.Length();
    if (count == 0) return String();
    if (count == 1) return pieces[0];
    int length = Length() * (count - 1);
    for (int i = 0; i < count; ++i) length += pieces[i].Length();
    Rep* out = allocate(length);
    Char* dst = out->units();
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            std::memcpy(dst, Data(), sizeof(Char) * Length());
            dst += Length();
        }
        std::memcpy(dst, pieces[i].Data(), sizeof(Char) * pieces[i].Length());
        dst += pieces[i].Length();
    }
    return String(out);
}

int parse_int(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > 1LL + INT_MAX) value = 1LL + INT_MAX;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

int String::ToInt() const {
    char text[64];
    int count = Length() < 63 ? Length() : 63;
    for (int i = 0; i < count; ++i) text[i] = static_cast<char>(Data()[i]);
    text[count] = 0;
    return parse_int(text);
}

namespace {
template <class Map>
String map_units(const String& text, Map map) {
    std::vector<Char> units(text.Data(), text.Data() + text.Length());
    for (Char& unit : units) unit = static_cast<Char>(map(static_cast<wint_t>(unit)));
    return String(units.data(), text.Length());
}
}  // namespace

String String::ToLower() const { return map_units(*this, [](wint_t c) { return std::towlower(c); }); }
String String::ToUpper() const { return map_units(*this, [](wint_t c) { return std::towupper(c); }); }

String::CString<char> String::ToCString() const {
    CString<char> out;
    out.text.resize(Length());
    for (int i = 0; i < Length(); ++i) out.text[i] = static_cast<char>(Data()[i]);
    return out;
}

int String::Utf8Length() const {
    int bytes = 0;
    for (int i = 0; i < Length(); ++i) bytes += Data()[i] < 0x80 ? 1 : Data()[i] < 0x800 ? 2 : 3;
    return bytes;
}

void String::EncodeUtf8(char* out) const {
    for (int i = 0; i < Length(); ++i) {
        unsigned c = Data()[i];
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

bool decode_utf8(const unsigned char* p, size_t n, std::u16string& units) {
    size_t i = 0;
    while (i < n) {
        unsigned c = p[i];
        if (c < 0x80) {
            units.push_back(static_cast<Char>(c));
            i += 1;
        } else if ((c & 0xE0) == 0xC0) {
            if (i + 1 >= n || (p[i + 1] & 0xC0) != 0x80) return false;
            units.push_back(static_cast<Char>(((c & 0x1F) << 6) | (p[i + 1] & 0x3F)));
            i += 2;
        } else if ((c & 0xF0) == 0xE0) {
            if (i + 2 >= n || (p[i + 1] & 0xC0) != 0x80 || (p[i + 2] & 0xC0) != 0x80) return false;
            units.push_back(static_cast<Char>(((c & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F)));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

namespace {

void decode_utf16(const unsigned char* p, size_t n, bool big_endian, std::u16string& units) {
    for (size_t i = 0; i + 1 < n; i += 2) {
        units.push_back(static_cast<Char>(big_endian ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8)));
    }
}

}  // namespace

String String::Load(FILE* file) {
    std::vector<unsigned char> bytes;
    unsigned char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    return DecodeText(bytes.data(), bytes.size());
}

String String::DecodeText(const unsigned char* p, size_t n) {
    std::u16string units;
    if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
        decode_utf16(p + 2, n - 2, true, units);
    } else if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        decode_utf16(p + 2, n - 2, false, units);
    } else {
        if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
            p += 3;
            n -= 3;
        }
        units.reserve(n);
        if (!decode_utf8(p, n, units)) units.assign(p, p + n);
    }
    return String(units.data(), static_cast<int>(units.size()));
}

void t_create(int count, String* slots) {
    for (int i = 0; i < count; ++i) new (&slots[i]) String();
}

void t_create(int count, String* slots, const String* from) {
    for (int i = 0; i < count; ++i) new (&slots[i]) String(from[i]);
}

void t_destroy(int count, String* slots) {
    for (int i = 0; i < count; ++i) slots[i].~String();
}
