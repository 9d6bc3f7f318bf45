// The tekkel command line: list and check agree, run prints the boxes and the registers, and a
// failing script or a broken file ends with status 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "apps/tekkel/TekkelTool.h"
#include "platform/testing/TestSeams.h"

namespace {

struct Tool {
    plat::testing::TempProcess folder; // a fresh folder for the files, removed afterwards
    std::ostringstream out, err;

    std::string file(const std::string& name, const std::string& text) {
        const std::string path = folder.folder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    int operator()(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return tekkel_tool::runCommandLine(args, out, err);
    }
};

TEST(TekkelTool, ListedScriptsCheckClean) {
    Tool t;
    ASSERT_EQ(t({"list"}), 0);
    const std::string all = t.file("all.tkl", t.out.str());
    EXPECT_EQ(t({"check", all}), 0) << t.err.str();
    EXPECT_NE(t.out.str().find("6 scripts, 14 own scripts"), std::string::npos);
}

TEST(TekkelTool, CheckNamesFileLineAndColumn) {
    Tool t;
    const std::string good = t.file("good.tkl", "script 7\n  End\n");
    const std::string bad = t.file("bad.tkl", "script 7\n  Set R1, 1\n  Sett R2, 2\n");
    EXPECT_EQ(t({"check", good, bad}), 1);
    EXPECT_EQ(t.err.str(), bad + ":3:3: unknown command 'Sett'\n");
    EXPECT_EQ(t({"check", t.folder.folder + "/missing.tkl"}), 1);
    EXPECT_EQ(t({"check"}), 2);
}

// Mistakes the scripts show before they run: errors fail the check, a command that never
// runs is a warning that fails it only with --strict. Chains may go to the built-in field's
// scripts, which `run` keeps beside the file's; a label, a written jump target or a computed
// jump lets the commands after an End run.
TEST(TekkelTool, CheckFindsMistakesBeforeTheScriptsRun) {
    Tool t;
    const std::string f = t.file("m.tkl", "script 3\n"
                                          "  Jump \"nowhere\"\n"
                                          "  Chain \"missing\"\n"
                                          "back: Chain \"門番\"\n"
                                          "  Chain 9\n"
                                          "  IntDivValue R1, 0\n"
                                          "  SetShade 4\n"
                                          "  ObjectStep -1, -2\n"
                                          "  ObjectX 17, R1\n"
                                          "  DivValue R1, 0.0\n");
    const std::string lines[] = {
        ":2:8: no label \"nowhere\" in this script; expected one of its labels",
        ":3:3: warning: this command never runs: it follows the Jump on line 2 and no label comes "
        "between",
        ":3:9: no script is named \"missing\"; expected the name of a stored script",
        ":5:9: no script 9; expected the number of a stored script",
        ":6:19: division by zero; expected a divisor other than 0",
        ":7:12: 4 is not a shade level; expected 0..3",
        ":8:18: -2 is not a direction; expected -1..7",
        ":9:11: 17 is not an object of the field; expected -1 or 1..16",
        ":10:16: division by zero; expected a divisor other than 0"};
    std::string expected;
    for (const std::string& line : lines)
        expected += f + line + "\n";
    EXPECT_EQ(t({"check", f}), 1);
    EXPECT_EQ(t.err.str(), expected);
    EXPECT_EQ(t.out.str(), "");

    const std::string warned = t.file("w.tkl", "script 3\n  Set D1, 2\n  Jump\n  End\n"
                                               "script 4\n  JumpIfZero 2\n  End\n  Nop\n"
                                               "script 5\n  Restart\nx: Nop\n  End\n  End\n"
                                               "script 6\nx:\ny:\nx:\n  End\n");
    EXPECT_EQ(t({"check", warned}), 0);
    EXPECT_EQ(t.err.str(), warned +
                               ":13:3: warning: this command never runs: it follows the End "
                               "on line 12 and no label comes between\n" +
                               warned +
                               ":17:1: warning: label \"x\" is written again: jumps to "
                               "it go to the one on line 15\n");
    EXPECT_EQ(t({"check", "--strict", warned}), 1);
    EXPECT_EQ(t.out.str(), "");
}

TEST(TekkelTool, HelpPrintsTheCommandTable) {
    Tool t;
    EXPECT_EQ(t({"help", "intdivvalue", "R4"}), 0);
    EXPECT_EQ(t.out.str(), "IntDivValue (67)  P1 reg, P2 value  -- R1 = quotient of reg P1 by P2, "
                           "then R4 = remainder\nR4 (register 4)  -- general register; also the "
                           "remainder of IntDiv\n");
    EXPECT_EQ(t({"help", "Frob"}), 1);
    ASSERT_EQ(t({"help"}), 0);
    const std::string all = t.out.str();
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 78 + 23);
    EXPECT_EQ(all.find(" --  \n"), std::string::npos) << "a line without its effect";
    ASSERT_EQ(t({"--help"}), 0);
    EXPECT_NE(t.out.str().find("The text form"), std::string::npos);
}

TEST(TekkelTool, RunPrintsBoxesAsTheyAppearThenTheRegisters) {
    Tool t;
    // The lowest-numbered script runs; Wait passes on the virtual clock; built-in names work.
    const std::string f = t.file("p.tkl", "script 9\n  Message \"never\"\n"
                                          "script 8\n  Message \"one\\rtwo\"\n  Wait R3, 5000\n"
                                          "  Set R1, 1.5\n  Set R2, \"x\"\n  Set R5, 5133\n"
                                          "  Set R4, 70000\n  Chain 9\n");
    EXPECT_EQ(t({"run", f}), 0) << t.err.str();
    const std::string out = t.out.str();
    EXPECT_EQ(out.substr(0, out.find("R3 = ")), "one\ntwo\nnever\nR1 = 1.5\nR2 = \"x\"\n");
    EXPECT_EQ(out.substr(out.find("\nR4")), "\nR4 = 70000\nR5 = 5133\n"); // R3: Wait's start
    EXPECT_EQ(t({"run", f, "--script", "9"}), 0);
    EXPECT_EQ(t.out.str(), "never\nR1 =\nR2 =\nR3 =\nR4 =\nR5 =\n");
}

TEST(TekkelTool, ScriptFailureReportsOnStandardError) {
    Tool t;
    const std::string f = t.file("f.tkl", "script 3\n  Set R1, 7\n  Jump \"nowhere\"\n");
    EXPECT_EQ(t({"run", f}), 1);
    EXPECT_EQ(t.out.str(), "");
    EXPECT_NE(t.err.str().find("Error Number  : 10\n"), std::string::npos) << t.err.str();
    // A script that never ends is given up after the frame limit.
    const std::string loop = t.file("l.tkl", "script 3\nx:\n  Yield\n  Jump \"x\"\n");
    EXPECT_EQ(t({"run", loop, "--max-frames", "100"}), 1);
    EXPECT_NE(t.err.str().find("still runs after 100 frames"), std::string::npos);
    EXPECT_EQ(t({"run", f, "--script"}), 2);
}

// A loop that never yields ends no frame, so only the command budget gives it up.
TEST(TekkelTool, ScriptsThatNeverYieldAreGivenUpAfterTheCommandBudget) {
    Tool t;
    const std::pair<const char*, const char*> loops[] = {
        {"script 4\nL:\n  Jump \"L\"\n", ":2:1: script 4 at 'L:'"},
        {"script 4 \"me\"\n  Chain \"me\"\n", ":2:3: script 4 at 'Chain \"me\"'"}};
    for (const auto& [loop, where] : loops) {
        const std::string f = t.file("loop.tkl", loop);
        EXPECT_EQ(t({"run", f, "--max-steps", "100000"}), 1);
        EXPECT_EQ(t.err.str(),
                  "tekkel: " + f + where + ": still runs after --max-steps 100000 commands\n");
    }
}

// What a damaged file holds reaches standard error as short, clean lines.
TEST(TekkelTool, MessagesQuoteAnExcerptOfTheInput) {
    Tool t;
    const std::string f = t.file("e.tkl", "script 1\n  Fr\x1B[31mob\n  Set R1, " +
                                              std::string(100000, 'x') + "\r\r\n");
    EXPECT_EQ(t({"check", f}), 1);
    EXPECT_EQ(t.err.str(), f + ":2:3: unknown command 'Fr\\x1B[31mob'\n" + f +
                               ":3:11: unknown name '" + std::string(60, 'x') +
                               "...'; expected a value\n");
}

TEST(TekkelTool, ScriptFailureStartsWithItsSourceLine) {
    Tool t;
    const std::string f = t.file("d.tkl", "; divides by what is left\nscript 3\n  Set R1, 12\n"
                                          "  Set R2, 1\nagain:\n  Dec R2\n\n  IntDiv R1, R2\n");
    EXPECT_EQ(t({"run", f}), 1);
    const std::string first = f + ":8:3: error 1 (division by zero): IntDiv R1, R2\n";
    EXPECT_EQ(t.err.str().substr(0, first.size() + 9), first + "エラー");
    EXPECT_NE(t.err.str().find("Error Name    : division by zero\n"), std::string::npos);
}

} // namespace

namespace {

// The output without the trace's lines.
std::string untraced(const std::string& out) {
    std::istringstream lines(out);
    std::string kept;
    for (std::string line; std::getline(lines, line);)
        if (!line.starts_with("frame ")) kept += line + "\n";
    return kept;
}

} // namespace

// A traced run goes the full way command by command: whatever the program does (loops the
// records would fuse, a chain, a failure, a run out of steps), it prints, fails and ends as the
// untraced one.
TEST(TekkelTool, TracingChangesNothingTheProgramDoes) {
    Tool t;
    const std::string programs[] = {
        "script 7\n  Set R1, 0\n  Set R2, 1\nl: AddValue R2, 2\n  Move R2, R1\n  Inc R3\n"
        "  CompareValue R3, 50\n  JumpIfNotZero \"l\"\n  Message \"done\"\n",
        "script 7\n  Set R4, \"a\"\n  Yield\n  Concat R4, R4\n  Chain \"next\"\n"
        "script 8 \"next\"\n  Length R5, R4\n  DivValue R5, 0\n  Set R1, 9\n",
        "script 7\nl: Inc R1\n  Jump \"l\"\n"};
    for (const std::string& program : programs) {
        const std::string f = t.file("p.tkl", program);
        const std::vector<std::string> args = {"run", f, "--max-steps", "5000"};
        const int status = t(args);
        const std::string out = t.out.str(), err = t.err.str();
        std::vector<std::string> traced = args;
        traced.push_back("--trace");
        EXPECT_EQ(t(traced), status) << program;
        EXPECT_EQ(untraced(t.out.str()), out) << program;
        EXPECT_EQ(t.err.str(), err) << program;
        EXPECT_NE(t.out.str().find("frame 0 system " + f + ":2 "), std::string::npos) << program;
    }
}

TEST(TekkelTool, TraceLinesNameFrameRunPlaceCommandAndWrittenRegisters) {
    Tool t;
    const std::string f = t.file("c.tkl", "script 7\n  Set R1, 1\n  Yield\n  Set R1, 1\n"
                                          "  Set R2, 2.5\n");
    ASSERT_EQ(t({"run", f, "--trace"}), 0) << t.err.str();
    const std::string lines = "frame 0 system " + f + ":2 Set R1, 1 => R1=1\n" + "frame 0 system " +
                              f + ":3 Yield\n" + //
                              "frame 1 system " + f + ":4 Set R1, 1\n" + "frame 1 system " + f +
                              ":5 Set R2, 2.5 => R2=2.5\n";
    EXPECT_TRUE(t.out.str().starts_with(lines)) << t.out.str();
    ASSERT_EQ(t({"run", f, "--trace-from", "4"}), 0);
    EXPECT_TRUE(t.out.str().starts_with("frame 1 system " + f + ":4 ")) << t.out.str();
    EXPECT_EQ(t({"run", f, "--trace-from", "x"}), 2);
}
