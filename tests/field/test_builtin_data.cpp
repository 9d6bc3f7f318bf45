// The built-in demo as the program starts on it: read from its embedded folder, then handed to
// the start-up like any other scenario.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "field/ScenarioReader.h"
#include "platform/testing/TestSeams.h"
#include "tekkel/Opcodes.h"

namespace {

using tekkel::Op;
using tekkel::opCode;
using tekkel::Script;
using tekkel::ValueKind;

bool isJump(std::int16_t code) {
    return code == opCode(Op::Jump) ||
           (code >= opCode(Op::JumpIfNotZero) && code <= opCode(Op::JumpIfInvalid));
}

// The reader does not follow jumps: a misspelt label would only show up as error 10 in the
// middle of play, on whatever branch takes it.
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

TEST(BuiltinDemo, EveryJumpNamesALabelOfItsOwnScript) {
    field::World w;
    std::vector<field::ScenarioError> errors;
    ASSERT_TRUE(field::readBuiltInScenario(w, errors));
    for (std::size_t n = 0; n < w.machine.scripts.size(); ++n)
        expectLabelsResolve(w.machine.scripts[n], "script " + std::to_string(n));
    for (std::size_t n = 0; n < w.events.size(); ++n)
        expectLabelsResolve(w.events[n].ownScript, "own " + std::to_string(n));
}

TEST(BuiltinDemo, StartUpHandsTheSearchersTheGridWithTheObjectsOnIt) {
    plat::testing::TestServices ts;
    field::MainWindow form(ts.services);
    field::World world;
    field::startUp(form, world, ts.services);
    const field::SearchGrid& g = form.searchers.direct.grid;
    EXPECT_NE(form.searchers.direct.gridReady, 0);
    EXPECT_EQ(g.width, 9);
    EXPECT_EQ(g.height, 6);
    EXPECT_EQ(g.cells, field::obstacleGrid(world).cells);
    EXPECT_TRUE(ts.windows.boxes.empty());
}

} // namespace
