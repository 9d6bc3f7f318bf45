// The card battle's records: actions, cards, decks, combatants, playback steps, and the state
// the battle window shares with the battle loop.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace battle {

constexpr int kHandSize = 5;
// A card slot: none chosen, none under the pointer.
constexpr std::int32_t kNoSlot = -1;
constexpr int kDeckSize = 24;
constexpr int kActionRows = 21; // rows 0..20
// Draws after a shuffle: the 24th card of a pile is never drawn.
constexpr std::int32_t kDrawsPerShuffle = 23;

// Card states.
enum CardState : std::int32_t {
    kCardFree = 0,
    kCardChosen = 1,
    kCardStored = 2,
    kCardUsed = 3,
};

// Commands of the player's turn (the index of the command button).
enum Command : std::int16_t {
    kCmdNone = -1,
    kCmdAttack = 0,
    kCmdDefend = 1,
    kCmdStore = 2,
    kCmdReshuffle = 3,
    kCmdFlee = 4,
};

struct Action {
    std::u16string name;      // full name, used in the battle messages
    std::u16string shortName; // one character drawn on the card face
    std::u16string power;     // decimal number held as text; empty reads as 0
    std::int32_t valueA = 0;  // not read by the battle
    std::int32_t valueB = 0;  // not read by the battle
};

struct Card {
    std::int32_t kind = 0;   // row of the action table; 0 marks an empty card
    std::int32_t effect = 0; // strength 1..6 once shuffled
    std::int32_t state = kCardFree;
    friend bool operator==(const Card&, const Card&) = default;
};

using Hand = std::array<Card, kHandSize>;

struct Deck {
    std::int32_t deckNo = 0; // not read
    std::u16string name;
    std::array<Card, kDeckSize> cards{}; // the composition (kinds only)
    std::array<Card, kDeckSize> pile{};  // the shuffled copy cards are drawn from
};

struct Combatant {
    std::int32_t lead = 0; // not read
    std::u16string name;
    std::array<std::int32_t, 7> status{}; // not read by the battle
    std::int32_t hp = 0;
    std::int32_t mp = 0;
    std::int32_t hpMax = 0;
    std::int32_t mpMax = 0;
    std::int64_t reserved = 0;            // not read
    std::int32_t attack = 0;              // added to the action's power in the damage formula
    std::array<std::int32_t, 4> combat{}; // not read by the battle
};

// A playback step value: an integer, a boolean or a text.
using StepValue = std::variant<std::int32_t, bool, std::u16string>;

struct PlaybackStep {
    std::int16_t code = 0;
    StepValue value1 = std::int32_t{0};
    StepValue value2 = std::int32_t{0};
    // A message as the player reads it, when it differs from value 1 (which keeps the original
    // text for the digest, so a battle goes the same in every language).
    std::u16string shown = {};
};

// Step codes of the playback queue.
enum StepCode : std::int16_t {
    kStepIdle = 0,
    kStepPause = 11,        // value 1 frames to wait
    kStepMessage = 150,     // value 1 text, appended after 10 frames
    kStepMyStore = 302,     // player's slot becomes stored after 5 frames
    kStepMyUse = 303,       // player's slot becomes used after 5 frames
    kStepMyRefill = 309,    // player's refill-all flag after 5 frames
    kStepEnemyStore = 312,  // as 302 on the monster's hand
    kStepEnemyUse = 313,    // as 303 on the monster's hand
    kStepEnemyRefill = 319, // as 309 for the monster
    kStepEnemyDamage = 351, // monster's HP falls by value 1 at once
    kStepMyDamage = 361,    // player's HP falls by value 1 at once
};

struct Playback {
    bool active = false;
    std::int32_t current = 0;
    std::int32_t last = 0;
};

// State that lives as long as the battle program and is shared by the battle window's handlers
// and the battle loop.
struct SharedBattleState {
    std::vector<Action> actions; // rows 0..20
    Hand myHand{};               // the player's hand (the monster's belongs to the loop)
    Card emptyCard{};
    Playback playback;
    bool closing = false; // set while the battle window is being closed
};

} // namespace battle
