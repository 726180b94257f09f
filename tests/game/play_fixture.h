// A running game for the play tests: started from the menu through the real frames, then,
// where a rule shows better on a known map, its cave replaced by a hand-made one; and readers
// for what a frame left behind (the effect last played, the text drawn, records of a kind).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "audio/sound_api.h"
#include "game/globals.h"
#include "test_host.h"

constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyFire = 'Z';

class Play : public ::testing::Test {
protected:
    void SetUp() override {
        host = &TestHost::Start();
        app = host->app;
        host->FinishLoading();
        for (int key : {kKeyEnter, kKeyEscape, kKeyLeft, kKeyUp, kKeyRight, kKeyDown, kKeyFire}) host->KeyUp(key);
        app->m_settings[kSetSoundMode] = 1;
        app->m_difficulty = 2;
        app->m_gameState = kStateStartGame;
        host->Frame();
        while (app->m_introTimer != 0) host->Frame();
        app->m_keyLatch = 0;
    }

    // A cave with open ground inside a ten-cell rock border, the base in its middle, no
    // spawners, flags or enemies, and the column of four at its start.
    void OpenCave() {
        for (int c = 0; c < kGridSide; ++c) {
            for (int r = 0; r < kGridSide; ++r) {
                bool border = c < 10 || c > 117 || r < 10 || r > 117;
                Cell(c, r)[kCellValue] = border ? 1.0f : 0.0f;
                Cell(c, r)[kCellSolid] = border ? 1.0f : 0.0f;
            }
        }
        Cell(64, 64)[kCellValue] = kCellBaseCentre;
        for (auto slot : {std::pair{63, 64}, {65, 64}, {63, 65}, {64, 65}, {65, 65}}) {
            Cell(slot.first, slot.second)[kCellValue] = kCellBaseSlot;
        }
        for (int i = 0; i < kRecordTableLength; ++i) app->m_objects[i] = app->m_bullets[i] = app->m_particles[i] = 0;
        app->p_GetLevD();
        app->m_vars[kVarSoldiers] = 4;
        app->m_vars[kVarFlagsCarried] = 0;
        app->m_vars[kVarDamage] = 0;
        app->m_vars[kVarCompleteTimer] = 0;
        app->m_vars[kVarFacing] = 1;
        app->m_keyVelX = app->m_keyVelY = 0;
    }

    float* Cell(int c, int r) { return &app->m_grid[cell_index(c, r)]; }
    void Rock(int c, int r) {
        Cell(c, r)[kCellValue] = 3;
        Cell(c, r)[kCellSolid] = 1;
    }
    float* Object(int slot) { return &app->m_objects[slot * kRecordSize]; }
    float* Bullet(int slot) { return &app->m_bullets[slot * kRecordSize]; }
    float* Particle(int slot) { return &app->m_particles[slot * kRecordSize]; }
    float& Var(int i) { return app->m_vars[i]; }

    // Places the column's trail in a row, the newest point at (x, y), facing `facing`.
    void PlaceColumn(float x, float y, float facing = 1) {
        Var(kVarPlayerX) = x;
        Var(kVarPlayerY) = y;
        Var(kVarFacing) = facing;
        for (int i = 0; i < kTrailLength; ++i) {
            Var(kVarTrailX + i) = x - facing * i;
            Var(kVarTrailY + i) = y;
            Var(kVarTrailFacing + i) = facing;
        }
    }

    void Hold(int key, int frames) {
        host->KeyDown(key);
        host->Frames(frames);
        host->KeyUp(key);
    }

    // The number of the effect on the channel used last, or -1.
    int LastSound() {
        const gxtkSample* sample = kv_audio_device->channels[app->m_channels[app->m_sfxChannel]].sample;
        for (int n = 1; n < kSoundSlots; ++n) {
            if (app->m_sounds[n] && app->m_sounds[n]->sample == sample) return n;
        }
        return -1;
    }

    // Every glyph the frame drew, in order and without the spaces.
    std::string DrawnText() {
        std::string text;
        for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
            if (static_cast<int>(app->m_drawList[k + kDrawKind]) == kImgFont) {
                text += static_cast<char>(app->m_drawList[k + kDrawFrame] + 32);
            }
        }
        return text;
    }

    // Draw records of image `slot` (and frame `frame` unless -1).
    int Drawn(int slot, int frame = -1) {
        int n = 0;
        for (int k = 0; k < app->m_drawCount; k += kDrawRecordSize) {
            if (static_cast<int>(app->m_drawList[k + kDrawKind]) == slot &&
                (frame < 0 || static_cast<int>(app->m_drawList[k + kDrawFrame]) == frame)) {
                ++n;
            }
        }
        return n;
    }

    int CountKind(const Array<float>& table, int kind) {
        int n = 0;
        for (int slot = 0; slot < kSlotsInUse; ++slot) n += table[slot * kRecordSize] == kind;
        return n;
    }

    TestHost* host = nullptr;
    c_MyApp* app = nullptr;
};
