// The battle's state digest, which a recorded session stores now and then and a replay compares.
#include <variant>

#include "battle/Battle.h"

namespace battle {

using common::Digest;

namespace {

void addCard(Digest& d, const Card& c) {
    d.add(c.kind).add(c.effect).add(c.state);
}

template <std::size_t N> void addCards(Digest& d, const std::array<Card, N>& cards) {
    for (const Card& c : cards)
        addCard(d, c);
}

void addCombatant(Digest& d, const Combatant& c) {
    d.add(c.lead).add(c.name).add(c.hp).add(c.mp).add(c.hpMax).add(c.mpMax).add(c.reserved);
    d.add(c.attack);
    for (std::int32_t v : c.status)
        d.add(v);
    for (std::int32_t v : c.combat)
        d.add(v);
}

void addDeck(Digest& d, const Deck& deck) {
    d.add(deck.deckNo).add(deck.name);
    addCards(d, deck.cards);
    addCards(d, deck.pile);
}

void addSide(Digest& d, const SideState& side) {
    d.add(side.usedCount).add(side.remaining).add(side.refillAll);
}

void addStepValue(Digest& d, const StepValue& v) {
    d.add(static_cast<std::uint8_t>(v.index()));
    if (const auto* n = std::get_if<std::int32_t>(&v)) d.add(*n);
    if (const auto* b = std::get_if<bool>(&v)) d.add(*b);
    if (const auto* t = std::get_if<std::u16string>(&v)) d.add(*t);
}

} // namespace

std::uint64_t battleDigest(const battle::BattleWindow& form, const LoopState& loop,
                           const Combatant& player, const Combatant& monster, const Deck& myDeck,
                           const Deck& enemyDeck) {
    Digest d;
    addCombatant(d, player);
    addCombatant(d, monster);
    addDeck(d, myDeck);
    addDeck(d, enemyDeck);

    const SharedBattleState& shared = form.shared();
    addCards(d, shared.myHand);
    addCards(d, loop.enemyHand);
    addCard(d, shared.emptyCard);
    addSide(d, loop.me);
    addSide(d, loop.enemy);

    d.add(shared.playback.active).add(shared.playback.current).add(shared.playback.last);
    d.add(static_cast<std::uint64_t>(loop.queue.size()));
    for (const PlaybackStep& s : loop.queue) {
        d.add(s.code);
        addStepValue(d, s.value1);
        addStepValue(d, s.value2);
    }
    d.add(loop.command).add(form.chosenCommand).add(form.chosenCard).add(form.cursorCard);
    d.add(shared.closing);

    d.add(static_cast<std::uint64_t>(shared.actions.size()));
    for (const Action& a : shared.actions)
        d.add(a.name).add(a.shortName).add(a.power).add(a.valueA).add(a.valueB);
    return d.value();
}

} // namespace battle
