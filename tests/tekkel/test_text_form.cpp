// Tekkel's text form: the built-in scripts and random command arrays survive a trip through the
// disassembler and the assembler unchanged, and broken texts are refused with their place.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "TekkelKit.h"
#include "field/ScenarioReader.h"
#include "tekkel/Assembler.h"
#include "tekkel/Disassembler.h"

using namespace tekkel_test;
using tekkel::NumberedScript;
using tekkel::Unit;

namespace {

Unit assemble(const std::string& text) {
    Unit unit;
    std::vector<tekkel::AssemblyError> errors;
    const bool ok = tekkel::assemble(text, unit, errors);
    EXPECT_TRUE(ok) << (errors.empty() ? "" : tekkel::errorText("text", errors[0])) << "\n" << text;
    return unit;
}

void expectSame(const Script& got, const Script& want, const std::string& what) {
    EXPECT_EQ(got.name, want.name) << what;
    EXPECT_EQ(got.lastAddress, want.lastAddress) << what;
    ASSERT_EQ(got.commands.size(), want.commands.size()) << what;
    for (std::size_t a = 0; a < want.commands.size(); ++a) {
        const Command& g = got.commands[a];
        const Command& w = want.commands[a];
        // Value equality compares the kind first, so 5 and 5L differ.
        EXPECT_TRUE(g.code == w.code && g.p1 == w.p1 && g.p2 == w.p2 && g.p3 == w.p3)
            << what << " address " << a << ": " << tekkel::commandText(g) << " | "
            << tekkel::commandText(w);
    }
}

TEST(TextForm, BuiltinListingAssemblesToTheBuiltinScripts) {
    Tekkel t(16);
    std::vector<field::ScenarioError> errors;
    ASSERT_TRUE(field::readBuiltInScenario(t.world, errors));
    std::string text;
    for (int n = 1; n <= 6; ++n)
        text += tekkel::listScript(n, t.world.machine.scripts[n]);
    for (int n = 1; n <= 16; ++n)
        if (!t.world.events[n].ownScript.commands.empty())
            text += tekkel::listOwnScript(n, t.world.events[n].ownScript);
    const Unit unit = assemble(text);
    ASSERT_EQ(unit.scripts.size(), 6u);
    ASSERT_EQ(unit.ownScripts.size(), 14u);
    for (const NumberedScript& s : unit.scripts)
        expectSame(s.script, t.world.machine.scripts[s.number],
                   "script " + std::to_string(s.number));
    for (const NumberedScript& s : unit.ownScripts)
        expectSame(s.script, t.world.events[s.number].ownScript, "own " + std::to_string(s.number));

    // Spot checks of what the text must keep: kinds, omissions, never-filled tails.
    struct Kind {
        int slot, address, param;
        ValueKind kind;
    };
    const Kind kinds[] = {{1, 0, 1, ValueKind::Int16},   {2, 18, 1, ValueKind::Empty},
                          {2, 34, 2, ValueKind::String}, {4, 5, 3, ValueKind::Empty},
                          {4, 9, 2, ValueKind::Boolean}, {6, 16, 1, ValueKind::Empty},
                          {3, 80, 1, ValueKind::Empty}};
    for (const Kind& k : kinds) {
        const Command& c = t.world.machine.scripts[k.slot].commands[k.address];
        const Value& v = k.param == 1 ? c.p1 : k.param == 2 ? c.p2 : c.p3;
        EXPECT_EQ(v.kind, k.kind) << k.slot << ":" << k.address << " P" << k.param;
    }
    EXPECT_EQ(t.world.events[11].ownScript.commands[40].code, 0);
}

// Any value of any kind, weighted toward the awkward ones.
Value randomValue(std::mt19937& rng) {
    std::uniform_int_distribution<int> pick(0, 13);
    std::uniform_int_distribution<std::uint64_t> bits;
    const auto real64 = [&] {
        double d;
        const std::uint64_t b = bits(rng);
        std::memcpy(&d, &b, sizeof d);
        return std::isnan(d) ? 0.1 : d;
    };
    switch (pick(rng)) {
    case 0: return Value{};
    case 1: return Value::null();
    case 2: return Value::boolean(rng() % 2);
    case 3: return I(static_cast<std::int16_t>(rng()));
    case 4: return I(static_cast<std::int16_t>(static_cast<int>(rng() % 420) - 10)); // registers
    case 5: return L(static_cast<std::int32_t>(rng()));
    case 6: return L(static_cast<std::int32_t>(rng() % 100) - 50);
    case 7: return D(real64());
    case 8: {
        const double special[] = {
            0.0,  -0.0,     1e300,     5e-324,
            -2.5, HUGE_VAL, -HUGE_VAL, std::numeric_limits<double>::quiet_NaN()};
        return D(special[rng() % 8]);
    }
    case 9: {
        const std::uint32_t b = static_cast<std::uint32_t>(bits(rng));
        float f;
        std::memcpy(&f, &b, sizeof f);
        return Value::real32(std::isnan(f) ? 1e-45f : f);
    }
    default: {
        // Text with quotes, escapes, separators, controls, lone and paired surrogates.
        const char16_t units[] = {u'a',  u'"',  u'\\', u';', u',',  u':',   u' ',   u'\r',
                                  u'\n', u'\t', 0x01,  0x7F, u'門', 0xD83D, 0xDE00, 0xDC00};
        std::u16string s;
        const int n = static_cast<int>(rng() % 8);
        for (int i = 0; i < n; ++i)
            s += units[rng() % std::size(units)];
        return S(s);
    }
    }
}

Script randomScript(std::mt19937& rng) {
    const auto commands = tekkel::allCommands();
    Script s;
    const int n = static_cast<int>(rng() % 10);
    for (int i = 0; i < n; ++i) {
        Command c;
        const int how = static_cast<int>(rng() % 4);
        c.code = how == 0   ? static_cast<std::int16_t>(rng())
                 : how == 1 ? tekkel::opCode(tekkel::Op::Label)
                            : tekkel::opCode(commands[rng() % commands.size()].op);
        c.p1 = randomValue(rng);
        c.p2 = randomValue(rng);
        c.p3 = randomValue(rng);
        if (how == 1 && rng() % 2) { // a label line `name:` when the name allows
            c.p1 = S(u"L" + c.p1.s);
            c.p2 = c.p3 = Value{};
        }
        s.commands.push_back(std::move(c));
    }
    if (n > 0 && rng() % 3 == 0) s.commands.resize(s.commands.size() + rng() % 4); // never filled
    s.lastAddress = s.commands.empty() ? 0 : static_cast<std::int32_t>(s.commands.size()) - 1;
    if (rng() % 2) s.name = randomValue(rng).s;
    return s;
}

TEST(TextForm, RandomCommandArraysSurviveTheRoundTrip) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 300; ++round) {
        std::vector<Script> scripts, owns;
        std::string text;
        for (int n = 1; n <= 3; ++n) {
            scripts.push_back(randomScript(rng));
            owns.push_back(randomScript(rng));
            text += tekkel::listScript(n, scripts.back());
            text += tekkel::listOwnScript(n, owns.back());
        }
        const Unit unit = assemble(text);
        ASSERT_EQ(unit.scripts.size(), 3u) << text;
        ASSERT_EQ(unit.ownScripts.size(), 3u) << text;
        for (int n = 0; n < 3; ++n) {
            expectSame(unit.scripts[n].script, scripts[n], text);
            expectSame(unit.ownScripts[n].script, owns[n], text);
        }
        if (HasFailure()) return;
    }
}

// Damaged texts: the assembler refuses them or reads something that itself round-trips.
TEST(TextForm, DamagedListingsAreRefusedOrReadConsistently) {
    const std::string listing = tekkel::listScript(
        3, makeScript({C(Op::Set, I(1), L(70000)), C(Op::Label, S(u"ワープ")),
                       C(Op::Concat, I(2), S(u"a\"\\;b\r"), D(-0.5)), C(Op::JumpIfZero, S(u"x"))},
                      u"n"));
    const std::string alphabet = "\";,: \\\n\r-.eLf0123456789RvarLabel\x80\xE9";
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        std::string text = listing;
        for (int edits = 1 + static_cast<int>(rng() % 3); edits > 0; --edits) {
            const std::size_t at = rng() % (text.size() + 1);
            if (rng() % 2 && at < text.size())
                text.erase(at, 1 + rng() % 3);
            else
                text.insert(at, 1, alphabet[rng() % alphabet.size()]);
        }
        Unit unit;
        std::vector<tekkel::AssemblyError> errors;
        if (!tekkel::assemble(text, unit, errors)) {
            EXPECT_TRUE(unit.scripts.empty() && !errors.empty()) << text;
            continue;
        }
        for (const NumberedScript& s : unit.scripts) {
            const Unit again = assemble(tekkel::listScript(s.number, s.script));
            ASSERT_EQ(again.scripts.size(), 1u) << text;
            expectSame(again.scripts[0].script, s.script, text);
        }
        if (HasFailure()) return;
    }
}

TEST(TextForm, ReadsWhatPeopleWrite) {
    const Unit unit = assemble("\xEF\xBB\xBF; a comment\r\n"
                               "SCRIPT 7 \"a;b\" LAST 5 ; header\r\n"
                               "top:\n"
                               "  set r1 , 5L ; 32-bit\n"
                               "  57 2, , 1\n"
                               "  Move VAR, TestX\n"
                               "  SetShade 1.5f\n"
                               "  JumpIfZero \"top\";\n"
                               "own 3\n");
    ASSERT_EQ(unit.scripts.size(), 1u);
    const Script& s = unit.scripts[0].script;
    EXPECT_EQ(s.name, u"a;b");
    EXPECT_EQ(s.lastAddress, 5);
    expectSame(s,
               makeScript({C(Op::Label, S(u"top")), C(Op::Set, I(1), L(5)),
                           C(Op::Select, I(2), O, I(1)), C(Op::Move, I(-1), I(402)),
                           C(Op::SetShade, Value::real32(1.5f)), C(Op::JumpIfZero, S(u"top"))},
                          u"a;b"),
               "script 7");
    ASSERT_EQ(unit.ownScripts.size(), 1u);
    EXPECT_TRUE(unit.ownScripts[0].script.commands.empty()) << "a header alone is an empty slot";
}

TEST(TextForm, ErrorsNameLineAndColumnAndLoadNothing) {
    const struct {
        const char* text;
        const char* where; // LINE:COLUMN: and the start of the message
    } cases[] = {
        {"Nop", "1:1: a command before the first"},
        {"script 1\n  Sett R1, 1", "2:3: unknown command 'Sett'"},
        {"script 1\n  Set R1, R2", "2:11: 'R2' is a register"},
        {"script 1\n  Message \"門\\q\"", "2:13: unknown escape"},
        {"script 1\n  Message \"open", "2:11: unterminated string"},
        {"script 1\n  Set R1, 1, 2, 3", "2:17: a command takes at most three"},
        {"script 1\n  Set R1 2", "2:10: expected ','"},
        {"script 1\n  Set R1, 2147483648", "2:11: integer out of range"},
        {"script 1\n  Set R1, 1.5L", "2:11: a real cannot"},
        {"script 1\n  Set R1, banana", "2:11: unknown name 'banana'"},
        {"script 21", "1:8: expected a script slot 1..20"},
        {"own 2\nscript 2\nown 2", "3:1: own 2 is written twice"},
        {"script 1 last 1\n Nop\n Nop\n Nop", "1:10: last 1 is below the 3 commands"},
        {"script 1\nloop: \"x\"", "2:7: expected a command after the label"},
        {"script 1\nloop: next: Nop", "2:7: expected a command after the label"},
        {"script 1\n  70000", "2:3: a command code is a 16-bit number"},
        {"script 1\n  Message \"\xE9t\xE9\"", "2:12: the line is not valid UTF-8"},
    };
    for (const auto& c : cases) {
        Unit unit;
        std::vector<tekkel::AssemblyError> errors;
        EXPECT_FALSE(tekkel::assemble(c.text, unit, errors)) << c.text;
        ASSERT_FALSE(errors.empty()) << c.text;
        const std::string got = tekkel::errorText("f.tkl", errors[0]);
        EXPECT_EQ(got.rfind("f.tkl:" + std::string(c.where), 0), 0u) << got;
        EXPECT_TRUE(unit.scripts.empty() && unit.ownScripts.empty()) << c.text;
    }
    // Every broken line is reported, not only the first.
    Unit unit;
    std::vector<tekkel::AssemblyError> errors;
    tekkel::assemble("script 1\n x\n Nop\n y", unit, errors);
    EXPECT_EQ(errors.size(), 2u);
}

} // namespace
