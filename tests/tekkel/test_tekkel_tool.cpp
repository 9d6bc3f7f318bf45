// The tekkel command line: list and check agree, run prints the boxes and the registers, and a
// failing script or a broken file ends with status 1.
#include <gtest/gtest.h>

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
