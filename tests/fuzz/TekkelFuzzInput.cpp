#include "TekkelFuzzInput.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <ostream>
#include <streambuf>

#include "field/World.h"
#include "field/script/ScriptHost.h"
#include "platform/testing/TestSeams.h"
#include "tekkel/Compiler.h"
#include "tekkel/Interpreter.h"
#include "tekkel/Opcodes.h"

namespace tekkel_fuzz {

namespace {

using tekkel::Command;
using tekkel::Script;
using tekkel::Value;

// Reads the input front to back; past its end every read gives 0.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    std::uint32_t u32() { return u16() | (static_cast<std::uint32_t>(u16()) << 16); }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) {
        return items[byte() % N];
    }
    bool done() const { return pos_ >= size_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

constexpr std::int16_t kCodes[] = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  20,  21,  22,  23,  24,  25,
    50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,  63,  64,  65,  66,  67,
    68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  90,  91,  92,  93,  94,  95,  96,  150,
    160, 200, 210, 211, 213, 215, 218, 300, 310, 311, 313, 320, 321, 322, 330, 331, 350, 351,
    410, 411, 900, 901, 902, 10,  10,  50,  68,  77,  20,  51,  51,  51};
constexpr std::int16_t kRegisters[] = {-1, 0,  1,  2,  3,  4,  5,   10,  11,  12,  20,  21, 22,
                                       30, 31, 32, 80, 81, 82, 300, 400, 401, 402, 403, 7,  -2};
constexpr std::int32_t kInts[] = {0,      1,     -1,    2,      3,         4,         5,
                                  7,      10,    12,    100,    255,       32767,     -32768,
                                  32768,  65535, 65536, 100000, INT32_MAX, INT32_MIN, INT32_MAX - 1,
                                  -100000};
constexpr std::int16_t kGeneral[] = {1, 2, 3, 4, 5, 20, 21, 22};
constexpr std::int16_t kPlaces[] = {1, 2, 3, 4, 5, 20, -1, -1, 10, 11, 30, 12};
constexpr std::int16_t kJumps[] = {4, 20, 21, 22, 23, 24, 25};
// Counts for the commands that size variable areas (P3 of Alloc, FreeRange, Dim, Extend):
// mostly small, with the refusals at and past the value budget, so that a run holds a few
// megabytes rather than the budget's 16M values; an omitted count reads D3. The interpreter
// still takes any count: these only steer what the inputs mostly ask for.
constexpr std::int32_t kCounts[] = {1,        1, 2, 3, 3, 4, 5, 8, 16, 100, 0, -1, (1 << 24) + 1,
                                    INT32_MAX};
constexpr std::int16_t kCounted[] = {54, 56, 58, 59};
constexpr double kReals[] = {0.0,
                             0.5,
                             1.5,
                             2.5,
                             -2.5,
                             1.2,
                             1e10,
                             -1e10,
                             1e308,
                             -0.0,
                             3e9,
                             2147483647.5,
                             std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
const char16_t* const kTexts[] = {u"L",     u"M",      u"",     u"12",   u" -3.5e2 ",
                                  u"abc",   u"門番",   u"宝物", u"True", u"1e999",
                                  u"x\r y", u"\xD800", u"-40",  u"7 -2", u"0ab"};

Value value(Reader& in) {
    switch (in.byte() % 10) {
    case 0: return Value();
    case 1: return Value::null();
    case 2:
    case 3: return Value::int16(in.pick(kRegisters));
    case 4: return Value::int16(static_cast<std::int16_t>(in.u16()));
    case 5: return Value::int32(in.pick(kInts));
    case 6: return Value::real64(in.pick(kReals));
    case 7: return Value::real32(static_cast<float>(in.pick(kReals)));
    case 8: return Value::boolean(in.byte() & 1);
    default: return Value::string(in.pick(kTexts));
    }
}

Command command(Reader& in) {
    Command c;
    const std::uint8_t sel = in.byte();
    c.code = sel < 240 ? in.pick(kCodes) : static_cast<std::int16_t>(in.u16());
    c.p1 = value(in);
    c.p2 = value(in);
    c.p3 = value(in);
    if (std::find(std::begin(kCounted), std::end(kCounted), c.code) != std::end(kCounted) &&
        !c.p3.isEmpty() && in.byte() % 16 != 0)
        c.p3 = Value::int32(in.pick(kCounts));
    // Concat's second part is mostly a written text, so that texts grow by a few units a
    // command; two registers there double a text each time round a loop.
    if (c.code == 91 && !c.p3.isEmpty() && in.byte() % 16 != 0)
        c.p3 = Value::string(in.pick(kTexts));
    return c;
}

// Makes an area of four variables and selects one: locals, shared variables, or a block
// allocated in the run's own map or the table's first; counts the commands on `k`.
void selectArea(Reader& in, Script& s, int& k, int length) {
    const std::uint8_t place = in.byte();
    const auto index = Value::int16(1 + place / 2 % 4);
    if (place % 3 == 2 && k + 3 < length) {
        const auto map = Value::int16(place / 8 % 2);
        s.commands.push_back(
            Command{58, Value::int16(2), Value::int16(2), Value::int32(2)}); // Dim R2, 2, 2
        s.commands.push_back(
            Command{54, Value::int16(2), map, Value::int32(4)});        // Alloc R2, map, 4
        s.commands.push_back(Command{57, Value::int16(2), index, map}); // Select 2, index, map
        k += 3;
    } else {
        const auto area = Value::int16(place % 2); // local or shared
        s.commands.push_back(
            Command{58, Value::int16(2), area, Value::int32(4)});        // Dim R2, area, 4
        s.commands.push_back(Command{57, area, index, Value::int16(0)}); // Select area, index, 0
        k += 2;
    }
}

// Most Moves go between the places a value lives (general and 32-bit registers, the selected
// variable), some Concats too, and most Incs and Decs step one, after an area was made and a
// variable selected (selectArea). Adds the set-up commands before `c`, counting them on `k`.
void placeMove(Reader& in, Script& s, Command& c, int& k, int length) {
    const bool step = c.code == 68 || c.code == 69;
    // A Concat joins from a place now and then (P3 of a record that is no general register
    // is read from its command); more often, texts doubling would fill the runs' time.
    const bool join = c.code == 91 && in.byte() % 4 == 0;
    if ((c.code != 51 && !step && !join) || k + 2 >= length || in.byte() % 4 == 0) return;
    selectArea(in, s, k, length);
    c.p1 = Value::int16(in.pick(kPlaces));
    c.p2 = Value::int16(in.pick(kPlaces));
    if (join) c.p3 = Value::int16(in.pick(kPlaces));
    if (step && k + 1 < length) {
        // The selected variable holds an integer (at the edges of the ranges too) to step.
        c.p1 = Value::int16(tekkel::regNumber(tekkel::Reg::Var));
        s.commands.push_back(Command{50, c.p1, Value::int32(in.pick(kInts)), Value()});
        ++k;
    }
}

// A jump back into a run that starts at `start`, over a change of selection or not.
Command jumpBack(Reader& in, const Script& s, std::size_t start, std::int16_t code) {
    const auto back = static_cast<std::size_t>(in.byte()) % (s.commands.size() - start + 1);
    return {code, Value::int32(static_cast<std::int32_t>(s.commands.size() - back)), Value(),
            Value()};
}

// One command of a run on `var` (selectionRun); `start` is the run's first address.
Command onVariable(Reader& in, const Script& s, std::size_t start) {
    constexpr std::int16_t kVar = -1, kVarIndex = 11;
    constexpr std::int16_t kArith[] = {60, 62, 64, 70, 66}, kArithValue[] = {61, 63, 65, 71, 67};
    constexpr std::int32_t kIndexes[] = {1, 2, 3, 4, 1, 2, 0, 5, -1};
    const auto general = [&in] { return Value::int16(in.pick(kGeneral)); };
    const auto var = Value::int16(kVar);
    const auto number = [&in] {
        return in.byte() % 2 ? Value::int32(in.pick(kInts)) : Value::real64(in.pick(kReals));
    };
    switch (in.byte() % 16) {
    case 0:
    case 1: return {50, Value::int16(kVarIndex), Value::int32(in.pick(kIndexes)), Value()};
    case 2:
        return in.byte() % 2 ? Command{51, Value::int16(kVarIndex), general(), Value()}
                             : Command{static_cast<std::int16_t>(68 + in.byte() % 2),
                                       Value::int16(kVarIndex), Value(), Value()};
    case 3: return {51, general(), var, Value()};
    case 4: return {51, var, general(), Value()};
    case 5: return {static_cast<std::int16_t>(68 + in.byte() % 2), var, Value(), Value()};
    case 6: return {in.pick(kArith), var, general(), Value()};
    case 7: return {in.pick(kArithValue), var, number(), Value()};
    case 8: return {in.pick(kArith), general(), var, Value()};
    case 9: return {51, var, Value::int16(1), Value()};
    case 10:
        return in.byte() % 2 ? Command{76, var, general(), Value()}
                             : Command{76, general(), var, Value()};
    case 11: return {77, var, number(), Value()};
    case 12: return {50, var, number(), Value()};
    case 13: // may move the variables, or leave the selected one outside its area
        return {static_cast<std::int16_t>(58 + in.byte() % 2), Value::int16(2),
                Value::int16(in.byte() % 3), Value::int32(1 + in.byte() % 5)};
    case 14: return {50, Value::int16(10 + in.byte() % 3), Value::int32(in.byte() % 4), Value()};
    default: return jumpBack(in, s, start, in.byte() % 2 ? std::int16_t{4} : in.pick(kJumps));
    }
}

// A run of commands on `var` as loops over variables are written, after an area was made and
// a variable selected (selectArea): several on the same selection, varIndex set between them
// (to a constant, outside the area now and then, from a register, or stepped), and now and then
// a Dim or Extend, another space or map, or a jump back into the run. Adds all but the last
// command, leaving it in `c`.
void selectionRun(Reader& in, Script& s, Command& c, int& k, int length) {
    if (k + 3 >= length || in.byte() % 4 != 0) return;
    selectArea(in, s, k, length);
    const std::size_t start = s.commands.size();
    for (int n = 1 + in.byte() % 8; n > 0 && k + 1 < length; --n, ++k) {
        s.commands.push_back(onVariable(in, s, start));
        // Arithmetic on var is often followed by a Move of R1 into var or a register, and a
        // comparison by a jump.
        const std::int16_t last = s.commands.back().code;
        const bool arith = last >= 60 && last <= 71 && last != 68 && last != 69;
        const bool compare = last == 76 || last == 77;
        if ((arith || compare) && in.byte() % 2 && k + 2 < length) {
            const auto to = in.byte() % 2 ? Value::int16(-1) : Value::int16(in.pick(kGeneral));
            s.commands.push_back(arith ? Command{51, to, Value::int16(1), Value()}
                                       : jumpBack(in, s, start, in.pick(kJumps)));
            ++k;
        }
    }
    c = onVariable(in, s, start);
}

bool generalRegister(const Value& p) {
    return p.kind == tekkel::ValueKind::Int16 &&
           std::find(std::begin(kGeneral), std::end(kGeneral), p.i) != std::end(kGeneral);
}

// A cut of a text in a register set just before (or written in the command), then a cut of R1
// with a count written or held; the second is left in `c`.
void cutOfCut(Reader& in, Script& s, Command& c, int& k, int length) {
    const std::int16_t code = static_cast<std::int16_t>(92 + in.byte() % 4);
    const Value count = code % 2 ? Value::int16(static_cast<std::int16_t>(in.byte() % 6))
                                 : Value::int16(in.pick(kGeneral));
    // The text cut first is a register set just before, or written in the command.
    if (in.byte() % 3 == 0) {
        c.p1 = Value::string(in.pick(kTexts));
    } else if (k + 2 < length) {
        s.commands.push_back(Command{50, c.p1, Value::string(in.pick(kTexts)), Value()});
        ++k;
    }
    if (c.code % 2) c.p2 = Value::int16(static_cast<std::int16_t>(in.byte() % 6));
    s.commands.push_back(std::move(c));
    c = Command{code, Value::int16(1), count, Value()};
    ++k;
}

// The idioms that run as one: arithmetic or a cut then a Move of R1 (of R1 or R4, or a
// comparison, after an integer division), a cut then a cut of R1, Inc or Dec then a
// comparison, a comparison or a Move between general registers then a jump, a Concat then the
// Length of what it wrote; the first part's P1 a general register as in written programs. Inc
// or Dec is also followed by a jump alone, which tests the flags the step itself set. Adds
// the first parts, leaving the last in `c`.
void joinIdioms(Reader& in, Script& s, Command& c, int& k, int length) {
    for (;;) {
        const bool intDiv = c.code == 66 || c.code == 67;
        const bool arith = (c.code >= 60 && c.code <= 67) || c.code == 70 || c.code == 71 ||
                           (c.code >= 92 && c.code <= 95);
        if (c.code == 91 && k + 1 < length && in.byte() % 2 == 0) {
            c.p1 = Value::int16(in.pick(kGeneral));
            Command measure{90, Value::int16(in.pick(kGeneral)), c.p1, Value()};
            s.commands.push_back(std::move(c));
            c = std::move(measure);
            ++k;
            break;
        }
        const bool step = c.code == 68 || c.code == 69;
        const bool move = c.code == 51 && generalRegister(c.p1) && generalRegister(c.p2);
        const bool jumps = move || c.code == 76 || c.code == 77;
        if (!(arith || step || jumps) || k + 1 >= length) break;
        const std::uint8_t pair = in.byte();
        if (pair % 2 != 0) break;
        if (!move && !(jumps && generalRegister(c.p1))) c.p1 = Value::int16(in.pick(kGeneral));
        std::int32_t stepped = 0;
        if ((intDiv || (step && pair % 4 == 0)) && k + 2 < length) {
            // The dividend is an integer, so that the quotient's flags and the remainder's
            // differ; so is what a step steps, so that it runs with the comparison after it.
            stepped = in.pick(kInts);
            s.commands.push_back(Command{50, c.p1, Value::int32(stepped), Value()});
            ++k;
            if (c.code == 67) c.p2 = Value::int32(in.pick(kInts));
        }
        const bool toJump = jumps || (step && pair % 4 == 2);
        if (c.code >= 92 && c.code <= 95 && pair % 4 == 2) { // a cut, then a cut of R1
            cutOfCut(in, s, c, k, length);
            continue;
        }
        // An integer division is also followed by a comparison, mostly of its remainder.
        const bool test = intDiv && pair % 8 == 6;
        Command second;
        second.code = arith && !test ? 51 : toJump ? in.pick(kJumps) : 77;
        second.p1 =
            toJump ? Value::int16(in.byte() % (length + 1)) : Value::int16(in.pick(kGeneral));
        if (test && pair % 16 == 6) second.p1 = Value::int16(4);
        const std::int16_t taken = intDiv && pair % 4 == 2 ? 4 : 1; // the remainder or R1
        // The comparison after a step is sometimes with a real, or with a value it cannot
        // compare (a text, null), which keeps zero and negative as the step set them.
        // A real half an integer from the stepped number meets the edge of the difference's
        // rounding.
        const std::uint8_t with = in.byte() % 4;
        const double half =
            static_cast<double>(stepped) + (c.code == 68 ? 1 : -1) + (in.byte() % 2 ? 0.5 : -0.5);
        const Value compared = with == 0   ? (in.byte() % 2 ? Value::null() : Value::string(u"L"))
                               : with == 1 ? Value::real64(in.pick(kReals))
                               : with == 2 ? Value::real64(half)
                                           : Value::int32(in.pick(kInts));
        second.p2 = arith && !test ? Value::int16(taken) : toJump ? Value() : compared;
        // Mostly of the stepped register, now and then of another.
        if (step && !toJump && pair % 16 != 12) second.p1 = c.p1;
        s.commands.push_back(std::move(c));
        c = std::move(second);
        ++k;
    }
}

// A value that arithmetic meets: a real now and then, else any kind (texts, null, empty,
// booleans, integers at the edges of their ranges).
Value operand(Reader& in) {
    return in.byte() % 3 == 0 ? Value::real64(in.pick(kReals)) : value(in);
}

// A loop round arithmetic of a general register whose kind changes under it: the register
// starts at any value and often takes the result each round (integers widen at their edges,
// reals stay), now and then set anew inside the loop, so that the record switches to the twin that
// tries reals first and back (RecordKinds.h). Counts R5 down; leaves the jump back in `c`.
void arithLoop(Reader& in, Script& s, Command& c, int& k) {
    constexpr std::int16_t kCodes[] = {60, 61, 62, 63, 64, 65, 70, 71};
    constexpr std::int16_t kFirst[] = {2, 3, 4, 20, 21};
    const Value first = Value::int16(in.pick(kFirst));
    c.code = in.pick(kCodes);
    c.p1 = first;
    const std::uint8_t with = in.byte();
    c.p2 = c.code % 2 == 0 ? Value::int16(in.pick(kGeneral))
           : with % 3 == 0 ? Value::int16(static_cast<std::int16_t>(with))
                           : operand(in);
    s.commands.push_back(Command{50, Value::int16(5), Value::int16(1 + in.byte() % 4), Value()});
    s.commands.push_back(Command{50, first, operand(in), Value()});
    const auto loop = static_cast<std::int16_t>(s.commands.size());
    s.commands.push_back(std::move(c));
    const std::uint8_t again = in.byte();
    if (again & 4) s.commands.push_back(Command{51, first, Value::int16(1), Value()});
    if (again % 2) {
        const Value v = again % 4 == 1 ? Value::int32(in.pick(kInts)) : operand(in);
        s.commands.push_back(Command{50, first, v, Value()});
    }
    s.commands.push_back(Command{69, Value::int16(5), Value(), Value()}); // Dec R5
    k += static_cast<int>(s.commands.size()) - loop + 2;
    c = Command{20, Value::int16(loop), Value(), Value()}; // JumpIfNotZero to the arithmetic
}

Script script(Reader& in) {
    Script s;
    const int length = 1 + in.byte() % 24;
    for (int k = 0; k < length; ++k) {
        Command c = command(in);
        selectionRun(in, s, c, k, length);
        const bool arith = (c.code >= 60 && c.code <= 65) || c.code == 70 || c.code == 71;
        if (k + 8 < length && in.byte() % (arith ? 2 : 8) == 0) {
            arithLoop(in, s, c, k);
            s.commands.push_back(std::move(c));
            continue;
        }
        placeMove(in, s, c, k, length);
        joinIdioms(in, s, c, k, length);
        s.commands.push_back(std::move(c));
    }
    s.lastAddress = length - 1;
    if (in.byte() % 8 == 0) s.lastAddress += static_cast<std::int8_t>(in.byte()) % 4;
    if (in.byte() % 4 == 0) s.name = in.pick(kTexts);
    return s;
}

class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
};

} // namespace

field::World runInput(plat::testing::TestServices& ts, const std::uint8_t* data, std::size_t size,
                      bool fullWay) {
    Reader in(data, size);
    ts.clock.set(100000);
    ts.random.reseed(12345);
    ts.windows.boxes.clear();
    NullBuffer nothing;
    std::ostream listing(&nothing);
    std::uint32_t answers = in.u32();
    ts.windows.responder = [&](const plat::testing::RecordedBox& box) {
        if (box.buttons == plat::MsgButtons::Ok) return plat::MsgResult::Ok;
        answers = answers * 1103515245u + 12345u;
        return (answers >> 16) & 1 ? plat::MsgResult::No : plat::MsgResult::Cancel;
    };

    field::World w;
    w.resizeMap(8, 5, 2);
    field::initPlayer(w);
    w.machine.scriptCount = 4 + in.byte() % 17;
    w.machine.scripts.assign(21, Script{});
    const int scripts = 1 + in.byte() % 4;
    for (int k = 0; k < scripts; ++k)
        w.machine.scripts[1 + in.byte() % 20] = script(in);
    w.eventCount = in.byte() % 5;
    w.events.assign(static_cast<std::size_t>(w.eventCount) + 1, field::EventObject{});
    for (int i = 1; i <= w.eventCount; ++i) {
        auto& e = w.events[static_cast<std::size_t>(i)];
        e.enabled = (in.byte() & 1) ? -1 : 0;
        e.autoScript = in.byte() % 24 - 1;
        e.x = in.byte() % 9;
        e.y = in.byte() % 6;
        e.plane = 2;
        if (in.byte() & 1) e.ownScript = script(in);
    }
    w.systemScriptActive = (in.byte() & 1) ? -1 : 0;
    w.systemRun.scriptNumber = in.byte() % 22;

    const int frames = 1 + in.byte() % 4;
    for (int f = 0; f < frames; ++f) {
        if (fullWay) {
            for (const Script& s : w.machine.scripts)
                tekkel::compileFullWay(s);
        }
        tekkel::Pump pump(ts.services, tekkel::PumpPolicy::Throttled, 4000);
        field::runFrameScripts(w, ts.services, pump, listing);
        ts.clock.advance(in.byte() * 8u);
        // Fire an object the way the event trigger does: its script replaces slot 0.
        const std::uint8_t fire = in.byte();
        if (w.eventCount > 0 && fire % 3 == 0) {
            const int n = 1 + fire % w.eventCount;
            w.machine.scripts[0] = w.events[static_cast<std::size_t>(n)].ownScript;
            w.systemScriptActive = -1;
            w.systemRun.scriptNumber = 0;
            w.systemRun.address = 0;
            w.systemRun.activeObject = n;
        }
        if (in.done()) break;
    }
    return w;
}

} // namespace tekkel_fuzz
