// The card battle: turn resolution into a playback queue, deck shuffle and hand refill, the
// frame loop that plays the queue one step per frame, and the drawing of the stage.
//
// How failures travel in battle/: none leaves the battle. Counts and hit points saturate,
// slot numbers outside the hand are ignored, an unreadable number text reads as 0, and a
// request that cannot be carried out answers false (resolveTurn without a command or a
// chosen card). The random draws report their own misuse through common::reportError.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "battle/BattleTypes.h"
#include "battle/BattleWindow.h"
#include "common/Utility.h"
#include "platform/Seams.h"

namespace battle {

// Frames a playback step counts before it acts.
constexpr std::int32_t kMessageFrames = 10;
constexpr std::int32_t kSlotFrames = 5;
// A frame lasts at least this long.
constexpr std::uint32_t kFrameMs = 40;
// Card rows on the stage: slot s lies at s * kSlotPitch + kSlotLeft.
constexpr int kSlotPitch = 77;
constexpr int kSlotLeft = 5;
constexpr int kMyRowTop = 330;
constexpr int kEnemyRowTop = 5;
constexpr int kMonsterLeft = 90, kMonsterTop = 110;
constexpr int kBarWidth = 60, kBarHeight = 15;
constexpr int kFrameRateLeft = 385, kFrameRateTop = 10;

// Per side: cards consumed since the last shuffle, draws left, and whether the whole hand is
// to be dealt anew.
struct SideState {
    std::int32_t usedCount = 0;
    std::int32_t remaining = battle::kDrawsPerShuffle;
    bool refillAll = true;
};

struct Point {
    int x = 0, y = 0;
};

// Where one side's face, name and status are drawn on the stage.
struct StatusLayout {
    Point face;
    int faceWidth = 0, faceHeight = 0;
    Point name;
    Point hpText, hpBar;
    Point mpText, mpBar;
    Point remaining;
};

// Everything the stage picture is drawn from: the stamps of the pictures copied onto it, the
// stage's text settings and the state its texts, bars, cards and cursor show. Two frames with
// equal inputs over the same background draw the same pixels.
struct StageInputs {
    std::array<std::uint64_t, 6> pictures{}; // background, blue bar, both overlays, both cursors
    plat::Color key = 0, fore = 0;
    int fontPx = 0;
    std::array<std::int32_t, 10> status{}; // HP, HP max, MP, MP max and cards used, per side
    Hand mine{}, theirs{};
    std::vector<std::u16string> shortNames;
    std::int32_t cursor = 0, frameRate = 0;
    friend bool operator==(const StageInputs&, const StageInputs&) = default;
};

// Everything the battle loop holds for the length of a battle.
struct LoopState {
    std::vector<PlaybackStep> queue = std::vector<PlaybackStep>(1); // index 0 is the idle step
    Hand enemyHand{};
    SideState me;
    SideState enemy;
    std::int16_t command = battle::kCmdNone;
    plat::Color key = 0;
    StatusLayout myLayout;
    StatusLayout enemyLayout;
    common::FrameRate frameRate{};
    // The inputs of the stage as last drawn and its stamp right after; 0 before the first.
    StageInputs drawn;
    StageInputs next; // scratch, kept to reuse its memory
    std::uint64_t drawnStamp = 0;
};

// ---- Turn rules ----

// The number a step value holds: an integer as it is, true as -1, a text read as a decimal
// number (an unreadable text as 0).
std::int32_t stepNumber(const StepValue& value);

// Reads a power text as a number: decimal digits with an optional sign and fraction; an
// empty or unreadable text reads as 0.
double powerValue(const std::u16string& power);
// (power + attack bonus) x effect / 5, rounded to the nearest integer with halves to even.
// A kind outside the action table has power 0.
std::int32_t attackDamage(const std::vector<Action>& actions, const Combatant& attacker,
                          std::int32_t kind, std::int32_t effect);
// Appends a step at index count + 1 unless value 1 is an empty text.
void queueStep(std::int32_t& count, std::vector<PlaybackStep>& queue, std::int16_t code,
               const StepValue& value1, const StepValue& value2);
// Decides the whole turn into queue steps 1..n and starts the playback; command becomes -1.
// The player's chosen card must already have state 1; without one, or with a command
// outside 0..4, nothing is queued and the answer is false.
bool resolveTurn(plat::Services& sv, SharedBattleState& shared, std::vector<PlaybackStep>& queue,
                 std::int16_t& command, const Combatant& player, Hand& myHand,
                 const Combatant& monster, Hand& enemyHand);

// ---- Deck and hand ----

void shuffleDeck(plat::Services& sv, Deck& deck, std::int32_t& usedCount, std::int32_t& remaining);
void refillHand(Hand& hand, const std::array<Card, battle::kDeckSize>& pile,
                std::int32_t& remaining, bool& refillAll, const Card& emptyCard);
// Whether a hand holds a card the player can still choose (free and not empty).
bool handPlayable(const Hand& hand);

// ---- Playback ----

// Plays the step at the current index for one frame. Answers true when the message box
// changed.
bool playQueuedStep(SharedBattleState& shared, LoopState& loop, Combatant& player,
                    Combatant& monster, plat::TextBox& messageText);

// ---- Stage ----

StatusLayout playerLayout(const battle::BattleWindow& form);
StatusLayout enemyLayout(const battle::BattleWindow& form);
// Rebuilds flipPicture: card backs, faces, names, bar backgrounds and the monster.
void drawBackground(plat::Services& sv, LoopState& loop, battle::BattleWindow& form,
                    const Combatant& player, const Combatant& monster);
// Draws the frame onto stageView and presents it. A stage untouched since it was last drawn, with
// the same inputs, already holds the frame's picture and is left as it is.
void drawStage(plat::Services& sv, SharedBattleState& shared, LoopState& loop,
               battle::BattleWindow& form, const Combatant& player, const Combatant& monster);

// ---- State digest ----

// A 64-bit digest of everything that decides how the battle goes on: both combatants, both
// decks, both hands and their draw state, the playback queue and its position, the pending
// command, the window's chosen card, card cursor and closing flag, and the action table. Pictures, layouts
// and the frame counter are left out. Equal states give equal digests on every machine.
std::uint64_t battleDigest(const battle::BattleWindow& form, const LoopState& loop,
                           const Combatant& player, const Combatant& monster, const Deck& myDeck,
                           const Deck& enemyDeck);

// ---- Loop ----

// The battle's frame loop, one frame at a time, over the loop state the caller holds.
// Construction is the set-up (colour key, layouts, timer period, both decks shuffled, the
// window shown); finish() gives the timer period back. Driving it from a test:
//
//     LoopState state;
//     BattleLoop battle(sv, form, state, player, monster, myDeck, enemyDeck);
//     battle.runOneFrame();          // one whole frame, its waits included (40 ms or more)
//     form.commandButtons[0].onClick();  // input between frames, as the window's handlers get it
//     battle.runFrames(20);
//     battle.finish();
class BattleLoop {
  public:
    BattleLoop(plat::Services& sv, battle::BattleWindow& form, LoopState& state, Combatant& player,
               Combatant& monster, Deck& myDeck, Deck& enemyDeck);
    ~BattleLoop();
    BattleLoop(const BattleLoop&) = delete;
    BattleLoop& operator=(const BattleLoop&) = delete;

    // Runs one frame with its waits. False once the battle has ended: the window was closed
    // (found at the start of a frame, which then does nothing), a side was defeated, the turn
    // could not be resolved, or the window is gone. A recorded or replayed session is told
    // when a frame begins.
    bool runOneFrame();
    // Runs up to n frames; returns how many were drawn.
    int runFrames(int n);
    bool running() const { return !ended_; }
    // Loop end: a recorded or replayed session learns that the game is over, and the timer
    // period goes back. Runs once; later calls do nothing.
    void finish();

    // Frames drawn so far.
    std::int64_t framesRun() const { return frames_; }

  private:
    bool end();
    void beginFrame();
    bool takeCommand();
    void playStep();
    void shuffleWhenDue();
    bool defeatFound();
    void refillHands();
    void present();
    void inactiveWait();
    void frameWait();

    plat::Services& sv_;
    battle::BattleWindow& form_;
    SharedBattleState& shared_;
    LoopState& state_;
    Combatant& player_;
    Combatant& monster_;
    Deck& myDeck_;
    Deck& enemyDeck_;
    std::uint32_t frameStart_ = 0;
    bool textChanged_ = false; // the message box changed in this frame
    bool flipCovers_ = false;  // the background covers the whole stage, so no clear is needed
    std::int64_t frames_ = 0;
    bool ended_ = false;
    bool finished_ = false;
    // The battle's digest, for a recorded or replayed session.
    plat::StateDigest digest_;
};

// Runs the battle until a side falls below 0 HP or the battle window is closed. Shows the
// battle window; always answers 0.
std::int32_t battleMain(plat::Services& sv, battle::BattleWindow& form, Combatant& player,
                        Combatant& monster, Deck& myDeck, Deck& enemyDeck);
// The same loop over loop state the caller holds, so that it can be watched from outside.
std::int32_t runBattle(plat::Services& sv, battle::BattleWindow& form, LoopState& loop,
                       Combatant& player, Combatant& monster, Deck& myDeck, Deck& enemyDeck);

} // namespace battle
