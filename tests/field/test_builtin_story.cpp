// The built-in scenario piece by piece on the real program: the opening scene, the gatekeeper,
// the catching game, the runaway's flight, the ladders, the heap, the sign and the goal.
#include <gtest/gtest.h>

#include "field/EventObjects.h"
#include "tests/support/playbot.h"

namespace {

using playbot::Cell;
using playbot::Demo;

const std::u16string kTask =
    u"上に行きたいのじゃろう？\r・・・そうじゃな、あそこに走り回っているやつがおるじゃろう。\r"
    u"あやつを捕まえて降参させることが出来たら通してやらんこともないぞい。";

// The demo after its opening scene, with every walking object held where it stands (a step
// that never completes), so that a test decides who meets whom.
struct Story : Demo {
    Story() {
        start();
        settle(1000);
        windows.boxes.clear();
        for (int n : {playbot::kWanderer, playbot::kOwner, playbot::kRunaway})
            hold(n);
    }
    void hold(int n) {
        obj(n).stepInterval = 1 << 30;
        obj(n).stepFrames = 0;
    }
    void putPlayer(int layer, Cell c) {
        world.player.layer = static_cast<std::int16_t>(layer);
        world.player.x = c.x;
        world.player.y = c.y;
    }
    void putObject(int n, Cell c) { field::placeEventObject(world, n, 0, 2, c.x, c.y); }
    // One step in a direction, then the event it fired, if any, played out.
    void push(int dx, int dy) {
        step(dx, dy);
        settle();
    }
};

TEST(BuiltinStory, OpeningSceneHoldsThePlayerUntilItsEnd) {
    Demo d;
    d.start();
    d.ts.keyboard.press(plat::vk::Right);
    d.frames(60);
    EXPECT_EQ(d.player(), (Cell{1, 2}));
    EXPECT_NE(d.world.inputLocked, 0);
    d.ts.keyboard.releaseAll();
    ASSERT_TRUE(d.settle(1000));
    // The owner walked three cells left and two up, and the two turned to each other.
    EXPECT_EQ((Cell{d.obj(playbot::kOwner).x, d.obj(playbot::kOwner).y}), (Cell{1, 3}));
    EXPECT_EQ(d.obj(playbot::kOwner).facing, 0);
    EXPECT_EQ(d.obj(playbot::kOwner).stepInterval, 20);
    EXPECT_EQ(d.world.player.facing, 2);
    EXPECT_EQ(d.messages().size(), 3u);
    EXPECT_EQ(d.flag(1), 0);
    EXPECT_EQ(d.flag(2), 0);
    ASSERT_TRUE(d.step(1, 0));
    EXPECT_EQ(d.player(), (Cell{1, 2})) << "(2, 2) is a wall: the step is refused";
    EXPECT_EQ(d.world.player.facing, 1);
}

TEST(BuiltinStory, GatekeeperWaitsForTheRunawayToGiveUp) {
    Story s;
    s.putPlayer(0, {5, 4});
    s.push(1, 0);
    EXPECT_EQ(s.messages(), std::vector<std::u16string>{kTask});
    EXPECT_EQ(s.flag(1), 1);
    EXPECT_EQ(s.obj(5).visible, 0);
    EXPECT_EQ(s.obj(6).enabled, 0);
    EXPECT_NE(s.obj(playbot::kGatekeeper).enabled, 0);
    EXPECT_EQ(s.obj(playbot::kRunaway).stepInterval, 1 << 30) << "only read, never set";

    // Asked again before the runaway gave up: the same answer.
    s.push(1, 0);
    EXPECT_EQ(s.messages().size(), 2u);
    EXPECT_EQ(s.flag(1), 1);

    s.setFlag(1, 4);
    s.push(1, 0);
    EXPECT_EQ(s.messages(), (std::vector<std::u16string>{
                                kTask, kTask, u"ふむ。仕方ない・・・",
                                u"道は開かれた。行くが良い\rわしは暫しの間休むとしよう・・・"}));
    for (int n : {5, 6}) {
        EXPECT_NE(s.obj(n).visible, 0);
        EXPECT_NE(s.obj(n).enabled, 0);
    }
    // Resting: it fires no more, but still stands in the way.
    EXPECT_EQ(s.obj(playbot::kGatekeeper).enabled, 0);
    s.push(1, 0);
    EXPECT_EQ(s.messages().size(), 4u);
    EXPECT_EQ(s.player(), (Cell{5, 4}));
}

TEST(BuiltinStory, CatchingGameCountsThreeCatches) {
    Story s;
    auto catchAt = [&](Cell r) {
        s.putObject(playbot::kRunaway, r);
        s.putPlayer(0, {r.x - 1, r.y});
        s.push(1, 0);
    };
    // Before the gatekeeper asked for it, the runaway only plays.
    catchAt({7, 1});
    EXPECT_EQ(s.messages(), std::vector<std::u16string>{u"わーい"});
    EXPECT_EQ(s.flag(1), 0);
    EXPECT_EQ((Cell{s.obj(playbot::kRunaway).x, s.obj(playbot::kRunaway).y}), (Cell{7, 1}));

    s.setFlag(1, 1);
    catchAt({7, 1});
    EXPECT_EQ(s.messages().back(), u"まだまだ");
    EXPECT_EQ(s.flag(1), 2);
    // It jumped to a free cell of the ground layer's character plane and is named there.
    const auto& r = s.obj(playbot::kRunaway);
    EXPECT_EQ(s.world.cell(0, 2, r.x, r.y).eventId, playbot::kRunaway);
    EXPECT_EQ(s.world.cell(0, 0, r.x, r.y).kind, 1);

    catchAt({7, 1});
    EXPECT_EQ(s.messages().back(), u"もういっちょ");
    EXPECT_EQ(s.flag(1), 3);

    catchAt({7, 1});
    EXPECT_EQ(s.flag(1), 4);
    const auto& m = s.messages();
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[3], u"参った・・・僕の負けだよ");
    EXPECT_EQ(m[4], u"門番のところに行けば、もう開けてくれると思うよ");
    EXPECT_EQ(r.stepInterval, 2);
    EXPECT_EQ((Cell{r.x, r.y}), (Cell{7, 1})) << "giving up, it stays";

    s.hold(playbot::kRunaway);
    catchAt({7, 1});
    EXPECT_EQ(s.messages().back(), u"わーい");
    EXPECT_EQ(s.flag(1), 4);
}

TEST(BuiltinStory, RunawayStepsAwayFromThePlayer) {
    Story s;
    auto& r = s.obj(playbot::kRunaway);
    s.putObject(playbot::kRunaway, {7, 2});
    r.stepInterval = 2;
    r.moving = 0;
    r.run = {};
    s.putPlayer(0, {7, 3});
    for (int i = 0; i < 10 && r.y == 2; ++i)
        s.frame();
    EXPECT_EQ((Cell{r.x, r.y}), (Cell{7, 1}));
}

TEST(BuiltinStory, RunawayNeverMovesTowardThePlayer) {
    for (Cell p : {Cell{7, 4}, Cell{0, 0}, Cell{3, 2}, Cell{8, 5}}) {
        Story s;
        auto& r = s.obj(playbot::kRunaway);
        r.stepInterval = 2;
        r.moving = 0;
        r.run = {};
        s.putPlayer(0, p);
        int moves = 0;
        for (int i = 0; i < 400; ++i) {
            const Cell before{r.x, r.y};
            const int toward = field::directionToPlayer(s.world, playbot::kRunaway);
            s.frame();
            const int dx = r.x - before.x, dy = r.y - before.y;
            if (dx == 0 && dy == 0) continue;
            ++moves;
            ASSERT_LE(playbot::chebyshev(before, {r.x, r.y}), 1);
            const bool towardPlayer = (toward == 0 && dy < 0) || (toward == 1 && dx > 0) ||
                                      (toward == 2 && dy > 0) || (toward == 3 && dx < 0);
            EXPECT_FALSE(towardPlayer)
                << "from (" << before.x << ", " << before.y << ") by (" << dx << ", " << dy
                << "), player at (" << p.x << ", " << p.y << ")";
        }
        EXPECT_GT(moves, 5);
        EXPECT_TRUE(s.messages().empty());
    }
}

TEST(BuiltinStory, LaddersChangeTheLayerAtTheirEnds) {
    Story s;
    // The ladder to the island is closed at first: stepping on its foot does nothing.
    s.putPlayer(0, {5, 3});
    s.push(0, -1);
    EXPECT_EQ(s.player(), (Cell{5, 2}));
    EXPECT_EQ(s.world.player.layer, 0);
    EXPECT_EQ(s.world.systemScriptActive, 0);

    s.obj(5).enabled = -1;
    s.obj(6).enabled = -1;
    s.push(0, 1);
    s.push(0, -1);
    EXPECT_EQ(s.world.player.layer, 1) << "foot of the ladder";
    s.push(0, -1);
    s.push(0, 1);
    EXPECT_EQ(s.world.player.layer, 0) << "top of the ladder";

    const struct {
        int layer;
        Cell from;
        int dx, dy;
        int arrivesOn;
    } ends[] = {
        {1, {4, 1}, -1, 0, 2}, // object 12
        {2, {2, 1}, 1, 0, 1},  // object 13
        {2, {1, 3}, -1, 0, 1}, // object 14
        {1, {0, 4}, 1, 0, 0},  // object 15
        {1, {0, 3}, 1, 0, 0},  // object 16
    };
    for (const auto& e : ends) {
        s.putPlayer(e.layer, e.from);
        s.push(e.dx, e.dy);
        EXPECT_EQ(s.player(), (Cell{e.from.x + e.dx, e.from.y + e.dy}));
        EXPECT_EQ(s.world.player.layer, e.arrivesOn) << "from layer " << e.layer;
    }
    EXPECT_TRUE(s.messages().empty());
}

TEST(BuiltinStory, HeapSignAndWandererSpeak) {
    Story s;
    s.putPlayer(0, {3, 3});
    s.push(0, 1);
    EXPECT_EQ(s.messages(), std::vector<std::u16string>{u"踏んじゃった・・・"});

    // The sign speaks only when examined, not when walked onto.
    s.putPlayer(0, {1, 3});
    s.push(1, 0);
    EXPECT_EQ(s.player(), (Cell{2, 3}));
    EXPECT_EQ(s.messages().size(), 1u);
    s.examine();
    s.settle();
    EXPECT_EQ(s.messages().back(), u"天に上りたくば、門番に話しかけよ");

    // The wanderer turns to the player before giving its hint.
    auto& w = s.obj(playbot::kWanderer);
    s.putObject(playbot::kWanderer, {6, 0});
    w.facing = 2;
    s.putPlayer(0, {7, 0});
    s.step(-1, 0);
    s.frame();
    EXPECT_EQ(w.facing, 1);
    s.settle();
    EXPECT_EQ(s.messages().back(), u"足元にあるものを、見たり取ったりしたい時は\r"
                                   u"エンターかスペースを押してくださいね");
}

TEST(BuiltinStory, GoalWantsTheTreasure) {
    Story s;
    // The owner stands right below the player after the opening scene.
    ASSERT_EQ((Cell{s.obj(playbot::kOwner).x, s.obj(playbot::kOwner).y}), (Cell{1, 3}));
    s.push(0, 1);
    EXPECT_EQ(s.messages(), std::vector<std::u16string>{
                                u"あの宙に浮く島にある宝を持ってきてください。お願いします。"});
    EXPECT_EQ(s.world.inputLocked, 0);
    EXPECT_EQ(s.world.shadeLevel, 0);

    s.setFlag(2, 1);
    s.step(0, 1);
    s.frames(200);
    EXPECT_EQ(s.messages().size(), 6u);
    EXPECT_EQ(s.messages().back(), u"The End.");
    EXPECT_EQ(s.world.shadeLevel, 1);
    EXPECT_NE(s.world.inputLocked, 0);
    EXPECT_NE(s.world.systemScriptActive, 0);
}

TEST(BuiltinStory, TreasureIsTakenOnce) {
    Story s;
    s.putPlayer(1, {0, 4});
    s.examine();
    s.settle();
    EXPECT_EQ(s.messages(), std::vector<std::u16string>{u"「宝物」を手に入れた！"});
    EXPECT_EQ(s.flag(2), 1);
    EXPECT_EQ(s.obj(8).visible, 0);
    s.examine();
    s.settle();
    EXPECT_EQ(s.messages().size(), 1u);
}

TEST(BuiltinStory, WalkersStepAtTheirOwnPace) {
    Demo d;
    d.start();
    d.settle(1000);
    // Frames between moves of the wanderers and of the runaway: a step waits its interval.
    auto gaps = [&](int n, int frames) {
        std::vector<int> out;
        Cell last{d.obj(n).x, d.obj(n).y};
        int since = 0;
        for (int i = 0; i < frames; ++i) {
            d.frame();
            ++since;
            const Cell now{d.obj(n).x, d.obj(n).y};
            if (!(now == last)) out.push_back(since);
            if (!(now == last)) since = 0;
            last = now;
        }
        return out;
    };
    for (int g : gaps(playbot::kWanderer, 200))
        EXPECT_EQ(g % 22, 0) << g;
    const auto r = gaps(playbot::kRunaway, 100);
    ASSERT_FALSE(r.empty());
    for (int g : r)
        EXPECT_EQ(g % 4, 0) << g;
}

} // namespace
