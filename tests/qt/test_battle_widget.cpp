// The battle window as a real Qt window: a click on a card label opens the command menu over
// it, a click on a command button starts the turn, and closing the window ends the battle.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "QtTestApp.h"
#include "battle/Battle.h"
#include "battle/BattleContent.h"
#include "battle/BattleWindow.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/testing/TestSeams.h"

namespace {

// The real windows on the virtual clock; message boxes are recorded, never shown.
class BattleWindows : public plat::IWindowSystem {
  public:
    explicit BattleWindows(plat::qt::QtWindowSystem& qt) : qt_(qt) {}
    void doEvents() override {
        qt_.doEvents();
        if (onEvents) onEvents();
    }
    void waitEvents(std::uint32_t) override { doEvents(); }
    bool isActive(const plat::Form&) override { return true; }
    plat::MsgResult messageBox(const std::u16string& t, const std::u16string& ti,
                               plat::MsgButtons b, plat::MsgIcon i) override {
        return boxes.messageBox(t, ti, b, i);
    }
    void show(plat::Form& f) override { qt_.show(f); }
    bool unload(plat::Form& f) override { return qt_.unload(f); }
    void unloadAll() override { qt_.unloadAll(); }
    void repaint(plat::PictureBox& b) override {
        ++repaints[&b];
        qt_.repaint(b);
    }
    void sync(plat::Form& f) override { qt_.sync(f); }

    std::function<void()> onEvents;
    plat::testing::ScriptedWindowSystem boxes;
    std::map<const plat::PictureBox*, int> repaints;

  private:
    plat::qt::QtWindowSystem& qt_;
};

bool hasColourIn(const plat::Surface& s, int x, int y, int w, int h, plat::Color c) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            if (s.pixel(i, j) == c) return true;
        }
    }
    return false;
}

// A whole battle in the real windows on the virtual clock, with the built-in data.
struct BattleWidget : ::testing::Test {
    BattleWidget() {
        qtTestApp();
        battle::setActions(shared.actions);
        battle::setCombatants(player, monster);
        battle::setDecks(shared, myDeck, enemyDeck);
    }
    void run() {
        form.load();
        battle::runBattle(sv, form, loop, player, monster, myDeck, enemyDeck);
    }
    plat::testing::TestServices ts;
    plat::qt::QtWindowSystem qt;
    BattleWindows windows{qt};
    plat::qt::QtTextRenderer text;
    plat::Services sv{ts.clock, ts.keyboard, windows, ts.process, text, ts.random};
    battle::SharedBattleState shared;
    battle::Combatant player, monster;
    battle::Deck myDeck, enemyDeck;
    battle::BattleWindow form{sv, shared};
    battle::LoopState loop;
};

TEST_F(BattleWidget, ClickingARealCardAndARealCommandStartsTheTurn) {

    bool menuShown = false, commandTaken = false, turnStarted = false;
    windows.onEvents = [&] {
        const int frame = windows.repaints[&form.stageView];
        plat::qt::FormView* view = qt.viewFor(form);
        if (view == nullptr) return;
        QWidget* card = view->widgetFor(form.playerCardLabels[1]);
        QWidget* menu = view->widgetFor(form.commandMenu);
        auto* attack = qobject_cast<QPushButton*>(view->widgetFor(form.commandButtons[0]));
        ASSERT_TRUE(card && menu && attack);
        if (frame == 2 && !menuShown) {
            // The numbers on the cards come through the real text output and the key colour.
            EXPECT_TRUE(hasColourIn(form.stageView.surface, 10, 335, 40, 40,
                                    form.textSize36Picture.surface.foreColor()));
            QTest::mouseMove(card, QPoint(30, 60));
            QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(30, 60));
            qt.doEvents();
            EXPECT_EQ(form.chosenCard, 1);
            EXPECT_EQ(form.cursorCard, 1);
            EXPECT_TRUE(form.commandMenu.visible);
            EXPECT_TRUE(menu->isVisible());
            EXPECT_EQ(menu->geometry().topLeft(), card->geometry().topLeft());
            menuShown = true;
        } else if (frame == 3 && menuShown && !commandTaken) {
            EXPECT_EQ(attack->text(), QStringLiteral("たたかう"));
            QTest::mouseClick(attack, Qt::LeftButton);
            EXPECT_EQ(form.chosenCommand, battle::kCmdAttack);
            commandTaken = true;
        } else if (frame == 5 && commandTaken && !turnStarted) {
            EXPECT_TRUE(shared.playback.active);
            EXPECT_EQ(shared.myHand[1].state, battle::kCardChosen);
            EXPECT_FALSE(menu->isVisible());
            turnStarted = true;
            view->close(); // the window's own close: the battle ends without a message
        }
    };
    run();
    EXPECT_TRUE(turnStarted);
    EXPECT_FALSE(form.loaded);
    EXPECT_TRUE(windows.boxes.boxes.empty());
    EXPECT_EQ(qt.viewFor(form), nullptr);
}

TEST_F(BattleWidget, PlaysATurnByKeysAlone) {

    auto key = [&](Qt::Key k) {
        QTest::keyClick(qt.viewFor(form), k);
        qt.doEvents();
    };
    int step = 0;
    windows.onEvents = [&] {
        const int frame = windows.repaints[&form.stageView];
        plat::qt::FormView* view = qt.viewFor(form);
        if (view == nullptr || frame < 2) return;
        QWidget* menu = view->widgetFor(form.commandMenu);
        if (step == 0) {
            // Slot 1 cannot be chosen (used): Right from slot 0 jumps over it to slot 2.
            shared.myHand[1].state = battle::kCardUsed;
            key(Qt::Key_Right);
            EXPECT_EQ(form.cursorCard, 0);
            key(Qt::Key_Right);
            EXPECT_EQ(form.cursorCard, 2);
            EXPECT_EQ(form.chosenCard, 2);
            key(Qt::Key_Return);
            EXPECT_TRUE(menu->isVisible());
            EXPECT_EQ(menu->geometry().topLeft(),
                      view->widgetFor(form.playerCardLabels[2])->geometry().topLeft());
            key(Qt::Key_Escape);
            EXPECT_FALSE(menu->isVisible());
            key(Qt::Key_Space);
            key(Qt::Key_Up); // wraps to the last command, then back down to the first two
            EXPECT_TRUE(form.commandButtons[battle::kCmdFlee].highlighted);
            key(Qt::Key_Down);
            key(Qt::Key_Down);
            EXPECT_TRUE(form.commandButtons[battle::kCmdDefend].highlighted);
            EXPECT_FALSE(form.commandButtons[battle::kCmdAttack].highlighted);
            key(Qt::Key_Return);
            EXPECT_EQ(form.chosenCommand, battle::kCmdDefend);
            EXPECT_FALSE(menu->isVisible());
            step = 1;
        } else if (step == 1 && shared.playback.active) {
            EXPECT_EQ(shared.myHand[2].state, battle::kCardChosen);
            // During the playback the cursor still moves (over the refilled slot 1, then past
            // the chosen card), but no menu opens.
            key(Qt::Key_Left);
            EXPECT_EQ(form.cursorCard, 1);
            key(Qt::Key_Right);
            EXPECT_EQ(form.cursorCard, 3);
            key(Qt::Key_Return);
            EXPECT_FALSE(form.commandMenu.visible);
            step = 2;
            view->close();
        }
    };
    run();
    EXPECT_EQ(step, 2);
    EXPECT_TRUE(windows.boxes.boxes.empty());
}

TEST_F(BattleWidget, PointerOverTheWindowBackgroundDropsTheCursor) {
    form.load();
    qt.show(form);
    plat::qt::FormView* view = qt.viewFor(form);
    ASSERT_NE(view, nullptr);
    // A point of the window that no control covers (the gap beside the stage).
    QPoint background(-1, -1);
    for (int y = view->height() / 2; y < view->height() && background.x() < 0; ++y) {
        for (int x = 10; x < view->width(); ++x) {
            if (view->childAt(x, y) == nullptr) {
                background = QPoint(x, y);
                break;
            }
        }
    }
    ASSERT_GE(background.x(), 0);
    form.cursorCard = 2;
    QTest::mouseMove(view, background);
    qt.doEvents();
    EXPECT_EQ(form.cursorCard, -1);
    qt.unloadAll();
}

} // namespace
