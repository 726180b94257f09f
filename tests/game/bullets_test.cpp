// Bullets: shots placed in the first free slot or dropped when none is, flight at their
// speeds until a wall or their life ends them, enemy bullets that hurt only the first soldier
// they reach, and their drawing.
#include "play_fixture.h"

namespace {

constexpr float kColumnX = 62 * 80;
constexpr float kColumnY = 52 * 80 + 10;

class Bullets : public Play {
protected:
    float* EnemyBullet(int slot, float x, float y, float dx) {
        float* b = Bullet(slot);
        b[kBulKind] = kKindEnemyBullet;
        b[kBulX] = x;
        b[kBulY] = y;
        b[kBulDx] = dx;
        b[kBulFacing] = dx < 0 ? -1.0f : 1.0f;
        b[kBulLife] = 69;
        return b;
    }
};

TEST_F(Bullets, AShotTakesTheFirstFreeSlotAndNoneIsLeftAfterAHundredAndOne) {
    OpenCave();
    Bullet(0)[kBulKind] = kKindEnemyBullet;
    app->p_Shoot(1, 100, 200, -1);
    EXPECT_EQ(app->m_lastSlot, kRecordSize);
    const float* b = Bullet(1);
    EXPECT_EQ(b[kBulKind], kKindPlayerBullet);
    EXPECT_EQ(b[kBulX], 100);
    EXPECT_EQ(b[kBulY], 200);
    EXPECT_EQ(b[kBulDx], -4);
    EXPECT_EQ(b[kBulLife], 60);
    for (int i = 2; i < kSlotsInUse; ++i) app->p_Shoot(1, 0, 0, 1);
    EXPECT_EQ(app->m_lastSlot, 100 * kRecordSize);
    app->p_Shoot(1, 5, 5, 1);
    EXPECT_EQ(app->m_lastSlot, -1) << "the 102nd shot is dropped";
    EXPECT_EQ(app->p_FreeBul(100), -1);
    Bullet(57)[kBulKind] = 0;
    EXPECT_EQ(app->p_FreeBul(100), 57 * kRecordSize);
    EXPECT_EQ(app->p_FreeBul(56), -1);
}

TEST_F(Bullets, TheyFlySidewaysAtTheirSpeedsUntilTheirLifeRunsOut) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    app->p_Shoot(1, kColumnX, kColumnY - 200, 1);
    float* enemy = EnemyBullet(5, kColumnX, kColumnY + 200, -2.5f);
    app->p_DoBul();
    EXPECT_EQ(Bullet(0)[kBulX], kColumnX + 8);
    EXPECT_EQ(Bullet(0)[kBulY], kColumnY - 200) << "never vertically";
    EXPECT_EQ(enemy[kBulX], kColumnX - 5);
    for (int i = 1; i < 59; ++i) app->p_DoBul();
    EXPECT_EQ(Bullet(0)[kBulKind], kKindPlayerBullet);
    app->p_DoBul();
    EXPECT_EQ(Bullet(0)[kBulKind], 0) << "60 frames of life";
    EXPECT_EQ(enemy[kBulKind], kKindEnemyBullet);
    for (int i = 0; i < 9; ++i) app->p_DoBul();
    EXPECT_EQ(enemy[kBulKind], 0) << "69 frames of life";
}

TEST_F(Bullets, AShotDiesInTheFrameItEntersAWall) {
    OpenCave();
    Rock(71, 70);
    app->p_Shoot(1, 62 * 70 + 26, 52 * 70 - 3, 1);  // 5 pixels short of the rock
    app->p_DoBul();
    EXPECT_EQ(Bullet(0)[kBulKind], 0);
    app->p_Shoot(1, 62 * 70 + 18, 52 * 70 - 3, 1);  // 13 short: one frame in the open
    app->p_DoBul();
    EXPECT_EQ(Bullet(0)[kBulKind], kKindPlayerBullet);
    app->p_DoBul();
    EXPECT_EQ(Bullet(0)[kBulKind], 0);
}

TEST_F(Bullets, AnEnemyBulletHurtsOnlyTheFirstSoldierItReaches) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    // Soldiers 1 and 2 stand 12 pixels apart; a bullet between them is in reach of both.
    EnemyBullet(0, kColumnX - 6, kColumnY, 0);
    app->p_DoBul();
    EXPECT_EQ(Var(kVarDamage), -1);
    EXPECT_EQ(Bullet(0)[kBulKind], 0);
    int sound = LastSound();
    EXPECT_TRUE(sound >= 23 && sound <= 26) << sound;
}

TEST_F(Bullets, BulletsAboveOrBelowTheColumnOrPastItsLastSoldierMiss) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    Var(kVarSoldiers) = 2;
    EnemyBullet(0, kColumnX, kColumnY - 8, 0);
    EnemyBullet(1, kColumnX, kColumnY + 8, 0);
    EnemyBullet(2, Var(kVarTrailX + 24), kColumnY, 0);  // where soldier 3 would stand
    app->p_Shoot(1, kColumnX, kColumnY, 0);               // the column's own shots never hurt it
    app->p_DoBul();
    EXPECT_EQ(Var(kVarDamage), 0);
    EXPECT_EQ(CountKind(app->m_bullets, kKindEnemyBullet), 3);
}

TEST_F(Bullets, ABulletLeavingTheGridIsSpentInsteadOfReadingPastIt) {
    OpenCave();
    Cell(0, 6)[kCellSolid] = 0;  // what a truncated column would read for a point left of it
    app->p_Shoot(1, -40, 300, -1);
    app->p_Shoot(1, 62 * 130, 300, 1);  // the unused columns past 127 hold no rock
    app->p_DoBul();
    EXPECT_EQ(CountKind(app->m_bullets, kKindPlayerBullet), 0);
}

TEST_F(Bullets, PlayerShotsAreYellowAndEnemyShotsFlickerInHotColours) {
    OpenCave();
    app->m_camX = 1000;
    app->m_camY = 2000;
    app->p_Shoot(1, 1100, 2100, 1);
    EnemyBullet(1, 1200, 2200, -2.5f);
    app->m_drawCount = 0;
    app->p_DrawBul();
    ASSERT_EQ(app->m_drawCount, 2 * kDrawRecordSize);
    const float* shot = &app->m_drawList[0];
    EXPECT_EQ(shot[kDrawKind], kDrawRect);
    EXPECT_EQ(shot[kDrawX], 97);
    EXPECT_EQ(shot[kDrawY], 100);
    EXPECT_EQ(shot[kDrawSizeX], 6);
    EXPECT_EQ(shot[kDrawSizeY], 2);
    EXPECT_EQ(shot[kDrawInkB], 0);
    EXPECT_EQ(shot[kDrawInkR], 255);
    const float* enemy = &app->m_drawList[kDrawRecordSize];
    EXPECT_EQ(enemy[kDrawInkB], 250);
    EXPECT_GE(enemy[kDrawInkR], 100);
    EXPECT_GE(enemy[kDrawInkG], 150);
    EXPECT_LT(enemy[kDrawInkG], 255);
    EXPECT_EQ(app->m_inkR, 255) << "white again afterwards";
    EXPECT_EQ(app->m_inkB, 255);
}

}  // namespace
