// Particles: the floating score numbers that rise from killed enemies and planted flags, fade
// out over their life and scroll with the world. (The screen background's ease that opens
// every frame lives with the menu, which shares it.)
#include <cmath>

#include "game/app.h"
#include "runtime/random.h"

int c_MyApp::p_FreeParticle() {
    // The highest free slot: new popups take the end of the table first.
    int found = -1;
    for (int slot = 0; slot <= m_maxParticles && slot <= kParticleSlotsMax; ++slot) {
        if (m_particles[slot * kRecordSize + kPartKind] == 0) found = slot * kRecordSize;
    }
    return found;
}

int c_MyApp::p_AddParticle(int kind, float x, float y, float dx, float dy, int value, int colour, int life) {
    if (m_maxParticles < 0) return 0;
    const int at = p_FreeParticle();
    if (at < 0) return 0;
    float* particle = &m_particles[at];
    particle[kPartKind] = static_cast<float>(kind);
    particle[kPartX] = x;
    particle[kPartY] = y;
    particle[kPartDx] = dx;
    particle[kPartDy] = dy;
    particle[kPartAngle] = std::floor(kv_random_Rnd() * 360.99f);
    particle[kPartSpin] = kv_random_Rnd() * 14 - 7;
    particle[kPartLife] = static_cast<float>(life + 1);
    particle[kPartColour] = static_cast<float>(colour);
    particle[kPartValue] = static_cast<float>(value);
    return 0;
}

int c_MyApp::p_DoParticles(float scale) {
    p_ResetDraw();
    for (int slot = 0; slot <= m_maxParticles && slot <= kParticleSlotsMax; ++slot) {
        float* particle = &m_particles[slot * kRecordSize];
        if (particle[kPartKind] <= 0) continue;
        particle[kPartX] += particle[kPartDx];
        particle[kPartY] += particle[kPartDy];
        particle[kPartAngle] += particle[kPartSpin];
        const bool number = particle[kPartKind] == kKindNumber;
        p_SetRot(number ? 0 : particle[kPartAngle]);
        p_Alpha(std::fmin(particle[kPartLife], 1.0f));
        p_SetSize(scale);
        p_Ink(static_cast<int>(particle[kPartColour]), 1);
        if (number) {
            p_Text(particle[kPartX] - m_camX, particle[kPartY] - m_camY,
                   NumberText(static_cast<int>(particle[kPartValue])), 1, 1, 0);
        }
        particle[kPartLife] -= 0.01f;
        if (particle[kPartLife] < 0) particle[kPartKind] = 0;
    }
    p_ResetDraw();
    return 0;
}

// A number's text from a small ring of recent ones: popups show few distinct values (25 a
// kill, 250 n squared a planting), so after the first of each no frame makes a string.
const String& c_MyApp::NumberText(int value) {
    for (int i = 0; i < kNumberTexts; ++i) {
        if (m_numberValues[i] == value && m_numberTexts[i].Length() > 0) return m_numberTexts[i];
    }
    const int i = m_numberNext;
    m_numberNext = (m_numberNext + 1) % kNumberTexts;
    m_numberValues[i] = value;
    m_numberTexts[i] = String(value);
    return m_numberTexts[i];
}
