#include "battle/BattleContent.h"

#include "platform/Translator.h"

namespace battle {

void setActions(std::vector<Action>& actions) {
    actions.assign(battle::kActionRows, Action{});
    actions[0] = {u"", u"", u"0", 0, 1};
    actions[1] = {TR_TEXT("battle", "殴りつける"), TR_TEXT("battle", "殴"), u"10", 23, 1};
    actions[2] = {TR_TEXT("battle", "噛み付く"), TR_TEXT("battle", "噛"), u"8", 23, 1};
    actions[3] = {TR_TEXT("battle", "蹴りつける"), TR_TEXT("battle", "蹴"), u"15", 23, 1};
}

namespace {

void setStats(Combatant& c) {
    c.status = {1, 10, 10, 10, 10, 10, 10};
    c.hp = 200;
    c.mp = 50;
    c.hpMax = 200;
    c.mpMax = 50;
    c.attack = 10;
    c.combat = {20, 30, 30, 0};
}

} // namespace

void setCombatants(Combatant& player, Combatant& monster) {
    player.name = TR_TEXT("battle", "ニムス");
    setStats(player);
    monster.name = TR_TEXT("battle", "髑髏(ｶﾞｼｬﾄﾞｸﾛ)");
    setStats(monster);
}

void setDecks(battle::SharedBattleState& shared, Deck& player, Deck& monster) {
    shared.playback = {};
    shared.emptyCard = Card{0, 0, 0};

    player.deckNo = 0;
    player.name = u"さいしょのデッキ";
    for (int i = 0; i < battle::kDeckSize; ++i) {
        player.cards[i] = Card{i <= 12 ? 1 : 3, 0, 0};
    }
    monster.deckNo = 0;
    monster.name = u"モンスタのデッキ";
    for (auto& c : monster.cards)
        c = Card{2, 0, 0};
}

} // namespace battle
