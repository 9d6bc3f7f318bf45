// Deck shuffle and hand refill.
#include <gtest/gtest.h>

#include <algorithm>

#include "BattleTestKit.h"
#include "platform/testing/TestSeams.h"

using namespace battletest;
using namespace battle;
using battle::kCardStored;
using battle::kCardUsed;

namespace {

// A pile whose cards tell their own index: kind 1, effect = index.
std::array<Card, battle::kDeckSize> numberedPile() {
    std::array<Card, battle::kDeckSize> pile{};
    for (int i = 0; i < battle::kDeckSize; ++i)
        pile[i] = card(1, i);
    return pile;
}

TEST(DeckShuffle, KeepsTheCompositionAndGivesStrengthsOneToSix) {
    plat::testing::TestServices ts;
    BattleData d;
    std::int32_t used = 7, remaining = 2;
    for (int round = 0; round < 20; ++round) {
        shuffleDeck(ts.services, d.myDeck, used, remaining);
        EXPECT_EQ(used, 0);
        EXPECT_EQ(remaining, 23);
        int kind1 = 0, kind3 = 0;
        for (const auto& c : d.myDeck.pile) {
            kind1 += c.kind == 1;
            kind3 += c.kind == 3;
            EXPECT_GE(c.effect, 1);
            EXPECT_LE(c.effect, 6);
            EXPECT_EQ(c.state, battle::kCardFree);
        }
        EXPECT_EQ(kind1, 13);
        EXPECT_EQ(kind3, 11);
    }
    // The composition itself is never touched.
    EXPECT_TRUE(std::all_of(d.myDeck.cards.begin(), d.myDeck.cards.end(),
                            [](const Card& c) { return c.effect == 0; }));
}

TEST(DeckShuffle, MixesTheOrder) {
    plat::testing::TestServices ts;
    BattleData d;
    std::int32_t used = 0, remaining = 0;
    shuffleDeck(ts.services, d.myDeck, used, remaining);
    const bool inTemplateOrder =
        std::equal(d.myDeck.pile.begin(), d.myDeck.pile.end(), d.myDeck.cards.begin(),
                   [](const Card& a, const Card& b) { return a.kind == b.kind; });
    EXPECT_FALSE(inTemplateOrder);
}

TEST(HandRefill, RefillAllDealsFiveFromTheTopStoredCardsIncluded) {
    const auto pile = numberedPile();
    Hand hand{card(1, 9, kCardStored), card(3, 2), card(1, 1, kCardUsed), card(0, 0),
              card(3, 3, kCardStored)};
    std::int32_t remaining = 23;
    bool all = true;
    refillHand(hand, pile, remaining, all, Card{});
    EXPECT_FALSE(all);
    EXPECT_EQ(remaining, 18);
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(hand[s], card(1, s)) << s;
}

TEST(HandRefill, AnOrdinaryCallFillsOnlyTheLowestUsedSlot) {
    const auto pile = numberedPile();
    Hand hand{card(1, 1), card(1, 1, kCardUsed), card(1, 1), card(1, 1, kCardUsed),
              card(1, 1, kCardStored)};
    std::int32_t remaining = 20; // next draw is pile[3]
    bool all = false;
    refillHand(hand, pile, remaining, all, Card{});
    EXPECT_EQ(hand[1], card(1, 3));
    EXPECT_EQ(hand[3].state, kCardUsed);
    EXPECT_EQ(remaining, 19);
    refillHand(hand, pile, remaining, all, Card{});
    EXPECT_EQ(hand[3], card(1, 4));
    const Hand before = hand;
    refillHand(hand, pile, remaining, all, Card{});
    EXPECT_EQ(hand, before);
    EXPECT_EQ(remaining, 18);
}

TEST(HandRefill, TheTwentyFourthCardIsNeverDrawn) {
    const auto pile = numberedPile();
    Hand hand{};
    std::int32_t remaining = 23;
    bool all = true;
    refillHand(hand, pile, remaining, all, Card{});
    int lastDrawn = hand[4].effect;
    for (int draw = 0; draw < 30; ++draw) {
        hand[0].state = kCardUsed;
        refillHand(hand, pile, remaining, all, Card{});
        if (hand[0].kind != 0) lastDrawn = hand[0].effect;
    }
    EXPECT_EQ(lastDrawn, 22);
    EXPECT_EQ(remaining, 0);
    EXPECT_EQ(hand[0], Card{}); // used slots now receive the empty card
}

TEST(HandRefill, RefillAllStopsWhereThePileRunsOut) {
    const auto pile = numberedPile();
    Hand hand{card(3, 1, kCardUsed), card(3, 1), card(3, 1), card(3, 1), card(3, 1)};
    std::int32_t remaining = 2;
    bool all = true;
    refillHand(hand, pile, remaining, all, Card{});
    EXPECT_EQ(hand[0], card(1, 21));
    EXPECT_EQ(hand[1], card(1, 22));
    EXPECT_EQ(hand[2], Card{});
    EXPECT_EQ(hand[3], card(3, 1)); // the rest keep their cards
    EXPECT_FALSE(all);
}

TEST(HandRefill, ARemainingCountOutsideThePileNeverReadsPastIt) {
    const auto pile = numberedPile();
    Hand hand{card(1, 1, kCardUsed)};
    std::int32_t remaining = 1000;
    bool all = false;
    refillHand(hand, pile, remaining, all, Card{});
    EXPECT_EQ(hand[0], card(1, 0));
}

} // namespace
