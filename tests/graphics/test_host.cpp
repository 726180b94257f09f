// The graphics tests' host, PNG fixtures and window. The window stands in for the host's:
// every opening bumps glfwGraphicsSeq, as the host does when it opens one.
#include "test_host.h"

#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <stb/stb_image_write.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "graphics/image_decode.h"

unsigned char* TestHost::LoadImageData(String path, int* width, int* height, int* depth) {
    std::string name = path.ToCString().c_str();
    const std::string scheme = "tarvik://data/";
    if (name.rfind(scheme, 0) != 0) return nullptr;
    FILE* file = std::fopen((dataFolder + "/" + name.substr(scheme.size())).c_str(), "rb");
    if (!file) return nullptr;
    unsigned char* pixels = LoadImageFile(file, width, height, depth);
    std::fclose(file);
    return pixels;
}

std::vector<unsigned char> png_bytes(int w, int h, int channels, const std::vector<unsigned char>& pixels) {
    std::vector<unsigned char> out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<std::vector<unsigned char>*>(context);
            bytes->insert(bytes->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
        },
        &out, w, h, channels, pixels.data(), w * channels);
    return out;
}

void write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string make_temp_folder() {
    char name[] = "/tmp/tolvane-graphics-XXXXXX";
    const char* folder = mkdtemp(name);
    return folder ? folder : "";
}

TestWindow::TestWindow() {
    if (!glfwInit()) ADD_FAILURE() << "glfwInit failed (is there an X server?)";
    Open();
}

TestWindow::~TestWindow() { glfwDestroyWindow(window); }

void TestWindow::Open() {
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    window = glfwCreateWindow(kWindowWidth, kWindowHeight, "Tolvane graphics test", nullptr, nullptr);
    if (!window) {
        ADD_FAILURE() << "no window";
        return;
    }
    glfwMakeContextCurrent(window);
    ++glfwGraphicsSeq;
}

void TestWindow::Reopen() {
    glfwDestroyWindow(window);
    Open();
}

Rgb read_pixel(int x, int y) {
    unsigned char bytes[4] = {};
    glReadPixels(x, kWindowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, bytes);
    return {bytes[0], bytes[1], bytes[2]};
}
