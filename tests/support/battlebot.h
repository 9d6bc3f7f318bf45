// The battle program started on the test seams as the real program starts it (the select
// window's load runs the whole battle, then every form is unloaded), and a player that fights
// it to a defeat through the battle window's input events, delivered at the window's message
// passes as a real window's are. Each turn it takes its first card that can be chosen and
// attacks with it, defending every fourth turn; turns alternate between the mouse (point at the
// card, click it, click the command) and the keyboard (Right, Enter, Down to the command,
// Enter). The session can be recorded (RecordTo).
#pragma once

#include <cstdint>
#include <memory>

#include "battle/StartWindow.h"
#include "platform/InputEvent.h"
#include "platform/testing/TestSeams.h"
#include "tests/support/RecordTo.h"

namespace battlebot {

struct Battle {
    plat::testing::TestServices ts;
    std::unique_ptr<plat::Recorder> recorder; // while the session is recorded
    plat::Services& sv;                       // what the program is given
    battle::StartWindow select{sv};
    int frameLimit = 20000; // then the window is closed
    int turns = 0;

    // A recorded session starts the random source from the header's seed instead.
    explicit Battle(std::uint64_t seed = 12345, const testsupport::RecordTo* record = nullptr)
        : sv(testsupport::recordedServices(ts.services, record, recorder)) {
        if (!record) ts.random.reseed(seed);
        ts.windows.onEvents = [this] { act(); };
    }

    // The whole program, as its main runs it.
    void play() {
        select.load();
        sv.windows.unloadAll();
    }
    int frames() { return ts.windows.repaints[&select.battleForm.stageView]; }
    std::vector<std::u16string> messages() const {
        std::vector<std::u16string> out;
        for (const auto& b : ts.windows.boxes)
            out.push_back(b.text);
        return out;
    }

  private:
    void send(const plat::InputEvent& e) { plat::deliver(select.battleForm, e, &sv.windows); }

    // At most one turn's input per frame, and only while the battle waits for one.
    void act() {
        battle::BattleWindow& f = select.battleForm;
        const int frame = frames();
        if (!f.loaded || frame == lastFrame_) return;
        lastFrame_ = frame;
        if (frame >= frameLimit) return send(plat::InputEvent::close());
        if (f.shared().playback.active || f.chosenCommand != battle::kCmdNone) return;
        int slot = 0;
        while (slot < battle::kHandSize && (f.shared().myHand[slot].state != battle::kCardFree ||
                                            f.shared().myHand[slot].kind == 0))
            ++slot;
        if (slot == battle::kHandSize) return;
        const int command = turns % 4 == 3 ? battle::kCmdDefend : battle::kCmdAttack;
        if (turns++ % 2 == 0) {
            send(plat::InputEvent::mouse(plat::InputKind::MouseMove, f.playerCardLabels[slot], 0, 0,
                                         20, 40));
            send(plat::InputEvent::click(f.playerCardLabels[slot]));
            send(plat::InputEvent::click(f.commandButtons[command]));
            return;
        }
        // The pointer off the cards, so that Right starts from the first card.
        send(plat::InputEvent::formMouseMove(0, 0, 420, 300));
        send(plat::InputEvent::keyDown(plat::vk::Right, 0));
        send(plat::InputEvent::keyDown(plat::vk::Enter, 0));
        for (int i = 0; i < command; ++i)
            send(plat::InputEvent::keyDown(plat::vk::Down, 0));
        send(plat::InputEvent::keyDown(plat::vk::Enter, 0));
    }

    int lastFrame_ = -1;
};

} // namespace battlebot
