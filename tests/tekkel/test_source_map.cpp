// Faults of scripts read from text name where the command was written: the report's added
// section, the error log's line and the tool's first line; a script built in code and a
// command never written (`last K`) report as they always have.
#include <gtest/gtest.h>

#include "TekkelKit.h"
#include "tekkel/Assembler.h"
#include "tekkel/SourceMap.h"

using namespace tekkel_test;

namespace {

constexpr char kFaults[] = R"(script 1
    Set R1, 12
    IntDivValue R1, 0     ; a comment is not the command
script 2
    Set R2, 0
loop: IntDiv R1, R2
script 3
  Jump "nowhere"
script 4
	Chain "none"
script 5
    Break 1
script 6
    999 , 1
script 7
    2
script 8 last 2
    Nop
)";

TEST(TekkelSourceMap, FaultsNameTheirFileLineColumnAndTheCommandAsWritten) {
    struct Case {
        int slot;
        std::string added; // the report's section after Parameter3; empty: none
        std::string logged;
    };
    const Case cases[] = {
        {1, "f.tkl:3:5  IntDivValue R1, 0\rError Name    : division by zero",
         "f.tkl:3:5: error 1 (division by zero): IntDivValue R1, 0"},
        {2, "f.tkl:6:7  IntDiv R1, R2\rError Name    : division by zero",
         "f.tkl:6:7: error 1 (division by zero): IntDiv R1, R2"},
        {3, "f.tkl:8:3  Jump \"nowhere\"\rError Name    : no such label",
         "f.tkl:8:3: error 10 (no such label): Jump \"nowhere\""},
        {4, "f.tkl:10:2  Chain \"none\"\rError Name    : no such script",
         "f.tkl:10:2: error 10 (no such script): Chain \"none\""},
        {5, "f.tkl:12:5  Break 1\rError Name    : break", "f.tkl:12:5: error 0 (break): Break 1"},
        {6, "f.tkl:14:5  999 , 1\rError Name    : unknown command",
         "f.tkl:14:5: error 1 (unknown command): 999 , 1"},
        {7, "f.tkl:16:5  2\rError Name    : reserved command",
         "f.tkl:16:5: error 2 (reserved command): 2"},
        {8, "", "script 8, address 1: error 0 (break): Break"}, // never written
    };
    tekkel::Unit unit;
    std::vector<tekkel::AssemblyError> errors;
    ASSERT_TRUE(tekkel::assemble(kFaults, unit, errors, {}, {"f.tkl"}));
    Tekkel t;
    ASSERT_TRUE(tekkel::installScripts(t.world.machine, unit));
    const std::string log = common::errorLogPath(t.ts.process);
    for (const Case& c : cases) {
        t.ts.windows.boxes.clear();
        t.start(c.slot);
        ASSERT_EQ(t.reports(), 1u) << c.slot;
        const std::string text = common::toUtf8(t.boxes()[0].text);
        const std::size_t added = text.find("\r\r[Source]\rSource        : ");
        EXPECT_EQ(added == std::string::npos ? "" : text.substr(added + 27), c.added) << c.slot;
        const std::string lines = t.ts.process.readFile(log.substr(log.rfind('/') + 1));
        const std::string last = lines.substr(lines.rfind(']', lines.size() - 3) + 1);
        EXPECT_EQ(last, "tekkel/runScript:" + c.logged + "\r\n") << c.slot;
    }
}

} // namespace
