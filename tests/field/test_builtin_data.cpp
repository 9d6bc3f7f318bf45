// The built-in script table and event objects as data: slots, texts, labels, placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "field/BuiltInData.h"
#include "tekkel/Opcodes.h"

namespace {

using field::EventObject;
using field::World;
using tekkel::Op;
using tekkel::opCode;
using tekkel::Script;
using tekkel::ValueKind;

World builtWorld() {
    World w;
    field::initPlayer(w);
    w.resizeMap(8, 5, 2);
    field::Searchers searchers;
    EXPECT_TRUE(field::buildScripts(w));
    EXPECT_TRUE(field::buildEventObjects(w, searchers));
    return w;
}

bool isJump(std::int16_t code) {
    return code == opCode(Op::Jump) ||
           (code >= opCode(Op::JumpIfNotZero) && code <= opCode(Op::JumpIfInvalid));
}

// Every string jump target must name a Label of the same script: a misspelt label would only
// show up as error 10 in the middle of play.
void expectLabelsResolve(const Script& s, const std::string& what) {
    std::set<std::u16string> labels;
    for (const auto& c : s.commands)
        if (c.code == opCode(Op::Label) && c.p1.kind == ValueKind::String) labels.insert(c.p1.s);
    for (std::size_t a = 0; a < s.commands.size(); ++a) {
        const auto& c = s.commands[a];
        if (isJump(c.code) && c.p1.kind == ValueKind::String) {
            EXPECT_TRUE(labels.count(c.p1.s)) << what << " address " << a;
        }
    }
}

int lastListed(const Script& s) {
    int last = -1;
    for (std::size_t a = 0; a < s.commands.size(); ++a)
        if (s.commands[a].code != 0) last = static_cast<int>(a);
    return last;
}

TEST(BuiltinScripts, TableHasTwentyOneSlotsWithSixScripts) {
    World w = builtWorld();
    ASSERT_EQ(w.machine.scriptCount, 20);
    ASSERT_EQ(w.machine.scripts.size(), 21u);
    struct Expect {
        int slot;
        std::u16string name;
        int lastAddress;
        int lastListed;
    };
    const Expect table[] = {{1, u"", 3, 2},       {2, u"", 50, 44},    {3, u"", 80, 68},
                            {4, u"門番", 30, 16}, {5, u"宝物", 10, 5}, {6, u"ゴール", 30, 15}};
    for (const auto& e : table) {
        const Script& s = w.machine.scripts[e.slot];
        EXPECT_EQ(s.name, e.name) << e.slot;
        EXPECT_EQ(s.lastAddress, e.lastAddress) << e.slot;
        EXPECT_EQ(s.commands.size(), static_cast<std::size_t>(e.lastAddress) + 1) << e.slot;
        EXPECT_EQ(lastListed(s), e.lastListed) << e.slot;
        expectLabelsResolve(s, "script " + std::to_string(e.slot));
    }
    for (int slot : {0, 7, 12, 20}) {
        EXPECT_EQ(w.machine.scripts[slot].lastAddress, 0);
        EXPECT_TRUE(w.machine.scripts[slot].commands.empty());
        EXPECT_TRUE(w.machine.scripts[slot].name.empty());
    }
}

TEST(BuiltinScripts, TextsCarrySingleCarriageReturns) {
    World w = builtWorld();
    const auto& plea = w.machine.scripts[2].commands[34].p2;
    ASSERT_EQ(plea.kind, ValueKind::String);
    EXPECT_EQ(std::count(plea.s.begin(), plea.s.end(), u'\r'), 2);
    EXPECT_EQ(plea.s.find(u'\n'), std::u16string::npos);
    EXPECT_EQ(plea.s.substr(0, 4), u"あの宙に");

    const auto& task = w.machine.scripts[4].commands[3].p1;
    EXPECT_EQ(task.s, u"上に行きたいのじゃろう？\r・・・そうじゃな、あそこに走り回っているやつが"
                      u"おるじゃろう。\rあやつを捕まえて降参させることが出来たら通してやらんこと"
                      u"もないぞい。");
    EXPECT_EQ(w.machine.scripts[4].commands[14].p1.s,
              u"道は開かれた。行くが良い\rわしは暫しの間休むとしよう・・・");
    EXPECT_EQ(w.machine.scripts[6].commands[12].p1.s, u"The End.");
}

TEST(BuiltinScripts, OmittedParametersStayEmptyAndNumbersAreShort) {
    World w = builtWorld();
    // The gatekeeper's speed command has no set switch of its own: D3 decides.
    const auto& speed = w.machine.scripts[4].commands[5];
    EXPECT_EQ(speed.code, opCode(Op::ObjectSpeed));
    EXPECT_TRUE(speed.p3.isEmpty());
    EXPECT_EQ(speed.p2.kind, ValueKind::Int16);
    // The opening scene's player turn takes its direction from D1.
    EXPECT_TRUE(w.machine.scripts[2].commands[18].p1.isEmpty());
    EXPECT_EQ(w.machine.scripts[2].commands[18].p2.i, 1);
    // The gatekeeper's switches are booleans, not numbers.
    EXPECT_EQ(w.machine.scripts[4].commands[9].p2.kind, ValueKind::Boolean);
    EXPECT_EQ(w.machine.scripts[4].commands[9].p2.i, -1);
}

TEST(BuiltinEvents, OpeningSceneIsArmed) {
    World w = builtWorld();
    EXPECT_NE(w.systemScriptActive, 0);
    EXPECT_NE(w.inputLocked, 0);
    EXPECT_EQ(w.systemRun.scriptNumber, 2);
    EXPECT_EQ(w.systemRun.address, 0);
}

TEST(BuiltinEvents, EachObjectNamesExactlyItsCell) {
    World w = builtWorld();
    ASSERT_EQ(w.eventCount, 16);
    ASSERT_EQ(w.events.size(), 17u);
    std::set<int> seen;
    for (int layer = 0; layer <= w.topLayer; ++layer)
        for (int plane = 0; plane < field::kPlaneCount; ++plane)
            for (int x = 0; x <= w.maxX; ++x)
                for (int y = 0; y <= w.maxY; ++y) {
                    const int id = w.cell(layer, plane, x, y).eventId;
                    if (id == 0) continue;
                    ASSERT_GE(id, 1);
                    ASSERT_LE(id, 16);
                    const EventObject& e = w.events[id];
                    EXPECT_EQ(std::make_tuple(e.layer, e.plane, e.x, e.y),
                              std::make_tuple(layer, plane, x, y))
                        << "object " << id;
                    EXPECT_TRUE(seen.insert(id).second);
                }
    EXPECT_EQ(seen.size(), 15u);
    EXPECT_FALSE(seen.count(3));
    EXPECT_EQ(w.cell(0, 2, 6, 4).eventId, 2);
    EXPECT_EQ(w.cell(1, 0, 5, 2).eventId, 6);
}

TEST(BuiltinEvents, BehaviourFlagsAndAutomaticScripts) {
    World w = builtWorld();
    struct Expect {
        int n;
        bool visible, enabled, onStep, triggerable;
        int autoScript, interval;
    };
    const Expect table[] = {
        {1, true, true, true, true, 0, 0},     {2, true, true, false, true, 0, 0},
        {3, false, false, false, false, 0, 0}, {4, true, false, false, false, 0, 0},
        {5, false, false, true, true, 0, 0},   {6, false, false, true, true, 0, 0},
        {7, true, true, false, true, 0, 0},    {8, true, true, false, true, 0, 0},
        {9, true, true, false, true, 1, 20},   {10, true, true, false, true, 1, 20},
        {11, true, true, false, true, 3, 2},   {12, false, true, true, true, 0, 0},
        {13, false, true, true, true, 0, 0},   {14, false, true, true, true, 0, 0},
        {15, false, true, true, true, 0, 0},   {16, false, true, true, true, 0, 0},
    };
    for (const auto& e : table) {
        const EventObject& o = w.events[e.n];
        EXPECT_EQ(o.visible != 0, e.visible) << e.n;
        EXPECT_EQ(o.enabled != 0, e.enabled) << e.n;
        EXPECT_EQ(o.onStep != 0, e.onStep) << e.n;
        EXPECT_EQ(o.triggerable != 0, e.triggerable) << e.n;
        EXPECT_EQ(o.autoScript, e.autoScript) << e.n;
        EXPECT_EQ(o.stepInterval, e.interval) << e.n;
        EXPECT_EQ(o.moving, 0) << e.n;
        EXPECT_EQ(o.detached, 0) << e.n;
        EXPECT_EQ(o.run.scriptNumber, 0) << e.n;
    }
    // Characters turn and animate; the rest are drawn from the event sheet.
    EXPECT_EQ(w.events[10].chipSheet, 0);
    EXPECT_EQ(w.events[10].sheetX, 384);
    EXPECT_EQ(w.events[10].facing, 3);
    EXPECT_EQ(w.events[10].stepDir, 1);
    EXPECT_EQ(w.events[13].chipHeight, 32);
    EXPECT_EQ(w.events[13].sheetY, 32);
}

TEST(BuiltinEvents, OwnScriptsAreIndependentCopies) {
    World w = builtWorld();
    // Ladder ends set the player's layer; copies carry their own target layer.
    const std::pair<int, int> ladders[] = {{5, 1},  {6, 0},  {12, 2}, {13, 1},
                                           {14, 1}, {15, 0}, {16, 0}};
    for (auto [n, layer] : ladders) {
        const Script& s = w.events[n].ownScript;
        ASSERT_EQ(s.commands.size(), 1u) << n;
        EXPECT_EQ(s.commands[0].code, opCode(Op::PlayerLayer)) << n;
        EXPECT_EQ(s.commands[0].p1.i, layer) << n;
        EXPECT_EQ(s.commands[0].p2.i, 1) << n;
    }
    EXPECT_EQ(w.events[8].ownScript.commands[0].p1.s, u"宝物");
    EXPECT_EQ(w.events[10].ownScript.commands[0].p1.s, u"ゴール");
    EXPECT_EQ(w.events[11].ownScript.lastAddress, 40);
    expectLabelsResolve(w.events[11].ownScript, "catching game");

    // Changing an object's script must not reach the object it was copied from.
    w.events[16].ownScript.commands[0].p1 = tekkel::Value::int16(2);
    w.events[11].ownScript.commands[0].code = opCode(Op::Nop);
    EXPECT_EQ(w.events[15].ownScript.commands[0].p1.i, 0);
    EXPECT_EQ(w.events[9].ownScript.commands[0].code, opCode(Op::Say));
    EXPECT_EQ(w.events[10].ownScript.commands[0].code, opCode(Op::Chain));
}

TEST(BuiltinEvents, ChainTargetsExistInTheTable) {
    World w = builtWorld();
    for (int n = 1; n <= w.eventCount; ++n)
        for (const auto& c : w.events[n].ownScript.commands) {
            if (c.code != opCode(Op::Chain)) continue;
            bool found = false;
            for (const Script& s : w.machine.scripts)
                found = found || s.name == c.p1.s;
            EXPECT_TRUE(found) << "object " << n;
        }
}

TEST(BuiltinEvents, RefusesWithoutAMap) {
    World w;
    field::initPlayer(w);
    field::Searchers searchers;
    ASSERT_TRUE(field::buildScripts(w));
    EXPECT_FALSE(field::buildEventObjects(w, searchers));
}

} // namespace

namespace {

TEST(BuiltinEvents, HandsTheObstacleGridToTheSearchers) {
    field::World w;
    field::initPlayer(w);
    w.resizeMap(8, 5, 2);
    field::Searchers searchers;
    field::configureAtStartUp(searchers);
    ASSERT_TRUE(field::buildScripts(w));
    ASSERT_TRUE(field::buildEventObjects(w, searchers));
    const field::SearchGrid& g = searchers.direct.grid;
    EXPECT_NE(searchers.direct.gridReady, 0);
    EXPECT_EQ(g.width, 9);
    EXPECT_EQ(g.height, 6);
    EXPECT_NE(g.at(0, 0), 0); // the character plane has no ground of its own
    EXPECT_EQ(g.at(6, 4), 0); // the rest is left to the movement test
}

} // namespace
