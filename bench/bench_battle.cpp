// The battle's per-frame work: resolving a turn into its queue, playing a step, refilling a
// hand, and drawing the whole stage (with the text recorder, so glyph drawing is left out).
#include <benchmark/benchmark.h>

#include "battle/Battle.h"
#include "battle/BattleContent.h"
#include "battle/BattleWindow.h"
#include "platform/testing/TestSeams.h"

namespace {

struct Stage {
    plat::testing::TestServices ts;
    battle::SharedBattleState shared;
    battle::Combatant player, monster;
    battle::Deck myDeck, enemyDeck;
    battle::BattleWindow form{ts.services, shared};
    battle::LoopState loop;

    Stage() {
        battle::setActions(shared.actions);
        battle::setCombatants(player, monster);
        battle::setDecks(shared, myDeck, enemyDeck);
        form.load();
        loop.key = form.cursorPictures[0].surface.pixel(0, 0);
        loop.myLayout = battle::playerLayout(form);
        loop.enemyLayout = battle::enemyLayout(form);
        battle::shuffleDeck(ts.services, myDeck, loop.me.usedCount, loop.me.remaining);
        battle::shuffleDeck(ts.services, enemyDeck, loop.enemy.usedCount, loop.enemy.remaining);
        battle::refillHand(shared.myHand, myDeck.pile, loop.me.remaining, loop.me.refillAll,
                           shared.emptyCard);
        battle::refillHand(loop.enemyHand, enemyDeck.pile, loop.enemy.remaining,
                           loop.enemy.refillAll, shared.emptyCard);
        battle::drawBackground(ts.services, loop, form, player, monster);
        form.cursorCard = 2;
    }
};

void BM_TurnResolve(benchmark::State& state) {
    Stage s;
    for (auto _ : state) {
        s.shared.myHand[1].state = battle::kCardChosen;
        for (auto& c : s.loop.enemyHand)
            c.state = battle::kCardFree;
        std::int16_t command = battle::kCmdAttack;
        benchmark::DoNotOptimize(battle::resolveTurn(s.ts.services, s.shared, s.loop.queue, command,
                                                     s.player, s.shared.myHand, s.monster,
                                                     s.loop.enemyHand));
    }
}
BENCHMARK(BM_TurnResolve);

void BM_DeckShuffle(benchmark::State& state) {
    Stage s;
    for (auto _ : state) {
        battle::shuffleDeck(s.ts.services, s.myDeck, s.loop.me.usedCount, s.loop.me.remaining);
        benchmark::DoNotOptimize(s.myDeck.pile);
    }
}
BENCHMARK(BM_DeckShuffle);

void BM_DrawStage(benchmark::State& state) {
    Stage s;
    for (auto _ : state) {
        s.ts.text.calls.clear();
        battle::drawStage(s.ts.services, s.shared, s.loop, s.form, s.player, s.monster);
        benchmark::DoNotOptimize(s.form.stageView.surface.data());
    }
}
BENCHMARK(BM_DrawStage);

void BM_DrawBackground(benchmark::State& state) {
    Stage s;
    for (auto _ : state) {
        s.ts.text.calls.clear();
        battle::drawBackground(s.ts.services, s.loop, s.form, s.player, s.monster);
        benchmark::DoNotOptimize(s.form.flipPicture.surface.data());
    }
}
BENCHMARK(BM_DrawBackground);

} // namespace

BENCHMARK_MAIN();
