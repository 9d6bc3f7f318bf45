// The World's digest: equal Worlds give equal digests, and a change to any one thing that
// decides how the game goes on changes it.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "field/WorldDigest.h"
#include "tests/support/playbot.h"

namespace {

using field::World;
using field::worldDigest;
using tekkel::Value;

TEST(WorldDigest, EqualForEqualWorldsAndChangedByAnyOneField) {
    // The demo a few frames into its opening scene: scripts run, objects walk.
    playbot::Demo d;
    d.start();
    d.frames(30);
    const World base = d.world;
    const std::uint64_t digest = worldDigest(base);
    EXPECT_EQ(worldDigest(d.world), digest) << "a copy without compiled scripts";
    ASSERT_GE(base.machine.scripts.size(), 3u);
    ASSERT_GE(base.machine.sharedValues.size(), 2u);

    const auto obj = [](World& w) -> field::EventObject& { return w.events[3]; };
    const std::vector<std::pair<const char*, std::function<void(World&)>>> mutations = {
        {"player x", [](World& w) { ++w.player.x; }},
        {"player facing", [](World& w) { w.player.facing ^= 1; }},
        {"player moving", [](World& w) { w.player.moving = w.player.moving ? 0 : -1; }},
        {"ground kind", [](World& w) { w.cell(1, 0, 2, 3).kind ^= 3; }},
        {"cell event", [](World& w) { ++w.cell(0, 2, 8, 5).eventId; }},
        {"object enabled", [obj](World& w) { obj(w).enabled = obj(w).enabled ? 0 : -1; }},
        {"object own script", [obj](World& w) { obj(w).ownScript.commands.push_back({}); }},
        {"object run register", [obj](World& w) { obj(w).run.R2 = Value::int32(7); }},
        {"object suspended", [obj](World& w) { obj(w).run.suspended ^= true; }},
        {"stored script command", [](World& w) { ++w.machine.scripts[2].commands[0].code; }},
        {"stored script name", [](World& w) { w.machine.scripts[2].name += u"x"; }},
        {"shared value kind only",
         [](World& w) {
             Value& v = w.machine.sharedValues[1];
             v = v.kind == tekkel::ValueKind::Int32 ? Value::int16(static_cast<std::int16_t>(v.i))
                                                    : Value::int32(v.i);
         }},
        {"allocation entry", [](World& w) { w.machine.allocTable.back().entries.back() += 1; }},
        {"system run address", [](World& w) { ++w.systemRun.address; }},
        {"system run local", [](World& w) { w.systemRun.locals.push_back(Value::null()); }},
        {"system script active",
         [](World& w) { w.systemScriptActive = w.systemScriptActive ? 0 : -1; }},
        {"action hold frames", [](World& w) { ++w.actionHoldFrames; }},
        {"shade level", [](World& w) { w.shadeLevel ^= 2; }},
    };
    std::set<std::uint64_t> seen{digest};
    for (const auto& [what, mutate] : mutations) {
        World w = base;
        mutate(w);
        EXPECT_TRUE(seen.insert(worldDigest(w)).second) << what;
    }
}

} // namespace
