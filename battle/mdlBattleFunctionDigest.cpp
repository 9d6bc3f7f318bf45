// The battle's state digest, which a recorded session stores now and then and a replay compares.
#include <variant>

#include "battle/mdlBattleFunction.h"

namespace mdlBattleFunction {

using mdlCommon::typDigest;

namespace {

void addCard(typDigest& d, const typCard& c) {
    d.add(c.kind).add(c.effect).add(c.state);
}

template <std::size_t N> void addCards(typDigest& d, const std::array<typCard, N>& cards) {
    for (const typCard& c : cards)
        addCard(d, c);
}

void addChara(typDigest& d, const typChara& c) {
    d.add(c.lead).add(c.name).add(c.hp).add(c.mp).add(c.hpMax).add(c.mpMax).add(c.reserved);
    d.add(c.attack);
    for (std::int32_t v : c.status)
        d.add(v);
    for (std::int32_t v : c.combat)
        d.add(v);
}

void addDeck(typDigest& d, const typDeck& deck) {
    d.add(deck.deckNo).add(deck.name);
    addCards(d, deck.cards);
    addCards(d, deck.pile);
}

void addSide(typDigest& d, const typSideState& side) {
    d.add(side.usedCount).add(side.remaining).add(side.refillAll);
}

void addStepValue(typDigest& d, const BtlValue& v) {
    d.add(static_cast<std::uint8_t>(v.index()));
    if (const auto* n = std::get_if<std::int32_t>(&v)) d.add(*n);
    if (const auto* b = std::get_if<bool>(&v)) d.add(*b);
    if (const auto* t = std::get_if<std::u16string>(&v)) d.add(*t);
}

} // namespace

std::uint64_t pfBattleDigest(const battle::frmBattle& form, const typBattleLoop& loop,
                             const typChara& player, const typChara& monster, const typDeck& myDeck,
                             const typDeck& enemyDeck) {
    typDigest d;
    addChara(d, player);
    addChara(d, monster);
    addDeck(d, myDeck);
    addDeck(d, enemyDeck);

    const typBattleShared& shared = form.shared();
    addCards(d, shared.myHand);
    addCards(d, loop.enemyHand);
    addCard(d, shared.emptyCard);
    addSide(d, loop.me);
    addSide(d, loop.enemy);

    d.add(shared.playback.active).add(shared.playback.current).add(shared.playback.last);
    d.add(static_cast<std::uint64_t>(loop.queue.size()));
    for (const typBtlStep& s : loop.queue) {
        d.add(s.code);
        addStepValue(d, s.value1);
        addStepValue(d, s.value2);
    }
    d.add(loop.cmd).add(form.pintBtlCmdIdx).add(form.plngNowCardSelect).add(form.plngCursorView);
    d.add(shared.closing);

    d.add(static_cast<std::uint64_t>(shared.actions.size()));
    for (const typAction& a : shared.actions)
        d.add(a.name).add(a.shortName).add(a.power).add(a.valueA).add(a.valueB);
    return d.value();
}

} // namespace mdlBattleFunction
