// Whole battles on the virtual clock, played by a mouse that clicks random cards and commands.
#include <gtest/gtest.h>

#include <random>

#include "BattleTestKit.h"
#include "platform/testing/TestSeams.h"

using namespace battletest;
using namespace battle;

namespace {

struct SimResult {
    int frames = 0;
    int turns = 0;
};

class SimulatedBattle : public ::testing::TestWithParam<int> {
  protected:
    plat::testing::TestServices ts;
    BattleData d;
    battle::BattleWindow form{ts.services, d.shared};
    LoopState loop;
    std::mt19937 mouse;

    int frame() { return ts.windows.repaints[&form.stageView]; }

    // A hit-point change must be the damage step just played.
    void checkHpChange(std::int32_t before, std::int32_t after, std::int16_t code) {
        if (before == after) return;
        const int played = d.shared.playback.current - 1;
        ASSERT_GE(played, 1);
        ASSERT_LT(played, static_cast<int>(loop.queue.size()));
        EXPECT_EQ(loop.queue[played].code, code);
        EXPECT_EQ(before - after, stepNumber(loop.queue[played].value1));
    }

    void checkCards() {
        for (const auto* hand : {&d.shared.myHand, &loop.enemyHand}) {
            for (const auto& c : *hand) {
                EXPECT_GE(c.state, 0);
                EXPECT_LE(c.state, 3);
                EXPECT_GE(c.kind, 0);
                EXPECT_LE(c.kind, 3);
            }
        }
    }

    // One thing the player's hand does in this frame.
    void act() {
        std::uniform_int_distribution<int> pick(0, 9);
        std::uniform_int_distribution<int> slot(0, 4);
        const int what = pick(mouse);
        if (what < 6) {
            const int s = slot(mouse);
            form.playerCardLabels[s].onMouseMove(0, 0, 3, 3);
            form.playerCardLabels[s].onClick();
            if (form.commandMenu.visible) form.commandButtons[slot(mouse)].onClick();
        } else if (what < 8) {
            form.commandButtons[slot(mouse)].onClick(); // whatever the menu shows, or not
        } else {
            form.stageView.onMouseMove(0, 0, 200, 200);
        }
    }

    SimResult play() {
        SimResult r;
        std::int32_t myHp = d.player.hp, enemyHp = d.monster.hp;
        int lastFrame = 0;
        bool wasActive = false;
        ts.windows.onEvents = [&] {
            const int f = frame();
            if (f == lastFrame) return;
            lastFrame = f;
            checkHpChange(myHp, d.player.hp, battle::kStepMyDamage);
            checkHpChange(enemyHp, d.monster.hp, battle::kStepEnemyDamage);
            myHp = d.player.hp;
            enemyHp = d.monster.hp;
            checkCards();
            if (d.shared.playback.active && !wasActive) ++r.turns;
            wasActive = d.shared.playback.active;
            act();
            ts.text.calls.clear();
            if (f >= 20000) {
                ADD_FAILURE() << "the battle did not end";
                ts.windows.unload(form);
            }
        };
        form.load();
        runBattle(ts.services, form, loop, d.player, d.monster, d.myDeck, d.enemyDeck);
        checkHpChange(myHp, d.player.hp, battle::kStepMyDamage);
        checkHpChange(enemyHp, d.monster.hp, battle::kStepEnemyDamage);
        r.frames = frame();
        return r;
    }
};

TEST_P(SimulatedBattle, EndsWithExactlyOneDefeat) {
    const int seed = GetParam();
    ts.random.reseed(static_cast<std::uint64_t>(seed));
    ts.clock.set(static_cast<std::uint32_t>(seed) * 7919u);
    mouse.seed(static_cast<std::uint32_t>(seed));
    const SimResult r = play();

    ASSERT_EQ(ts.windows.boxes.size(), 1u) << "seed " << seed;
    const std::u16string& text = ts.windows.boxes[0].text;
    if (d.player.hp < 0) {
        EXPECT_EQ(text, u"ニムスは、死んでしまった。戦いは終った…。");
        EXPECT_GE(d.monster.hp, 0);
    } else {
        EXPECT_LT(d.monster.hp, 0);
        EXPECT_EQ(text, u"髑髏(ｶﾞｼｬﾄﾞｸﾛ)を倒した！");
    }
    EXPECT_GT(r.turns, 3);
    EXPECT_FALSE(form.loaded);
    EXPECT_EQ(ts.clock.periodDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SimulatedBattle, ::testing::Range(1, 17));

} // namespace
