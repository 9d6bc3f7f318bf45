// Turn rules: the monster's choice, stored cards, the five commands, damage and the messages,
// all decided at once into the playback queue.
#include "battle/mdlBattleFunction.h"

#include <cmath>
#include <limits>

namespace mdlBattleFunction {

using namespace battle;

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

constexpr auto num = mdlCommon::pfDecimal;

const std::u16string& actionName(const std::vector<typAction>& actions, std::int32_t kind) {
    static const std::u16string kNone;
    if (kind < 0 || static_cast<std::size_t>(kind) >= actions.size()) return kNone;
    return actions[static_cast<std::size_t>(kind)].name;
}

std::int32_t clampToInt32(double x) {
    if (!(x == x)) return 0; // NaN
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (x <= lo) return std::numeric_limits<std::int32_t>::min();
    if (x >= hi) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(x);
}

// The line a side gets when stored cards raised its effect number.
std::u16string releaseLine(const std::u16string& who, const std::u16string& action,
                           std::int32_t effect) {
    return who + u"は溜め込まれていた[" + action + u"]を解放した！ 効力数が" + num(effect) +
           u"になった！！" + std::u16string(kCrLf);
}

std::u16string choiceLine(const std::u16string& who, std::int32_t effect,
                          const std::u16string& action) {
    return who + u"は効力数[" + num(effect) + u"]の[" + action + u"]を選択した。" +
           std::u16string(kCrLf);
}

} // namespace

std::int32_t pfStepNumber(const BtlValue& value) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return *n;
    if (const auto* b = std::get_if<bool>(&value)) return *b ? -1 : 0;
    return clampToInt32(mdlCommon::pfRoundHalfEven(pfPowerValue(std::get<std::u16string>(value))));
}

double pfPowerValue(const std::u16string& power) {
    std::size_t i = 0;
    while (i < power.size() && power[i] == u' ')
        ++i;
    bool negative = false;
    if (i < power.size() && (power[i] == u'+' || power[i] == u'-')) {
        negative = power[i] == u'-';
        ++i;
    }
    double value = 0.0;
    bool any = false;
    for (; i < power.size() && power[i] >= u'0' && power[i] <= u'9'; ++i) {
        value = value * 10.0 + (power[i] - u'0');
        any = true;
    }
    if (i < power.size() && power[i] == u'.') {
        double scale = 0.1;
        for (++i; i < power.size() && power[i] >= u'0' && power[i] <= u'9'; ++i) {
            value += (power[i] - u'0') * scale;
            scale /= 10.0;
            any = true;
        }
    }
    if (!any || !std::isfinite(value)) return 0.0;
    return negative ? -value : value;
}

std::int32_t pfDamage(const std::vector<typAction>& actions, const typChara& attacker,
                      std::int32_t kind, std::int32_t effect) {
    double power = 0.0;
    if (kind >= 0 && static_cast<std::size_t>(kind) < actions.size()) {
        power = pfPowerValue(actions[static_cast<std::size_t>(kind)].power);
    }
    const double raw =
        (power + static_cast<double>(attacker.attack)) * static_cast<double>(effect) / 5.0;
    return clampToInt32(mdlCommon::pfRoundHalfEven(raw));
}

void psStepAdd(std::int32_t& count, std::vector<typBtlStep>& queue, std::int16_t code,
               const BtlValue& value1, const BtlValue& value2) {
    if (const auto* text = std::get_if<std::u16string>(&value1); text && text->empty()) return;
    if (count < 0) count = 0;
    ++count;
    queue.resize(static_cast<std::size_t>(count) + 1);
    queue[static_cast<std::size_t>(count)] = typBtlStep{code, value1, value2};
}

bool pfTurnResolve(plat::Services& sv, typBattleShared& shared, std::vector<typBtlStep>& queue,
                   std::int16_t& cmd, const typChara& player, Hand& myHand, const typChara& monster,
                   Hand& enemyHand) {
    if (cmd < kCmdAttack || cmd > kCmdFlee) return false;
    int sp = -1;
    for (int s = 0; s < kHandSize; ++s) {
        if (myHand[s].state == kCardChosen) {
            sp = s;
            break;
        }
    }
    if (sp < 0) return false;
    if (queue.empty()) queue.resize(1);

    const auto& actions = shared.actions;
    const std::u16string& name = player.name;
    const std::u16string& foe = monster.name;
    std::int32_t count = 0;
    const BtlValue none = std::u16string();
    const BtlValue zero = std::int32_t{0};

    psStepAdd(count, queue, kStepPause, std::u16string(u"5"), none);

    // The monster takes the first free slot its dice land on; it does not look at the kind.
    int sm = -1;
    for (int tries = 0; tries <= 100; ++tries) {
        const std::int32_t s = mdlCommon::pfRndNum(sv, 0, kHandSize - 1);
        if (s < 0 || s >= kHandSize) continue;
        if (enemyHand[s].state == kCardFree) {
            enemyHand[s].state = kCardChosen;
            sm = s;
            break;
        }
    }
    // Without a choice the monster plays nothing: effect 0 and no action, on slot 0's step.
    const bool enemyChose = sm >= 0;
    const typCard myCard = myHand[sp];
    const typCard enemyCard = enemyChose ? enemyHand[sm] : shared.emptyCard;
    if (!enemyChose) sm = 0;

    // Stored cards of the played kind join the played card, side by side in slot order.
    std::int32_t p = myCard.effect;
    std::int32_t m = enemyCard.effect;
    for (int s = 0; s < kHandSize; ++s) {
        if (s == sp && cmd == kCmdAttack) {
            for (int b = 0; b < kHandSize; ++b) {
                if (myHand[b].state == kCardStored && myHand[b].kind == myCard.kind) {
                    psStepAdd(count, queue, kStepMyUse, std::int32_t{b}, zero);
                    p += myHand[b].effect;
                }
            }
        }
        if (s == sm && enemyChose) {
            for (int e = 0; e < kHandSize; ++e) {
                if (enemyHand[e].state == kCardStored && enemyHand[e].kind == enemyCard.kind) {
                    psStepAdd(count, queue, kStepEnemyUse, std::int32_t{e}, zero);
                    m += enemyHand[e].effect;
                }
            }
        }
    }

    const std::u16string& myAction = actionName(actions, myCard.kind);
    const std::u16string& enemyAction = actionName(actions, enemyCard.kind);
    std::u16string msg;
    auto queueMessage = [&] {
        psStepAdd(count, queue, kStepMessage, msg, zero);
        msg.clear();
    };

    msg =
        choiceLine(name, myCard.effect, myAction) + choiceLine(foe, enemyCard.effect, enemyAction);
    queueMessage();

    if (cmd == kCmdAttack && p != myCard.effect) msg += releaseLine(name, myAction, p);
    if (m != enemyCard.effect) msg += releaseLine(foe, enemyAction, m);
    queueMessage();

    switch (cmd) {
    case kCmdDefend:
        psStepAdd(count, queue, kStepMyUse, std::int32_t{sp}, zero);
        m -= p;
        msg = name + u"は防御し相手の効力を打ち消した！" + std::u16string(kCrLf) + foe +
              u"の効力数を[" + num(m) + u"]に減らした！" + std::u16string(kCrLf);
        queueMessage();
        break;
    case kCmdStore: {
        int stored = 0;
        for (const typCard& c : myHand)
            stored += c.state == kCardStored ? 1 : 0;
        if (stored < 4) {
            psStepAdd(count, queue, kStepMyStore, std::int32_t{sp}, zero);
            msg = name + u"は力を溜め込んだ！" + std::u16string(kCrLf);
        } else {
            for (int s = 0; s < kHandSize; ++s) {
                psStepAdd(count, queue, kStepMyUse, std::int32_t{s}, zero);
            }
            msg = name + u"は力を溜め込もうとしたが溜め込みすぎて流れてしまった！" +
                  std::u16string(kCrLf);
        }
        queueMessage();
        break;
    }
    case kCmdReshuffle:
        psStepAdd(count, queue, kStepMyUse, std::int32_t{sp}, zero);
        if (m < p) {
            msg = name + u"は手札を切りなおしに成功した！" + std::u16string(kCrLf);
            psStepAdd(count, queue, kStepMyRefill, true, zero);
        } else {
            msg = name + u"は手札を切りなおしに失敗した！" + std::u16string(kCrLf);
        }
        queueMessage();
        queueMessage();
        break;
    case kCmdFlee:
        psStepAdd(count, queue, kStepMyUse, std::int32_t{sp}, zero);
        if (m < p) {
            msg = u"この戦闘は逃げることができません！" + std::u16string(kCrLf);
        } else {
            msg = name + u"逃げるのに失敗した！" + std::u16string(kCrLf);
        }
        queueMessage();
        break;
    default: break;
    }

    // The player's attack.
    std::int32_t damage = 0;
    if (cmd == kCmdAttack) {
        psStepAdd(count, queue, kStepMyUse, std::int32_t{sp}, zero);
        if (m < p) {
            damage = pfDamage(actions, player, myCard.kind, p);
            msg = name + u"は[" + myAction + u"]をしかけた！ " + foe + u"に" + num(damage) +
                  u"のダメージを与えた！！" + std::u16string(kCrLf);
        }
    }
    psStepAdd(count, queue, kStepEnemyDamage, damage, none);
    queueMessage();

    // The monster's attack.
    damage = 0;
    psStepAdd(count, queue, kStepEnemyUse, std::int32_t{sm}, zero);
    if (cmd != kCmdAttack || p < m) {
        if (cmd == kCmdDefend && m <= 0) {
            msg = foe + u"は攻撃に失敗した！" + num(p) + u"||" + num(m) + std::u16string(kCrLf);
        } else {
            damage = pfDamage(actions, monster, enemyCard.kind, m);
            msg = foe + u"は[" + enemyAction + u"]をしてきた！ " + name + u"は" + num(damage) +
                  u"のダメージをくらった！！" + std::u16string(kCrLf);
        }
    }
    psStepAdd(count, queue, kStepMyDamage, damage, none);
    queueMessage();

    if (cmd == kCmdAttack && p == m) {
        psStepAdd(count, queue, kStepMyUse, std::int32_t{sp}, zero);
        psStepAdd(count, queue, kStepEnemyUse, std::int32_t{sm}, zero);
        msg = u"力は拮抗している！！ 引き分けた！！" + std::u16string(kCrLf);
        queueMessage();
    }

    shared.playback.current = 0;
    shared.playback.last = count;
    shared.playback.active = true;
    cmd = kCmdNone;
    return true;
}

} // namespace mdlBattleFunction
