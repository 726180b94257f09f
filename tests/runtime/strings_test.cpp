// Strings and arrays: sharing of representations, number formatting and parsing, the
// slicing, searching, splitting and joining rules, and decoding of whole files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/array.h"
#include "runtime/string.h"

namespace {

std::string narrow(const String& s) { return std::string(s.ToCString()); }

String load_bytes(const std::string& bytes) {
    FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    String text = String::Load(file);
    std::fclose(file);
    return text;
}

TEST(Strings, EmptyResultsShareTheOneEmptyRepresentation) {
    String a, b("");
    EXPECT_TRUE(a.SharesRep(b));
    EXPECT_TRUE(String("abc").Slice(2, 1).SharesRep(a));
    EXPECT_TRUE(String("abc").Replace("abc", "").SharesRep(a));
    EXPECT_TRUE(String(u"", 0).SharesRep(a));
}

TEST(Strings, ResultsEqualToAnOperandShareItsRepresentation) {
    String hello("hello"), empty;
    EXPECT_TRUE((hello + empty).SharesRep(hello));
    EXPECT_TRUE((empty + hello).SharesRep(hello));
    EXPECT_TRUE(hello.Slice(0).SharesRep(hello));
    EXPECT_TRUE(hello.Slice(-100, 100).SharesRep(hello));
    EXPECT_TRUE(hello.Replace("x", "y").SharesRep(hello));
    EXPECT_TRUE(hello.Split(",")[0].SharesRep(hello));
    EXPECT_TRUE(String(",").Join(Array<String>{hello}).SharesRep(hello));
    EXPECT_FALSE((hello + hello).SharesRep(hello));
}

TEST(Strings, CopiesCountReferencesAndLastReleaseFreesTheBlock) {
    int before = String::nullRep.refs;
    {
        String a("abc");
        String b = a;
        String c;
        c = b;
        EXPECT_TRUE(c.SharesRep(a));
        String moved = std::move(b);
        EXPECT_TRUE(moved.SharesRep(a));
        EXPECT_EQ(b.Length(), 0);
    }
    EXPECT_EQ(String::nullRep.refs, before);  // every empty handle gave its count back
}

struct FloatCase {
    float value;
    const char* text;
};
const FloatCase kFloats[] = {
    {1.0f, "1.0"},       {1.5f, "1.5"},          {3.0f, "3.0"},
    {0.5f, "0.5"},       {0.1f, "0.10000000149011612"}, {-2.0f, "-2.0"},
    {100000.0f, "100000.0"}, {1e20f, "1.0000000200408773e+020"}, {1e-20f, "9.9999996826552254e-021"},
    {0.0f, "0.0"},       {1e17f, "99999998430674944.0"},
};

TEST(Strings, FloatsFormatWithSeventeenDigitsAThreeDigitExponentAndAPoint) {
    for (const FloatCase& c : kFloats) EXPECT_EQ(narrow(String(c.value)), c.text) << c.value;
}

TEST(Strings, NonFiniteFloatsGetNoPointAppended) {
    EXPECT_EQ(narrow(String(1.0f / 0.0f)), "inf");
    EXPECT_EQ(narrow(String(-1.0f / 0.0f)), "-inf");
}

struct IntCase {
    int value;
    const char* text;
};
const IntCase kInts[] = {{0, "0"}, {-42, "-42"}, {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"}};

TEST(Strings, IntsFormatAsPlainDecimal) {
    for (const IntCase& c : kInts) EXPECT_EQ(narrow(String(c.value)), c.text);
}

struct ParseCase {
    const char* text;
    int value;
};
const ParseCase kParses[] = {
    {"  12abc", 12},  {"abc", 0},         {"-17", -17},      {"+8", 8},
    {"\t\n 5", 5},    {"", 0},            {"- 5", 0},        {"2147483647", 2147483647},
    {"-2147483648", -2147483647 - 1},     {"99999999999999999999", 2147483647},
    {"-99999999999999999999", -2147483647 - 1},
};

TEST(Strings, ToIntReadsLikeAtoiAndSaturatesOutOfRange) {
    for (const ParseCase& c : kParses) EXPECT_EQ(String(c.text).ToInt(), c.value) << c.text;
}

TEST(Strings, ToIntReadsOnlyTheFirst63Units) {
    std::string text(62, ' ');
    EXPECT_EQ(String((text + "7").c_str()).ToInt(), 7);
    EXPECT_EQ(String((text + " 7").c_str()).ToInt(), 0);
}

struct SliceCase {
    const char* text;
    int from, to;
    const char* want;
};
const SliceCase kSlices[] = {
    {"hello", -3, 5, "llo"}, {"hello", 1, -1, "ell"}, {"hello", 4, 2, ""},   {"hello", -10, 2, "he"},
    {"hello", 2, 99, "llo"}, {"hello", 9, 12, ""},    {"hello", 0, -9, ""},  {"", 0, 0, ""},
};

TEST(Strings, SliceClampsAndCountsNegativesFromTheEnd) {
    for (const SliceCase& c : kSlices) {
        EXPECT_EQ(narrow(String(c.text).Slice(c.from, c.to)), c.want) << c.text << " " << c.from << " " << c.to;
    }
    EXPECT_EQ(narrow(String("hello").Slice(-3)), "llo");
}

TEST(Strings, FindAndFindLastMatchWholeUnits) {
    String s("abcabc");
    EXPECT_EQ(s.Find("bc"), 1);
    EXPECT_EQ(s.Find("bc", 2), 4);
    EXPECT_EQ(s.Find("bc", -5), 1);
    EXPECT_EQ(s.Find("bc", 5), -1);
    EXPECT_EQ(s.Find("abcabcx"), -1);
    EXPECT_EQ(s.FindLast("bc"), 4);
    EXPECT_EQ(s.FindLast("x"), -1);
    EXPECT_TRUE(s.StartsWith("abc"));
    EXPECT_FALSE(s.StartsWith("abcabca"));
}

struct ReplaceCase {
    const char* text;
    const char* find;
    const char* with;
    const char* want;
};
const ReplaceCase kReplaces[] = {
    {"aaaa", "aa", "b", "bb"},   {"aaa", "aa", "b", "ba"},       {"abc", "x", "y", "abc"},
    {"a.b.c", ".", "--", "a--b--c"}, {"xyz", "xyz", "", ""},     {"abc", "", "q", "abc"},
};

TEST(Strings, ReplaceSubstitutesNonOverlappingMatchesLeftToRight) {
    for (const ReplaceCase& c : kReplaces) EXPECT_EQ(narrow(String(c.text).Replace(c.find, c.with)), c.want);
}

struct SplitCase {
    const char* text;
    const char* separator;
    std::vector<std::string> want;
};
const SplitCase kSplits[] = {
    {"a,b,,c", ",", {"a", "b", "", "c"}},
    {",", ",", {"", ""}},
    {"", ",", {""}},
    {"abc", "", {"a", "b", "c"}},
    {"", "", {}},
    {"a--b--", "--", {"a", "b", ""}},
    {"abc", ";", {"abc"}},
};

TEST(Strings, SplitKeepsEmptyPieces) {
    for (const SplitCase& c : kSplits) {
        Array<String> pieces = String(c.text).Split(c.separator);
        std::vector<std::string> got;
        for (const String& piece : pieces) got.push_back(narrow(piece));
        EXPECT_EQ(got, c.want) << '"' << c.text << "\" at \"" << c.separator << '"';
    }
}

TEST(Strings, JoinPutsTheSeparatorBetweenPieces) {
    EXPECT_EQ(String("|").Join(Array<String>()).Length(), 0);
    EXPECT_EQ(narrow(String("|").Join(Array<String>{"one"})), "one");
    EXPECT_EQ(narrow(String(", ").Join(Array<String>{"a", "", "c"})), "a, , c");
    String fields("1|2|3|");
    EXPECT_EQ(String("|").Join(fields.Split("|")), fields);
}

TEST(Strings, CaseMappingAndComparison) {
    EXPECT_EQ(narrow(String("MiXed 9").ToLower()), "mixed 9");
    EXPECT_EQ(narrow(String("MiXed 9").ToUpper()), "MIXED 9");
    EXPECT_LT(String("abc").Compare("abd"), 0);
    EXPECT_LT(String("ab").Compare("abc"), 0);
    EXPECT_EQ(String("abc").Compare("abc"), 0);
    EXPECT_NE(String("abc"), String("ABC"));
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::u16string want;
};
const LoadCase kLoads[] = {
    {"utf16 little-endian", std::string("\xFF\xFE\x41\x00\x42\x00", 6), u"AB"},
    {"utf16 big-endian with odd tail", std::string("\xFE\xFF\x00\x41\x00", 5), u"A"},
    {"utf8 byte-order mark skipped", "\xEF\xBB\xBF\x41", u"A"},
    {"utf8 two and three bytes", "\xC3\xA9\xE2\x82\xAC", u"\u00E9\u20AC"},
    {"lone latin-1 byte", "\xE9", u"\u00E9"},
    {"cut-short sequence falls back whole", "A\xE2\x82", u"A\u00E2\u0082"},
    {"four-byte sequence falls back", "\xF0\x9F\x98\x80", u"\u00F0\u009F\u0098\u0080"},
    {"stray continuation falls back", "\x80Z", u"\u0080Z"},
    {"fallback keeps the mark skipped", "\xEF\xBB\xBF\xE9", u"\u00E9"},
    {"empty file", "", u""},
    {"byte-order mark alone", "\xEF\xBB\xBF", u""},
};

TEST(Strings, LoadDecodesByteOrderMarksUtf8AndFallsBackToLatin1) {
    for (const LoadCase& c : kLoads) {
        String text = load_bytes(c.bytes);
        EXPECT_EQ(std::u16string(text.Data(), text.Length()), c.want) << c.name;
    }
}

TEST(Strings, LoadReadsFilesLongerThanOneChunk) {
    std::string big(10000, 'x');
    big[9999] = 'y';
    String text = load_bytes(big);
    ASSERT_EQ(text.Length(), 10000);
    EXPECT_EQ(text[9999], 'y');
}

TEST(Strings, Utf8EncodingTakesEachUnitOnItsOwn) {
    Char units[] = {u'A', 0xE9, 0x20AC, 0xD83D};
    String text(units, 4);
    std::string bytes(text.Utf8Length(), '\0');
    text.EncodeUtf8(bytes.data());
    EXPECT_EQ(bytes, "A\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD");
}

TEST(Arrays, EmptyArraysShareOnePermanentRepresentationPerType) {
    Array<int> a, b(0), c(-3);
    EXPECT_EQ(a.rep, b.rep);
    EXPECT_EQ(a.rep, c.rep);
    EXPECT_EQ(a.rep->flags & 3, 3);
    EXPECT_EQ(reinterpret_cast<void*>(Array<String>().rep), reinterpret_cast<void*>(&Array<String>::nullRep));
}

TEST(Arrays, NewElementsStartEmptyAndCopiesShareStorage) {
    Array<int> ints(4);
    Array<String> strings(3);
    Array<Object*> objects(2);
    Array<bool> flags(5);
    for (int v : ints) EXPECT_EQ(v, 0);
    for (const String& s : strings) EXPECT_EQ(s.Length(), 0);
    for (Object* o : objects) EXPECT_EQ(o, nullptr);
    for (bool f : flags) EXPECT_FALSE(f);
    Array<int> alias = ints;
    alias[2] = 7;
    EXPECT_EQ(ints[2], 7);
}

}  // namespace
