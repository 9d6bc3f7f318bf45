// The battle window's handlers: the card labels, the command menu and the close query.
#include <gtest/gtest.h>

#include "BattleTestKit.h"
#include "battle/BattleWindow.h"
#include "platform/testing/TestSeams.h"

using namespace battletest;
using battle::BattleWindow;

namespace {

class BattleWindowHandlers : public ::testing::Test {
  protected:
    plat::testing::TestServices ts;
    BattleData d;
    BattleWindow form{ts.services, d.shared};

    void SetUp() override {
        form.load();
        for (auto& c : d.shared.myHand)
            c = card(1, 3);
    }
};

TEST_F(BattleWindowHandlers, LoadResetsTheVariablesAndShowsTheHelp) {
    form.chosenCommand = 2;
    form.chosenCard = 3;
    form.cursorCard = 4;
    d.shared.closing = true;
    form.load();
    EXPECT_EQ(form.chosenCommand, -1);
    EXPECT_EQ(form.chosenCard, -1);
    EXPECT_EQ(form.cursorCard, -1);
    EXPECT_FALSE(d.shared.closing);
    EXPECT_EQ(form.messageText.caption,
              u"戦い方？簡単だ。配られた自分のカードを選び行動を選択しろ！\r\n"
              u"選び方は簡単だ。手前のカードをクリックだ！\r\n\r\n"
              u"ルールの説明？ そんな生ぬるいものは無い。体で覚えな！");
}

TEST_F(BattleWindowHandlers, ControlsSitWhereTheStageExpectsThem) {
    EXPECT_EQ(form.stageView.width, 427);
    EXPECT_EQ(form.stageView.height, 459);
    const int xs[] = {6, 81, 159, 237, 315};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.playerCardLabels[i].left, xs[i]);
        EXPECT_EQ(form.playerCardLabels[i].top, 332);
        EXPECT_EQ(form.playerCardLabels[i].container, &form.stageView);
    }
    const char16_t* captions[] = {u"たたかう", u"ぼうぎょ", u"ためる", u"デッキ", u"にげる"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.commandButtons[i].caption, captions[i]);
        EXPECT_EQ(form.commandButtons[i].container, &form.commandMenu);
        if (i > 0) {
            EXPECT_GT(form.commandButtons[i].top, form.commandButtons[i - 1].top);
        }
    }
    EXPECT_FALSE(form.commandMenu.visible);
    EXPECT_EQ(form.commandMenu.width, 72);
    EXPECT_EQ(form.commandMenu.height, 120);
    // Every transparent copy reads its key from the first cursor picture's corner.
    EXPECT_EQ(form.cursorPictures[0].surface.pixel(0, 0), form.textSize16Picture.backColor());
    EXPECT_EQ(form.cursorPictures[0].surface.pixel(0, 0), form.textSize36Picture.backColor());
}

TEST_F(BattleWindowHandlers, PointingAtACardSelectsItAndMovesTheCursor) {
    form.playerCardLabels[3].onMouseMove(0, 0, 5, 5);
    EXPECT_EQ(form.cursorCard, 3);
    EXPECT_EQ(form.chosenCard, 3);
    form.stageView.onMouseMove(0, 0, 5, 5);
    EXPECT_EQ(form.cursorCard, -1);
    EXPECT_EQ(form.chosenCard, 3); // the selection outlives the cursor
    form.chosenCommand = 0;
    form.playerCardLabels[1].onMouseMove(0, 0, 5, 5);
    EXPECT_EQ(form.chosenCard, 3); // a chosen command fixes the card
}

TEST_F(BattleWindowHandlers, ClickingAFreeCardOpensTheMenuOverIt) {
    form.playerCardLabels[2].onMouseMove(0, 0, 1, 1);
    form.playerCardLabels[2].onClick();
    EXPECT_TRUE(form.commandMenu.visible);
    EXPECT_EQ(form.commandMenu.left, form.playerCardLabels[2].left);
    EXPECT_EQ(form.commandMenu.top, form.playerCardLabels[2].top);
    EXPECT_GT(ts.windows.syncs[&form], 0);
    // Moving onto another card or off the cards closes it.
    form.playerCardLabels[3].onMouseMove(0, 0, 1, 1);
    EXPECT_FALSE(form.commandMenu.visible);
    form.playerCardLabels[3].onClick();
    form.stageView.onMouseMove(0, 0, 1, 1);
    EXPECT_FALSE(form.commandMenu.visible);
}

TEST_F(BattleWindowHandlers, NoMenuForEmptyStoredUsedOrChosenCardsNorDuringPlayback) {
    d.shared.myHand[0] = d.shared.emptyCard;
    d.shared.myHand[1] = card(1, 2, battle::kCardStored);
    d.shared.myHand[2] = card(1, 2, battle::kCardUsed);
    d.shared.myHand[3] = card(1, 2, battle::kCardChosen);
    for (int i = 0; i < 4; ++i) {
        form.playerCardLabels[i].onClick();
        EXPECT_FALSE(form.commandMenu.visible) << i;
    }
    d.shared.playback.active = true;
    form.playerCardLabels[4].onMouseMove(0, 0, 1, 1);
    form.playerCardLabels[4].onClick();
    EXPECT_FALSE(form.commandMenu.visible);
    EXPECT_EQ(form.cursorCard, 4); // the cursor still follows the pointer
    d.shared.playback.active = false;
    form.chosenCommand = 1;
    form.playerCardLabels[4].onClick();
    EXPECT_FALSE(form.commandMenu.visible);
}

TEST_F(BattleWindowHandlers, ACommandNeedsAPointedCard) {
    form.commandButtons[0].onClick();
    EXPECT_EQ(form.chosenCommand, -1);
    form.playerCardLabels[1].onMouseMove(0, 0, 1, 1);
    form.playerCardLabels[1].onClick();
    form.commandButtons[3].onClick();
    EXPECT_EQ(form.chosenCommand, 3);
    EXPECT_FALSE(form.commandMenu.visible);
}

TEST_F(BattleWindowHandlers, ClosingRaisesTheFlagAndIsNeverRefused) {
    form.loaded = true;
    EXPECT_TRUE(ts.windows.unload(form));
    EXPECT_TRUE(d.shared.closing);
}

} // namespace
