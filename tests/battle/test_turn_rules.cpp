// Turn resolution: the queue of steps and the messages, word for word, for each command.
#include <gtest/gtest.h>

#include "BattleTestKit.h"
#include "platform/testing/TestSeams.h"

using namespace battletest;
using namespace battle;
using battle::kCardChosen;
using battle::kCardStored;
using battle::kCardUsed;

namespace {

const std::string kMe = "ニムス";
const std::string kFoe = "髑髏(ｶﾞｼｬﾄﾞｸﾛ)";

std::string choice(int mine, const std::string& myAction, int theirs,
                   const std::string& theirAction) {
    return kMe + "は効力数[" + std::to_string(mine) + "]の[" + myAction + "]を選択した。\r\n" +
           kFoe + "は効力数[" + std::to_string(theirs) + "]の[" + theirAction + "]を選択した。\r\n";
}

class TurnRules : public ::testing::Test {
  protected:
    plat::testing::TestServices ts;
    BattleData d;
    Hand myHand{};
    Hand enemyHand{};
    std::vector<battle::PlaybackStep> queue = std::vector<battle::PlaybackStep>(1);

    void SetUp() override {
        for (auto& c : myHand)
            c = card(3, 1);
        // Only one free monster card, so its choice is known.
        for (auto& c : enemyHand)
            c = card(2, 1, kCardUsed);
    }
    void monsterPlays(int slot, int effect, int kind = 2) { enemyHand[slot] = card(kind, effect); }
    void iPlay(int slot, int kind, int effect) { myHand[slot] = card(kind, effect, kCardChosen); }

    std::vector<std::string> resolve(std::int16_t given) {
        std::int16_t command = given;
        EXPECT_TRUE(resolveTurn(ts.services, d.shared, queue, command, d.player, myHand, d.monster,
                                enemyHand));
        EXPECT_EQ(command, battle::kCmdNone);
        return queueLines(queue, d.shared.playback.last);
    }
};

TEST_F(TurnRules, AttackThatWinsHitsTheMonsterAndTakesNothing) {
    iPlay(1, 1, 4);
    monsterPlays(2, 3);
    const auto q = resolve(battle::kCmdAttack);
    const std::vector<std::string> want = {
        "11 \"5\" \"\"",
        msg(choice(4, "殴りつける", 3, "噛み付く")),
        "303 1 0",
        "351 16 \"\"",
        msg(kMe + "は[殴りつける]をしかけた！ " + kFoe + "に16のダメージを与えた！！\r\n"),
        "313 2 0",
        "361 0 \"\"",
    };
    EXPECT_EQ(q, want);
    EXPECT_TRUE(d.shared.playback.active);
    EXPECT_EQ(d.shared.playback.current, 0);
    EXPECT_EQ(d.shared.playback.last, 7);
    EXPECT_EQ(enemyHand[2].state, kCardChosen);
    // Rules never touch hit points or the player's card: playback does.
    EXPECT_EQ(d.monster.hp, 200);
    EXPECT_EQ(myHand[1].state, kCardChosen);
}

TEST_F(TurnRules, AttackThatLosesTakesTheMonstersBlow) {
    iPlay(0, 3, 2);
    monsterPlays(4, 5);
    const auto q = resolve(battle::kCmdAttack);
    const std::vector<std::string> want = {
        "11 \"5\" \"\"",
        msg(choice(2, "蹴りつける", 5, "噛み付く")),
        "303 0 0",
        "351 0 \"\"",
        "313 4 0",
        "361 18 \"\"",
        msg(kFoe + "は[噛み付く]をしてきた！ " + kMe + "は18のダメージをくらった！！\r\n"),
    };
    EXPECT_EQ(q, want);
}

TEST_F(TurnRules, EqualNumbersDrawAndEachSideDiscardsOneMore) {
    iPlay(3, 1, 3);
    monsterPlays(0, 3);
    const auto q = resolve(battle::kCmdAttack);
    const std::vector<std::string> want = {
        "11 \"5\" \"\"",
        msg(choice(3, "殴りつける", 3, "噛み付く")),
        "303 3 0",
        "351 0 \"\"",
        "313 0 0",
        "361 0 \"\"",
        "303 3 0",
        "313 0 0",
        msg("力は拮抗している！！ 引き分けた！！\r\n"),
    };
    EXPECT_EQ(q, want);
}

TEST_F(TurnRules, DefendingAboveTheMonstersNumberMakesItsAttackFail) {
    iPlay(2, 3, 5);
    monsterPlays(1, 3);
    const auto q = resolve(battle::kCmdDefend);
    const std::vector<std::string> want = {
        "11 \"5\" \"\"",
        msg(choice(5, "蹴りつける", 3, "噛み付く")),
        "303 2 0",
        msg(kMe + "は防御し相手の効力を打ち消した！\r\n" + kFoe + "の効力数を[-2]に減らした！\r\n"),
        "351 0 \"\"",
        "313 1 0",
        "361 0 \"\"",
        msg(kFoe + "は攻撃に失敗した！5||-2\r\n"),
    };
    EXPECT_EQ(q, want);
}

TEST_F(TurnRules, DefendingBelowTheMonstersNumberTakesWhatRemains) {
    iPlay(2, 1, 2);
    monsterPlays(3, 6);
    const auto q = resolve(battle::kCmdDefend);
    ASSERT_EQ(q.size(), 8u);
    EXPECT_EQ(q[3], msg(kMe + "は防御し相手の効力を打ち消した！\r\n" + kFoe +
                        "の効力数を[4]に減らした！\r\n"));
    // 18 x 4 / 5 = 14.4
    EXPECT_EQ(q[6], "361 14 \"\"");
    EXPECT_EQ(q[7],
              msg(kFoe + "は[噛み付く]をしてきた！ " + kMe + "は14のダメージをくらった！！\r\n"));
}

TEST_F(TurnRules, DefendingExactlyTheMonstersNumberAlsoMakesItFail) {
    iPlay(0, 1, 4);
    monsterPlays(0, 4);
    const auto q = resolve(battle::kCmdDefend);
    EXPECT_EQ(q.back(), msg(kFoe + "は攻撃に失敗した！4||0\r\n"));
}

TEST_F(TurnRules, StoringMarksTheCardStoredAndTheMonsterStillAttacks) {
    iPlay(4, 1, 6);
    myHand[0] = card(1, 2, kCardStored);
    monsterPlays(2, 1);
    const auto q = resolve(battle::kCmdStore);
    const std::vector<std::string> want = {
        "11 \"5\" \"\"",
        msg(choice(6, "殴りつける", 1, "噛み付く")),
        "302 4 0",
        msg(kMe + "は力を溜め込んだ！\r\n"),
        "351 0 \"\"",
        "313 2 0",
        "361 4 \"\"",
        msg(kFoe + "は[噛み付く]をしてきた！ " + kMe + "は4のダメージをくらった！！\r\n"),
    };
    EXPECT_EQ(q, want);
}

TEST_F(TurnRules, StoringAFifthCardDiscardsTheWholeHand) {
    for (int s = 0; s < 4; ++s)
        myHand[s] = card(1, s + 1, kCardStored);
    iPlay(4, 3, 2);
    monsterPlays(0, 2);
    const auto q = resolve(battle::kCmdStore);
    ASSERT_GE(q.size(), 8u);
    const std::vector<std::string> discards(q.begin() + 2, q.begin() + 7);
    EXPECT_EQ(discards,
              (std::vector<std::string>{"303 0 0", "303 1 0", "303 2 0", "303 3 0", "303 4 0"}));
    EXPECT_EQ(q[7], msg(kMe + "は力を溜め込もうとしたが溜め込みすぎて流れてしまった！\r\n"));
}

TEST_F(TurnRules, StoredCardsOfTheAttackingKindJoinTheAttack) {
    myHand[0] = card(1, 3, kCardStored);
    myHand[1] = card(3, 6, kCardStored); // another kind: stays stored
    myHand[3] = card(1, 5, kCardStored);
    iPlay(2, 1, 2);
    monsterPlays(4, 6);
    const auto q = resolve(battle::kCmdAttack);
    const std::vector<std::string> want = {
        "11 \"5\" \"\"",
        "303 0 0",
        "303 3 0",
        msg(choice(2, "殴りつける", 6, "噛み付く")),
        msg(kMe + "は溜め込まれていた[殴りつける]を解放した！ 効力数が10になった！！\r\n"),
        "303 2 0",
        "351 40 \"\"",
        msg(kMe + "は[殴りつける]をしかけた！ " + kFoe + "に40のダメージを与えた！！\r\n"),
        "313 4 0",
        "361 0 \"\"",
    };
    EXPECT_EQ(q, want);
}

TEST_F(TurnRules, StoredCardsStayOutOfCommandsOtherThanAttack) {
    myHand[0] = card(1, 6, kCardStored);
    iPlay(1, 1, 1);
    monsterPlays(0, 3);
    const auto q = resolve(battle::kCmdDefend);
    for (const auto& line : q)
        EXPECT_NE(line, "303 0 0");
    EXPECT_EQ(q[1], msg(choice(1, "殴りつける", 3, "噛み付く")));
    EXPECT_EQ(q[3], msg(kMe + "は防御し相手の効力を打ち消した！\r\n" + kFoe +
                        "の効力数を[2]に減らした！\r\n"));
}

TEST_F(TurnRules, ReshuffleSucceedsOnlyAboveTheMonstersNumber) {
    iPlay(0, 3, 5);
    monsterPlays(1, 4);
    auto q = resolve(battle::kCmdReshuffle);
    EXPECT_EQ(q[2], "303 0 0");
    EXPECT_EQ(q[3], "309 true 0");
    EXPECT_EQ(q[4], msg(kMe + "は手札を切りなおしに成功した！\r\n"));
    EXPECT_EQ(q[5], "351 0 \"\"");

    SetUp();
    iPlay(0, 3, 4);
    monsterPlays(1, 4);
    q = resolve(battle::kCmdReshuffle);
    EXPECT_EQ(q[2], "303 0 0");
    EXPECT_EQ(q[3], msg(kMe + "は手札を切りなおしに失敗した！\r\n"));
    EXPECT_EQ(q[4], "351 0 \"\"");
}

TEST_F(TurnRules, FleeNeverSucceeds) {
    iPlay(0, 3, 6);
    monsterPlays(1, 1);
    auto q = resolve(battle::kCmdFlee);
    EXPECT_EQ(q[3], msg("この戦闘は逃げることができません！\r\n"));
    EXPECT_EQ(q[6], "361 4 \"\"");

    SetUp();
    iPlay(0, 3, 1);
    monsterPlays(1, 6);
    q = resolve(battle::kCmdFlee);
    EXPECT_EQ(q[3], msg(kMe + "逃げるのに失敗した！\r\n"));
}

TEST_F(TurnRules, AnEmptyMonsterCardShowsZeroAndNoActionAndDealsNothing) {
    iPlay(0, 3, 2);
    enemyHand[3] = d.shared.emptyCard;
    const auto q = resolve(battle::kCmdFlee);
    EXPECT_EQ(q[1], msg(choice(2, "蹴りつける", 0, "")));
    EXPECT_EQ(q[6], "361 0 \"\"");
    EXPECT_EQ(q[7], msg(kFoe + "は[]をしてきた！ " + kMe + "は0のダメージをくらった！！\r\n"));
}

TEST_F(TurnRules, AMonsterWithoutAFreeCardPlaysNothingOnSlotZero) {
    iPlay(0, 1, 3);
    // Every monster card is used: the choice fails and its numbers stay at zero, so no
    // release is announced for a card it never played.
    const auto q = resolve(battle::kCmdAttack);
    EXPECT_EQ(q[1], msg(choice(3, "殴りつける", 0, "")));
    EXPECT_EQ(q[2], "303 0 0");
    EXPECT_EQ(q[3], "351 12 \"\"");
    EXPECT_EQ(q[5], "313 0 0");
}

TEST_F(TurnRules, QueuedMessagesAreNeverEmpty) {
    for (int command = 0; command <= 4; ++command) {
        for (int mine = 1; mine <= 6; ++mine) {
            for (int theirs = 1; theirs <= 6; ++theirs) {
                SetUp();
                iPlay(1, 1, mine);
                monsterPlays(3, theirs);
                const auto q = resolve(static_cast<std::int16_t>(command));
                for (const auto& line : q)
                    EXPECT_NE(line, "150 \"\" 0");
                EXPECT_EQ(q.front(), "11 \"5\" \"\"");
            }
        }
    }
}

TEST_F(TurnRules, ATurnWithoutAChosenCardOrWithAnUnknownCommandIsRefused) {
    monsterPlays(0, 3);
    std::int16_t command = battle::kCmdAttack;
    EXPECT_FALSE(
        resolveTurn(ts.services, d.shared, queue, command, d.player, myHand, d.monster, enemyHand));
    iPlay(0, 1, 3);
    command = 9;
    EXPECT_FALSE(
        resolveTurn(ts.services, d.shared, queue, command, d.player, myHand, d.monster, enemyHand));
    EXPECT_EQ(queue.size(), 1u);
    EXPECT_FALSE(d.shared.playback.active);
    EXPECT_EQ(enemyHand[0].state, battle::kCardFree);
}

TEST_F(TurnRules, ANewTurnOverwritesTheLongerQueueOfTheLastOne) {
    for (int s = 0; s < 4; ++s)
        myHand[s] = card(1, s + 1, kCardStored);
    iPlay(4, 1, 2);
    monsterPlays(0, 6);
    resolve(battle::kCmdStore);
    const std::size_t longer = queue.size();
    SetUp();
    iPlay(0, 1, 4);
    monsterPlays(0, 3);
    resolve(battle::kCmdAttack);
    EXPECT_LT(queue.size(), longer);
    EXPECT_EQ(queue.size(), static_cast<std::size_t>(d.shared.playback.last) + 1);
    EXPECT_EQ(queue[0].code, battle::kStepIdle);
}

TEST(StepAdd, SkipsEmptyTextsButKeepsZeroAndEarlierSteps) {
    std::vector<battle::PlaybackStep> q(1);
    std::int32_t count = 0;
    queueStep(count, q, battle::kStepMessage, std::u16string(), std::int32_t{0});
    EXPECT_EQ(count, 0);
    EXPECT_EQ(q.size(), 1u);
    queueStep(count, q, battle::kStepMyDamage, std::int32_t{0}, std::u16string());
    queueStep(count, q, battle::kStepMessage, std::u16string(u"x"), std::int32_t{0});
    EXPECT_EQ(count, 2);
    EXPECT_EQ(queueLines(q, count), (std::vector<std::string>{"361 0 \"\"", "150 \"x\" 0"}));
}

TEST(Damage, BuiltInActionsDealFourFiveAndThreePointSixPerPoint) {
    BattleData d;
    for (int e = 1; e <= 6; ++e) {
        EXPECT_EQ(attackDamage(d.shared.actions, d.player, 1, e), 4 * e);
        EXPECT_EQ(attackDamage(d.shared.actions, d.player, 3, e), 5 * e);
    }
    const int bite[] = {4, 7, 11, 14, 18, 22};
    for (int e = 1; e <= 6; ++e)
        EXPECT_EQ(attackDamage(d.shared.actions, d.monster, 2, e), bite[e - 1]);
}

TEST(Damage, HalvesGoToTheEvenNeighbour) {
    BattleData d;
    d.player.attack = 0;
    auto& a = d.shared.actions;
    a[5].power = u"2.5";  // 0.5
    a[6].power = u"7.5";  // 1.5
    a[7].power = u"12.5"; // 2.5
    EXPECT_EQ(attackDamage(a, d.player, 5, 1), 0);
    EXPECT_EQ(attackDamage(a, d.player, 6, 1), 2);
    EXPECT_EQ(attackDamage(a, d.player, 7, 1), 2);
}

TEST(Damage, EmptyUnreadableAndMissingPowersReadAsZero) {
    BattleData d;
    auto& a = d.shared.actions;
    a[8].power = u"";
    a[9].power = u"abc";
    EXPECT_EQ(attackDamage(a, d.player, 0, 6), 12); // row 0: power "0", bonus 10
    EXPECT_EQ(attackDamage(a, d.player, 8, 5), 10);
    EXPECT_EQ(attackDamage(a, d.player, 9, 5), 10);
    EXPECT_EQ(attackDamage(a, d.player, 99, 5), 10);
    EXPECT_EQ(attackDamage(a, d.player, -1, 5), 10);
    a[10].power = u"99999999999999999999";
    EXPECT_EQ(attackDamage(a, d.player, 10, 6), std::numeric_limits<std::int32_t>::max());
}

} // namespace
