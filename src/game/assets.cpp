// The image, font and sound banks: the resolution chosen from the window size, the step-wise
// loader with its animated loading screen, and the sound-effect and music wrappers.
#include <cmath>

#include "game/app.h"
#include "game/globals.h"
#include "graphics/drawing.h"

namespace {


// One loader step: up to two images and up to two sounds. Slot 0 or sound 0 means none.
struct ImageLoad {
    int slot;
    const char* name;
    int w, h, frames;
};
struct LoaderStep {
    ImageLoad images[2];
    int sounds[2];
};
const LoaderStep kLoaderSteps[] = {
    {{{kImgIcons, "common/icons", 32, 32, 16}}, {96}},
    {{{kImgButtons, "common/Buttons", 64, 64, 16}}, {1}},
    {{{kImgDpad, "common/dpad", 32, 32, 16}}, {98}},
    {{{kImgLogo, "common/PellLogo", 256, 256, 1}}, {}},
    {{}, {99}},  // the font, loaded by the step itself
    {{{kImgMenu, "menu", 256, 256, 4}, {kImgTitle, "logo", 256, 128, 1}}, {95}},
    {{{kImgBadges, "BadgesA", 64, 64, 64}, {kImgParts, "parts", 8, 8, 256}}, {}},
    {{{kImgCircle, "common/circle", 256, 256, 4}, {kImgLight, "common/light", 32, 32, 4}}, {}},
    {{{kImgRocks, "trees", 68, 68, 9}}, {}},
    {{{kImgPlayer, "plr", 36, 36, 49}}, {}},
    {{{kImgSprites, "gfx", 36, 36, 49}}, {}},
    {{}, {21, 22}},
    {{}, {23, 24}},
    {{}, {25, 26}},
    {{}, {27, 28}},
    {{}, {29, 30}},
    {{}, {2, 3}},
    {{}, {4, 5}},
    {{}, {31, 6}},
};
constexpr int kLoaderStepCount = sizeof kLoaderSteps / sizeof kLoaderSteps[0];

const char* const kFontName = "fonts/shadow_editundo";
constexpr int kFontAdvance = 7;
constexpr int kFontLineHeight = 10;

}  // namespace

void c_MyApp::ChooseResolution() {
    int width = kv_app_DeviceWidth(), height = kv_app_DeviceHeight();
    if (width >= 1231 || height >= 1231) {
        m_hdLevel = 4;
    } else if (width >= 631 || height >= 631) {
        m_hdLevel = 2;
    } else {
        m_hdLevel = 1;
    }
    if (kv_Tol_UseHDImages == 0) m_hdLevel = 1;
    m_hdScale = 1.0f / m_hdLevel;
}

String c_MyApp::ImageFileName(const String& name) {
    const char* suffix = m_hdLevel == 2 ? "-hd" : m_hdLevel == 4 ? "-hd2" : "";
    return name + String(suffix) + String(".png");
}

int c_MyApp::p_LoadImg(int slot, const String& name, int w, int h, int frames, int flags) {
    gc_assign(m_images[slot], static_cast<c_Image*>(nullptr));
    gc_assign(m_images[slot], kv_graphics_LoadImage2(ImageFileName(name), w * m_hdLevel, h * m_hdLevel, frames, flags));
    m_imageInfo[3 * slot] = w * m_hdLevel;
    m_imageInfo[3 * slot + 1] = h * m_hdLevel;
    m_imageInfo[3 * slot + 2] = frames;
    return 0;
}

int c_MyApp::p_LoadFont(int slot, const String& name, int advance, int lineHeight) {
    int cell = 16 * m_hdLevel;
    gc_assign(m_images[slot], static_cast<c_Image*>(nullptr));
    gc_assign(m_images[slot], kv_graphics_LoadImage2(ImageFileName(name), cell, cell, 128, 1));
    m_imageInfo[3 * slot] = advance;
    m_imageInfo[3 * slot + 1] = lineHeight;
    m_imageInfo[3 * slot + 2] = 128;
    m_font = slot;
    return 0;
}

int c_MyApp::p_ReserveImg(int slot, int w, int h) {
    gc_assign(m_images[slot], kv_graphics_CreateImage(w, h, 1, 1));
    m_imageInfo[3 * slot] = w;
    m_imageInfo[3 * slot + 1] = h;
    m_imageInfo[3 * slot + 2] = 1;
    return 0;
}

int c_MyApp::p_LoadSFX(int n) {
    const char* pad = n <= 9 ? "sfx/00" : n <= 99 ? "sfx/0" : "sfx/";
    gc_assign(m_sounds[n], static_cast<c_Sound*>(nullptr));
    gc_assign(m_sounds[n], kv_audio_LoadSound(String(pad) + String(n) + String(".wav")));
    return 0;
}

int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
    int mode = m_settings[kSetSoundMode];
    if ((mode != 1 && mode != 2) || !m_sounds[n]) return 0;
    m_sfxChannel = (m_sfxChannel + 1) % kEffectChannels;
    int channel = m_channels[m_sfxChannel];
    kv_audio_StopChannel(channel);
    kv_audio_PlaySound(m_sounds[n], channel, 0);
    kv_audio_SetChannelRate(channel, rate);
    kv_audio_SetChannelVolume(channel, volume);
    kv_audio_SetChannelPan(channel, pan);
    return 0;
}

int c_MyApp::p_PlayTune(String name, int loop) {
    if (kv_Tol_HasMusicStream == 0) return 0;
    // "-1" replays the last tune; with none requested yet there is nothing to replay (not a
    // tune named "-1").
    if (name == String("-1")) name = m_tune;
    if (name.Length() == 0) return 0;
    m_tune = name;
    if (m_musicOn) {
        kv_audio_StopMusic();
        m_musicOn = 0;
    }
    int mode = m_settings[kSetSoundMode];
    if (mode == 1 || mode == 3) {
        kv_audio_PlayMusic(String("sfx/") + name + String(".ogg"), loop);
        m_musicOn = 1;
    }
    return 0;
}

int c_MyApp::p_StopTune() {
    kv_audio_StopMusic();
    m_musicOn = 0;
    return 0;
}

int c_MyApp::p_Reload() {
    ChooseResolution();
    p_LoadImg(kImgLogo, String("common/PellLogo"), 256, 256, 1, 1);
    p_LoadFont(kImgFont, String(kFontName), kFontAdvance, kFontLineHeight);
    m_font = kImgFont;
    m_reload = 1;
    return 0;
}

int c_MyApp::p_Loader() {
    ChooseResolution();
    if (m_reload >= 1 && m_reload <= kLoaderStepCount) {
        const LoaderStep& step = kLoaderSteps[m_reload - 1];
        if (m_reload == 1) p_ReserveImg(kImgBlank, 2048, 2048);
        if (m_reload == 5) p_LoadFont(kImgFont, String(kFontName), kFontAdvance, kFontLineHeight);
        for (const ImageLoad& image : step.images) {
            if (image.name) p_LoadImg(image.slot, String(image.name), image.w, image.h, image.frames, 1);
        }
        for (int sound : step.sounds) {
            if (sound) p_LoadSFX(sound);
        }
        if (m_reload == 4 && m_logoSoundPlayed == 0) {
            p_PlaySFX(96, 1, 1, 0);
            m_logoSoundPlayed = 1;
        }
        ++m_reload;
    } else {
        m_reload = 0;
    }
    p_WaitStart(1);
    return 0;
}

int c_MyApp::p_WaitStart(int phase) {
    m_fadeR -= m_fadeR * 0.125f;
    m_fadeG -= m_fadeG * 0.125f;
    m_fadeB -= m_fadeB * 0.125f;
    p_CLS2D(m_fadeR, m_fadeG, m_fadeB, 1);
    m_minDim = static_cast<int>(std::fmin(kv_Tol_jscrw, kv_Tol_jscrh));
    m_spinAngle += 3;
    const float cx = kv_Tol_jscrw * 0.5f, cy = kv_Tol_jscrh * 0.5f;
    const float d = static_cast<float>(m_minDim);

    // Three rings of eleven dots, each dot brighter than the one behind it.
    auto ring = [&](float radius, float distance, int offset) {
        for (int i = 0; i <= 10; ++i) {
            float a = (m_spinAngle + offset + 4 * i) * kDegrees;
            p_Alpha(i / 10.0f);
            p_Oval(cx + std::sin(a) * d * distance, cy - std::cos(a) * d * distance, radius, radius);
        }
    };
    if (phase == 1) {
        p_SetCol(0, 125, 255);
        ring(16, 0.45f, 0);
    }
    p_SetCol(255, 255, 255, 1);
    p_SetSize(2);
    p_DrawImg(kImgLogo, cx, kv_Tol_jscrh * 0.48f, 0);
    p_ResetDraw();
    if (phase == 1) {
        p_SetCol(255, 125, 0);
        ring(12, 0.4f, 120);
        ring(8, 0.35f, 240);
    }
    p_SetCol(255, 255, 255, 1);
    p_Text(cx, kv_Tol_jscrh - 32, String("Loading..."), 1, 1, 0);
    if (phase == 0) {
        m_gameState = kStateMenu;
        m_pointerTaken = 1;
        p_Reload();
        kv_app_SetUpdateRate(60);
    }
    return 0;
}

int c_MyApp::p_BankLoad() { return 0; }
