// The battle's built-in content: the action table, the two combatants and their decks.
#pragma once

#include <vector>

#include "battle/BattleTypes.h"

namespace mdlTmp {

// Sizes the table to rows 0..20 and fills rows 0..3; the other rows stay empty.
void psSetActions(std::vector<battle::typAction>& actions);
// The player "ニムス" and the monster "髑髏(ｶﾞｼｬﾄﾞｸﾛ)", with equal statistics.
void psSetCharas(battle::typChara& player, battle::typChara& monster);
// Clears the playback state and the empty card, and fills both decks' compositions.
void psSetDecks(battle::typBattleShared& shared, battle::typDeck& player, battle::typDeck& monster);

} // namespace mdlTmp
