// The battle loop: deck shuffle, hand refill, playback of the queue one step per frame, defeat,
// and the frame timing.
#include <algorithm>
#include <limits>

#include "battle/mdlBattleFunction.h"
#include "platform/EventWait.h"

namespace mdlBattleFunction {

using namespace battle;

namespace {

std::int32_t saturatingSub(std::int32_t a, std::int32_t b) {
    const std::int64_t r = static_cast<std::int64_t>(a) - b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        r, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Counts a step's frame counter towards its target. Answers true in the frame that finds it
// there; a counter already past the target acts at once rather than counting forever.
bool countUp(BtlValue& counter, std::int32_t target) {
    const std::int32_t n = pfStepNumber(counter);
    if (n < target) {
        counter = n + 1;
        return false;
    }
    return true;
}

void setSlotState(Hand& hand, const BtlValue& slot, std::int32_t state) {
    const std::int32_t s = pfStepNumber(slot);
    if (s >= 0 && s < kHandSize) hand[s].state = state;
}

void bumpUsed(typSideState& side) {
    if (side.usedCount < std::numeric_limits<std::int32_t>::max()) ++side.usedCount;
}

bool inRange(std::int32_t slot) {
    return slot >= 0 && slot < kHandSize;
}

// Nothing left to choose and nothing pending: only stored or empty cards in the hand.
bool handStuck(const Hand& hand) {
    for (const typCard& c : hand) {
        if (c.state == kCardChosen || c.state == kCardUsed) return false;
    }
    return !pfHandPlayable(hand);
}

} // namespace

void psDeckShuffle(plat::Services& sv, typDeck& deck, std::int32_t& usedCount,
                   std::int32_t& remaining) {
    remaining = kDrawsPerShuffle;
    usedCount = 0;
    deck.pile = deck.cards;
    for (int j = 0; j < kDeckSize; ++j) {
        const std::int32_t k =
            std::clamp(mdlCommon::pfRndNum(sv, 0, kDeckSize - 1), 0, kDeckSize - 1);
        std::swap(deck.pile[k].kind, deck.pile[j].kind);
        deck.pile[j].effect = mdlCommon::pfRndNum(sv, 1, 6);
        deck.pile[j].state = kCardFree;
    }
}

void psHandRefill(Hand& hand, const std::array<typCard, kDeckSize>& pile, std::int32_t& remaining,
                  bool& refillAll, const typCard& emptyCard) {
    for (int s = 0; s < kHandSize; ++s) {
        if (!refillAll && hand[s].state != kCardUsed) continue;
        if (remaining < 1) {
            hand[s] = emptyCard;
            refillAll = false;
            return;
        }
        // The pile is drawn from index 0 up; its last card is never reached.
        const std::int32_t index = std::clamp(kDrawsPerShuffle - remaining, 0, kDeckSize - 1);
        hand[s] = pile[index];
        --remaining;
        if (!refillAll) return;
    }
    refillAll = false;
}

bool pfHandPlayable(const Hand& hand) {
    return std::any_of(hand.begin(), hand.end(),
                       [](const typCard& c) { return c.state == kCardFree && c.kind != 0; });
}

bool psPlayStep(typBattleShared& shared, typBattleLoop& loop, typChara& player, typChara& monster,
                plat::TextBox& txtMsg) {
    typPlayback& pb = shared.playback;
    if (!pb.active) return false;
    if (pb.current < 0 || static_cast<std::size_t>(pb.current) >= loop.queue.size()) {
        pb.active = false;
        return false;
    }
    typBtlStep& step = loop.queue[static_cast<std::size_t>(pb.current)];
    bool goOn = true;
    bool textChanged = false;
    switch (step.code) {
    case kStepPause: {
        const std::int32_t left = pfStepNumber(step.value1);
        if (left > 0) {
            step.value1 = left - 1;
            goOn = false;
        }
        break;
    }
    case kStepMessage:
        goOn = countUp(step.value2, kMessageFrames);
        if (goOn) {
            if (const auto* text = std::get_if<std::u16string>(&step.value1)) {
                txtMsg.caption += *text;
                textChanged = true;
            }
        }
        break;
    case kStepMyStore:
    case kStepMyUse:
    case kStepMyRefill:
    case kStepEnemyStore:
    case kStepEnemyUse:
    case kStepEnemyRefill:
        goOn = countUp(step.value2, kSlotFrames);
        if (!goOn) break;
        switch (step.code) {
        case kStepMyStore: setSlotState(shared.myHand, step.value1, kCardStored); break;
        case kStepMyUse:
            setSlotState(shared.myHand, step.value1, kCardUsed);
            bumpUsed(loop.me);
            break;
        case kStepMyRefill: loop.me.refillAll = true; break;
        case kStepEnemyStore: setSlotState(loop.enemyHand, step.value1, kCardStored); break;
        case kStepEnemyUse:
            setSlotState(loop.enemyHand, step.value1, kCardUsed);
            bumpUsed(loop.enemy);
            break;
        case kStepEnemyRefill: loop.enemy.refillAll = true; break;
        default: break;
        }
        break;
    case kStepEnemyDamage: monster.hp = saturatingSub(monster.hp, pfStepNumber(step.value1)); break;
    case kStepMyDamage: player.hp = saturatingSub(player.hp, pfStepNumber(step.value1)); break;
    default: break;
    }
    if (goOn) {
        ++pb.current;
        if (pb.current > pb.last) pb.active = false;
    }
    return textChanged;
}

std::int32_t pfBattleMain(plat::Services& sv, frmBattle& form, typChara& player, typChara& monster,
                          typDeck& myDeck, typDeck& enemyDeck) {
    typBattleLoop loop;
    return pfBattleRun(sv, form, loop, player, monster, myDeck, enemyDeck);
}

std::int32_t pfBattleRun(plat::Services& sv, frmBattle& form, typBattleLoop& loop, typChara& player,
                         typChara& monster, typDeck& myDeck, typDeck& enemyDeck) {
    typBattleShared& shared = form.shared();
    loop.key = form.picCursor[0].surface.pixel(0, 0);
    loop.myLayout = pfMyLayout(form);
    loop.enemyLayout = pfEnemyLayout(form);

    sv.clock.beginPeriod();
    psDeckShuffle(sv, myDeck, loop.me.usedCount, loop.me.remaining);
    psDeckShuffle(sv, enemyDeck, loop.enemy.usedCount, loop.enemy.remaining);
    sv.windows.show(form);
    loop.me.refillAll = true;
    loop.enemy.refillAll = true;

    for (;;) {
        if (shared.closing) break;
        const std::uint32_t t0 = sv.clock.timeGetTime();
        // The background copied onto the stage first thing in the drawing covers it whole when
        // it is as large, and then the clear is left to the two ways out before the drawing
        // (which show the stage cleared while their message is up).
        const plat::Surface& flip = form.picFlip.surface;
        const bool flipCovers = flip.width() >= form.picStage.surface.width() &&
                                flip.height() >= form.picStage.surface.height();
        if (!flipCovers) form.picStage.cls();
        form.picTextSize16.cls();
        form.picTextSize36.cls();
        form.picStage.surface.setBackColor(plat::kWhite);

        if (loop.me.refillAll) psDrawBackground(sv, loop, form, player, monster);

        bool textChanged = false;
        loop.cmd = form.pintBtlCmdIdx;
        if (loop.cmd >= 0 && !shared.playback.active) {
            // The window only offers the menu on a free, non-empty card; a command for any
            // other slot is dropped rather than played with a card that cannot be chosen.
            const std::int32_t slot = form.plngNowCardSelect;
            if (inRange(slot) && shared.myHand[slot].state == kCardFree &&
                shared.myHand[slot].kind != 0) {
                form.txtMsg.caption.clear();
                textChanged = true;
                shared.myHand[slot].state = kCardChosen;
                if (!pfTurnResolve(sv, shared, loop.queue, loop.cmd, player, shared.myHand, monster,
                                   loop.enemyHand)) {
                    if (flipCovers) form.picStage.cls();
                    sv.windows.messageBox(u"エラーがおこりますた。", u"", plat::MsgButtons::Ok,
                                          plat::MsgIcon::None);
                    break;
                }
            } else {
                loop.cmd = kCmdNone;
            }
        }
        if (shared.playback.active) {
            textChanged = psPlayStep(shared, loop, player, monster, form.txtMsg) || textChanged;
        }
        form.pintBtlCmdIdx = loop.cmd;

        // A hand of only stored and empty cards could never be played again: deal anew.
        if (!shared.playback.active && !loop.me.refillAll && handStuck(shared.myHand)) {
            loop.me.refillAll = true;
        }
        if (loop.me.usedCount >= kDrawsPerShuffle || loop.me.refillAll) {
            psDeckShuffle(sv, myDeck, loop.me.usedCount, loop.me.remaining);
        }
        if (loop.enemy.usedCount >= kDrawsPerShuffle || loop.enemy.refillAll) {
            psDeckShuffle(sv, enemyDeck, loop.enemy.usedCount, loop.enemy.remaining);
        }

        if (player.hp < 0 || monster.hp < 0) {
            if (flipCovers) form.picStage.cls();
            if (textChanged) sv.windows.sync(form);
            const std::u16string text = player.hp < 0
                                            ? player.name + u"は、死んでしまった。戦いは終った…。"
                                            : monster.name + u"を倒した！";
            sv.windows.messageBox(text, u"", plat::MsgButtons::Ok, plat::MsgIcon::None);
            sv.windows.unload(form);
            break;
        }

        psHandRefill(shared.myHand, myDeck.pile, loop.me.remaining, loop.me.refillAll,
                     shared.emptyCard);
        psHandRefill(loop.enemyHand, enemyDeck.pile, loop.enemy.remaining, loop.enemy.refillAll,
                     shared.emptyCard);

        psDrawStage(sv, shared, loop, form, player, monster);
        if (textChanged) sv.windows.sync(form);

        if (!form.loaded) break;
        // Both waits block in the window system until an event comes or the time is up.
        plat::EventWait waits(sv);
        while (!sv.windows.isActive(form) && !shared.closing)
            waits.pass(kFrameMs);
        for (std::uint32_t elapsed; (elapsed = sv.clock.timeGetTime() - t0) < kFrameMs;)
            waits.pass(kFrameMs - elapsed);
        sv.windows.doEvents();
    }

    sv.clock.endPeriod();
    return 0;
}

} // namespace mdlBattleFunction
