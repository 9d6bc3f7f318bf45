#include "field/WorldDigest.h"

#include "common/Utility.h"

namespace field {

namespace {

using common::Digest;
using tekkel::ValueKind;

// The number a value's kind has always added to the digest, whatever its place in ValueKind:
// the recordings hold digests made with these.
std::uint8_t kindNumber(ValueKind k) {
    switch (k) {
    case ValueKind::Empty: return 0;
    case ValueKind::Null: return 1;
    case ValueKind::Int16: return 2;
    case ValueKind::Int32: return 3;
    case ValueKind::Real32: return 4;
    case ValueKind::Real64: return 5;
    case ValueKind::Boolean: return 6;
    case ValueKind::String: return 7;
    }
    return 0xff;
}

void addValue(Digest& d, const field::Value& v) {
    d.add(kindNumber(v.kind));
    switch (v.kind) {
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Boolean: d.add(v.i); break;
    case ValueKind::Real32: d.add(v.f); break;
    case ValueKind::Real64: d.add(v.d); break;
    case ValueKind::String: d.add(v.s); break;
    case ValueKind::Empty:
    case ValueKind::Null: break;
    }
}

void addValues(Digest& d, const std::vector<field::Value>& values) {
    d.add(static_cast<std::uint64_t>(values.size()));
    for (const field::Value& v : values)
        addValue(d, v);
}

void addMap(Digest& d, const field::AllocMap& m) {
    d.add(m.total).add(static_cast<std::uint64_t>(m.entries.size()));
    for (std::int32_t e : m.entries)
        d.add(e);
}

void addScript(Digest& d, const field::Script& s) {
    d.add(s.lastAddress).add(s.name).add(static_cast<std::uint64_t>(s.commands.size()));
    for (const tekkel::Command& c : s.commands) {
        d.add(c.code);
        addValue(d, c.p1);
        addValue(d, c.p2);
        addValue(d, c.p3);
    }
}

void addRun(Digest& d, const field::Run& r) {
    for (const field::Value* v : {&r.R1, &r.R2, &r.R3, &r.R4, &r.R5, &r.D1, &r.D2, &r.D3})
        addValue(d, *v);
    d.add(r.space).add(r.varIndex).add(r.mapSelect).add(r.work).add(r.scriptNumber).add(r.address);
    d.add(r.zeroFlag).add(r.negativeFlag).add(r.invalidFlag).add(r.suspended).add(r.localCount);
    addValues(d, r.locals);
    addMap(d, r.ownMap);
    d.add(r.activeObject).add(r.testLayer).add(r.testPlane).add(r.testX).add(r.testY);
}

// The fields the player and the event objects share, visible through moving.
template <class Char> void addCharacter(Digest& d, const Char& c) {
    d.add(c.visible).add(c.chipSheet).add(c.layer).add(c.plane).add(c.x).add(c.y);
    d.add(c.stepX).add(c.stepY).add(c.sheetX).add(c.sheetY).add(c.facing).add(c.stepDir);
    d.add(c.animColumn).add(c.lastStride).add(c.animTicks).add(c.chipWidth).add(c.chipHeight);
    d.add(c.stepFrames).add(c.moving);
}

} // namespace

std::uint64_t worldDigest(const field::World& world) {
    Digest d;
    addCharacter(d, world.player);
    d.add(world.player.lead).add(world.player.charName);

    d.add(world.maxX).add(world.maxY).add(world.topLayer);
    d.add(static_cast<std::uint64_t>(world.layers.size()));
    for (const field::MapLayer& layer : world.layers) {
        d.add(layer.rows);
        for (const auto& plane : layer.planes) {
            d.add(static_cast<std::uint64_t>(plane.size()));
            for (const field::MapCell& c : plane)
                d.add(c.kind).add(c.chipX).add(c.chipY).add(c.eventId);
        }
    }

    d.add(world.systemScriptActive);
    addRun(d, world.systemRun);
    addValues(d, world.machine.sharedValues);
    d.add(static_cast<std::uint64_t>(world.machine.allocTable.size()));
    for (const field::AllocMap& m : world.machine.allocTable)
        addMap(d, m);

    d.add(world.eventCount).add(static_cast<std::uint64_t>(world.events.size()));
    for (const field::EventObject& e : world.events) {
        addCharacter(d, e);
        d.add(e.stepInterval).add(e.detached).add(e.enabled).add(e.onStep).add(e.triggerable);
        addScript(d, e.ownScript);
        d.add(e.autoScript);
        addRun(d, e.run);
    }

    d.add(world.machine.scriptCount).add(static_cast<std::uint64_t>(world.machine.scripts.size()));
    for (const field::Script& s : world.machine.scripts)
        addScript(d, s);

    d.add(world.actionRequested).add(world.actionHoldFrames).add(world.inputLocked);
    d.add(world.shadeLevel);
    return d.value();
}

} // namespace field
