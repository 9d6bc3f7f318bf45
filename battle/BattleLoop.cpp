// The battle loop: deck shuffle, hand refill, playback of the queue one step per frame, defeat,
// and the frame timing.
#include <algorithm>
#include <limits>

#include "battle/Battle.h"
#include "platform/EventWait.h"
#include "platform/Translator.h"

namespace battle {

using namespace battle;

namespace {

std::int32_t saturatingSub(std::int32_t a, std::int32_t b) {
    const std::int64_t r = static_cast<std::int64_t>(a) - b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        r, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Counts a step's frame counter towards its target. Answers true in the frame that finds it
// there; a counter already past the target acts at once rather than counting forever.
bool countUp(StepValue& counter, std::int32_t target) {
    const std::int32_t n = stepNumber(counter);
    if (n < target) {
        counter = n + 1;
        return false;
    }
    return true;
}

void setSlotState(Hand& hand, const StepValue& slot, std::int32_t state) {
    const std::int32_t s = stepNumber(slot);
    if (s >= 0 && s < kHandSize) hand[s].state = state;
}

void bumpUsed(SideState& side) {
    if (side.usedCount < std::numeric_limits<std::int32_t>::max()) ++side.usedCount;
}

bool inRange(std::int32_t slot) {
    return slot >= 0 && slot < kHandSize;
}

// Nothing left to choose and nothing pending: only stored or empty cards in the hand.
bool handStuck(const Hand& hand) {
    for (const Card& c : hand) {
        if (c.state == kCardChosen || c.state == kCardUsed) return false;
    }
    return !handPlayable(hand);
}

// A pause counts its frames down; answers whether it is over.
bool pauseOver(PlaybackStep& step) {
    const std::int32_t left = stepNumber(step.value1);
    if (left <= 0) return true;
    step.value1 = left - 1;
    return false;
}

// A message joins the message box once its frames have passed; answers whether they have.
bool messageShown(PlaybackStep& step, plat::TextBox& messageText, bool& textChanged) {
    if (!countUp(step.value2, kMessageFrames)) return false;
    if (const auto* text = std::get_if<std::u16string>(&step.value1)) {
        messageText.caption += step.shown.empty() ? *text : step.shown;
        textChanged = true;
    }
    return true;
}

// A card stored, used or a hand refilled, once the step's frames have passed.
bool slotStepDone(PlaybackStep& step, SharedBattleState& shared, LoopState& loop) {
    if (!countUp(step.value2, kSlotFrames)) return false;
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
    return true;
}

} // namespace

void shuffleDeck(plat::Services& sv, Deck& deck, std::int32_t& usedCount, std::int32_t& remaining) {
    remaining = kDrawsPerShuffle;
    usedCount = 0;
    deck.pile = deck.cards;
    for (int j = 0; j < kDeckSize; ++j) {
        const std::int32_t k =
            std::clamp(common::randomInRange(sv, 0, kDeckSize - 1), 0, kDeckSize - 1);
        std::swap(deck.pile[k].kind, deck.pile[j].kind);
        deck.pile[j].effect = common::randomInRange(sv, 1, 6);
        deck.pile[j].state = kCardFree;
    }
}

void refillHand(Hand& hand, const std::array<Card, kDeckSize>& pile, std::int32_t& remaining,
                bool& refillAll, const Card& emptyCard) {
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

bool handPlayable(const Hand& hand) {
    return std::any_of(hand.begin(), hand.end(),
                       [](const Card& c) { return c.state == kCardFree && c.kind != 0; });
}

bool playQueuedStep(SharedBattleState& shared, LoopState& loop, Combatant& player,
                    Combatant& monster, plat::TextBox& messageText) {
    Playback& pb = shared.playback;
    if (!pb.active) return false;
    if (pb.current < 0 || static_cast<std::size_t>(pb.current) >= loop.queue.size()) {
        pb.active = false;
        return false;
    }
    PlaybackStep& step = loop.queue[static_cast<std::size_t>(pb.current)];
    bool goOn = true;
    bool textChanged = false;
    switch (step.code) {
    case kStepPause: goOn = pauseOver(step); break;
    case kStepMessage: goOn = messageShown(step, messageText, textChanged); break;
    case kStepMyStore:
    case kStepMyUse:
    case kStepMyRefill:
    case kStepEnemyStore:
    case kStepEnemyUse:
    case kStepEnemyRefill: goOn = slotStepDone(step, shared, loop); break;
    case kStepEnemyDamage: monster.hp = saturatingSub(monster.hp, stepNumber(step.value1)); break;
    case kStepMyDamage: player.hp = saturatingSub(player.hp, stepNumber(step.value1)); break;
    default: break;
    }
    if (goOn) {
        ++pb.current;
        if (pb.current > pb.last) pb.active = false;
    }
    return textChanged;
}

BattleLoop::BattleLoop(plat::Services& sv, BattleWindow& form, LoopState& state, Combatant& player,
                       Combatant& monster, Deck& myDeck, Deck& enemyDeck)
    : sv_(sv), form_(form), shared_(form.shared()), state_(state), player_(player),
      monster_(monster), myDeck_(myDeck), enemyDeck_(enemyDeck), digest_([this] {
          return battleDigest(form_, state_, player_, monster_, myDeck_, enemyDeck_);
      }) {
    state_.key = form_.cursorPictures[0].surface.pixel(0, 0);
    state_.myLayout = playerLayout(form_);
    state_.enemyLayout = enemyLayout(form_);

    sv_.clock.beginPeriod();
    shuffleDeck(sv_, myDeck_, state_.me.usedCount, state_.me.remaining);
    shuffleDeck(sv_, enemyDeck_, state_.enemy.usedCount, state_.enemy.remaining);
    sv_.windows.show(form_);
    state_.me.refillAll = true;
    state_.enemy.refillAll = true;
}

BattleLoop::~BattleLoop() {
    // A test that stops early still gives the timer period back.
    if (!finished_) sv_.clock.endPeriod();
}

bool BattleLoop::runOneFrame() {
    if (ended_ || shared_.closing) return end();
    if (sv_.session) sv_.session->frameBegins(digest_);
    beginFrame();
    if (!takeCommand()) return end();
    playStep();
    form_.chosenCommand = state_.command; // -1 after a resolution
    shuffleWhenDue();
    if (defeatFound()) return end();
    refillHands();
    present();
    ++frames_;

    if (!form_.loaded) return end();
    inactiveWait();
    frameWait();
    sv_.windows.doEvents();
    return true;
}

int BattleLoop::runFrames(int n) {
    const std::int64_t before = frames_;
    for (int i = 0; i < n && runOneFrame(); ++i) {
    }
    return static_cast<int>(frames_ - before);
}

void BattleLoop::finish() {
    if (finished_) return;
    finished_ = true;
    ended_ = true;
    if (sv_.session) sv_.session->gameEnds(digest_);
    sv_.clock.endPeriod();
}

bool BattleLoop::end() {
    ended_ = true;
    return false;
}

// The frame's start: its tick, the stage and the text scratch pictures cleared, and the
// background rebuilt while the player's hand is to be dealt anew.
void BattleLoop::beginFrame() {
    frameStart_ = sv_.clock.timeGetTime();
    textChanged_ = false;
    // The background copied onto the stage first thing in the drawing covers it whole when it is
    // as large; then the clear is left to the two ways out before the drawing, which show the
    // stage cleared while their message is up.
    const plat::Surface& flip = form_.flipPicture.surface;
    flipCovers_ = flip.width() >= form_.stageView.surface.width() &&
                  flip.height() >= form_.stageView.surface.height();
    if (!flipCovers_) form_.stageView.cls();
    form_.textSize16Picture.cls();
    form_.textSize36Picture.cls();
    form_.stageView.surface.setBackColor(plat::kWhite);
    if (state_.me.refillAll) drawBackground(sv_, state_, form_, player_, monster_);
}

// Takes the window's command while no playback runs: the card is marked as chosen and the
// turn resolved. False when the resolution failed (after the error box).
bool BattleLoop::takeCommand() {
    state_.command = form_.chosenCommand;
    if (state_.command < 0 || shared_.playback.active) return true;
    // The window only offers the menu on a free, non-empty card; a command for any other slot
    // is dropped rather than played with a card that cannot be chosen.
    const std::int32_t slot = form_.chosenCard;
    if (!inRange(slot) || shared_.myHand[slot].state != kCardFree ||
        shared_.myHand[slot].kind == 0) {
        state_.command = kCmdNone;
        return true;
    }
    form_.messageText.caption.clear();
    textChanged_ = true;
    shared_.myHand[slot].state = kCardChosen;
    if (resolveTurn(sv_, shared_, state_.queue, state_.command, player_, shared_.myHand, monster_,
                    state_.enemyHand)) {
        return true;
    }
    if (flipCovers_) form_.stageView.cls();
    sv_.windows.messageBox(
        plat::shownText(sv_, "battle", TR_TEXT("battle", "エラーがおこりますた。")), u"",
        plat::MsgButtons::Ok, plat::MsgIcon::None);
    return false;
}

void BattleLoop::playStep() {
    if (!shared_.playback.active) return;
    if (playQueuedStep(shared_, state_, player_, monster_, form_.messageText)) textChanged_ = true;
}

// A side's deck is shuffled when its draws are used up or its whole hand is to be dealt anew.
void BattleLoop::shuffleWhenDue() {
    // A hand of only stored and empty cards could never be played again: deal anew.
    if (!shared_.playback.active && !state_.me.refillAll && handStuck(shared_.myHand)) {
        state_.me.refillAll = true;
    }
    if (state_.me.usedCount >= kDrawsPerShuffle || state_.me.refillAll) {
        shuffleDeck(sv_, myDeck_, state_.me.usedCount, state_.me.remaining);
    }
    if (state_.enemy.usedCount >= kDrawsPerShuffle || state_.enemy.refillAll) {
        shuffleDeck(sv_, enemyDeck_, state_.enemy.usedCount, state_.enemy.remaining);
    }
}

// A side below 0 HP loses: the message box shows it and the battle window is unloaded.
bool BattleLoop::defeatFound() {
    if (player_.hp >= 0 && monster_.hp >= 0) return false;
    if (flipCovers_) form_.stageView.cls();
    if (textChanged_) sv_.windows.sync(form_);
    const bool lost = player_.hp < 0;
    const std::u16string_view pattern =
        lost ? TR_TEXT("battle", "%1は、死んでしまった。戦いは終った…。")
             : TR_TEXT("battle", "%1を倒した！");
    const std::u16string who = plat::shownText(sv_, "battle", lost ? player_.name : monster_.name);
    const std::u16string_view parts[] = {who};
    sv_.windows.messageBox(plat::fillIn(plat::shownText(sv_, "battle", pattern), parts), u"",
                           plat::MsgButtons::Ok, plat::MsgIcon::None);
    sv_.windows.unload(form_);
    return true;
}

void BattleLoop::refillHands() {
    refillHand(shared_.myHand, myDeck_.pile, state_.me.remaining, state_.me.refillAll,
               shared_.emptyCard);
    refillHand(state_.enemyHand, enemyDeck_.pile, state_.enemy.remaining, state_.enemy.refillAll,
               shared_.emptyCard);
}

// Draws the stage and shows it, with the message box when it changed.
void BattleLoop::present() {
    drawStage(sv_, shared_, state_, form_, player_, monster_);
    if (textChanged_) sv_.windows.sync(form_);
}

// The battle pauses while its window is in the background. Both waits block in the window
// system until an event comes or the time is up.
void BattleLoop::inactiveWait() {
    plat::EventWait waits(sv_);
    while (!sv_.windows.isActive(form_) && !shared_.closing)
        waits.pass(kFrameMs);
}

// A frame lasts at least kFrameMs from its start.
void BattleLoop::frameWait() {
    plat::EventWait waits(sv_);
    for (std::uint32_t elapsed; (elapsed = sv_.clock.timeGetTime() - frameStart_) < kFrameMs;)
        waits.pass(kFrameMs - elapsed);
}

std::int32_t battleMain(plat::Services& sv, BattleWindow& form, Combatant& player,
                        Combatant& monster, Deck& myDeck, Deck& enemyDeck) {
    LoopState loop;
    return runBattle(sv, form, loop, player, monster, myDeck, enemyDeck);
}

std::int32_t runBattle(plat::Services& sv, BattleWindow& form, LoopState& loop, Combatant& player,
                       Combatant& monster, Deck& myDeck, Deck& enemyDeck) {
    BattleLoop battle(sv, form, loop, player, monster, myDeck, enemyDeck);
    while (battle.runOneFrame()) {
    }
    battle.finish();
    return 0;
}

} // namespace battle
