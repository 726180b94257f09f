// Player control and drawing: the direction keys' ramp and braking, both keys of an axis
// held, no stick on a machine without one, and the soldiers' frames on their trail.
#include "play_fixture.h"

namespace {

class Control : public Play {};

TEST_F(Control, AHeldKeyRampsToFullSpeedInSevenFramesAndBrakesInFive) {
    OpenCave();
    host->KeyDown(kKeyRight);
    const float ramp[] = {0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f, 1.0f, 1.0f};
    for (float want : ramp) {
        host->Frame();
        EXPECT_NEAR(app->m_moveX, want, 1e-4);
    }
    host->KeyUp(kKeyRight);
    const float brake[] = {0.8f, 0.6f, 0.4f, 0.2f, 0.0f, 0.0f};
    for (float want : brake) {
        host->Frame();
        EXPECT_NEAR(app->m_moveX, want, 1e-4);
    }
    EXPECT_EQ(app->m_keyVelX, 0);
}

TEST_F(Control, UpAndDownTogetherHoldTheVelocity) {
    OpenCave();
    app->m_keyVelY = 0.45f;
    host->KeyDown(kKeyUp);
    host->KeyDown(kKeyDown);
    host->Frames(4);
    EXPECT_NEAR(app->m_keyVelY, 0.45f, 1e-4);
    EXPECT_NEAR(app->m_moveY, 0.45f, 1e-4) << "down, applied last, sets the direction";
    host->KeyUp(kKeyUp);
    host->KeyUp(kKeyDown);
    host->Frames(5);
    EXPECT_EQ(app->m_keyVelY, 0);
}

TEST_F(Control, WithoutAPadTheSticksReadNothing) {
    EXPECT_EQ(app->p_StickX(0, 0), 0);
    EXPECT_EQ(app->p_StickY(0, 0), 0);
    EXPECT_EQ(app->p_StickX(0, -1), 0);
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_moveX, 0);
    EXPECT_EQ(app->m_moveY, 0);
}

struct FrameCase {
    int moved, flags, soldier;
    int lowest, highest;
};
const FrameCase kFrames[] = {
    {0, 0, 0, 0, 0}, {1, 0, 0, 0, 2}, {0, 2, 1, 4, 4}, {1, 2, 1, 4, 6}, {1, 2, 2, 0, 2},
};

TEST_F(Control, SoldiersWalkAndCarryWithTheirOwnFrames) {
    OpenCave();
    app->m_camX = 0;
    app->m_camY = 0;
    for (const FrameCase& f : kFrames) {
        for (int i = 0; i < kTrailLength; ++i) {
            Var(kVarTrailX + i) = 1000.0f - i;
            Var(kVarTrailY + i) = 510;
            Var(kVarTrailFacing + i) = -1;
        }
        app->m_moved = f.moved;
        Var(kVarFlagsCarried) = static_cast<float>(f.flags);
        int lowest = 99, highest = -1;
        for (int i = 0; i < 30; ++i) {
            app->m_drawCount = 0;
            app->p_DrawPlr(520, f.soldier);
            ASSERT_EQ(app->m_drawCount, kDrawRecordSize);
            int frame = static_cast<int>(app->m_drawList[kDrawFrame]);
            lowest = std::min(lowest, frame);
            highest = std::max(highest, frame);
        }
        EXPECT_EQ(lowest, f.lowest) << "moved " << f.moved << " flags " << f.flags << " soldier " << f.soldier;
        EXPECT_EQ(highest, f.highest) << "moved " << f.moved << " flags " << f.flags << " soldier " << f.soldier;
        EXPECT_EQ(app->m_drawList[kDrawKind], kImgPlayer);
        EXPECT_EQ(app->m_drawList[kDrawSizeX], -1) << "mirrored facing left";
        EXPECT_EQ(app->m_drawList[kDrawX], 1000.0f - 12 * f.soldier);
    }
    app->m_drawCount = 0;
    app->p_DrawPlr(400, 0);
    EXPECT_EQ(app->m_drawCount, 0) << "drawn only with his own row";
}

}  // namespace
