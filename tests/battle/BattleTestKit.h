// Shared set-up of the battle tests: the built-in data, hands written as short card lists,
// and the playback queue as readable lines.
#pragma once

#include <string>
#include <vector>

#include "battle/Battle.h"
#include "battle/BattleContent.h"
#include "battle/BattleTypes.h"
#include "common/Utility.h"

namespace battletest {

using battle::Card;
using battle::Hand;

inline Card card(int kind, int effect, int state = battle::kCardFree) {
    return Card{kind, effect, state};
}

// The built-in actions, combatants and decks.
struct BattleData {
    battle::SharedBattleState shared;
    battle::Combatant player, monster;
    battle::Deck myDeck, enemyDeck;
    BattleData() {
        battle::setActions(shared.actions);
        battle::setCombatants(player, monster);
        battle::setDecks(shared, myDeck, enemyDeck);
    }
};

inline std::string utf8(const std::u16string& s) {
    return common::toUtf8(s);
}

inline std::string valueText(const battle::StepValue& v) {
    if (const auto* n = std::get_if<std::int32_t>(&v)) return std::to_string(*n);
    if (const auto* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
    return std::string("\"").append(utf8(std::get<std::u16string>(v))).append("\"");
}

// Steps 1..last as "code value1 value2".
inline std::vector<std::string> queueLines(const std::vector<battle::PlaybackStep>& q, int last) {
    std::vector<std::string> out;
    for (int i = 1; i <= last && i < static_cast<int>(q.size()); ++i) {
        out.push_back(std::to_string(q[i].code) + " " + valueText(q[i].value1) + " " +
                      valueText(q[i].value2));
    }
    return out;
}

inline std::string msg(const std::string& text) {
    return "150 \"" + text + "\" 0";
}

} // namespace battletest
