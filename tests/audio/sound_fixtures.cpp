// Writers for the test sound files: WAVE bytes, sine tones and Ogg Vorbis via libvorbisenc.
#include "audio/sound_fixtures.h"

#include <unistd.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <stdexcept>

constexpr double kPi = std::numbers::pi;

RiffWriter& RiffWriter::tag(const char* four) {
    bytes.insert(bytes.end(), four, four + 4);
    return *this;
}

RiffWriter& RiffWriter::u16(uint32_t value) {
    bytes.push_back(value & 0xff);
    bytes.push_back(value >> 8 & 0xff);
    return *this;
}

RiffWriter& RiffWriter::u32(uint32_t value) {
    u16(value & 0xffff);
    return u16(value >> 16);
}

RiffWriter& RiffWriter::raw(const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
}

RiffWriter& RiffWriter::fill(size_t count, unsigned char value) {
    bytes.insert(bytes.end(), count, value);
    return *this;
}

Bytes wave_file(const WaveShape& shape, const Bytes& data) {
    RiffWriter body;
    int block = shape.channels * (shape.bits / 8);
    body.tag("WAVE").tag("fmt ").u32(16 + shape.format_extra);
    body.u16(shape.compression).u16(shape.channels).u32(shape.hertz).u32(shape.hertz * block).u16(block);
    body.u16(shape.bits).fill(shape.format_extra + (shape.format_extra & 1), 0);
    if (shape.list_size) body.tag("LIST").u32(shape.list_size).fill(shape.list_size + (shape.list_size & 1), 'x');
    body.tag("data").u32(uint32_t(data.size())).raw(data);
    RiffWriter file;
    file.tag("RIFF").u32(uint32_t(body.bytes.size())).raw(body.bytes);
    return file.bytes;
}

Bytes sine_pcm16(int frames, int channels, float tone_hertz, int rate, float amplitude) {
    RiffWriter out;
    for (int i = 0; i < frames; ++i) {
        auto value = int16_t(std::lround(amplitude * 32767 * std::sin(2 * kPi * tone_hertz * i / rate)));
        for (int c = 0; c < channels; ++c) out.u16(uint16_t(value));
    }
    return out.bytes;
}

namespace {

void append_page(Bytes* out, const ogg_page& page) {
    out->insert(out->end(), page.header, page.header + page.header_len);
    out->insert(out->end(), page.body, page.body + page.body_len);
}

}  // namespace

Bytes sine_ogg(int frames, int rate, float tone_hertz, float amplitude) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, rate, 0.4f) != 0) throw std::runtime_error("vorbis_encode_init_vbr");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    Bytes out;
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&stream, &identification);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) append_page(&out, page);

    const int chunk = 1024;
    for (int done = 0;;) {
        int count = std::min(chunk, frames - done);
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, count);
            for (int i = 0; i < count; ++i) {
                buffer[0][i] = amplitude * float(std::sin(2 * kPi * tone_hertz * (done + i) / rate));
            }
        }
        // A count of 0 tells the encoder the stream has ended, which flushes the last blocks.
        vorbis_analysis_wrote(&dsp, std::max(count, 0));
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) append_page(&out, page);
            }
        }
        if (count <= 0) break;
        done += count;
    }
    while (ogg_stream_flush(&stream, &page)) append_page(&out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

namespace {

struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        char pattern[] = "/tmp/tolvane-audio-XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
        path = pattern;
        owner = getpid();
    }
    // Forked children share the folder; only the process that made it removes it.
    ~TempFolder() {
        if (getpid() == owner) std::filesystem::remove_all(path);
    }
    pid_t owner;
};

}  // namespace

std::string temp_path(const std::string& name) {
    static TempFolder folder;
    return (folder.path / name).string();
}

void write_file(const std::string& path, const Bytes& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}
