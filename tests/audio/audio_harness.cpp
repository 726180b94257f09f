// The device tests' host, child processes, OpenAL set-up and wave-file reading.
#include "audio/audio_harness.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "audio/sound_decode.h"
#include "audio/sound_fixtures.h"

unsigned char* TestHost::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
    last_path = path;
    String lower = path.ToLower();
    bool wav = lower.EndsWith(String(".wav"));
    if (!wav && !lower.EndsWith(String(".ogg"))) return nullptr;
    FILE* file = std::fopen(path.ToCString(), "rb");
    if (!file) return nullptr;
    unsigned char* data = wav ? LoadWAV(file, length, channels, format, hertz) : LoadOGG(file, length, channels, format, hertz);
    std::fclose(file);
    return data;
}

void use_openal(const std::string& driver, const std::string& config_text) {
    std::string config = temp_path("alsoft-" + std::to_string(getpid()) + ".conf");
    write_file(config, Bytes(config_text.begin(), config_text.end()));
    setenv("ALSOFT_CONF", config.c_str(), 1);
    setenv("ALSOFT_DRIVERS", driver.c_str(), 1);
}

ChildRun run_in_child(const std::function<void()>& body) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) throw std::runtime_error("pipe");
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child == 0) {
        close(pipe_ends[0]);
        dup2(pipe_ends[1], STDOUT_FILENO);
        close(pipe_ends[1]);
        body();
        std::fflush(stdout);
        _exit(0);
    }
    close(pipe_ends[1]);
    ChildRun run;
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipe_ends[0], buffer, sizeof buffer)) > 0) run.output.append(buffer, size_t(got));
    close(pipe_ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

void child_check(bool ok, const char* what, int line) {
    if (ok) return;
    std::fprintf(stderr, "child check failed at line %d: %s\n", line, what);
    std::fflush(stderr);
    _exit(1);
}

void close_device(gxtkAudio* audio) {
    alcMakeContextCurrent(nullptr);
    if (audio->alcContext) alcDestroyContext(audio->alcContext);
    if (audio->alcDevice) alcCloseDevice(audio->alcDevice);
    audio->alcContext = nullptr;
    audio->alcDevice = nullptr;
}

namespace {

uint32_t le32(const Bytes& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

uint32_t le16(const Bytes& bytes, size_t at) { return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8; }

}  // namespace

// OpenAL Soft writes an extensible format chunk, which our game-facing reader rightly
// refuses; this reader only needs the channel count, the rate and where the samples start.
Recording read_recording(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Recording out;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        uint32_t size = le32(bytes, at + 4);
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && at + 24 <= bytes.size()) {
            out.channels = int(le16(bytes, at + 10));
            out.rate = int(le32(bytes, at + 12));
            if (le16(bytes, at + 22) != 16) throw std::runtime_error("recording is not 16-bit");
        } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
            size_t count = std::min<size_t>(size, bytes.size() - at - 8) / 2;
            out.samples.resize(count);
            std::memcpy(out.samples.data(), &bytes[at + 8], count * 2);
            return out;
        }
        at += 8 + size + (size & 1);
    }
    throw std::runtime_error("no samples in " + path);
}

double Recording::rms(double from, double to, int channel) const {
    int first = std::max(0, int(from * rate)), last = std::min(frames(), int(to * rate));
    double sum = 0;
    long count = 0;
    for (int f = first; f < last; ++f) {
        for (int c = 0; c < channels; ++c) {
            if (channel >= 0 && c != channel) continue;
            double v = samples[size_t(f) * channels + c];
            sum += v * v;
            ++count;
        }
    }
    return count ? std::sqrt(sum / double(count)) : 0;
}

double Recording::onset(int level) const {
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > level) return double(i / channels) / rate;
    }
    return -1;
}

void sleep_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

double now_seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double seconds_since(double start) { return now_seconds() - start; }
