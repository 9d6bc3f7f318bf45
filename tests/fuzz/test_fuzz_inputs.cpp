// A few seconds of the fuzzer's work in the ordinary suite: deterministic pseudo-random inputs
// fed to the same entry point, run both through the compiled records and the full way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "TekkelFuzzInput.h"
#include "common/Utility.h"
#include "field/World.h"
#include "field/WorldDigest.h"
#include "field/script/ScriptHost.h"
#include "platform/Random.h"
#include "tekkel/Compiler.h"
#include "tekkel/Disassembler.h"
#include "tekkel/Interpreter.h"

namespace {

// The entries of the table's maps counted one by one, as the budget's running count has them.
std::int64_t tableEntries(const tekkel::Machine& m) {
    std::int64_t n = 0;
    for (std::size_t k = 1; k < m.allocTable.size(); ++k) {
        const auto& map = m.allocTable[k];
        n += std::max<std::int64_t>(0,
                                    std::min<std::int64_t>(map.total, std::ssize(map.entries) - 1));
    }
    return n;
}

} // namespace

// Every fixed-seed input runs to its end, and leaves the running count of the table's entries
// equal to their sum.
TEST(TekkelFuzzInputs, FixedSeedInputsRunWithoutFault) {
    plat::testing::TestServices ts;
    plat::Random random(20240131);
    std::vector<std::uint8_t> input;
    std::size_t boxes = 0;
    for (int k = 0; k < 60000; ++k) {
        input.resize(16 + random.next32() % 700);
        for (auto& b : input)
            b = static_cast<std::uint8_t>(random.next32());
        const field::World w = tekkel_fuzz::runInput(ts, input.data(), input.size());
        boxes += ts.windows.boxes.size();
        ASSERT_EQ(w.machine.tableEntries, tableEntries(w.machine)) << k;
    }
    // The inputs reach the commands: messages and error reports were shown.
    EXPECT_GT(boxes, 60000u);
    tekkel_fuzz::runInput(ts, nullptr, 0);
}

namespace {

// What a run leaves: the digest of the whole World (every field a script can reach, so a new
// one is compared without being listed here) and every message box as it was shown.
struct Outcome {
    std::uint64_t world = 0;
    std::string boxes;
    bool operator==(const Outcome&) const = default;
};

std::string boxesText(const plat::testing::TestServices& ts) {
    std::string all;
    for (const auto& b : ts.windows.boxes)
        all += common::toUtf8(b.title + u"|" + b.text) + '|' +
               std::to_string(static_cast<int>(b.buttons)) + ',' +
               std::to_string(static_cast<int>(b.icon)) + ',' +
               std::to_string(static_cast<int>(b.answer)) + '\n';
    return all;
}

Outcome outcome(const field::World& w, const plat::testing::TestServices& ts) {
    return {field::worldDigest(w), boxesText(ts)};
}

Outcome runWay(plat::testing::TestServices& ts, const std::vector<std::uint8_t>& input,
               bool fullWay) {
    const field::World w = tekkel_fuzz::runInput(ts, input.data(), input.size(), fullWay);
    return outcome(w, ts);
}

// A World whose system script is `s`, run the full way when `fullWay`.
field::World withSystemScript(const tekkel::Script& s, bool fullWay = false) {
    field::World w;
    w.resizeMap(8, 5, 2);
    field::initPlayer(w);
    w.machine.scriptCount = 1;
    w.machine.scripts.assign(2, tekkel::Script{});
    w.machine.scripts[1] = s;
    if (fullWay) tekkel::compileFullWay(w.machine.scripts[1]);
    w.systemScriptActive = -1;
    w.systemRun.scriptNumber = 1;
    return w;
}

// The first of `frames` frames after which script `s`, run compiled and the full way with the
// pump's budget of 256 commands a frame, leaves another World or other boxes; -1 when none does.
int firstFrameThatDiffers(const tekkel::Script& s, int frames, plat::testing::TestServices& ts) {
    std::ostringstream listing;
    field::World ways[2] = {withSystemScript(s), withSystemScript(s, true)};
    for (int frame = 0; frame < frames; ++frame) {
        Outcome shown[2];
        for (int way = 0; way < 2; ++way) {
            tekkel::Pump pump(ts.services, tekkel::PumpPolicy::Throttled, 256);
            ts.windows.boxes.clear();
            field::runFrameScripts(ways[way], ts.services, pump, listing);
            shown[way] = outcome(ways[way], ts);
        }
        if (!(shown[0] == shown[1])) return frame;
    }
    return -1;
}

} // namespace

// The compiled records and the full command handlers are one semantics: every fixed-seed input
// leaves the same World and shows the same boxes (messages and error reports, so the same
// error numbers) either way.
TEST(TekkelFuzzInputs, CompiledAndFullWayAgree) {
    plat::testing::TestServices ts;
    plat::Random random(20240131);
    std::vector<std::uint8_t> input;
    for (int k = 0; k < 20000; ++k) {
        input.resize(16 + random.next32() % 700);
        for (auto& b : input)
            b = static_cast<std::uint8_t>(random.next32());
        const Outcome compiled = runWay(ts, input, false);
        const Outcome full = runWay(ts, input, true);
        ASSERT_EQ(compiled.world, full.world) << "input " << k;
        ASSERT_EQ(compiled.boxes, full.boxes) << "input " << k;
    }
}

// The idioms that run as one record (arithmetic or a cut then Move of R1, a Move then a jump,
// Inc then a comparison then a jump, a Concat then a Length) stop where their commands one by
// one stop: at a last address between the two parts, and where the pump's budget ends a frame
// between them (a loop of 17 commands meets a budget of 256 at a different command each frame).
// A budget of 3000 has the pump's check fall inside the loop's straight runs too, between
// parts the records loop counts at once elsewhere.
TEST(TekkelFuzzInputs, JoinedCommandsStopWhereTheFullWayStops) {
    using tekkel::Command;
    using tekkel::Value;
    auto command = [](std::int16_t code, Value p1, Value p2 = Value()) {
        Command c;
        c.code = code;
        c.p1 = std::move(p1);
        c.p2 = std::move(p2);
        return c;
    };
    const auto reg = [](std::int16_t r) { return Value::int16(r); };
    tekkel::Script s;
    s.commands = {
        command(50, reg(3), Value::int16(0)),              // 0  Set R3, 0
        command(50, reg(5), Value::real64(4.0)),           // 1  Set R5, 4.0
        command(65, reg(3), Value::int16(2)),              // 2  MulValue R3, 2
        command(61, reg(1), Value::int16(1)),              // 3  AddValue R1, 1
        command(51, reg(4), reg(1)),                       // 4  Move R4, R1
        command(70, reg(5), reg(4)),                       // 5  Div R5, R4
        command(51, reg(2), reg(1)),                       // 6  Move R2, R1
        command(60, reg(30), reg(3)),                      // 7  Add work, R3
        command(51, reg(20), reg(1)),                      // 8  Move D1, R1
        command(24, Value::int16(10)),                     // 9  JumpIfValid 10
        Command{91, reg(2), reg(2), Value::string(u"ab")}, // 10 Concat R2, R2, "ab"
        command(90, reg(4), reg(2)),                       // 11 Length R4, R2
        command(95, reg(2), Value::int16(3)),              // 12 RightValue R2, 3
        command(51, reg(2), reg(1)),                       // 13 Move R2, R1
        command(68, reg(3)),                               // 14 Inc R3
        command(77, reg(3), Value::int32(100000)),         // 15 CompareValue R3, 100000
        command(23, Value::int16(2)),                      // 16 JumpIfNegative 2
        command(51, reg(5), reg(1)),                       // 17 Move R5, R1
        command(6, Value()),                               // 18 End
    };
    plat::testing::TestServices ts;
    std::ostringstream listing;
    for (const std::uint64_t budget : {256, 3000})
        for (const std::int32_t last : {3, 5, 7, 8, 10, 12, 14, 15, 18}) {
            s.lastAddress = last;
            field::World ways[2];
            for (field::World& w : ways)
                w = withSystemScript(s);
            for (int frame = 0; frame < 14; ++frame) {
                Outcome shown[2];
                for (int way = 0; way < 2; ++way) {
                    if (way == 1) tekkel::compileFullWay(ways[1].machine.scripts[1]);
                    tekkel::Pump pump(ts.services, tekkel::PumpPolicy::Throttled, budget);
                    ts.windows.boxes.clear();
                    field::runFrameScripts(ways[way], ts.services, pump, listing);
                    shown[way] = outcome(ways[way], ts);
                }
                ASSERT_TRUE(shown[0] == shown[1])
                    << "budget " << budget << ", last address " << last << ", frame " << frame;
            }
        }
}

// A cut then a cut of R1 runs as one record: every pair of Left, LeftValue, Right and
// RightValue, over texts that read as numbers, as none, and as numbers only a full reading
// tells, leaves the registers and flags the two commands leave one by one.
TEST(TekkelFuzzInputs, CutOfACutLeavesWhatTheTwoCutsLeave) {
    using tekkel::Command;
    using tekkel::Value;
    const auto reg = [](std::int16_t r) { return Value::int16(r); };
    const auto count = [&](std::int16_t code, std::int16_t n, std::int16_t held) {
        return code % 2 ? Value::int16(n) : reg(held); // LeftValue, RightValue: the count itself
    };
    plat::testing::TestServices ts;
    std::ostringstream listing;
    for (const char16_t* text : {u"", u"abc", u"-40", u"7 -2", u"0ab", u" -3.5e2 ", u"12"})
        for (std::int16_t first = 92; first <= 95; ++first)
            for (std::int16_t second = 92; second <= 95; ++second)
                for (const std::int16_t n : {0, 1, 3, 9})
                    for (const std::int16_t m : {0, 1, 2})
                        for (const std::int16_t sign : {-1, 1}) {
                            tekkel::Script s;
                            s.commands = {
                                Command{50, reg(2), Value::string(text), Value()},
                                Command{50, reg(3), Value::int16(n), Value()},
                                Command{50, reg(4), Value::int16(m), Value()},
                                Command{77, reg(5), Value::int16(sign), Value()},
                                Command{first, reg(2), count(first, n, 3), Value()},
                                Command{second, reg(1), count(second, m, 4), Value()},
                                Command{6, Value(), Value(), Value()},
                            };
                            s.lastAddress = 6;
                            std::uint64_t digest[2] = {};
                            for (int way = 0; way < 2; ++way) {
                                field::World w = withSystemScript(s, way == 1);
                                tekkel::Pump pump(ts.services, tekkel::PumpPolicy::None);
                                field::runFrameScripts(w, ts.services, pump, listing);
                                digest[way] = field::worldDigest(w);
                            }
                            ASSERT_EQ(digest[0], digest[1])
                                << first << ' ' << second << ' ' << n << ' ' << m << ' ' << sign;
                        }
}

// A Set of varIndex runs with the command on `var` after it as one record: for each kind of
// such command (a Set, Moves from and to it, Inc, a comparison with its jump, arithmetic with
// `var` first or second, with its Move of R1), an index inside the area, outside it and 0, the
// loop stops where the commands one by one stop, at the pump's budget and at the failure.
TEST(TekkelFuzzInputs, ChosenVariableCommandsStopWhereTheFullWayStops) {
    using tekkel::Command;
    using tekkel::Value;
    const auto reg = [](std::int16_t r) { return Value::int16(r); };
    const Value var = reg(-1), r1 = reg(1), none;
    const std::vector<std::vector<Command>> onVar = {
        {{50, var, Value::real64(1.5), none}},
        {{51, reg(2), var, none}},
        {{51, var, r1, none}},
        {{68, var, none, none}},
        {{77, var, Value::int16(9), none}, {23, reg(8), none, none}},
        {{60, var, r1, none}, {51, var, r1, none}},
        {{65, var, Value::real64(0.5), none}},
        {{62, r1, var, none}, {51, reg(4), r1, none}},
        {{70, r1, var, none}}};
    plat::testing::TestServices ts;
    for (const auto& commands : onVar)
        for (const std::int32_t index : {1, 2, 3, 0}) {
            tekkel::Script s; // Dim D1, 0, 2; Select 0, 1, 0; Set R1, 2.5; 3: Set varIndex, index
            s.commands = {{58, reg(20), reg(0), reg(2)},
                          {57, reg(0), reg(1), reg(0)},
                          {50, r1, Value::real64(2.5), none},
                          {50, reg(11), Value::int32(index), none}};
            s.commands.insert(s.commands.end(), commands.begin(), commands.end());
            // Inc R5; CompareValue R5, 1000; JumpIfNegative 3; End
            s.commands.insert(s.commands.end(), {{68, reg(5), none, none},
                                                 {77, reg(5), Value::int32(1000), none},
                                                 {23, reg(3), none, none},
                                                 {6, none, none, none}});
            s.lastAddress = static_cast<std::int32_t>(s.commands.size()) - 1;
            EXPECT_EQ(firstFrameThatDiffers(s, 6, ts), -1) << commands[0].code << ' ' << index;
        }
}

// Writes of R1..R5 whose flags the next write, division or comparison sets anew leave them
// unset. Wherever the records stop between (the pump's budget ends a frame at another command
// each time round these loops), and whatever the values written (texts and null keep flags by
// the rule, a comparison with a text is invalid), the flags are the full way's.
TEST(TekkelFuzzInputs, FlagsLeftUnsetAreTheFullWaysWhereverTheRecordsStop) {
    using tekkel::Command;
    using tekkel::Value;
    const auto reg = [](std::int16_t r) { return Value::int16(r); };
    const Value none;
    const Value values[] = {Value::int16(0),    Value::int32(-7),      Value::real64(2.5),
                            Value::real64(NAN), Value::string(u"abc"), Value::string(u"-4"),
                            Value::string(u""), Value::null(),         Value::boolean(true)};
    plat::testing::TestServices ts;
    for (const Value& x : values)
        for (const Value& y : values) {
            const auto kinds = std::to_string(static_cast<int>(x.kind)) + ' ' +
                               std::to_string(static_cast<int>(y.kind));
            tekkel::Script s;
            s.commands = {{50, reg(2), y, none},                  // 0 Set R2, y
                          {50, reg(3), x, none},                  // 1 Set R3, x
                          {51, reg(4), reg(3), none},             // 2 Move R4, R3
                          {62, reg(4), reg(4), none},             // 3 Sub R4, R4
                          {60, reg(1), reg(2), none},             // 4 Add R1, R2
                          {51, reg(5), reg(1), none},             // 5 Move R5, R1
                          {51, reg(21), reg(5), none},            // 6 Move D2, R5
                          {77, reg(5), y, none},                  // 7 CompareValue R5, y
                          {68, reg(30), none, none},              // 8 Inc work
                          {51, reg(1), reg(4), none},             // 9 Move R1, R4
                          {68, reg(2), none, none},               // 10 Inc R2
                          {77, reg(30), Value::int32(400), none}, // 11 CompareValue work, 400
                          {23, reg(0), none, none},               // 12 JumpIfNegative 0
                          {6, none, none, none}};
            s.lastAddress = 13;
            EXPECT_EQ(firstFrameThatDiffers(s, 12, ts), -1) << kinds;
            // Real arithmetic on a local variable, as sums in reals run it, and an arithmetic
            // whose Move of R1 must set the flags a jump reads: Dim D1, 0, 2; Select 0, 1, 0;
            // Set R4, 0; then a loop of 13 from 3.
            s.commands = {{58, reg(20), reg(0), reg(2)},
                          {57, reg(0), reg(1), reg(0)},
                          {50, reg(4), Value::int16(0), none},
                          {50, reg(2), x, none},
                          {64, reg(2), reg(2), none},
                          {50, reg(3), y, none},
                          {70, reg(3), reg(1), none},
                          {50, reg(11), reg(2), none},
                          {60, reg(-1), reg(1), none},
                          {51, reg(-1), reg(1), none},
                          {61, reg(1), Value::int16(1000), none},
                          {51, reg(5), reg(1), none},
                          {23, Value::int16(14), none, none},
                          {68, reg(4), none, none},
                          {77, reg(4), Value::int32(300), none},
                          {23, reg(3), none, none},
                          {6, none, none, none}};
            s.lastAddress = 16;
            EXPECT_EQ(firstFrameThatDiffers(s, 12, ts), -1) << "on a variable: " << kinds;
            // Integer divisions of x, each then a comparison (of the remainder with y, of
            // another register with an integer, of the quotient with a register) and a jump
            // that counts in D1..D3: a loop of 18 from 0.
            s.commands = {{50, reg(3), x, none},                  // 0 Set R3, x
                          {50, reg(5), y, none},                  // 1 Set R5, y
                          {50, reg(2), Value::int16(7), none},    // 2 Set R2, 7
                          {66, reg(3), reg(2), none},             // 3 IntDiv R3, R2
                          {77, reg(4), y, none},                  // 4 CompareValue R4, y
                          {23, Value::int16(7), none, none},      // 5 JumpIfNegative 7
                          {68, reg(22), none, none},              // 6 Inc D3
                          {67, reg(3), Value::int16(2), none},    // 7 IntDivValue R3, 2
                          {77, reg(5), Value::int16(1), none},    // 8 CompareValue R5, 1
                          {23, Value::int16(11), none, none},     // 9 JumpIfNegative 11
                          {68, reg(21), none, none},              // 10 Inc D2
                          {67, reg(3), Value::int16(3), none},    // 11 IntDivValue R3, 3
                          {76, reg(1), reg(5), none},             // 12 Compare R1, R5
                          {22, Value::int16(15), none, none},     // 13 JumpIfNotNegative 15
                          {68, reg(20), none, none},              // 14 Inc D1
                          {68, reg(30), none, none},              // 15 Inc work
                          {77, reg(30), Value::int32(300), none}, // 16 CompareValue work, 300
                          {23, reg(0), none, none},               // 17 JumpIfNegative 0
                          {6, none, none, none}};
            s.lastAddress = 18;
            EXPECT_EQ(firstFrameThatDiffers(s, 12, ts), -1) << "divisions: " << kinds;
        }
    // A counting step whose comparison is of another register, with an integer.
    for (const Value& x : values) {
        tekkel::Script s;
        s.commands = {{50, reg(3), Value::int16(0), none}, // 0 Set R3, 0
                      {50, reg(2), x, none},               // 1 Set R2, x
                      {68, reg(3), none, none},            // 2 Inc R3
                      {77, reg(2), Value::int16(2), none}, // 3 CompareValue R2, 2
                      {23, Value::int16(2), none, none},   // 4 JumpIfNegative 2
                      {6, none, none, none}};
        s.lastAddress = 5;
        EXPECT_EQ(firstFrameThatDiffers(s, 4, ts), -1) << static_cast<int>(x.kind);
    }
}

// Int of a general register and an integer division whose operands may be reals run in the
// records loop: over integers, reals whole or not, halves, reals past the 32-bit integers, NaN,
// infinity, -0 and values that are no numbers, in R1, R3 and D1, each alone (its flags are what
// the End finds) and followed by a division by an integer, a real and a real that rounds to 0,
// the World is the full way's, error reports included.
TEST(TekkelFuzzInputs, WholeNumbersOfRealsAreTheFullWays) {
    using tekkel::Command;
    using tekkel::Value;
    const auto reg = [](std::int16_t r) { return Value::int16(r); };
    const Value none;
    const Value values[] = {Value::int16(-7),        Value::int32(100000),  Value::real64(2.5),
                            Value::real64(-2.5),     Value::real64(-0.0),   Value::real64(0.25),
                            Value::real64(3e9 + .5), Value::real64(NAN),    Value::real64(INFINITY),
                            Value::real32(-1.5f),    Value::string(u"2.5"), Value::null()};
    const Value divisors[] = {none, Value::int16(-2), Value::real64(2.5), Value::real64(-0.4)};
    plat::testing::TestServices ts;
    for (const Value& v : values)
        for (const std::int16_t p1 : {1, 3, 20})
            for (const Value& d : divisors) {
                tekkel::Script s;
                s.commands = {{50, reg(p1), v, none},                           // Set p1, v
                              {50, reg(5), Value::int16(1), none},              // Set R5, 1
                              {72, reg(p1), none, none}};                       // Int p1
                if (!d.isEmpty()) s.commands.push_back({67, reg(p1), d, none}); // IntDivValue
                s.commands.push_back({6, none, none, none});
                s.lastAddress = static_cast<std::int32_t>(s.commands.size()) - 1;
                EXPECT_EQ(firstFrameThatDiffers(s, 2, ts), -1)
                    << tekkel::valueText(v) << ' ' << p1 << ' ' << tekkel::valueText(d);
            }
}
