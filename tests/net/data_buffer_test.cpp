// Data buffers: clamped byte operations, the two text encodings, loading, and the runtime
// errors of misuse.
#include "net/data_buffer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/game.h"
#include "net/async.h"
#include "net_test_support.h"

namespace {

c_DataBuffer* buffer_of(std::vector<int> bytes) {
    auto* buffer = (new c_DataBuffer)->m_new(int(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) buffer->data[i] = static_cast<unsigned char>(bytes[i]);
    return buffer;
}

std::vector<int> contents(const c_DataBuffer* buffer) {
    return std::vector<int>(buffer->data, buffer->data + buffer->length);
}

std::vector<int> values(const Array<int>& array) { return std::vector<int>(array.begin(), array.end()); }

String text_of(std::u16string units) { return String(units.data(), int(units.size())); }

TEST(DataBufferBytes, PokeWritesLowBytesAndPeekReadsSigned) {
    auto* buffer = buffer_of({0, 0, 0, 0});
    buffer->p_PokeBytes(1, Array<int>{0x1FF, -1, 127}, 0, 3);
    EXPECT_EQ(contents(buffer), (std::vector<int>{0, 255, 255, 127}));
    Array<int> read(4);
    buffer->p_PeekBytes(0, read, 0, 4);
    EXPECT_EQ(values(read), (std::vector<int>{0, -1, -1, 127}));
    EXPECT_EQ(values(buffer_of({128, 200, 1})->p_PeekBytes2(0, 3)), (std::vector<int>{-128, -56, 1}));
}

struct ClampCase {
    const char* name;
    int address, offset, count;
    std::vector<int> buffer_after;  // poking {1,2,3,4} from the array into an 8-byte buffer
    std::vector<int> array_after;   // peeking an 8-byte 10..17 buffer into a 4-slot array of -9
};
const ClampCase kClamps[] = {
    {"inside", 2, 0, 3, {0, 0, 1, 2, 3, 0, 0, 0}, {12, 13, 14, -9}},
    {"past_buffer_end", 6, 0, 4, {0, 0, 0, 0, 0, 0, 1, 2}, {16, 17, -9, -9}},
    {"past_array_end", 0, 2, 4, {3, 4, 0, 0, 0, 0, 0, 0}, {-9, -9, 10, 11}},
    {"zero_count", 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {-9, -9, -9, -9}},
    {"negative_count", 0, 0, -3, {0, 0, 0, 0, 0, 0, 0, 0}, {-9, -9, -9, -9}},
    {"address_at_end", 8, 0, 2, {0, 0, 0, 0, 0, 0, 0, 0}, {-9, -9, -9, -9}},
    {"negative_address", -1, 0, 2, {0, 0, 0, 0, 0, 0, 0, 0}, {-9, -9, -9, -9}},
    {"negative_offset", 0, -1, 2, {0, 0, 0, 0, 0, 0, 0, 0}, {-9, -9, -9, -9}},
    {"huge_count", 7, 0, 0x7fffffff, {0, 0, 0, 0, 0, 0, 0, 1}, {17, -9, -9, -9}},
};

class ClampTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampTest, RangesStopAtTheBufferAndArrayEnds) {
    const ClampCase& c = GetParam();
    auto* poked = buffer_of(std::vector<int>(8, 0));
    poked->p_PokeBytes(c.address, Array<int>{1, 2, 3, 4}, c.offset, c.count);
    EXPECT_EQ(contents(poked), c.buffer_after);

    auto* source = buffer_of({10, 11, 12, 13, 14, 15, 16, 17});
    Array<int> read{-9, -9, -9, -9};
    source->p_PeekBytes(c.address, read, c.offset, c.count);
    EXPECT_EQ(values(read), c.array_after);
}

INSTANTIATE_TEST_SUITE_P(Ranges, ClampTest, ::testing::ValuesIn(kClamps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DataBufferBytes, PeekBytes2PastTheEndIsOnlyAsLongAsTheBytes) {
    auto* buffer = buffer_of({1, 2, 3});
    EXPECT_EQ(values(buffer->p_PeekBytes2(1, 10)), (std::vector<int>{2, 3}));
    EXPECT_EQ(buffer->p_PeekBytes2(3, 1).Length(), 0);
    EXPECT_EQ(buffer->p_PeekBytes2(-1, 2).Length(), 0);
}

TEST(DataBufferCopy, OverlappingCopyRightDoesNotSmear) {
    auto* buffer = buffer_of({1, 2, 3, 4, 5});
    buffer->p_CopyBytes(0, buffer, 1, 4);
    EXPECT_EQ(contents(buffer), (std::vector<int>{1, 1, 2, 3, 4}));
}

TEST(DataBufferCopy, OverlappingCopyLeftDoesNotSmear) {
    auto* buffer = buffer_of({1, 2, 3, 4, 5});
    buffer->p_CopyBytes(1, buffer, 0, 4);
    EXPECT_EQ(contents(buffer), (std::vector<int>{2, 3, 4, 5, 5}));
}

TEST(DataBufferCopy, CopyToAnotherBufferClampsToBothEnds) {
    auto* from = buffer_of({1, 2, 3, 4});
    auto* to = buffer_of({0, 0, 0});
    from->p_CopyBytes(1, to, 1, 10);
    EXPECT_EQ(contents(to), (std::vector<int>{0, 2, 3}));
    from->p_CopyBytes(0, to, 3, 1);
    EXPECT_EQ(contents(to), (std::vector<int>{0, 2, 3}));
}

struct PokeCase {
    const char* name;
    std::u16string text;
    const char* encoding;
    int address, size;
    int returned;
    std::vector<int> after;
};
const PokeCase kPokes[] = {
    {"utf8_two_byte", u"\u00e9", "utf8", 0, 2, 2, {0xC3, 0xA9}},
    {"ascii_low_byte", u"\u00e9", "ascii", 0, 1, 1, {0xE9}},
    {"utf8_three_byte", u"\u20ac", "utf8", 0, 3, 3, {0xE2, 0x82, 0xAC}},
    {"utf8_surrogates_each_alone", u"\U0001F600", "utf8", 0, 6, 6, {0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}},
    {"ascii_keeps_low_bits", u"A\u0142", "ascii", 0, 2, 2, {0x41, 0x42}},
    {"utf8_cut_at_end", u"0123456789", "utf8", 6, 8, 10, {0, 0, 0, 0, 0, 0, '0', '1'}},
    {"utf8_cut_inside_character", u"ab\u00e9", "utf8", 1, 3, 4, {0, 'a', 'b'}},
    {"ascii_cut_at_end", u"xyz", "ascii", 2, 3, 3, {0, 0, 'x'}},
    {"negative_address_writes_nothing", u"xyz", "ascii", -1, 2, 3, {0, 0}},
};

class PokeStringTest : public ::testing::TestWithParam<PokeCase> {};

TEST_P(PokeStringTest, EncodesAndReportsTheFullSize) {
    const PokeCase& c = GetParam();
    auto* buffer = buffer_of(std::vector<int>(c.size, 0));
    EXPECT_EQ(buffer->p_PokeString(c.address, text_of(c.text), String(c.encoding)), c.returned);
    EXPECT_EQ(contents(buffer), c.after);
}

INSTANTIATE_TEST_SUITE_P(Encodings, PokeStringTest, ::testing::ValuesIn(kPokes),
                         [](const auto& info) { return std::string(info.param.name); });

struct PeekCase {
    const char* name;
    std::vector<int> bytes;
    const char* encoding;
    std::u16string text;
};
const PeekCase kPeeks[] = {
    {"utf8_two_byte", {0xC3, 0xA9}, "utf8", u"\u00e9"},
    {"utf8_three_byte", {0xE2, 0x82, 0xAC, '!'}, "utf8", u"\u20ac!"},
    {"utf8_cut_lead_falls_back_signed", {0xC3}, "utf8", std::u16string(1, char16_t(-61))},
    {"utf8_stray_continuation", {'a', 0x80}, "utf8", std::u16string{u'a', char16_t(-128)}},
    {"utf8_four_byte_lead", {0xF0, 0x9F, 0x98, 0x80}, "utf8",
     std::u16string{char16_t(-16), char16_t(-97), char16_t(-104), char16_t(-128)}},
    {"ascii_unsigned", {0xC3, 0xA9, 'z'}, "ascii", u"\u00c3\u00a9z"},
    {"empty", {}, "utf8", u""},
};

class PeekStringTest : public ::testing::TestWithParam<PeekCase> {};

TEST_P(PeekStringTest, DecodesOrFallsBackToBytes) {
    const PeekCase& c = GetParam();
    auto* buffer = buffer_of(c.bytes);
    EXPECT_EQ(buffer->p_PeekString(0, int(c.bytes.size()), String(c.encoding)), text_of(c.text));
    EXPECT_EQ(buffer->p_PeekString2(0, String(c.encoding)), text_of(c.text));
}

INSTANTIATE_TEST_SUITE_P(Encodings, PeekStringTest, ::testing::ValuesIn(kPeeks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DataBufferText, PeekStringClampsToTheBuffer) {
    auto* buffer = buffer_of({'a', 'b', 'c'});
    EXPECT_EQ(buffer->p_PeekString(1, 50, String("ascii")), String("bc"));
    EXPECT_EQ(buffer->p_PeekString2(2, String("utf8")), String("c"));
    EXPECT_EQ(buffer->p_PeekString(5, 1, String("utf8")), String(""));
}

TEST(DataBufferText, RoundTripsEveryUnitBelowTheSurrogates) {
    std::u16string all;
    for (int c = 1; c < 0xD800; c += 7) all.push_back(char16_t(c));
    auto* buffer = (new c_DataBuffer)->m_new(3 * int(all.size()));
    int size = buffer->p_PokeString(0, text_of(all), String("utf8"));
    EXPECT_EQ(buffer->p_PeekString(0, size, String("utf8")), text_of(all));
}

TEST(DataBufferMemory, DiscardEmptiesAndAllowsANewAllocation) {
    auto* buffer = (new c_DataBuffer)->m_new(16);
    EXPECT_NE(buffer->data, nullptr);
    EXPECT_FALSE(buffer->_New(4, nullptr));
    buffer->Discard();
    EXPECT_EQ(buffer->data, nullptr);
    EXPECT_EQ(buffer->length, 0);
    EXPECT_TRUE(buffer->_New(4, nullptr));
    EXPECT_EQ(buffer->length, 4);
}

TEST(DataBufferMemory, NewAdoptsGivenBytes) {
    auto* bytes = static_cast<unsigned char*>(std::malloc(3));
    bytes[0] = 7;
    auto* buffer = new c_DataBuffer;
    EXPECT_TRUE(buffer->_New(3, bytes));
    EXPECT_EQ(buffer->data, bytes);
    EXPECT_EQ(buffer->p_PeekBytes2(0, 1)[0], 7);
}

TEST(DataBufferErrorsDeathTest, AllocatingTwiceIsARuntimeError) {
    EXPECT_EXIT(
        {
            route_runtime_errors_to_stderr();
            (new c_DataBuffer)->m_new(4)->m_new(4);
        },
        ::testing::ExitedWithCode(255), "Tarvik Runtime Error : Allocate DataBuffer failed");
}

TEST(DataBufferErrorsDeathTest, UnknownEncodingIsARuntimeError) {
    EXPECT_EXIT(
        {
            route_runtime_errors_to_stderr();
            (new c_DataBuffer)->m_new(4)->p_PokeString(0, String("x"), String("latin1"));
        },
        ::testing::ExitedWithCode(255), "Invalid string encoding:latin1");
    EXPECT_EXIT(
        {
            route_runtime_errors_to_stderr();
            (new c_DataBuffer)->m_new(4)->p_PeekString(0, 1, String("UTF8"));
        },
        ::testing::ExitedWithCode(255), "Invalid string encoding:UTF8");
}

class DataBufferLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/tolvane-buffer-XXXXXX";
        int handle = mkstemp(name);
        ASSERT_GE(handle, 0);
        const unsigned char bytes[] = {1, 2, 0xFE, 0, 9};
        ASSERT_EQ(write(handle, bytes, sizeof bytes), ssize_t(sizeof bytes));
        close(handle);
        path = name;
    }
    void TearDown() override { unlink(path.c_str()); }

    KvGame host;
    std::string path;
};

TEST_F(DataBufferLoadTest, LoadGivesTheWholeFile) {
    c_DataBuffer* buffer = c_DataBuffer::m_Load(String(path.c_str()));
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(contents(buffer), (std::vector<int>{1, 2, 0xFE, 0, 9}));
    EXPECT_FALSE(buffer->_Load(String(path.c_str())));
}

TEST_F(DataBufferLoadTest, MissingFileGivesNone) {
    EXPECT_EQ(c_DataBuffer::m_Load(String((path + ".missing").c_str())), nullptr);
}

class LoadingThread : public c_Thread {
public:
    c_DataBuffer* target = nullptr;
    const char* file = nullptr;
    void Run__UNSAFE__() override { target->_LoadAsync(file, this); }
    void mark() override {
        c_Thread::mark();
        gc_mark_q(target);
    }
};

TEST_F(DataBufferLoadTest, AsyncLoadHandsTheBufferBackAsTheResult) {
    for (const std::string& file : {path, path + ".missing"}) {
        auto* thread = (new LoadingThread)->m_new();
        auto* loader = static_cast<LoadingThread*>(thread);
        gc_assign(loader->target, new c_DataBuffer);
        loader->file = file.c_str();
        loader->Start();
        for (int i = 0; i < 5000 && loader->running.load() != 2; ++i) usleep(1000);
        ASSERT_FALSE(loader->IsRunning());
        if (file == path) {
            EXPECT_EQ(loader->Result(), loader->target);
            EXPECT_EQ(contents(loader->target), (std::vector<int>{1, 2, 0xFE, 0, 9}));
        } else {
            EXPECT_EQ(loader->Result(), nullptr);
            EXPECT_EQ(loader->target->data, nullptr);
        }
    }
}

}  // namespace
