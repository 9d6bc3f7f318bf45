// The built-in battle content.
#include <gtest/gtest.h>

#include <algorithm>

#include "BattleTestKit.h"

using namespace battletest;

TEST(BattleData, ActionTableHasTwentyOneRowsWithThreeRealActions) {
    BattleData d;
    const auto& a = d.shared.actions;
    ASSERT_EQ(a.size(), 21u);
    EXPECT_EQ(a[0].name, u"");
    EXPECT_EQ(a[0].power, u"0");
    EXPECT_EQ(a[1].name, u"殴りつける");
    EXPECT_EQ(a[1].shortName, u"殴");
    EXPECT_EQ(a[2].name, u"噛み付く");
    EXPECT_EQ(a[2].power, u"8");
    EXPECT_EQ(a[3].shortName, u"蹴");
    EXPECT_EQ(a[3].power, u"15");
    for (std::size_t r = 4; r < a.size(); ++r) {
        EXPECT_TRUE(a[r].name.empty() && a[r].power.empty() && a[r].valueA == 0) << r;
    }
}

TEST(BattleData, DecksHoldTheirCompositionWithoutStrengthsUntilShuffled) {
    BattleData d;
    auto countKind = [](const battle::Deck& deck, int kind) {
        return std::count_if(deck.cards.begin(), deck.cards.end(),
                             [kind](const battle::Card& c) { return c.kind == kind; });
    };
    EXPECT_EQ(countKind(d.myDeck, 1), 13);
    EXPECT_EQ(countKind(d.myDeck, 3), 11);
    EXPECT_EQ(countKind(d.enemyDeck, 2), 24);
    for (const auto* deck : {&d.myDeck, &d.enemyDeck}) {
        for (const auto& c : deck->cards)
            EXPECT_EQ(c.effect, 0);
    }
    EXPECT_EQ(d.myDeck.name, u"さいしょのデッキ");
    EXPECT_EQ(d.enemyDeck.name, u"モンスタのデッキ");
}

TEST(BattleData, CombatantsDifferOnlyInName) {
    BattleData d;
    EXPECT_EQ(d.player.name, u"ニムス");
    EXPECT_EQ(d.monster.name, u"髑髏(ｶﾞｼｬﾄﾞｸﾛ)");
    for (const auto* c : {&d.player, &d.monster}) {
        EXPECT_EQ(c->hp, 200);
        EXPECT_EQ(c->hpMax, 200);
        EXPECT_EQ(c->mp, 50);
        EXPECT_EQ(c->mpMax, 50);
        EXPECT_EQ(c->attack, 10);
    }
    EXPECT_EQ(d.player.status, d.monster.status);
    EXPECT_EQ(d.player.combat, d.monster.combat);
}

TEST(BattleData, SettingTheDecksClearsAPlaybackLeftRunning) {
    BattleData d;
    d.shared.playback = {true, 4, 9};
    d.shared.emptyCard = card(3, 3, 3);
    battle::setDecks(d.shared, d.myDeck, d.enemyDeck);
    EXPECT_FALSE(d.shared.playback.active);
    EXPECT_EQ(d.shared.playback.last, 0);
    EXPECT_EQ(d.shared.emptyCard, card(0, 0, 0));
}
