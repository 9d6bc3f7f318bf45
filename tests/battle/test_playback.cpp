// Playback of the queue, one step per frame.
#include <gtest/gtest.h>

#include "BattleTestKit.h"
#include "platform/testing/TestSeams.h"

using namespace battletest;
using namespace battle;

namespace {

class Playback : public ::testing::Test {
  protected:
    BattleData d;
    LoopState loop;
    plat::TextBox txt{"txtMsg"};
    std::int32_t count = 0;

    void add(std::int16_t code, battle::StepValue v1, battle::StepValue v2 = std::int32_t{0}) {
        queueStep(count, loop.queue, code, v1, v2);
    }
    void start() { d.shared.playback = {true, 0, count}; }
    // Frames until the playback moves past step `index`.
    int framesFor(int index) {
        int frames = 0;
        while (d.shared.playback.active && d.shared.playback.current <= index && frames < 1000) {
            playQueuedStep(d.shared, loop, d.player, d.monster, txt);
            ++frames;
        }
        return frames;
    }
};

TEST_F(Playback, StepsLastTheirFrames) {
    add(battle::kStepPause, std::u16string(u"5"), std::u16string());
    add(battle::kStepMessage, std::u16string(u"hello\r\n"));
    add(battle::kStepMyUse, std::int32_t{2});
    add(battle::kStepEnemyDamage, std::int32_t{16}, std::u16string());
    add(battle::kStepMyDamage, std::int32_t{3}, std::u16string());
    start();
    EXPECT_EQ(framesFor(0), 1); // the idle step
    EXPECT_EQ(framesFor(1), 6);
    int frames = 0;
    while (d.shared.playback.current == 2) {
        EXPECT_TRUE(txt.caption.empty());
        playQueuedStep(d.shared, loop, d.player, d.monster, txt);
        ++frames;
    }
    EXPECT_EQ(frames, 11);
    EXPECT_EQ(txt.caption, u"hello\r\n");
    EXPECT_EQ(framesFor(3), 6);
    EXPECT_EQ(d.shared.myHand[2].state, battle::kCardUsed);
    EXPECT_EQ(loop.me.usedCount, 1);
    EXPECT_EQ(framesFor(4), 1);
    EXPECT_EQ(d.monster.hp, 184);
    EXPECT_TRUE(d.shared.playback.active);
    EXPECT_EQ(framesFor(5), 1);
    EXPECT_EQ(d.player.hp, 197);
    EXPECT_FALSE(d.shared.playback.active);
}

TEST_F(Playback, SlotStepsActOnTheirOwnSide) {
    add(battle::kStepMyStore, std::int32_t{1});
    add(battle::kStepEnemyUse, std::int32_t{4});
    add(battle::kStepEnemyStore, std::int32_t{0});
    add(battle::kStepMyRefill, true);
    add(battle::kStepEnemyRefill, true);
    loop.me.refillAll = false;
    loop.enemy.refillAll = false;
    start();
    framesFor(5);
    EXPECT_EQ(d.shared.myHand[1].state, battle::kCardStored);
    EXPECT_EQ(loop.enemyHand[4].state, battle::kCardUsed);
    EXPECT_EQ(loop.enemyHand[0].state, battle::kCardStored);
    EXPECT_EQ(loop.enemy.usedCount, 1);
    EXPECT_EQ(loop.me.usedCount, 0);
    EXPECT_TRUE(loop.me.refillAll);
    EXPECT_TRUE(loop.enemy.refillAll);
}

TEST_F(Playback, MessagesAppendToWhatTheBoxHolds) {
    txt.caption.assign(1, u'a');
    add(battle::kStepMessage, std::u16string(u"b"));
    add(battle::kStepMessage, std::u16string(u"c"));
    start();
    framesFor(2);
    EXPECT_EQ(txt.caption, u"abc");
}

TEST_F(Playback, OddStepValuesNeitherHangNorReachOutsideTheHand) {
    add(battle::kStepMyUse, std::int32_t{7});                          // no such slot
    add(battle::kStepEnemyUse, std::int32_t{-1});                      // no such slot
    add(battle::kStepMessage, std::u16string(u"x"), std::int32_t{99}); // counter past its end
    add(battle::kStepPause, std::int32_t{-3});                         // nothing to wait
    add(battle::kStepMyUse, std::int32_t{1}, std::u16string(u"zz"));   // unreadable counter
    add(42, std::int32_t{1});                                          // unknown code
    start();
    const Hand before = d.shared.myHand;
    int frames = 0;
    while (d.shared.playback.active && frames < 100) {
        playQueuedStep(d.shared, loop, d.player, d.monster, txt);
        ++frames;
    }
    EXPECT_FALSE(d.shared.playback.active);
    EXPECT_EQ(frames, 1 + 6 + 6 + 1 + 1 + 6 + 1);
    EXPECT_EQ(d.shared.myHand[0], before[0]);
    EXPECT_EQ(d.shared.myHand[1].state, battle::kCardUsed);
    EXPECT_EQ(txt.caption, u"x");
}

TEST_F(Playback, DamageSaturatesInsteadOfWrapping) {
    add(battle::kStepMyDamage, std::int32_t{std::numeric_limits<std::int32_t>::max()},
        std::u16string());
    add(battle::kStepMyDamage, std::int32_t{std::numeric_limits<std::int32_t>::max()},
        std::u16string());
    start();
    framesFor(2);
    EXPECT_EQ(d.player.hp, std::numeric_limits<std::int32_t>::min());
}

TEST_F(Playback, AQueueShorterThanItsLastIndexEndsThePlayback) {
    add(battle::kStepMyDamage, std::int32_t{1}, std::u16string());
    d.shared.playback = {true, 0, 50};
    for (int i = 0; i < 5; ++i)
        playQueuedStep(d.shared, loop, d.player, d.monster, txt);
    EXPECT_FALSE(d.shared.playback.active);
    EXPECT_EQ(d.player.hp, 199);
}

} // namespace
