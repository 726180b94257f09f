// The frame of play through the real app: a game started from the menu with its intro, the
// column moved by keys and stopped by walls, the soldiers' fire, hits that cost soldiers, the
// game over that enters the score, flags planted at the base and the next level.
#include <cmath>

#include "play_fixture.h"

namespace {

constexpr float kStartX = 3983.5f;
constexpr float kStartY = 3360.0f;
constexpr float kFarX = 62 * 80;  // open ground far from the base
constexpr float kFarY = 52 * 80;

TEST_F(Play, TheMenuStartsAGameWithLevelOneAndItsIntro) {
    app->m_gameState = kStateMenu;
    app->m_menuFocus = 1;
    app->m_menuRow = 1;
    host->Frame();
    host->KeyDown(kKeyEnter);
    host->Frame();
    host->KeyUp(kKeyEnter);
    ASSERT_EQ(app->m_gameState, kStateStartGame);
    app->m_score = 999;
    host->Frame();
    EXPECT_EQ(app->m_gameState, kStatePlay);
    EXPECT_EQ(app->m_vars[kVarLevel], 1);
    EXPECT_EQ(app->m_introTimer, 1);
    EXPECT_EQ(app->m_score, 0);
    EXPECT_EQ(app->m_maxObjects, 100);
    EXPECT_EQ(app->m_vars[kVarSoldiers], 4);

    host->Frames(90);
    EXPECT_EQ(app->m_introTimer, 91);
    EXPECT_EQ(Drawn(kImgRocks), 0) << "no play under the opaque cover";
    host->Frame();
    EXPECT_GT(Drawn(kImgRocks), 0) << "play runs from intro frame 91";
    EXPECT_EQ(Drawn(kImgPlayer), 4);
    EXPECT_NE(DrawnText().find("00000000"), std::string::npos) << "the score panel";
    EXPECT_NE(DrawnText().find("1st"), std::string::npos) << "the highscore to beat";
}

TEST_F(Play, KeysRampTheColumnUpAndAWallStopsIt) {
    OpenCave();
    Rock(67, 65);
    host->KeyDown(kKeyRight);
    host->Frame();
    EXPECT_NEAR(Var(kVarPlayerX), kStartX + 0.15f * 2.5f, 1e-3) << "the first frame moves at 0.15";
    host->Frames(7);
    EXPECT_NEAR(Var(kVarPlayerX) - Var(kVarTrailX + 1), 2.5f, 1e-3) << "full speed after seven frames";
    host->Frames(120);
    host->KeyUp(kKeyRight);
    const float x = Var(kVarPlayerX);
    EXPECT_GT(x, 62 * 66 - 31 + 46) << "it reached the last open cell";
    EXPECT_LE(x, 62 * 66 - 31 + 46 + 2.5f) << "and stops 15 pixels short of the rock";
    EXPECT_EQ(Var(kVarPlayerY), kStartY);
    EXPECT_EQ(Var(kVarFacing), 1);
    host->KeyDown(kKeyLeft);
    host->Frames(10);
    host->KeyUp(kKeyLeft);
    EXPECT_LT(Var(kVarPlayerX), x);
    EXPECT_EQ(Var(kVarFacing), -1);
    host->Frames(6);
}

struct CornerCase {
    const char* corner;
    int dc, dr;        // the solid diagonal neighbour
    float mx, my;      // offset in the cell
    float wantDx, wantDy;
};
const CornerCase kCorners[] = {
    {"up-left", -1, -1, 5, 5, -0.5f, 0},
    {"down-left", -1, 1, 5, 45, 0, 0.5f},
    {"up-right", 1, -1, 50, 5, 0, -0.5f},
    {"down-right", 1, 1, 50, 45, 0.5f, 0},
};

TEST_F(Play, DiagonalIntoACornerSlidesAtHalfSpeedAlongOneAxis) {
    OpenCave();
    for (const CornerCase& k : kCorners) {
        Rock(70 + k.dc, 70 + k.dr);
        const float x = 62 * 70 - 31 + k.mx, y = 52 * 70 - 26 + k.my;
        Var(kVarPlayerX) = x;
        Var(kVarPlayerY) = y;
        app->m_moveX = static_cast<float>(k.dc);
        app->m_moveY = static_cast<float>(k.dr);
        app->MoveColumn();
        EXPECT_FLOAT_EQ(Var(kVarPlayerX) - x, k.wantDx) << k.corner;
        EXPECT_FLOAT_EQ(Var(kVarPlayerY) - y, k.wantDy) << k.corner;
        Cell(70 + k.dc, 70 + k.dr)[kCellSolid] = 0;
    }
}

TEST_F(Play, TheTrailPassesFacingsAlwaysAndPositionsOnlyWhenMoving) {
    OpenCave();
    PlaceColumn(kFarX, kFarY, 1);
    Var(kVarFacing) = -1;
    app->ShiftTrail();
    EXPECT_EQ(app->m_moved, 0);
    EXPECT_EQ(Var(kVarTrailFacing), -1);
    EXPECT_EQ(Var(kVarTrailFacing + 1), 1);
    EXPECT_EQ(Var(kVarTrailX + 1), kFarX - 1) << "standing still keeps the spacing";
    Var(kVarPlayerX) -= 2;
    app->ShiftTrail();
    EXPECT_EQ(app->m_moved, 1);
    EXPECT_EQ(Var(kVarTrailX), kFarX - 2);
    EXPECT_EQ(Var(kVarTrailX + 1), kFarX);
    EXPECT_EQ(Var(kVarTrailFacing + 1), -1);
}

TEST_F(Play, FireSendsOneBulletSidewaysFromEachFreeHandedSoldier) {
    struct FireCase {
        int flags, shots;
        float facing;
    };
    for (FireCase f : {FireCase{0, 4, -1}, FireCase{2, 2, 1}, FireCase{4, 0, 1}}) {
        OpenCave();
        PlaceColumn(kFarX, kFarY, f.facing);
        for (int k = 0; k < f.flags; ++k) Object(k)[kObjKind] = kKindFlagCarried + k;
        Var(kVarFlagsCarried) = static_cast<float>(f.flags);
        for (int k = 0; k < 4; ++k) Var(kVarCooldown + k) = 0;
        host->KeyDown(kKeyFire);
        host->Frame();
        host->KeyUp(kKeyFire);
        EXPECT_EQ(CountKind(app->m_bullets, kKindPlayerBullet), f.shots) << f.flags << " flags";
        for (int slot = 0; slot < f.shots; ++slot) {
            EXPECT_EQ(Bullet(slot)[kBulDx], 4 * f.facing);
            EXPECT_EQ(Bullet(slot)[kBulY], kFarY - 3);
            EXPECT_EQ(Bullet(slot)[kBulLife], 59) << "it flew one frame already";
        }
        if (f.flags == 2) {
            EXPECT_EQ(Bullet(0)[kBulX], Var(kVarTrailX + 24) + 8) << "soldier 3 fires first";
        }
        if (f.shots > 0) {
            EXPECT_EQ(LastSound(), 21);
        }
    }
}

TEST_F(Play, FiveEnemyHitsCostTheLastSoldierWhoLeavesACorpse) {
    OpenCave();
    PlaceColumn(kFarX, kFarY);
    const float lastX = Var(kVarTrailX + 36);
    for (int hit = 1; hit <= 5; ++hit) {
        float* b = Bullet(0);
        b[kBulKind] = kKindEnemyBullet;
        b[kBulX] = kFarX;
        b[kBulY] = kFarY;
        b[kBulDx] = 0;
        b[kBulLife] = 69;
        host->Frame();
        EXPECT_EQ(b[kBulKind], 0) << "a hit spends the bullet";
        if (hit < 5) {
            EXPECT_EQ(Var(kVarDamage), -hit);
            EXPECT_EQ(Var(kVarSoldiers), 4);
            int sound = LastSound();
            EXPECT_TRUE(sound >= 23 && sound <= 26) << sound;
        }
    }
    EXPECT_EQ(Var(kVarDamage), 0);
    EXPECT_EQ(Var(kVarSoldiers), 3);
    ASSERT_EQ(CountKind(app->m_objects, kKindCorpse), 1);
    EXPECT_EQ(Object(0)[kObjX], lastX);
    EXPECT_EQ(Object(0)[kObjY], kFarY);
}

TEST_F(Play, ASoldierCarryingAFlagWhenTheColumnShrinksDropsIt) {
    OpenCave();
    PlaceColumn(kFarX, kFarY);
    for (int k = 0; k < 4; ++k) Object(k)[kObjKind] = kKindFlagCarried + k;
    Var(kVarFlagsCarried) = 4;
    Var(kVarDamage) = -5;
    host->Frame();
    EXPECT_EQ(Var(kVarSoldiers), 3);
    EXPECT_EQ(Var(kVarFlagsCarried), 3);
    host->Frame();
    EXPECT_EQ(Object(3)[kObjKind], kKindFlag) << "the fourth flag lies where it fell";
}

TEST_F(Play, WithNoFreeObjectSlotNobodyIsLost) {
    OpenCave();
    PlaceColumn(kFarX, kFarY);
    for (int slot = 0; slot < kSlotsInUse; ++slot) {
        Object(slot)[kObjKind] = kKindCorpse;
        Object(slot)[kObjY] = 0;
    }
    Var(kVarDamage) = -5;
    host->Frame();
    EXPECT_EQ(Var(kVarDamage), 0);
    EXPECT_EQ(Var(kVarSoldiers), 4);
}

TEST_F(Play, WithoutSoldiersTheGameEndsAndTheScoreEntersTheTables) {
    OpenCave();
    app->m_score = 4321;
    Var(kVarSoldiers) = 0;
    host->KeyDown(kKeyRight);
    host->Frames(20);
    host->KeyUp(kKeyRight);
    EXPECT_EQ(Var(kVarPlayerX), kStartX) << "an empty column cannot move";
    host->Frames(100);
    EXPECT_EQ(app->m_gameOverTimer, 0) << "the panel waits 120 frames";
    host->Frame();
    EXPECT_EQ(app->m_gameOverTimer, 1);
    EXPECT_EQ(app->m_gameOverAnim, 1);
    const int saves = host->saves;
    host->Frames(88);
    EXPECT_EQ(app->m_gameState, kStatePlay);
    EXPECT_NE(DrawnText().find("GAMEOVER"), std::string::npos);
    host->Frame();
    EXPECT_EQ(app->m_gameState, kStateReturnToMenu) << "90 frames of the panel";
    host->Frame();
    EXPECT_EQ(app->m_gameState, kStateMenu);
    EXPECT_EQ(app->m_scores[30 + 10], 4321) << "the most recent Normal game";
    bool top = false;
    for (int i = 10; i < 20; ++i) top = top || app->m_scores[i] == 4321;
    EXPECT_TRUE(top);
    EXPECT_EQ(host->saves, saves + 1);
    EXPECT_NE(text_of(host->savedState).find("4321"), std::string::npos);
    EXPECT_GT(app->m_gameOverAnim, 0) << "the panel winds down over the menu";
    host->Frames(40);
    EXPECT_EQ(app->m_gameOverAnim, 0);
}

struct PlantCase {
    int flags, sound;
};
const PlantCase kPlantings[] = {{1, 2}, {2, 3}, {3, 4}, {4, 5}};

TEST_F(Play, PlantingFlagsScoresNSquaredAndRaisesTheSound) {
    for (const PlantCase& p : kPlantings) {
        OpenCave();
        app->m_score = 0;
        for (int k = 0; k < p.flags; ++k) Object(10 + k)[kObjKind] = kKindFlagCarried + k;
        Var(kVarFlagsCarried) = static_cast<float>(p.flags);
        host->Frame();
        EXPECT_EQ(app->m_score, p.flags * p.flags * 250) << p.flags;
        EXPECT_EQ(LastSound(), p.sound) << p.flags;
        EXPECT_EQ(Var(kVarFlagsCarried), 0);
        EXPECT_EQ(CountKind(app->m_objects, kKindFlagPlanted), p.flags);
        EXPECT_EQ(Cell(63, 64)[kCellValue], kCellBasePlanted) << "the first slot in planting order";
        EXPECT_EQ(Object(10)[kObjX], 3906);
        EXPECT_EQ(Object(10)[kObjY], 3328);
        int popup = -1;
        for (int slot = 0; slot <= app->m_maxParticles; ++slot) {
            if (Particle(slot)[kPartKind] == kKindNumber) popup = slot;
        }
        ASSERT_GE(popup, 0);
        EXPECT_EQ(Particle(popup)[kPartValue], p.flags * p.flags * 250);
    }
}

TEST_F(Play, AllFivePlantedInViewCompleteTheLevelAndTheNextOneFollows) {
    OpenCave();
    for (auto slot : {std::pair{63, 64}, {65, 64}, {63, 65}, {64, 65}, {65, 65}}) {
        Cell(slot.first, slot.second)[kCellValue] = kCellBasePlanted;
    }
    app->m_score = 777;
    host->Frames(50);
    EXPECT_EQ(Var(kVarCompleteTimer), 50);
    EXPECT_EQ(app->m_musicOn, 0) << "the music stops at frame 5";
    EXPECT_NE(DrawnText().find("LEVELCOMPLETE"), std::string::npos);

    PlaceColumn(kFarX, kFarY);
    host->Frames(10);
    EXPECT_EQ(Var(kVarCompleteTimer), 50) << "out of view the banner waits";
    PlaceColumn(kStartX, kStartY);
    host->Frames(250);
    EXPECT_EQ(Var(kVarCompleteTimer), 300);
    host->Frame();
    EXPECT_EQ(Var(kVarLevel), 2);
    EXPECT_EQ(Var(kVarCompleteTimer), 0);
    EXPECT_GT(app->m_introTimer, 0) << "the next level's intro";
    while (app->m_introTimer != 0) host->Frame();
    EXPECT_EQ(Cell(63, 64)[kCellValue], kCellBaseSlot);
    EXPECT_EQ(CountKind(app->m_objects, kKindFlag), 5);
    EXPECT_EQ(Var(kVarSoldiers), 4);
    EXPECT_EQ(app->m_score, 777) << "the score carries over";
}

TEST_F(Play, BackPausesTheGameButNotOnceItIsOver) {
    OpenCave();
    host->KeyDown(kKeyEscape);
    host->Frame();
    host->KeyUp(kKeyEscape);
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_pauseSel, 1);
    EXPECT_EQ(LastSound(), 98);
    const float x = Var(kVarPlayerX);
    host->KeyDown(kKeyRight);
    host->Frames(5);
    host->KeyUp(kKeyRight);
    EXPECT_EQ(Var(kVarPlayerX), x) << "paused play stands still";
    app->m_paused = 0;
    host->Frames(2);

    app->m_gameOverTimer = 1;
    host->KeyDown(kKeyEscape);
    host->Frame();
    host->KeyUp(kKeyEscape);
    EXPECT_EQ(app->m_paused, 0);
    app->m_gameOverTimer = 0;
    app->m_gameOverAnim = 0;
}

TEST_F(Play, AClickOnThePauseIconPausesAndPointerPlayShowsAnArrow) {
    OpenCave();
    app->m_inputMode = 2;
    host->Render();  // the screen fit that maps the mouse to the virtual screen
    host->Frame();
    EXPECT_NE(DrawnText().find("<-"), std::string::npos);
    host->MouseDown(16, 16);
    host->Frame();
    host->MouseUp(16, 16);
    EXPECT_EQ(app->m_paused, 1);
    app->m_paused = 0;
    app->m_inputMode = 0;
    host->Frames(2);
    app->m_hudHidden = 1;
    host->Frame();
    EXPECT_EQ(Drawn(kImgIcons, 0), 0) << "a hidden HUD has no pause icon";
    app->m_hudHidden = 0;
}

TEST_F(Play, TheCameraEasesTowardTheColumn) {
    OpenCave();
    PlaceColumn(kStartX + 120, kStartY);
    const float before = app->m_camX;
    host->Frames(2);
    const float target = kStartX + 120 - kv_Tol_jscrw * 0.5f;
    EXPECT_NEAR(app->m_camX - before, (target - before) / 12, 1e-2) << "a twelfth of the way per frame";
}

}  // namespace
