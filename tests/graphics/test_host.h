// What the graphics tests stand on: a host that answers the device size and decodes image
// files from a folder the test fills, PNG fixtures written in the test, and a real GLFW
// window (under Xvfb) that can be closed and opened again like the host's display switch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/game.h"

struct GLFWwindow;

class TestHost : public KvGame {
public:
    int deviceWidth = 640;  // the size of TestWindow
    int deviceHeight = 480;
    std::string dataFolder;  // stands for "tarvik://data/"

    int GetDeviceWidth() override { return deviceWidth; }
    int GetDeviceHeight() override { return deviceHeight; }
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
};

// A PNG of w x h pixels with `channels` bytes each (1 grey, 2 grey-alpha, 3 RGB, 4 RGBA).
std::vector<unsigned char> png_bytes(int w, int h, int channels, const std::vector<unsigned char>& pixels);
void write_file(const std::string& path, const std::vector<unsigned char>& bytes);
// A fresh empty folder under the system's temporary folder.
std::string make_temp_folder();

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;

class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    // Closes the window and opens a new one, with a new OpenGL context.
    void Reopen();

private:
    void Open();
    GLFWwindow* window = nullptr;
};

// The window's pixel at (x, y), top-left origin, as bytes R, G, B.
struct Rgb {
    int r, g, b;
};
Rgb read_pixel(int x, int y);
