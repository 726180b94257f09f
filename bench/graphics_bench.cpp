// The CPU cost of drawing through the drawing API and the batching renderer: a textured
// sprite turned and scaled about its handle, the same sprite unturned, and a rectangle.
// The device runs with OpenGL switched off, so flushes are counted but the GPU does nothing.
#include <benchmark/benchmark.h>

#include "graphics/drawing.h"
#include "graphics/surface.h"

namespace {

class BenchHost : public KvGame {
public:
    int GetDeviceWidth() override { return 640; }
    int GetDeviceHeight() override { return 480; }
};

// Each frame holds this many draws before the device ends it, as a busy game frame might.
constexpr int kDrawsPerFrame = 4096;

struct Scene {
    BenchHost host;
    gxtkGraphics* device;
    c_Image* sprite;

    Scene() {
        kv_graphics_InitGlobals();
        device = new gxtkGraphics;
        device->gpuEnabled = false;
        kv_graphics_SetGraphicsDevice(device);
        gxtkSurface* sheet = new gxtkSurface;
        sheet->SetSize(256, 32, 4);
        sprite = (new c_Image)->m_new()->p_Init(sheet, 8, c_Image::CenterHandle);
        begin();
    }
    void begin() {
        device->BeginRender();
        kv_graphics_BeginRender();
    }
    void end() {
        kv_graphics_EndRender();
        device->EndRender();
    }
    template <class Draw>
    void run(benchmark::State& state, Draw draw) {
        int n = 0;
        int calls = 0;
        for (auto _ : state) {
            draw(n);
            if (++n == kDrawsPerFrame) {
                end();
                begin();
                n = 0;
            }
            ++calls;
        }
        end();
        state.SetItemsProcessed(calls);
        state.counters["quads_per_draw_call"] =
            device->lastFrame.drawCalls ? double(device->lastFrame.vertices / 4) / device->lastFrame.drawCalls : 0;
    }
};

void BM_DrawImage2_TurnedAndScaled(benchmark::State& state) {
    Scene scene;
    scene.run(state, [&](int n) {
        kv_graphics_DrawImage2(scene.sprite, float(n & 511), float(n >> 9) * 40, float(n % 360), 1.5f, 0.75f, n & 7);
    });
}
BENCHMARK(BM_DrawImage2_TurnedAndScaled);

void BM_DrawImage_Unturned(benchmark::State& state) {
    Scene scene;
    scene.run(state, [&](int n) { kv_graphics_DrawImage(scene.sprite, float(n & 511), float(n >> 9) * 40, n & 7); });
}
BENCHMARK(BM_DrawImage_Unturned);

void BM_DrawRect(benchmark::State& state) {
    Scene scene;
    scene.run(state, [&](int n) { kv_graphics_DrawRect(float(n & 511), float(n >> 9) * 40, 8, 8); });
}
BENCHMARK(BM_DrawRect);

}  // namespace

BENCHMARK_MAIN();
