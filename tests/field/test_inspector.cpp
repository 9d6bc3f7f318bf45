// The inspector's text on the built-in demo, frame by frame on the virtual clock: each run's row
// and its script's marked row agree on the line, the state follows the run (a box open is seen
// from inside the box), values are written as the text form writes them, and a script without
// a source is shown as its disassembly.
#include <gtest/gtest.h>

#include "field/Inspector.h"
#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "platform/testing/TestSeams.h"
#include "tekkel/Opcodes.h"

namespace {

using namespace field;

struct Demo {
    plat::testing::TestServices ts;
    MainWindow form{ts.services};
    World world;
    Demo() { startUp(form, world, ts.services); }
};

// "scripts.tkl:24" at the end of a run's row, and the line of its script's marked row.
std::string rowLine(const std::string& row) {
    return row.substr(row.rfind(':') + 1);
}
std::string markedLine(const ScriptListing& s) {
    if (s.current < 0) return "";
    return std::to_string(s.lines[static_cast<std::size_t>(s.current)]);
}

TEST(Inspector, RunsScriptsAndValuesOfTheDemo) {
    Demo d;
    std::vector<std::string> inBox;
    d.ts.windows.responder = [&](const plat::testing::RecordedBox&) {
        inBox = runRows(d.world, {kSystemRun});
        return plat::MsgResult::Ok;
    };
    FieldLoop loop(d.form, d.world, d.ts.services);
    loop.runOneFrame();
    // The opening scene yielded after setting two story flags in map 1.
    EXPECT_EQ(runRows(d.world, {kSystemRun})[0], "system    script 2  running  scripts.tkl:24");
    const ScriptListing opening = scriptListing(d.world, kSystemRun, nullptr);
    EXPECT_EQ(opening.rows[static_cast<std::size_t>(opening.current)], "▶   24  SetActive 10");
    const std::vector<std::string> registers = registerRows(d.world, kSystemRun);
    EXPECT_EQ(registers[0], "R1 = (empty)");
    EXPECT_EQ(registers[9], "space 2  varIndex 2  mapSelect 1");
    EXPECT_EQ(registers.back(), "own map total 0:");
    EXPECT_EQ(sharedRows(d.world),
              (std::vector<std::string>{"var 1 = 0", "var 2 = 0", "var 3 = null", "var 4 = null",
                                        "var 5 = null", "map 1 total 6: 1 2 3 4 5 0"}));

    loop.runFrames(80);
    ASSERT_FALSE(inBox.empty());
    EXPECT_EQ(inBox[0], "system    script 2  waiting for a box  scripts.tkl:43");
    EXPECT_EQ(runState(d.world, 11), RunState::Idle); // objects wait for the opening's end

    loop.runFrames(400);
    ASSERT_EQ(d.world.systemScriptActive, 0);
    const std::vector<RunId> runs = inspectedRuns(d.world);
    const std::vector<std::string> rows = runRows(d.world, runs);
    ASSERT_EQ(runs.size(), rows.size());
    EXPECT_EQ(rows[0], "system    script 2  idle");
    for (std::size_t k = 1; k < runs.size(); ++k) {
        EXPECT_NE(runState(d.world, runs[k]), RunState::Idle) << rows[k];
        EXPECT_EQ(rowLine(rows[k]), markedLine(scriptListing(d.world, runs[k], nullptr)))
            << rows[k];
    }
    EXPECT_EQ(runs.back(), 11);
    EXPECT_EQ(rows.back().rfind("object 11 script 3  ", 0), 0u) << rows.back();
    EXPECT_EQ(registerRows(d.world, 11).size(), 11u + 8u) << "the runaway's eight locals";
}

TEST(Inspector, AScriptWithoutSourceShowsItsDisassembly) {
    World world;
    world.machine.scriptCount = 1;
    world.machine.scripts.resize(2);
    tekkel::Script& s = world.machine.scripts[1];
    s.commands.resize(2);
    s.commands[0] = {
        tekkel::opCode(tekkel::Op::Set), tekkel::Value::int16(1), tekkel::Value::int16(5), {}};
    s.commands[1].code = tekkel::opCode(tekkel::Op::Yield);
    s.lastAddress = 1;
    world.systemScriptActive = -1;
    world.systemRun.scriptNumber = 1;
    world.systemRun.address = 1;
    const ScriptListing listing = scriptListing(world, kSystemRun, nullptr);
    EXPECT_EQ(listing.rows, (std::vector<std::string>{"     0  Set R1, 5", "▶    1  Yield"}));
    EXPECT_EQ(listing.lines, (std::vector<int>{0, 0}));
    EXPECT_EQ(listing.file, "");
    EXPECT_EQ(
        runRows(world, {kSystemRun, 4}),
        (std::vector<std::string>{"system    script 1  running", "object 4  script 0  idle"}));
}

} // namespace
