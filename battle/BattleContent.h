// The battle's built-in content: the action table, the two combatants and their decks.
#pragma once

#include <vector>

#include "battle/BattleTypes.h"

namespace battle {

// Sizes the table to rows 0..20 and fills rows 0..3; the other rows stay empty.
void setActions(std::vector<battle::Action>& actions);
// The player "ニムス" and the monster "髑髏(ｶﾞｼｬﾄﾞｸﾛ)", with equal statistics.
void setCombatants(battle::Combatant& player, battle::Combatant& monster);
// Clears the playback state and the empty card, and fills both decks' compositions.
void setDecks(battle::SharedBattleState& shared, battle::Deck& player, battle::Deck& monster);

} // namespace battle
