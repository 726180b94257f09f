// What the device tests stand on: a host whose audio loader opens plain paths with our
// decoders, OpenAL Soft pointed at its null or wave-file output, child processes for anything
// that must open its own device, and the samples of a recorded wave file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/device.h"
#include "host/game.h"

// Chooses the decoder by the path's extension, as the desktop host does, but opens the path
// as it stands (no data-folder mapping) and counts nothing.
class TestHost : public KvGame {
public:
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override;
    String last_path;  // the path of the latest request, as the device passed it on
};

// Must run before the process opens its first OpenAL device: OpenAL Soft reads its settings
// once. The driver given here overrides anything already in the environment.
void use_openal(const std::string& driver, const std::string& config_text = "");

// Runs body in a forked child with its standard output captured. The child ends with exit
// code 0 when body returns; child_check ends it with 1 and says why on standard error.
struct ChildRun {
    int exit_code = -1;
    std::string output;
};
ChildRun run_in_child(const std::function<void()>& body);
void child_check(bool ok, const char* what, int line);
#define CHILD_CHECK(condition) child_check((condition), #condition, __LINE__)

// Lets OpenAL's mixer finish and the wave writer complete its file.
void close_device(gxtkAudio* audio);

// A recorded wave-file output: interleaved 16-bit samples.
struct Recording {
    int rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;

    int frames() const { return channels ? int(samples.size()) / channels : 0; }
    // Root mean square of one output channel (or of all with channel -1) over [from, to) seconds.
    double rms(double from, double to, int channel = -1) const;
    // The first moment (seconds) any sample exceeds the level; -1 if none does.
    double onset(int level) const;
};
Recording read_recording(const std::string& path);

void sleep_ms(int milliseconds);
double seconds_since(double start);
double now_seconds();
