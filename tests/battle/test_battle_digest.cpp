// The battle's digest: equal states give equal digests, and a change to any one thing that
// decides how the battle goes on changes it.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "BattleTestKit.h"
#include "platform/testing/TestSeams.h"

using namespace battletest;
using namespace battle;

namespace {

// Everything the digest reads, copyable as a whole.
struct State {
    BattleData d;
    LoopState loop;
    std::int16_t cmdIdx = 0;
    std::int32_t cardSelect = 0, cursor = 0;

    std::uint64_t digest(plat::Services& sv) const {
        BattleData copy = d;
        battle::BattleWindow form(sv, copy.shared);
        form.chosenCommand = cmdIdx;
        form.chosenCard = cardSelect;
        form.cursorCard = cursor;
        return battleDigest(form, loop, copy.player, copy.monster, copy.myDeck, copy.enemyDeck);
    }
};

TEST(BattleDigest, EqualForEqualStatesAndChangedByAnyOneField) {
    plat::testing::TestServices ts;
    // A battle a turn in: both hands dealt, the queue filled and playing.
    State base;
    {
        battle::BattleWindow form(ts.services, base.d.shared);
        form.load();
        BattleLoop battle(ts.services, form, base.loop, base.d.player, base.d.monster,
                          base.d.myDeck, base.d.enemyDeck);
        battle.runOneFrame();
        form.chosenCard = 1;
        form.chosenCommand = battle::kCmdAttack;
        battle.runFrames(15);
        base.cmdIdx = form.chosenCommand;
        base.cardSelect = form.chosenCard;
        base.cursor = form.cursorCard;
        battle.finish();
    }
    ASSERT_TRUE(base.d.shared.playback.active);
    const std::uint64_t digest = base.digest(ts.services);
    EXPECT_EQ(State(base).digest(ts.services), digest);

    using battle::PlaybackStep;
    const std::vector<std::pair<const char*, std::function<void(State&)>>> mutations = {
        {"player hp", [](State& s) { --s.d.player.hp; }},
        {"monster attack", [](State& s) { ++s.d.monster.attack; }},
        {"my pile", [](State& s) { s.d.myDeck.pile[5].kind ^= 1; }},
        {"enemy composition", [](State& s) { ++s.d.enemyDeck.cards[0].effect; }},
        {"my hand", [](State& s) { s.d.shared.myHand[2].state ^= 2; }},
        {"enemy hand", [](State& s) { ++s.loop.enemyHand[4].effect; }},
        {"my draws", [](State& s) { --s.loop.me.remaining; }},
        {"my refill", [](State& s) { s.loop.me.refillAll ^= true; }},
        {"playback step", [](State& s) { ++s.d.shared.playback.current; }},
        {"step counter", [](State& s) { s.loop.queue[2].value2 = 3; }},
        {"step value type", [](State& s) { s.loop.queue[3].value2 = false; }},
        {"step added", [](State& s) { s.loop.queue.push_back(PlaybackStep{}); }},
        {"loop command", [](State& s) { s.loop.command = battle::kCmdDefend; }},
        {"window command", [](State& s) { s.cmdIdx = battle::kCmdFlee; }},
        {"chosen card", [](State& s) { s.cardSelect = 3; }},
        {"closing", [](State& s) { s.d.shared.closing ^= true; }},
    };
    std::set<std::uint64_t> seen{digest};
    for (const auto& [what, mutate] : mutations) {
        State s = base;
        mutate(s);
        EXPECT_TRUE(seen.insert(s.digest(ts.services)).second) << what;
    }
}

} // namespace
