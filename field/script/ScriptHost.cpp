#include "field/script/ScriptHost.h"

#include <algorithm>
#include <iostream>

#include "field/script/FieldCommands.h"
#include "tekkel/Trace.h"

namespace field {

namespace {

void eachRun(const void* context, const std::function<void(const tekkel::Run&)>& visit) {
    const World& world = *static_cast<const World*>(context);
    visit(world.systemRun);
    for (const EventObject& e : world.events)
        visit(e.run);
}

} // namespace

tekkel::Host scriptHost(World& world) {
    return tekkel::Host{fieldCommands(), &world, eachRun, fieldCommandSlots()};
}

tekkel::RunResult runScript(World& world, tekkel::Run& run, plat::Services& sv, tekkel::Pump& pump,
                            std::ostream& listing) {
    const tekkel::Host host = scriptHost(world);
    return tekkel::runScript(world.machine, host, run, sv, pump, listing);
}

const tekkel::Run* runFrameScripts(World& world, plat::Services& sv, tekkel::Pump& pump,
                                   std::ostream& listing, tekkel::Trace* trace,
                                   tekkel::PausePoints* pausePoints) {
    tekkel::Host host = scriptHost(world);
    host.trace = trace;
    host.pausePoints = pausePoints;
    const tekkel::Run* stopped = nullptr;
    const auto stops = [&](const tekkel::Run& run) {
        if (!stopped && (pump.closed() || pump.spent())) stopped = &run;
        return pump.closed();
    };
    if (!world.systemScriptActive) {
        const auto held = static_cast<std::int64_t>(world.events.size()) - 1;
        const auto count =
            static_cast<std::int32_t>(std::min<std::int64_t>(world.eventCount, held));
        for (std::int32_t i = 1; i <= count; ++i) {
            EventObject& e = world.events[static_cast<std::size_t>(i)];
            if (!e.enabled) continue;
            if (e.run.scriptNumber == 0) {
                if (e.autoScript == 0) continue;
                e.run.scriptNumber = e.autoScript;
                e.run.address = 0;
                e.run.activeObject = i;
            }
            if (trace) trace->beginRun("object " + std::to_string(i));
            tekkel::runScript(world.machine, host, e.run, sv, pump, listing);
            if (stops(e.run)) break;
        }
        return stopped;
    }
    if (trace) trace->beginRun("system");
    if (tekkel::runScript(world.machine, host, world.systemRun, sv, pump, listing) ==
        tekkel::RunResult::Ended) {
        world.systemScriptActive = 0;
        world.inputLocked = 0;
    }
    stops(world.systemRun);
    return stopped;
}

void runFrameScripts(World& world, plat::Services& sv) {
    tekkel::Pump pump(sv, tekkel::PumpPolicy::Throttled);
    runFrameScripts(world, sv, pump, std::cerr);
}

} // namespace field
