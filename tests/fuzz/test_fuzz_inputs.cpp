// A few seconds of the fuzzer's work in the ordinary suite: deterministic pseudo-random inputs
// fed to the same entry point, run both through the compiled records and the full way.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TekkelFuzzInput.h"
#include "common/mdlCommon.h"
#include "field/script/mdlScriptDisassembler.h"
#include "field/script/mdlScriptValue.h"
#include "platform/Random.h"

TEST(TekkelFuzzInputs, FixedSeedInputsRunWithoutFault) {
    plat::testing::TestServices ts;
    plat::Random random(20240131);
    std::vector<std::uint8_t> input;
    std::size_t boxes = 0;
    for (int k = 0; k < 60000; ++k) {
        input.resize(16 + random.next32() % 700);
        for (auto& b : input)
            b = static_cast<std::uint8_t>(random.next32());
        tekkel_fuzz::runInput(ts, input.data(), input.size());
        boxes += ts.windows.boxes.size();
    }
    // The inputs reach the commands: messages and error reports were shown.
    EXPECT_GT(boxes, 60000u);
    tekkel_fuzz::runInput(ts, nullptr, 0);
}

namespace {

// Everything a script can change, as text: runs, variables, maps, objects, player, shade.
std::string snapshot(const field::World& w) {
    using mdlScriptDisassembler::pfValueText;
    std::ostringstream o;
    auto run = [&](const mdlScriptProcesser::ScriptRun& r) {
        for (const auto* v : {&r.R1, &r.R2, &r.R3, &r.R4, &r.R5, &r.D1, &r.D2, &r.D3})
            o << pfValueText(*v) << ',';
        o << r.space << ',' << r.varIndex << ',' << r.mapSelect << ',' << r.work << ','
          << r.scriptNumber << ',' << r.address << ',' << r.zeroFlag << r.negativeFlag
          << r.invalidFlag << r.suspended << ',' << r.activeObject << ',' << r.testLayer << ','
          << r.testPlane << ',' << r.testX << ',' << r.testY << " locals " << r.localCount;
        for (const auto& v : r.locals)
            o << ' ' << pfValueText(v);
        o << " map";
        for (auto e : r.ownMap.entries)
            o << ' ' << e;
        o << '\n';
    };
    run(w.systemRun);
    for (const auto& e : w.events) {
        run(e.run);
        o << e.visible << e.layer << e.plane << ',' << e.x << ',' << e.y << ',' << e.facing << ','
          << e.chipSheet << e.enabled << e.detached << ',' << e.stepInterval << '\n';
    }
    for (const auto& v : w.globalValues)
        o << pfValueText(v) << ' ';
    for (const auto& m : w.globalEntries) {
        o << "\nmap " << m.total << ':';
        for (auto e : m.entries)
            o << ' ' << e;
    }
    const auto& p = w.player;
    o << "\nplayer " << p.visible << p.layer << p.plane << ',' << p.x << ',' << p.y << ','
      << p.facing << p.chipSheet << " shade " << w.shadeLevel << " system " << w.systemScriptActive
      << w.inputLocked;
    return o.str();
}

std::string boxes(const plat::testing::TestServices& ts) {
    std::string all;
    for (const auto& b : ts.windows.boxes)
        all += mdlCommon::toUtf8(b.title + u"|" + b.text) + '\n';
    return all;
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
        const std::string compiled =
            snapshot(tekkel_fuzz::runInput(ts, input.data(), input.size()));
        const std::string compiledBoxes = boxes(ts);
        const std::string full =
            snapshot(tekkel_fuzz::runInput(ts, input.data(), input.size(), true));
        ASSERT_EQ(compiled, full) << "input " << k;
        ASSERT_EQ(compiledBoxes, boxes(ts)) << "input " << k;
    }
}
