// The battle loop on the virtual clock: dealing, a turn from the mouse to the last message,
// defeat, closing, the inactive pause, the frame timing and the stage.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>

#include "BattleTestKit.h"
#include "assets/battle/BattlePictures.h"
#include "battle/StartWindow.h"
#include "platform/testing/TestSeams.h"

using namespace battletest;
using namespace battle;
using battle::BattleWindow;

namespace {

// Frames a step of the queue lasts when played.
int stepFrames(const battle::PlaybackStep& s) {
    switch (s.code) {
    case battle::kStepPause: return 6;
    case battle::kStepMessage: return 11;
    case battle::kStepMyStore:
    case battle::kStepMyUse:
    case battle::kStepMyRefill:
    case battle::kStepEnemyStore:
    case battle::kStepEnemyUse:
    case battle::kStepEnemyRefill: return 6;
    default: return 1;
    }
}

class BattleLoop : public ::testing::Test {
  protected:
    plat::testing::TestServices ts;
    BattleData d;
    BattleWindow form{ts.services, d.shared};
    LoopState loop;
    std::multimap<int, std::function<void()>> at; // run once when that frame has been drawn
    std::function<void()> every;                  // run at every message pump
    int maxFrames = 3000;

    int frame() { return ts.windows.repaints[&form.stageView]; }

    void run() {
        ts.windows.onEvents = [this] {
            const int f = frame();
            while (!at.empty() && at.begin()->first <= f) {
                auto fn = at.begin()->second;
                at.erase(at.begin());
                fn();
            }
            if (every) every();
            if (f >= maxFrames && form.loaded) ts.windows.unload(form);
            if (ts.text.calls.size() > 20000) ts.text.calls.clear();
        };
        form.load();
        EXPECT_EQ(runBattle(ts.services, form, loop, d.player, d.monster, d.myDeck, d.enemyDeck),
                  0);
    }

    // Points at a card, clicks it and clicks a command in the menu, as the mouse would.
    void choose(int slot, int command) {
        form.playerCardLabels[slot].onMouseMove(0, 0, 10, 10);
        form.playerCardLabels[slot].onClick();
        ASSERT_TRUE(form.commandMenu.visible);
        form.commandButtons[command].onClick();
    }

    int firstPlayable() {
        for (int s = 0; s < battle::kHandSize; ++s) {
            const auto& c = d.shared.myHand[s];
            if (c.state == battle::kCardFree && c.kind != 0) return s;
        }
        return -1;
    }

    bool idle() {
        return !d.shared.playback.active && form.chosenCommand == battle::kCmdNone && form.loaded;
    }

    // The text drawn right after the first call with this text at this position.
    std::string textAfterLast(const std::string& text, int x) {
        const auto& calls = ts.text.calls;
        for (std::size_t i = calls.size(); i-- > 1;) {
            if (calls[i - 1].text == text && calls[i - 1].x == x) return calls[i].text;
        }
        return {};
    }
};

TEST_F(BattleLoop, TheFirstFrameDealsFiveCardsToEachSide) {
    at.emplace(1, [this] {
        for (int s = 0; s < 5; ++s) {
            EXPECT_EQ(d.shared.myHand[s], d.myDeck.pile[s]);
            EXPECT_EQ(loop.enemyHand[s], d.enemyDeck.pile[s]);
            EXPECT_NE(d.shared.myHand[s].kind, 0);
        }
        EXPECT_EQ(loop.me.remaining, 18);
        EXPECT_EQ(loop.enemy.remaining, 18);
        EXPECT_FALSE(loop.me.refillAll);
        EXPECT_EQ(ts.clock.periodDepth, 1);
        EXPECT_TRUE(form.visible);
        ts.windows.unload(form);
    });
    run();
    EXPECT_EQ(ts.clock.periodDepth, 0);
    EXPECT_TRUE(ts.windows.boxes.empty());
}

TEST_F(BattleLoop, ATurnPlaysOneStepPerFrameAndItsMessagesArrive) {
    int resolvedAt = -1, endedAt = -1;
    at.emplace(2, [this] { choose(1, battle::kCmdFlee); });
    every = [&] {
        if (resolvedAt < 0 && d.shared.playback.active) {
            resolvedAt = frame();
            EXPECT_EQ(d.shared.myHand[1].state, battle::kCardChosen);
            EXPECT_EQ(form.chosenCommand, battle::kCmdNone);
            EXPECT_EQ(d.shared.playback.current, 1);
            EXPECT_TRUE(form.messageText.caption.empty());
        }
        if (resolvedAt >= 0 && endedAt < 0 && !d.shared.playback.active) {
            endedAt = frame();
            ts.windows.unload(form);
        }
    };
    run();
    ASSERT_EQ(resolvedAt, 3);
    int expected = 0;
    int damage = 0;
    for (int i = 1; i <= d.shared.playback.last; ++i) {
        expected += stepFrames(loop.queue[i]);
        if (loop.queue[i].code == battle::kStepMyDamage) {
            damage = stepNumber(loop.queue[i].value1);
        }
    }
    EXPECT_EQ(endedAt - resolvedAt, expected);
    EXPECT_EQ(d.player.hp, 200 - damage);
    EXPECT_EQ(d.monster.hp, 200);
    const std::string text = utf8(form.messageText.caption);
    EXPECT_EQ(text.rfind("ニムスは効力数[", 0), 0u) << text;
    EXPECT_TRUE(text.find("逃げるのに失敗した！\r\n") != std::string::npos ||
                text.find("この戦闘は逃げることができません！\r\n") != std::string::npos);
    EXPECT_GT(ts.windows.syncs[&form], 0);
}

TEST_F(BattleLoop, ClosingTheWindowMidTurnEndsWithoutAMessage) {
    at.emplace(2, [this] { choose(0, battle::kCmdAttack); });
    at.emplace(10, [this] {
        EXPECT_TRUE(d.shared.playback.active);
        ts.windows.unload(form);
    });
    run();
    EXPECT_TRUE(ts.windows.boxes.empty());
    EXPECT_EQ(frame(), 10);
    EXPECT_EQ(ts.clock.periodDepth, 0);
}

TEST_F(BattleLoop, ZeroHitPointsFightOnAndMinusOneLoses) {
    at.emplace(2, [this] { d.player.hp = 0; });
    at.emplace(20, [this] {
        EXPECT_TRUE(form.loaded);
        EXPECT_TRUE(ts.windows.boxes.empty());
        d.player.hp = -1;
    });
    run();
    ASSERT_EQ(ts.windows.boxes.size(), 1u);
    EXPECT_EQ(ts.windows.boxes[0].text, u"ニムスは、死んでしまった。戦いは終った…。");
    EXPECT_EQ(ts.windows.boxes[0].buttons, plat::MsgButtons::Ok);
    EXPECT_EQ(ts.windows.boxes[0].icon, plat::MsgIcon::None);
    EXPECT_FALSE(form.loaded);
    EXPECT_EQ(frame(), 20); // the frame that finds the defeat draws nothing more
    EXPECT_EQ(ts.clock.periodDepth, 0);
}

TEST_F(BattleLoop, TheMonsterFallingBelowZeroIsDefeated) {
    at.emplace(3, [this] { d.monster.hp = -5; });
    run();
    ASSERT_EQ(ts.windows.boxes.size(), 1u);
    EXPECT_EQ(ts.windows.boxes[0].text, u"髑髏(ｶﾞｼｬﾄﾞｸﾛ)を倒した！");
}

TEST_F(BattleLoop, AnInactiveWindowHoldsPlaybackAndFrames) {
    // The window turns inactive during frame 8's wait; the pause starts after frame 9.
    int pausedFrame = -1, pausedStep = -1, pumps = 0;
    at.emplace(2, [this] { choose(2, battle::kCmdDefend); });
    at.emplace(8, [this] { ts.windows.active = false; });
    every = [&] {
        if (ts.windows.active || frame() == 8) return;
        if (pausedFrame < 0) {
            pausedFrame = frame();
            pausedStep = d.shared.playback.current;
        }
        EXPECT_EQ(frame(), pausedFrame);
        EXPECT_EQ(d.shared.playback.current, pausedStep);
        if (++pumps == 500) ts.windows.active = true;
    };
    at.emplace(12, [this] { ts.windows.unload(form); });
    run();
    EXPECT_EQ(pausedFrame, 9);
    EXPECT_TRUE(d.shared.playback.active);
    EXPECT_EQ(pumps, 500);
    EXPECT_EQ(frame(), 12);
}

TEST_F(BattleLoop, ClosingWhileInactiveStillEndsTheBattle) {
    at.emplace(3, [this] { ts.windows.active = false; });
    int pumps = 0;
    every = [&] {
        if (!ts.windows.active && ++pumps == 50) ts.windows.unload(form);
    };
    run();
    EXPECT_EQ(frame(), 4);
    EXPECT_TRUE(ts.windows.boxes.empty());
}

TEST_F(BattleLoop, FramesStartFortyMillisecondsApartAndTheRateIsShown) {
    std::vector<std::uint32_t> starts;
    int lastFrame = 0;
    every = [&] {
        if (frame() != lastFrame) {
            lastFrame = frame();
            starts.push_back(ts.clock.timeGetTime());
        }
    };
    at.emplace(1, [this] { EXPECT_EQ(textAfterLast("MP :50", 18), "残り枚数"); });
    at.emplace(2, [this] {
        ASSERT_FALSE(ts.text.calls.empty());
        EXPECT_EQ(ts.text.calls.back().text, "FPS:0");
        EXPECT_EQ(ts.text.calls.back().x, 385);
        EXPECT_EQ(ts.text.calls.back().y, 10);
    });
    maxFrames = 60;
    run();
    ASSERT_GE(starts.size(), 50u);
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_EQ(starts[i] - starts[i - 1], 40u);
    EXPECT_EQ(ts.text.calls.back().text, "FPS:26");
}

TEST_F(BattleLoop, TheStageShowsCardsBarsCursorAndChosenCard) {
    at.emplace(2, [this] {
        d.monster.hp = 100;
        form.playerCardLabels[2].onMouseMove(0, 0, 1, 1);
    });
    at.emplace(3, [this] {
        const plat::Surface& st = form.stageView.surface;
        // Monster's HP bar: half of 60 pixels blue, the rest the red background.
        const auto el = enemyLayout(form);
        EXPECT_EQ(st.pixel(el.hpBar.x + 29, el.hpBar.y + 7), form.bluePicture.surface.pixel(29, 7));
        EXPECT_EQ(st.pixel(el.hpBar.x + 30, el.hpBar.y + 7), form.redPicture.surface.pixel(30, 7));
        EXPECT_NE(form.bluePicture.surface.pixel(29, 7), form.redPicture.surface.pixel(30, 7));
        // The card frame of the cursor around slot 2, the pointer above it.
        EXPECT_EQ(st.pixel(2 * 77 + 5 + 36, 330), form.cursorPictures[1].surface.pixel(36, 0));
        EXPECT_EQ(st.pixel(2 * 77 + 25 + 12, 310 + 8), form.cursorPictures[0].surface.pixel(12, 8));
        // Card backs of both rows, and the skull monster behind the faces.
        EXPECT_EQ(st.pixel(5 + 36, 5 + 100), form.enemyCardPicture.surface.pixel(36, 100));
        EXPECT_EQ(st.pixel(4 * 77 + 5 + 10, 330 + 110),
                  form.playerCardPicture.surface.pixel(10, 110));
        EXPECT_EQ(st.pixel(90 + 100, 110 + 40), form.monsterPicture.surface.pixel(100, 40));
        // The status texts at their rows.
        EXPECT_EQ(textAfterLast("MP :50", 276), "残り枚数");
        EXPECT_EQ(textAfterLast("残り枚数", 276), "23");
        choose(2, battle::kCmdAttack);
    });
    at.emplace(4, [this] {
        // The chosen card carries the red overlay.
        EXPECT_EQ(form.stageView.surface.pixel(2 * 77 + 5 + 4, 330 + 60),
                  form.maskPictures[1].surface.pixel(4, 60));
        ts.windows.unload(form);
    });
    run();
    const auto names = std::count_if(ts.text.calls.begin(), ts.text.calls.end(),
                                     [](const auto& c) { return c.text == "ニムス"; });
    EXPECT_EQ(names, 1); // drawn once, into the background
}

// A stage left as it was must hold what drawing it anew would: after each frame of a battle
// played by a random hand, its pixels and last texts equal a fresh drawing on a second window.
TEST_F(BattleLoop, EveryFrameShowsWhatAFreshDrawingWould) {
    BattleWindow fresh{ts.services, d.shared};
    std::mt19937 mouse(7);
    const auto texts = [this](std::size_t from) {
        std::string all;
        for (auto c = ts.text.calls.begin() + static_cast<std::ptrdiff_t>(from);
             c != ts.text.calls.end(); ++c)
            all += std::to_string(c->x) + "," + std::to_string(c->y) + c->text + "\n";
        return all;
    };
    std::string shown;
    std::size_t seen = 0;
    int kept = 0, last = 0;
    every = [&] {
        if (frame() == std::exchange(last, frame())) return;
        if (ts.text.calls.size() == seen)
            ++kept;
        else
            shown = texts(seen);
        LoopState again = loop;
        again.drawnStamp = 0;
        again.frameRate = {loop.frameRate.lastSecond, 1,
                           static_cast<std::int32_t>(ts.clock.timeGetTime())};
        fresh.flipPicture.surface = form.flipPicture.surface;
        fresh.cursorCard = form.cursorCard;
        seen = ts.text.calls.size();
        drawStage(ts.services, d.shared, again, fresh, d.player, d.monster);
        const plat::Surface& a = form.stageView.surface;
        ASSERT_TRUE(std::equal(a.data(), a.data() + a.width() * a.height(),
                               fresh.stageView.surface.data()));
        EXPECT_TRUE(shown.ends_with(texts(seen))) << frame();
        ts.text.calls.resize(seen);
        const int what = static_cast<int>(mouse() % 24), slot = static_cast<int>(mouse() % 5);
        if (what == 0) form.playerCardLabels[slot].onMouseMove(0, 0, 3, 3);
        if (what == 1 && idle() && firstPlayable() >= 0) choose(firstPlayable(), slot);
    };
    maxFrames = 800;
    run();
    EXPECT_GT(kept, 100);
}

TEST_F(BattleLoop, AHandOfOnlyStoredAndEmptyCardsIsDealtAnew) {
    at.emplace(2, [this] {
        d.shared.myHand = {card(1, 4, battle::kCardStored), card(3, 2, battle::kCardStored),
                           d.shared.emptyCard, d.shared.emptyCard, d.shared.emptyCard};
    });
    at.emplace(4, [this] {
        EXPECT_GE(firstPlayable(), 0);
        for (const auto& c : d.shared.myHand)
            EXPECT_EQ(c.state, battle::kCardFree);
        EXPECT_EQ(loop.me.remaining, 18);
        ts.windows.unload(form);
    });
    run();
}

TEST_F(BattleLoop, ACommandForACardThatCannotBePlayedIsDropped) {
    at.emplace(2, [this] {
        d.shared.myHand[1].state = battle::kCardStored;
        form.chosenCard = 1;
        form.chosenCommand = battle::kCmdAttack;
    });
    at.emplace(3, [this] {
        EXPECT_EQ(form.chosenCommand, battle::kCmdNone);
        EXPECT_FALSE(d.shared.playback.active);
        EXPECT_EQ(d.shared.myHand[1].state, battle::kCardStored);
        form.chosenCard = 7;
        form.chosenCommand = battle::kCmdAttack;
    });
    at.emplace(4, [this] {
        EXPECT_EQ(form.chosenCommand, battle::kCmdNone);
        EXPECT_FALSE(d.shared.playback.active);
        ts.windows.unload(form);
    });
    run();
    EXPECT_TRUE(ts.windows.boxes.empty());
}

TEST_F(BattleLoop, AnUnknownCommandEndsTheBattleWithTheErrorBox) {
    at.emplace(2, [this] {
        form.chosenCard = 0;
        form.chosenCommand = 9;
    });
    run();
    ASSERT_EQ(ts.windows.boxes.size(), 1u);
    EXPECT_EQ(ts.windows.boxes[0].text, u"エラーがおこりますた。");
    EXPECT_EQ(ts.clock.periodDepth, 0);
    EXPECT_EQ(frame(), 2); // the frame that met the error draws nothing
}

TEST_F(BattleLoop, AfterEighteenUsesEmptyCardsFillUsedSlotsUntilTheShuffleAtTwentyThree) {
    at.emplace(1, [this] { d.player.hp = 1000000; });
    int turns = 0;
    bool wasActive = false;
    every = [&] {
        const bool active = d.shared.playback.active;
        if (wasActive && !active) {
            ++turns;
            const int empties = static_cast<int>(
                std::count(d.shared.myHand.begin(), d.shared.myHand.end(), d.shared.emptyCard));
            EXPECT_EQ(empties, std::min(4, std::max(0, turns - 18))) << turns;
            EXPECT_EQ(loop.me.usedCount, turns < 23 ? turns : turns - 23) << turns;
        }
        wasActive = active;
        if (turns == 30) {
            ts.windows.unload(form);
            return;
        }
        if (idle() && !active && frame() >= 2 && firstPlayable() >= 0) {
            choose(firstPlayable(), battle::kCmdFlee);
        }
    };
    at.emplace(2000, [this] { ADD_FAILURE() << "turns stalled"; });
    maxFrames = 2000;
    run();
    EXPECT_EQ(turns, 30);
    // What the counter shows: 23 minus the cards used since the shuffle.
    EXPECT_EQ(textAfterLast("残り枚数", 276), std::to_string(23 - loop.me.usedCount));
}

TEST(SelectWindow, LoadRunsTheBattleAndUnloadsItselfAfterwards) {
    plat::testing::TestServices ts;
    battle::StartWindow sel(ts.services);
    EXPECT_EQ(sel.caption, u"選択肢などない。迷いは振り切れ戦うのみ。");
    EXPECT_EQ(sel.optEnemyChar.caption, u"がしゃどくろ");
    EXPECT_EQ(sel.Command1.caption, u"戦う");
    int frames = 0;
    ts.windows.onEvents = [&] {
        frames = ts.windows.repaints[&sel.battleForm.stageView];
        if (frames == 5 && sel.battleForm.loaded) ts.windows.unload(sel.battleForm);
    };
    sel.load();
    EXPECT_EQ(frames, 5);
    EXPECT_FALSE(sel.visible);
    EXPECT_FALSE(sel.battleForm.loaded);
    EXPECT_EQ(sel.player.hp, 200);
    EXPECT_EQ(ts.windows.unloaded.back(), &sel);
    EXPECT_EQ(ts.clock.periodDepth, 0);
}

TEST(BattleLoopFrames, TheRealLoopRunsOneFrameAtATime) {
    plat::testing::TestServices ts;
    BattleData d;
    BattleWindow form{ts.services, d.shared};
    LoopState state;
    form.load();
    {
        battle::BattleLoop battle(ts.services, form, state, d.player, d.monster, d.myDeck,
                                  d.enemyDeck);
        EXPECT_TRUE(form.visible);
        const std::uint32_t start = ts.clock.timeGetTime();
        ASSERT_TRUE(battle.runOneFrame());
        EXPECT_EQ(ts.clock.timeGetTime() - start, 40u);
        EXPECT_EQ(state.me.remaining, 18);
        // A command given between frames is resolved by the next one.
        form.playerCardLabels[0].onMouseMove(0, 0, 1, 1);
        form.playerCardLabels[0].onClick();
        form.commandButtons[battle::kCmdAttack].onClick();
        ASSERT_TRUE(battle.runOneFrame());
        EXPECT_TRUE(d.shared.playback.active);
        EXPECT_EQ(d.shared.playback.current, 1);
        EXPECT_EQ(battle.runFrames(5), 5);
        // A close between frames ends the loop at the next frame, which draws nothing.
        ts.windows.unload(form);
        EXPECT_FALSE(battle.runOneFrame());
        EXPECT_FALSE(battle.running());
        EXPECT_EQ(battle.runFrames(3), 0);
        EXPECT_EQ(battle.framesRun(), 7);
        EXPECT_EQ(ts.windows.repaints[&form.stageView], 7);
        EXPECT_EQ(ts.clock.periodDepth, 1);
    } // left without finish(): the timer period is given back all the same
    EXPECT_EQ(ts.clock.periodDepth, 0);
    EXPECT_TRUE(ts.windows.boxes.empty());
}

} // namespace
