// Particles: floating numbers placed in the highest free slot, dropped when the table is
// full, rising and fading over 100 frames in world coordinates; the table's reset; and the
// background colour's ease that opens every frame.
#include "play_fixture.h"

namespace {

class Particles : public Play {
protected:
    void Clear() {
        app->m_maxParticles = 250;
        for (int i = 0; i < kRecordTableLength; ++i) app->m_particles[i] = 0;
    }
};

TEST_F(Particles, ANumberTakesTheHighestFreeSlot) {
    Clear();
    app->p_AddParticle(kKindNumber, 10, 20, 0, -0.25f, 25, 3, 0);
    const float* p = Particle(250);
    EXPECT_EQ(p[kPartKind], kKindNumber);
    EXPECT_EQ(p[kPartX], 10);
    EXPECT_EQ(p[kPartY], 20);
    EXPECT_EQ(p[kPartDy], -0.25f);
    EXPECT_EQ(p[kPartLife], 1);
    EXPECT_EQ(p[kPartColour], 3);
    EXPECT_EQ(p[kPartValue], 25);
    EXPECT_GE(p[kPartAngle], 0);
    EXPECT_LE(p[kPartAngle], 360);
    EXPECT_GE(p[kPartSpin], -7);
    EXPECT_LT(p[kPartSpin], 7);
    app->p_AddParticle(kKindNumber, 0, 0, 0, 0, 1, 3, 0);
    EXPECT_EQ(Particle(249)[kPartValue], 1);
    EXPECT_EQ(app->p_FreeParticle(), 248 * kRecordSize);
}

TEST_F(Particles, AFullTableDropsNewNumbers) {
    Clear();
    for (int i = 0; i <= 250; ++i) app->p_AddParticle(kKindNumber, 0, 0, 0, 0, i, 3, 0);
    EXPECT_EQ(Particle(0)[kPartValue], 250);
    EXPECT_EQ(app->p_FreeParticle(), -1);
    app->p_AddParticle(kKindNumber, 0, 0, 0, 0, 999, 3, 0);
    for (int slot = 0; slot <= 250; ++slot) EXPECT_NE(Particle(slot)[kPartValue], 999);
    app->m_maxParticles = -1;
    EXPECT_EQ(app->p_FreeParticle(), -1);
    app->m_maxParticles = 250;
}

TEST_F(Particles, NumbersRiseFadeAndGoAfterAHundredFrames) {
    Clear();
    app->m_camX = 100;
    app->m_camY = 50;
    app->p_AddParticle(kKindNumber, 300, 200, 0, -0.25f, 250, 3, 0);
    app->m_drawCount = 0;
    app->p_DoParticles(1.0f);
    ASSERT_EQ(DrawnText(), "250");
    EXPECT_NEAR(app->m_drawList[kDrawY], 200 - 0.25f - 50, 1e-3) << "in world coordinates, under the camera";
    EXPECT_EQ(app->m_drawList[kDrawAlpha], 1);
    EXPECT_EQ(app->m_drawList[kDrawRot], 0) << "numbers do not spin";
    EXPECT_EQ(app->m_drawList[kDrawInkB], 25.5f) << "palette colour 3";
    for (int i = 0; i < 50; ++i) app->p_DoParticles(1.0f);
    app->m_drawCount = 0;
    app->p_DoParticles(1.0f);
    EXPECT_NEAR(app->m_drawList[kDrawAlpha], 0.49f, 1e-3);
    for (int i = 0; i < 48; ++i) app->p_DoParticles(1.0f);
    EXPECT_EQ(Particle(250)[kPartKind], kKindNumber);
    app->p_DoParticles(1.0f);
    EXPECT_EQ(Particle(250)[kPartKind], 0) << "freed once its life is below 0";
    EXPECT_NEAR(Particle(250)[kPartY], 200 - 25.25f, 1e-2) << "it rose 25 pixels";
    EXPECT_EQ(app->m_sizeX, 1) << "drawing state reset afterwards";
}

TEST_F(Particles, ResetTakesANewCountOrKeepsTheOld) {
    Clear();
    for (int i = 0; i < 5; ++i) app->p_AddParticle(kKindNumber, 0, 0, 0, 0, i, 3, 0);
    app->p_ResetParticles(400);
    EXPECT_EQ(app->m_maxParticles, 400);
    EXPECT_EQ(Particle(250)[kPartKind], 0);
    app->p_AddParticle(kKindNumber, 0, 0, 0, 0, 7, 3, 0);
    EXPECT_EQ(Particle(400)[kPartValue], 7);
    app->p_ResetParticles(0);
    EXPECT_EQ(app->m_maxParticles, 400) << "0 keeps the count";
    EXPECT_EQ(Particle(400)[kPartKind], 0);
    app->p_ResetParticles(500);
    EXPECT_EQ(app->m_maxParticles, 400) << "above 499 keeps the count";
    app->m_maxParticles = 250;
}

TEST_F(Particles, TheBackgroundEasesAnEighthOfTheWayAndMinus123KeepsTheTarget) {
    app->m_bgR = app->m_bgG = app->m_bgB = 0;
    app->p_DoBG(80, 160, 240, -123);
    EXPECT_EQ(app->m_bgG, 20);
    EXPECT_EQ(app->m_clearA, 1) << "-123 is full alpha";
    EXPECT_EQ(app->m_drawCount, 0) << "a new list for the frame";
    app->p_DoBG(-123, -123, -123, 2.0f);
    EXPECT_EQ(app->m_bgTargetB, 240);
    EXPECT_EQ(app->m_bgB, 30 + (240 - 30) * 0.125f);
    EXPECT_EQ(app->m_clearA, 1) << "alpha clamps to 1";
    app->p_DoBG(0, 120, 0, -0.5f);
    EXPECT_EQ(app->m_clearA, 0);
}

}  // namespace
