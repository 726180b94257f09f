// Objects through the running game: spawners that spawn near the column and only with a free
// slot, enemies that close in down the distance field and stop at their stand-off, fire
// sideways and die to bullets, and flags picked up, carried and drawn.
#include <cmath>

#include "play_fixture.h"

namespace {

constexpr float kColumnX = 62 * 80;
constexpr float kColumnY = 52 * 80 + 10;  // off the row boundary, so drawn once

class Objects : public Play {
protected:
    // An enemy in slot `slot` at (x, y) with no target yet.
    float* Enemy(int slot, float x, float y, float standOff = 0) {
        float* e = Object(slot);
        e[kObjKind] = kKindEnemy;
        e[kObjX] = x;
        e[kObjY] = y;
        e[kObjTargetX] = e[kObjTargetY] = -1;
        e[kObjFacing] = -1;
        e[kObjFireTimer] = 0;
        e[kObjSpeed] = 3;
        e[kObjStandOff] = standOff;
        return e;
    }
};

TEST_F(Objects, AReadySpawnerNearTheColumnSpawnsAnEnemyAndRecharges) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    Cell(82, 81)[kCellValue] = kCellSpawner;  // 124 px right, 52 down: near
    Cell(82, 81)[kCellSpawnTimer] = 2;
    Cell(76, 74)[kCellValue] = kCellSpawner;  // 248 px left: visible but too far
    Cell(76, 74)[kCellSpawnTimer] = 2;
    host->Frame();
    EXPECT_EQ(Cell(82, 81)[kCellValue], kCellSpawner) << "spawned and charging again";
    EXPECT_GE(Cell(82, 81)[kCellSpawnTimer], 320);
    EXPECT_LE(Cell(82, 81)[kCellSpawnTimer], 640);
    EXPECT_EQ(Cell(76, 74)[kCellValue], kCellSpawnerReady) << "too far to spawn, it waits ready";
    ASSERT_EQ(CountKind(app->m_objects, kKindEnemy), 1);
    EXPECT_EQ(Object(0)[kObjY], 52 * 81 + 9);
    EXPECT_GE(Object(0)[kObjSpeed], 1.0f);
    EXPECT_LT(Object(0)[kObjSpeed], 4.5f);
    EXPECT_GE(Object(0)[kObjStandOff], 0);
    EXPECT_LT(Object(0)[kObjStandOff], 3);
    EXPECT_EQ(Object(0)[kObjFacing], -1);
    EXPECT_EQ(Drawn(kImgSprites, kFrameSpawner), 2);
}

TEST_F(Objects, ASpawnerChargesByDifficultyOnlyWhileVisible) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    Cell(82, 81)[kCellValue] = kCellSpawner;
    Cell(82, 81)[kCellSpawnTimer] = 100;
    Cell(110, 110)[kCellValue] = kCellSpawner;
    Cell(110, 110)[kCellSpawnTimer] = 100;
    app->m_difficulty = 3;
    host->Frames(4);
    app->m_difficulty = 2;
    EXPECT_FLOAT_EQ(Cell(82, 81)[kCellSpawnTimer], 100 - 4 * 2.25f);
    EXPECT_EQ(Cell(110, 110)[kCellSpawnTimer], 100) << "out of view the clock stands";
}

TEST_F(Objects, AFullObjectTableKeepsSpawnersReady) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    for (int slot = 0; slot < kSlotsInUse; ++slot) {
        Object(slot)[kObjKind] = kKindCorpse;
        Object(slot)[kObjY] = 0;
    }
    Cell(82, 81)[kCellValue] = kCellSpawner;
    Cell(82, 81)[kCellSpawnTimer] = 1;
    host->Frames(3);
    EXPECT_EQ(Cell(82, 81)[kCellValue], kCellSpawnerReady);
    Object(40)[kObjKind] = 0;
    host->Frame();
    EXPECT_EQ(Cell(82, 81)[kCellValue], kCellSpawner);
    EXPECT_EQ(Object(40)[kObjKind], kKindEnemy) << "the freed slot takes the enemy";
}

TEST_F(Objects, EnemiesCloseInDownTheFieldAndStopAtTheirStandOff) {
    OpenCave();
    // A corridor: row 80 open from column 70 to 85, rock around it.
    for (int c = 60; c <= 95; ++c) {
        for (int r = 75; r <= 85; ++r) {
            if (r != 80 || c < 70 || c > 85) Rock(c, r);
        }
    }
    PlaceColumn(62 * 70, kColumnY);
    Enemy(0, 62 * 79, kColumnY, 0);
    Enemy(1, 62 * 80, kColumnY, 2.5f);
    app->m_vars[kVarCompleteTimer] = 1;  // no fire, so the column stays whole
    host->Frames(2500);
    const int near = cell_column(Object(0)[kObjX]);
    const int held = cell_column(Object(1)[kObjX]);
    EXPECT_LE(near, 71) << "stand-off 0 comes next to the column";
    EXPECT_EQ(held, 72) << "stand-off 2.5 halts where the next cell is at distance 3";
    EXPECT_EQ(cell_row(Object(0)[kObjY]), 80);
    EXPECT_EQ(Object(0)[kObjFacing], -1) << "it walked left";
    app->m_vars[kVarCompleteTimer] = 0;
}

TEST_F(Objects, AnEnemyOutsideTheFieldGetsNoTarget) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    float* e = Enemy(0, 62 * 110, 52 * 110);
    host->Frames(200);
    EXPECT_EQ(e[kObjTargetX], -1);
    EXPECT_EQ(e[kObjX], 62 * 110) << "it stands still";
}

TEST_F(Objects, TwoBulletsOnOneEnemyAreBothSpentAndScoreTwice) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    app->m_score = 0;
    float* e = Enemy(0, kColumnX + 200, kColumnY + 100);
    e[kObjStandOff] = 30;  // it stays put
    for (int slot : {3, 7}) {
        Bullet(slot)[kBulKind] = kKindPlayerBullet;
        Bullet(slot)[kBulX] = e[kObjX] - 8;
        Bullet(slot)[kBulY] = e[kObjY] + (slot == 3 ? 5 : -5);
        Bullet(slot)[kBulDx] = 0;
        Bullet(slot)[kBulLife] = 60;
    }
    Bullet(9)[kBulKind] = kKindPlayerBullet;  // out of reach
    Bullet(9)[kBulX] = e[kObjX];
    Bullet(9)[kBulY] = e[kObjY] + 12;
    Bullet(9)[kBulLife] = 60;
    host->Frame();
    EXPECT_EQ(e[kObjKind], kKindDyingEnemy);
    EXPECT_EQ(app->m_score, 50);
    EXPECT_EQ(Bullet(3)[kBulKind], 0);
    EXPECT_EQ(Bullet(7)[kBulKind], 0);
    EXPECT_EQ(Bullet(9)[kBulKind], kKindPlayerBullet);
    int popups = 0;
    for (int slot = 0; slot <= app->m_maxParticles; ++slot) popups += Particle(slot)[kPartValue] == 25 && Particle(slot)[kPartKind] == kKindNumber;
    EXPECT_EQ(popups, 2);
    int sound = LastSound();
    EXPECT_TRUE(sound >= 27 && sound <= 31) << sound;
    host->Frames(118);
    EXPECT_EQ(e[kObjKind], kKindDyingEnemy);
    EXPECT_EQ(Drawn(kImgSprites, kFrameDyingEnemy), 1);
    host->Frame();
    EXPECT_EQ(e[kObjKind], 0) << "gone 120 frames after the hit";
}

TEST_F(Objects, AnEnemyOnScreenFiresSidewaysTheWayItFaces) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    float* e = Enemy(0, kColumnX + 150, kColumnY - 100);
    e[kObjStandOff] = 30;
    e[kObjFacing] = -1;
    e[kObjFireTimer] = 25;
    int frames = 0;
    while (CountKind(app->m_bullets, kKindEnemyBullet) == 0 && frames < 600) {
        e[kObjFireTimer] = 25;
        host->Frame();
        ++frames;
    }
    ASSERT_EQ(CountKind(app->m_bullets, kKindEnemyBullet), 1);
    EXPECT_EQ(Bullet(0)[kBulDx], -2.5f);
    EXPECT_EQ(Bullet(0)[kBulFacing], -1);
    EXPECT_EQ(Bullet(0)[kBulLife], 69) << "the bullets moved before the enemies";
    EXPECT_EQ(Bullet(0)[kBulX], e[kObjX]);
    EXPECT_EQ(e[kObjFireTimer], 0);
}

TEST_F(Objects, AnEnemyOffScreenOrAfterTheLevelIsWonHoldsFire) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    float* offScreen = Enemy(0, kColumnX + 400, kColumnY);
    offScreen[kObjStandOff] = 30;
    for (int i = 0; i < 300; ++i) {
        offScreen[kObjFireTimer] = 25;
        host->Frame();
    }
    EXPECT_EQ(CountKind(app->m_bullets, kKindEnemyBullet), 0);
    offScreen[kObjX] = kColumnX + 100;
    Var(kVarCompleteTimer) = 1;
    for (int i = 0; i < 300; ++i) {
        offScreen[kObjFireTimer] = 25;
        app->p_DoObj();
    }
    EXPECT_EQ(CountKind(app->m_bullets, kKindEnemyBullet), 0);
    Var(kVarCompleteTimer) = 0;
}

TEST_F(Objects, FlagsArePickedUpWhileAHandIsFreeAndFollowTheirSoldier) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY);
    Var(kVarSoldiers) = 2;
    for (int slot = 0; slot < 3; ++slot) {
        Object(slot)[kObjKind] = kKindFlag;
        Object(slot)[kObjX] = kColumnX + 10 + slot;
        Object(slot)[kObjY] = kColumnY - 20;
    }
    host->Frame();
    EXPECT_EQ(Var(kVarFlagsCarried), 2);
    EXPECT_EQ(Object(0)[kObjKind], kKindFlagCarried);
    EXPECT_EQ(Object(1)[kObjKind], kKindFlagCarried + 1);
    EXPECT_EQ(Object(2)[kObjKind], kKindFlag) << "no hand free for the third";
    EXPECT_EQ(LastSound(), 6);
    EXPECT_EQ(Object(1)[kObjX], Var(kVarTrailX + 12) - 6) << "behind soldier 2";
    EXPECT_EQ(Object(1)[kObjY], Var(kVarTrailY + 12));

    Var(kVarSoldiers) = 1;
    Var(kVarFlagsCarried) = 1;
    host->Frame();
    EXPECT_EQ(Object(1)[kObjKind], kKindFlag) << "soldier 2's flag drops when he is gone";
    EXPECT_EQ(Object(2)[kObjKind], kKindFlag) << "a column of one with a flag has no hand free";
    host->Frame();
    EXPECT_EQ(Drawn(kImgPlayer, kFrameCarrying) + Drawn(kImgPlayer, kFrameCarrying + 1) +
                  Drawn(kImgPlayer, kFrameCarrying + 2),
              1)
        << "the carrier is drawn with the flag frames";
}

TEST_F(Objects, AnObjectOnARowBoundaryIsDrawnInBothBands) {
    OpenCave();
    app->m_camY = 0;
    Object(0)[kObjKind] = kKindCorpse;
    Object(0)[kObjY] = 52 * 10 - 0.5f;
    app->m_drawCount = 0;
    app->p_DrawObj(52 * 10);
    app->p_DrawObj(52 * 11);
    EXPECT_EQ(Drawn(kImgPlayer, kFrameCorpse), 2);
    app->m_drawCount = 0;
    app->p_DrawObj(52 * 9);
    EXPECT_EQ(Drawn(kImgPlayer, kFrameCorpse), 0);
}

TEST_F(Objects, PlantedAndCarriedFlagsFaceAwayUnlessTheSoldierWalksLeft) {
    OpenCave();
    PlaceColumn(kColumnX, kColumnY, -1);
    app->m_camY = kColumnY - 200;
    Object(0)[kObjKind] = kKindFlagCarried;
    Object(0)[kObjY] = kColumnY;
    Object(1)[kObjKind] = kKindFlagPlanted;
    Object(1)[kObjY] = kColumnY;
    app->m_drawCount = 0;
    app->p_DrawObj(200);
    ASSERT_EQ(app->m_drawCount, 2 * kDrawRecordSize);
    EXPECT_EQ(app->m_drawList[kDrawSizeX], 0.5f) << "carried behind a soldier walking left";
    EXPECT_EQ(app->m_drawList[kDrawRecordSize + kDrawSizeX], -0.5f);
    EXPECT_EQ(app->m_drawList[kDrawY], 200 - 4) << "raised 4 pixels";
}

}  // namespace
