// The host's image and sound loaders: the host resolves and opens the file, the decoders read
// it. The image decoder reports its pixels to the collector itself; sound blocks are counted
// here, once, because the sound decoders leave that to whoever hands the block on.
#include <cstdio>

#include "audio/sound_decode.h"
#include "graphics/image_decode.h"
#include "host/glfw_game.h"
#include "host/media_loading.h"

unsigned char* load_image_data(KvGame& host, String path, int* width, int* height, int* depth) {
    FILE* file = host.OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char* pixels = LoadImageFile(file, width, height, depth);
    std::fclose(file);
    return pixels;
}

unsigned char* load_audio_data(KvGame& host, String path, int* length, int* channels, int* format, int* hertz) {
    String extension = path.ToLower();
    bool wav = extension.EndsWith(String(".wav"));
    if (!wav && !extension.EndsWith(String(".ogg"))) return nullptr;
    FILE* file = host.OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char* samples = wav ? LoadWAV(file, length, channels, format, hertz)
                                 : LoadOGG(file, length, channels, format, hertz);
    std::fclose(file);
    if (samples) gc_ext_malloced(*length * *channels * *format);
    return samples;
}

unsigned char* KvGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
    return load_image_data(*this, path, width, height, depth);
}

unsigned char* KvGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
    return load_audio_data(*this, path, length, channels, format, hertz);
}
