// Turn rules: the monster's choice, stored cards, the five commands, damage and the messages,
// all decided at once into the playback queue.
#include "battle/Battle.h"

#include <cmath>
#include <limits>

#include "platform/Translator.h"

namespace battle {

using namespace battle;

namespace {

const std::u16string kCrLf = u"\r\n";

constexpr auto num = common::decimal;

const std::u16string& actionName(const std::vector<Action>& actions, std::int32_t kind) {
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

// The slot of the player's chosen card, kNoSlot without one.
int chosenSlot(const Hand& hand) {
    for (int s = 0; s < kHandSize; ++s) {
        if (hand[s].state == kCardChosen) return s;
    }
    return kNoSlot;
}

// One turn being decided. Each step of the turn is one member, called in the order the steps
// are queued; between them the object holds both sides' cards, their effect numbers as stored
// cards and a defence change them, the step count and the message being built.
class TurnResolution {
  public:
    TurnResolution(const plat::Services& sv, SharedBattleState& shared,
                   std::vector<PlaybackStep>& queue, std::int16_t command, const Combatant& player,
                   Hand& myHand, int mySlot, const Combatant& monster, Hand& enemyHand)
        : sv_(sv), actions_(shared.actions), emptyCard_(shared.emptyCard), queue_(queue),
          command_(command), player_(player), myHand_(myHand), sp_(mySlot), myCard_(myHand[mySlot]),
          monster_(monster), enemyHand_(enemyHand) {}

    std::int32_t stepCount() const { return count_; }

    // A pause before anything is shown.
    void queuePause() { add(kStepPause, std::u16string(u"5"), kNone); }

    // The monster takes the first free slot its dice land on; it does not look at the kind.
    // Without a choice it plays nothing: effect 0 and no action, on slot 0's steps.
    void chooseMonsterCard(plat::Services& sv) {
        for (int tries = 0; tries <= 100; ++tries) {
            const std::int32_t s = common::randomInRange(sv, 0, kHandSize - 1);
            if (s < 0 || s >= kHandSize) continue;
            if (enemyHand_[s].state == kCardFree) {
                enemyHand_[s].state = kCardChosen;
                sm_ = s;
                enemyChose_ = true;
                enemyCard_ = enemyHand_[s];
                return;
            }
        }
        sm_ = 0;
        enemyChose_ = false;
        enemyCard_ = emptyCard_;
    }

    // Stored cards of the played kind join the played card (the player's only in an attack),
    // side by side in slot order.
    void joinStoredCards() {
        p_ = myCard_.effect;
        m_ = enemyCard_.effect;
        for (int s = 0; s < kHandSize; ++s) {
            if (s == sp_ && command_ == kCmdAttack) {
                p_ += useStored(myHand_, myCard_.kind, kStepMyUse);
            }
            if (s == sm_ && enemyChose_) {
                m_ += useStored(enemyHand_, enemyCard_.kind, kStepEnemyUse);
            }
        }
    }

    // Both sides' chosen cards with their own numbers.
    void queueChoice() {
        constexpr std::u16string_view kChoice =
            TR_TEXT("battle", "%1は効力数[%2]の[%3]を選択した。");
        say(kChoice, {name(player_.name), number(myCard_.effect), name(myAction())});
        say(kChoice, {name(monster_.name), number(enemyCard_.effect), name(enemyAction())});
        queueMessage();
    }

    // The numbers that stored cards raised.
    void queueRelease() {
        constexpr std::u16string_view kRelease =
            TR_TEXT("battle", "%1は溜め込まれていた[%2]を解放した！ 効力数が%3になった！！");
        if (command_ == kCmdAttack && p_ != myCard_.effect)
            say(kRelease, {name(player_.name), name(myAction()), number(p_)});
        if (m_ != enemyCard_.effect)
            say(kRelease, {name(monster_.name), name(enemyAction()), number(m_)});
        queueMessage();
    }

    // What the command does besides the attacks; an attack has nothing here.
    void queueCommandOutcome() {
        switch (command_) {
        case kCmdDefend: queueDefend(); break;
        case kCmdStore: queueStore(); break;
        case kCmdReshuffle: queueReshuffle(); break;
        case kCmdFlee: queueFlee(); break;
        default: break;
        }
    }

    // The player hits only in an attack with the higher number.
    void queuePlayerAttack() {
        std::int32_t damage = 0;
        if (command_ == kCmdAttack) {
            add(kStepMyUse, std::int32_t{sp_}, kZero);
            if (m_ < p_) {
                damage = attackDamage(actions_, player_, myCard_.kind, p_);
                say(TR_TEXT("battle", "%1は[%2]をしかけた！ %3に%4のダメージを与えた！！"),
                    {name(player_.name), name(myAction()), name(monster_.name), number(damage)});
            }
        }
        add(kStepEnemyDamage, damage, kNone);
        queueMessage();
    }

    // The monster hits unless the player attacked with the higher or an equal number, or
    // defended it away entirely.
    void queueMonsterAttack() {
        std::int32_t damage = 0;
        add(kStepEnemyUse, std::int32_t{sm_}, kZero);
        if (command_ != kCmdAttack || p_ < m_) {
            if (command_ == kCmdDefend && m_ <= 0) {
                say(TR_TEXT("battle", "%1は攻撃に失敗した！%2||%3"),
                    {name(monster_.name), number(p_), number(m_)});
            } else {
                damage = attackDamage(actions_, monster_, enemyCard_.kind, m_);
                say(TR_TEXT("battle", "%1は[%2]をしてきた！ %3は%4のダメージをくらった！！"),
                    {name(monster_.name), name(enemyAction()), name(player_.name), number(damage)});
            }
        }
        add(kStepMyDamage, damage, kNone);
        queueMessage();
    }

    // Equal numbers in an attack: each side discards one card more.
    void queueTie() {
        if (command_ != kCmdAttack || p_ != m_) return;
        add(kStepMyUse, std::int32_t{sp_}, kZero);
        add(kStepEnemyUse, std::int32_t{sm_}, kZero);
        say(TR_TEXT("battle", "力は拮抗している！！ 引き分けた！！"), {});
        queueMessage();
    }

  private:
    // The defence cancels the player's number from the monster's.
    void queueDefend() {
        add(kStepMyUse, std::int32_t{sp_}, kZero);
        m_ -= p_;
        say(TR_TEXT("battle", "%1は防御し相手の効力を打ち消した！"), {name(player_.name)});
        say(TR_TEXT("battle", "%1の効力数を[%2]に減らした！"), {name(monster_.name), number(m_)});
        queueMessage();
    }

    // Up to four cards can be stored; storing a fifth discards the whole hand.
    void queueStore() {
        int stored = 0;
        for (const Card& c : myHand_)
            stored += c.state == kCardStored ? 1 : 0;
        if (stored < 4) {
            add(kStepMyStore, std::int32_t{sp_}, kZero);
            say(TR_TEXT("battle", "%1は力を溜め込んだ！"), {name(player_.name)});
        } else {
            for (int s = 0; s < kHandSize; ++s)
                add(kStepMyUse, std::int32_t{s}, kZero);
            say(TR_TEXT("battle", "%1は力を溜め込もうとしたが溜め込みすぎて流れてしまった！"),
                {name(player_.name)});
        }
        queueMessage();
    }

    // A new hand when the player's number beats the monster's. The second message step finds
    // the text already queued and emptied, so it adds nothing.
    void queueReshuffle() {
        add(kStepMyUse, std::int32_t{sp_}, kZero);
        if (m_ < p_) {
            say(TR_TEXT("battle", "%1は手札を切りなおしに成功した！"), {name(player_.name)});
            add(kStepMyRefill, true, kZero);
        } else {
            say(TR_TEXT("battle", "%1は手札を切りなおしに失敗した！"), {name(player_.name)});
        }
        queueMessage();
        queueMessage();
    }

    // Fleeing never ends the battle, whatever the numbers.
    void queueFlee() {
        add(kStepMyUse, std::int32_t{sp_}, kZero);
        if (m_ < p_) {
            say(TR_TEXT("battle", "この戦闘は逃げることができません！"), {});
        } else {
            say(TR_TEXT("battle", "%1逃げるのに失敗した！"), {name(player_.name)});
        }
        queueMessage();
    }

    // Use steps for the stored cards of a kind; answers the sum of their effect numbers.
    std::int32_t useStored(const Hand& hand, std::int32_t kind, std::int16_t useCode) {
        std::int32_t sum = 0;
        for (int b = 0; b < kHandSize; ++b) {
            if (hand[b].state == kCardStored && hand[b].kind == kind) {
                add(useCode, std::int32_t{b}, kZero);
                sum += hand[b].effect;
            }
        }
        return sum;
    }

    void add(std::int16_t code, const StepValue& value1, const StepValue& value2) {
        queueStep(count_, queue_, code, value1, value2);
    }
    // A part of a message line: a name, shown in the player's language, or a number.
    struct Part {
        std::u16string original, shown;
    };
    Part name(const std::u16string& text) const {
        return {text, plat::shownText(sv_, "battle", text)};
    }
    static Part number(std::int64_t n) { return {num(n), num(n)}; }

    // Adds a line to the message: the pattern filled with the original parts for the queue,
    // its translation with the parts as shown for the player.
    void say(std::u16string_view pattern, std::initializer_list<Part> parts) {
        std::vector<std::u16string_view> original, shown;
        for (const Part& p : parts) {
            original.push_back(p.original);
            shown.push_back(p.shown);
        }
        msg_ += plat::fillIn(pattern, original) + kCrLf;
        shown_ += plat::fillIn(plat::shownText(sv_, "battle", pattern), shown) + kCrLf;
    }

    // Queues the message built so far (an empty one adds nothing) and starts the next.
    void queueMessage() {
        const std::int32_t before = count_;
        add(kStepMessage, msg_, kZero);
        if (count_ != before && shown_ != msg_)
            queue_[static_cast<std::size_t>(count_)].shown = std::move(shown_);
        msg_.clear();
        shown_.clear();
    }
    const std::u16string& myAction() const { return actionName(actions_, myCard_.kind); }
    const std::u16string& enemyAction() const { return actionName(actions_, enemyCard_.kind); }

    inline static const StepValue kNone = std::u16string();
    inline static const StepValue kZero = std::int32_t{0};

    const plat::Services& sv_;
    const std::vector<Action>& actions_;
    const Card& emptyCard_;
    std::vector<PlaybackStep>& queue_;
    const std::int16_t command_;
    const Combatant& player_;
    Hand& myHand_;
    const int sp_; // the player's chosen slot
    const Card myCard_;
    const Combatant& monster_;
    Hand& enemyHand_;
    int sm_ = 0; // the monster's chosen slot (0 when it has none)
    bool enemyChose_ = false;
    Card enemyCard_{};
    std::int32_t p_ = 0; // the player's effect number for the turn
    std::int32_t m_ = 0; // the monster's
    std::int32_t count_ = 0;
    std::u16string msg_;   // the message as the queue keeps it
    std::u16string shown_; // the same as the player reads it
};

} // namespace

std::int32_t stepNumber(const StepValue& value) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return *n;
    if (const auto* b = std::get_if<bool>(&value)) return *b ? -1 : 0;
    return clampToInt32(common::roundHalfEven(powerValue(std::get<std::u16string>(value))));
}

double powerValue(const std::u16string& power) {
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

std::int32_t attackDamage(const std::vector<Action>& actions, const Combatant& attacker,
                          std::int32_t kind, std::int32_t effect) {
    double power = 0.0;
    if (kind >= 0 && static_cast<std::size_t>(kind) < actions.size()) {
        power = powerValue(actions[static_cast<std::size_t>(kind)].power);
    }
    const double raw =
        (power + static_cast<double>(attacker.attack)) * static_cast<double>(effect) / 5.0;
    return clampToInt32(common::roundHalfEven(raw));
}

void queueStep(std::int32_t& count, std::vector<PlaybackStep>& queue, std::int16_t code,
               const StepValue& value1, const StepValue& value2) {
    if (const auto* text = std::get_if<std::u16string>(&value1); text && text->empty()) return;
    if (count < 0) count = 0;
    ++count;
    queue.resize(static_cast<std::size_t>(count) + 1);
    queue[static_cast<std::size_t>(count)] = PlaybackStep{code, value1, value2};
}

bool resolveTurn(plat::Services& sv, SharedBattleState& shared, std::vector<PlaybackStep>& queue,
                 std::int16_t& command, const Combatant& player, Hand& myHand,
                 const Combatant& monster, Hand& enemyHand) {
    if (command < kCmdAttack || command > kCmdFlee) return false;
    const int sp = chosenSlot(myHand);
    if (sp < 0) return false;
    if (queue.empty()) queue.resize(1);

    // Steps of the previous turn are overwritten from index 1.
    TurnResolution turn(sv, shared, queue, command, player, myHand, sp, monster, enemyHand);
    turn.queuePause();
    turn.chooseMonsterCard(sv);
    turn.joinStoredCards();
    turn.queueChoice();
    turn.queueRelease();
    turn.queueCommandOutcome();
    turn.queuePlayerAttack();
    turn.queueMonsterAttack();
    turn.queueTie();

    shared.playback.current = 0;
    shared.playback.last = turn.stepCount();
    shared.playback.active = true;
    command = kCmdNone;
    return true;
}

} // namespace battle
