// The WAVE reader (a bounds-checked chunk walk over the file's bytes) and the Ogg Vorbis
// decoder (stb_vorbis, frame by frame into a doubling block). Every size a file declares is
// checked against the bytes it really holds before anything is read or allocated.
#include "audio/sound_decode.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace {

struct DecodedInfo {
    int length = 0;
    int channels = 0;
    int format = 0;
    int hertz = 0;
};

void publish(const DecodedInfo& info, int* length, int* channels, int* format, int* hertz) {
    *length = info.length;
    *channels = info.channels;
    *format = info.format;
    *hertz = info.hertz;
}

// A read cursor that refuses to move past the end instead of reading beyond it.
class ByteReader {
public:
    ByteReader(const unsigned char* bytes, size_t size) : bytes_(bytes), size_(size) {}

    size_t remaining() const { return size_ - at_; }
    size_t offset() const { return at_; }

    bool skip(size_t count) {
        if (count > remaining()) return false;
        at_ += count;
        return true;
    }
    bool tag(char out[4]) {
        if (remaining() < 4) return false;
        std::memcpy(out, bytes_ + at_, 4);
        at_ += 4;
        return true;
    }
    bool u16(uint32_t* out) {
        if (remaining() < 2) return false;
        *out = bytes_[at_] | bytes_[at_ + 1] << 8;
        at_ += 2;
        return true;
    }
    bool u32(uint32_t* out) {
        if (remaining() < 4) return false;
        *out = uint32_t(bytes_[at_]) | uint32_t(bytes_[at_ + 1]) << 8 | uint32_t(bytes_[at_ + 2]) << 16 |
               uint32_t(bytes_[at_ + 3]) << 24;
        at_ += 4;
        return true;
    }

private:
    const unsigned char* bytes_;
    size_t size_;
    size_t at_ = 0;
};

bool is_tag(const char tag[4], const char* want) { return std::memcmp(tag, want, 4) == 0; }

// Chunks are padded to an even size; the pad byte is not counted in the chunk's size field.
size_t padded(uint32_t size) { return size_t(size) + (size & 1); }

// Finds the sample data of a WAVE file held in bytes: on success its offset and byte count
// (whole frames only) and the stream's shape. Refuses anything the file does not fully hold.
bool parse_wave(const unsigned char* bytes, size_t size, size_t* data_at, size_t* data_size, DecodedInfo* info) {
    ByteReader in(bytes, size);
    char tag[4];
    uint32_t riff_size, fmt_size, compression, channels, hertz, byte_rate, block_align, bits;
    if (!in.tag(tag) || !is_tag(tag, "RIFF") || !in.u32(&riff_size)) return false;
    if (!in.tag(tag) || !is_tag(tag, "WAVE")) return false;

    if (!in.tag(tag) || !is_tag(tag, "fmt ") || !in.u32(&fmt_size)) return false;
    if (fmt_size < 16 || padded(fmt_size) > in.remaining()) return false;
    in.u16(&compression);
    in.u16(&channels);
    in.u32(&hertz);
    in.u32(&byte_rate);
    in.u16(&block_align);
    in.u16(&bits);
    in.skip(padded(fmt_size) - 16);
    if (compression != 1) return false;
    int format = int(bits / 8);
    if (channels == 0 || format == 0 || hertz == 0 || hertz > INT_MAX) return false;

    for (;;) {
        uint32_t chunk_size;
        if (!in.tag(tag) || !in.u32(&chunk_size)) return false;
        if (is_tag(tag, "data")) {
            // The frame count travels as an int, so the data must fit one as well.
            if (chunk_size > in.remaining() || chunk_size > INT_MAX) return false;
            size_t frame = size_t(channels) * size_t(format);
            info->length = int(chunk_size / frame);
            info->channels = int(channels);
            info->format = format;
            info->hertz = int(hertz);
            *data_at = in.offset();
            *data_size = size_t(info->length) * frame;
            return true;
        }
        if (!in.skip(padded(chunk_size))) return false;
    }
}

// An empty data chunk still loads; malloc(0) may give null, which would read as a failure.
unsigned char* copy_block(const unsigned char* from, size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size ? size : 1));
    if (block && size) std::memcpy(block, from, size);
    return block;
}

// The rest of the file, grown as bytes actually arrive, so a file that lies about its sizes
// can never make us allocate more than about twice what it holds.
unsigned char* read_rest(FILE* file, size_t* size) {
    size_t used = 0, room = 0;
    unsigned char* bytes = nullptr;
    for (;;) {
        if (used == room) {
            room = room ? room * 2 : 65536;
            auto* grown = static_cast<unsigned char*>(std::realloc(bytes, room));
            if (!grown) {
                std::free(bytes);
                return nullptr;
            }
            bytes = grown;
        }
        size_t got = std::fread(bytes + used, 1, room - used, file);
        used += got;
        if (got == 0) break;
    }
    if (std::ferror(file)) {
        std::free(bytes);
        return nullptr;
    }
    *size = used;
    return bytes;
}

}  // namespace

unsigned char* LoadWAVFromMemory(const unsigned char* bytes, size_t size, int* length, int* channels, int* format,
                                 int* hertz) {
    size_t data_at, data_size;
    DecodedInfo info;
    if (!parse_wave(bytes, size, &data_at, &data_size, &info)) return nullptr;
    unsigned char* block = copy_block(bytes + data_at, data_size);
    if (block) publish(info, length, channels, format, hertz);
    return block;
}

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz) {
    size_t size;
    unsigned char* bytes = read_rest(file, &size);
    if (!bytes) return nullptr;
    unsigned char* block = LoadWAVFromMemory(bytes, size, length, channels, format, hertz);
    std::free(bytes);
    return block;
}

unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz) {
    int error = 0;
    stb_vorbis* vorbis = stb_vorbis_open_file(file, 0, &error, nullptr);
    if (!vorbis) return nullptr;
    stb_vorbis_info stream = stb_vorbis_get_info(vorbis);
    const size_t c = stream.channels > 0 ? size_t(stream.channels) : 0;
    const size_t step = c * 4096;

    size_t room = step, used = 0;
    short* samples = c ? static_cast<short*>(std::malloc(room * sizeof(short))) : nullptr;
    bool ok = samples != nullptr;
    while (ok) {
        if (used + step > room) {
            // Sizes travel as ints (frame counts, byte counts for OpenAL): stop well short.
            ok = room <= INT_MAX / 4;
            if (!ok) break;
            room *= 2;
            auto* grown = static_cast<short*>(std::realloc(samples, room * sizeof(short)));
            ok = grown != nullptr;
            if (!ok) break;
            samples = grown;
        }
        int frames = stb_vorbis_get_frame_short_interleaved(vorbis, int(c), samples + used, int(room - used));
        if (frames == 0) break;
        used += size_t(frames) * c;
    }
    stb_vorbis_close(vorbis);
    if (!ok) {
        std::free(samples);
        return nullptr;
    }

    // Shrinking never fails in practice, but when it does the larger block is still good.
    auto* block = static_cast<short*>(std::realloc(samples, used ? used * sizeof(short) : 1));
    if (!block) block = samples;
    DecodedInfo info;
    info.length = int(used / c);
    info.channels = int(c);
    info.format = 2;
    info.hertz = int(stream.sample_rate);
    publish(info, length, channels, format, hertz);
    return reinterpret_cast<unsigned char*>(block);
}
