// Loop turns per second of the Tekkel interpreter on the counting loop
//   Label "L" (at address 10), Inc 1, CompareValue 1, N, JumpIfNotZero "L"
// bare, with the shipped pump (throttled to once per millisecond of a real clock) and with a
// pump before every command. Compare with: lua5.4 -e 'local i=0 while i ~= N do i = i + 1 end'.
#include <benchmark/benchmark.h>

#include <chrono>
#include <sstream>

#include "field/World.h"
#include "field/script/ScriptHost.h"
#include "platform/testing/TestSeams.h"
#include "tekkel/Interpreter.h"
#include "tekkel/Opcodes.h"

namespace {

using namespace tekkel;
using tekkel::Op;

constexpr std::int32_t kTurns = 10'000'000;

class SteadyClock : public plat::IClock {
  public:
    std::uint32_t timeGetTime() override {
        using namespace std::chrono;
        return static_cast<std::uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void beginPeriod() override {}
    void endPeriod() override {}
    void sleep(std::uint32_t) override {}
};

Command cmd(Op op, Value p1 = {}, Value p2 = {}) {
    Command c;
    c.code = tekkel::opCode(op);
    c.p1 = std::move(p1);
    c.p2 = std::move(p2);
    return c;
}

field::World loopWorld() {
    field::World w;
    w.machine.scriptCount = 1;
    w.machine.scripts.resize(2);
    Script& s = w.machine.scripts[1];
    s.commands.assign(10, cmd(Op::Nop)); // ten Nops before the label, so a plain scan passes them
    s.commands.push_back(cmd(Op::Label, Value::string(u"L")));
    s.commands.push_back(cmd(Op::Inc, Value::int16(1)));
    s.commands.push_back(cmd(Op::CompareValue, Value::int16(1), Value::int32(kTurns)));
    s.commands.push_back(cmd(Op::JumpIfNotZero, Value::string(u"L")));
    s.commands.push_back(cmd(Op::End));
    s.lastAddress = static_cast<std::int32_t>(s.commands.size()) - 1;
    return w;
}

void runLoop(benchmark::State& state, PumpPolicy policy) {
    plat::testing::TestServices ts;
    SteadyClock clock;
    plat::Services sv{clock, ts.keyboard, ts.windows, ts.process, ts.text, ts.random};
    field::World w = loopWorld();
    std::ostringstream listing;
    for (auto _ : state) {
        w.systemRun = Run{};
        w.systemRun.scriptNumber = 1;
        Pump pump(sv, policy);
        const RunResult r = field::runScript(w, w.systemRun, sv, pump, listing);
        benchmark::DoNotOptimize(r);
        if (!(w.systemRun.R1 == Value::int32(kTurns))) state.SkipWithError("wrong count");
    }
    state.SetItemsProcessed(state.iterations() * kTurns);
    state.counters["pumps"] = static_cast<double>(ts.windows.pumps) / state.iterations();
}

void BM_TekkelLoop(benchmark::State& state) {
    runLoop(state, PumpPolicy::None);
}
void BM_TekkelLoopPump(benchmark::State& state) {
    runLoop(state, PumpPolicy::Throttled);
}
void BM_TekkelLoopPumpEveryCommand(benchmark::State& state) {
    runLoop(state, PumpPolicy::EveryCommand);
}

BENCHMARK(BM_TekkelLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TekkelLoopPump)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TekkelLoopPumpEveryCommand)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
