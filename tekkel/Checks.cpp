#include "tekkel/Checks.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "common/Utility.h"
#include "tekkel/Opcodes.h"
#include "tekkel/SourceMap.h"

namespace tekkel {

namespace {

bool isJump(Op op) {
    return op == Op::Jump ||
           (opCode(op) >= opCode(Op::JumpIfNotZero) && opCode(op) <= opCode(Op::JumpIfInvalid));
}

// A number written in the command (16 or 32 bits); reals and texts are not held to ranges.
bool writtenInteger(const Value& v, std::int32_t& out) {
    if (v.kind != ValueKind::Int16 && v.kind != ValueKind::Int32) return false;
    return toInt32(v, out) == Status::Ok;
}

std::string quoted(const std::u16string& s) {
    std::string text(1, '"');
    text.append(common::toUtf8(s)).push_back('"');
    return text;
}

// One script's pass, placing each finding at the command or the parameter it is about.
class Checker {
  public:
    Checker(const Script& s, const CheckContext& cx, std::vector<AssemblyError>& found)
        : script_(s), context_(cx), found_(found) {}

    void run();

  private:
    void command(const Command& c, const SourcePlace& at);
    void range(const Command& c, const SourcePlace& at);
    void unreachable();
    void note(const SourcePlace& at, int param, std::string message, bool warning = false) {
        const std::int32_t column = param > 0 && at.operands[static_cast<std::size_t>(param - 1)]
                                        ? at.operands[static_cast<std::size_t>(param - 1)]
                                        : at.column;
        found_.push_back({at.line, column, std::move(message), warning});
    }

    const Script& script_;
    const CheckContext& context_;
    std::vector<AssemblyError>& found_;
    std::map<std::u16string, std::int32_t> labels_; // each name's first line
    std::set<std::int32_t> targets_;                // addresses written as jump targets
    bool computedJumps_ = false;                    // a jump whose target only the run knows
};

void Checker::run() {
    for (std::size_t a = 0; a < script_.commands.size(); ++a) {
        const Command& c = script_.commands[a];
        if (c.code != opCode(Op::Label) || !c.p1.isString()) continue;
        const SourcePlace* at = sourceAt(script_, static_cast<std::int32_t>(a));
        const auto [first, isFirst] = labels_.emplace(c.p1.s, at ? at->line : 0);
        if (!isFirst && at)
            note(*at, 0,
                 "label " + quoted(c.p1.s) +
                     " is written again: jumps to it go to the one on line " +
                     std::to_string(first->second),
                 true);
    }
    for (std::size_t a = 0; a < script_.commands.size(); ++a)
        if (const SourcePlace* at = sourceAt(script_, static_cast<std::int32_t>(a)))
            command(script_.commands[a], *at);
    if (!computedJumps_) unreachable();
}

void Checker::command(const Command& c, const SourcePlace& at) {
    const Op op = static_cast<Op>(c.code);
    std::int32_t n = 0;
    if (isJump(op)) {
        if (c.p1.isString() && !labels_.count(c.p1.s))
            note(at, 1,
                 "no label " + quoted(c.p1.s) + " in this script; expected one of its labels");
        else if (writtenInteger(c.p1, n))
            targets_.insert(n);
        else if (!c.p1.isString())
            computedJumps_ = true;
    } else if (op == Op::Chain && context_.chainFinds && !c.p1.isEmpty() &&
               !context_.chainFinds(c.p1)) {
        note(at, 1,
             c.p1.isString()
                 ? "no script is named " + quoted(c.p1.s) + "; expected the name of a stored script"
                 : "no script " + common::toUtf8(toText(c.p1)) +
                       "; expected the number of a stored script");
    } else if ((op == Op::IntDivValue || op == Op::DivValue) && !c.p2.isEmpty()) {
        double d = 1;
        if (!c.p2.isString() && toDouble(c.p2, d) && d == 0)
            note(at, 2, "division by zero; expected a divisor other than 0");
    }
    range(c, at);
}

void Checker::range(const Command& c, const SourcePlace& at) {
    const Value* params[3] = {&c.p1, &c.p2, &c.p3};
    for (int p = 1; p <= 3; ++p) {
        const OperandRange r = operandRange(static_cast<Op>(c.code), p);
        std::int32_t n = 0;
        if ((r.low > r.high && !r.object) || !writtenInteger(*params[p - 1], n)) continue;
        if (r.object && (n == -1 || (n >= 1 && n <= context_.objectCount))) continue;
        if (!r.object && n >= r.low && n <= r.high) continue;
        const std::string expected = r.object
                                         ? "-1 or 1.." + std::to_string(context_.objectCount)
                                         : std::to_string(r.low) + ".." + std::to_string(r.high);
        note(at, p,
             std::to_string(n) + " is not " + std::string(r.what) +
                 (r.object ? " of the field" : "") + "; expected " + expected);
    }
}

// Commands after an End, a Jump or a Restart run only when a label or a written jump target
// comes between; one warning for each stretch that none reaches.
void Checker::unreachable() {
    std::optional<std::size_t> after; // the End, Jump or Restart the flow stopped at
    bool warned = false;
    for (std::size_t a = 0; a < script_.commands.size(); ++a) {
        const SourcePlace* at = sourceAt(script_, static_cast<std::int32_t>(a));
        if (!at) continue;
        const Op op = static_cast<Op>(script_.commands[a].code);
        if (op == Op::Label || targets_.count(static_cast<std::int32_t>(a))) after.reset();
        if (after && !warned) {
            const Command& stop = script_.commands[*after];
            note(*at, 0,
                 "this command never runs: it follows the " +
                     std::string(commandInfo(stop.code)->name) + " on line " +
                     std::to_string(sourceAt(script_, static_cast<std::int32_t>(*after))->line) +
                     " and no label comes between",
                 true);
            warned = true;
        }
        if (!after && (op == Op::End || op == Op::Jump || op == Op::Restart)) {
            after = a;
            warned = false;
        }
    }
}

} // namespace

void checkScript(const Script& script, const CheckContext& context,
                 std::vector<AssemblyError>& found) {
    if (!script.source) return;
    Checker(script, context, found).run();
}

std::vector<AssemblyError> checkUnit(const Unit& unit, std::int32_t objectCount,
                                     const std::function<bool(const Value&)>& alsoFinds) {
    CheckContext context;
    context.objectCount = objectCount;
    context.chainFinds = [&](const Value& target) {
        for (const NumberedScript& s : unit.scripts) {
            std::int32_t n = 0;
            if (target.isString() ? s.script.name == target.s
                                  : writtenInteger(target, n) && n == s.number)
                return !s.script.commands.empty();
        }
        return alsoFinds && alsoFinds(target);
    };
    std::vector<AssemblyError> found;
    for (const auto* list : {&unit.scripts, &unit.ownScripts})
        for (const NumberedScript& s : *list)
            checkScript(s.script, context, found);
    std::stable_sort(found.begin(), found.end(), [](const auto& x, const auto& y) {
        return x.line != y.line ? x.line < y.line : x.column < y.column;
    });
    return found;
}

} // namespace tekkel
