// A World with empty script slots and a few objects, test seams, and shorthand for writing
// Tekkel commands in tests.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "common/Utility.h"
#include "field/World.h"
#include "field/script/ScriptHost.h"
#include "platform/testing/TestSeams.h"
#include "tekkel/Interpreter.h"
#include "tekkel/Opcodes.h"

#include "tekkel/Value.h"

namespace tekkel {
inline void PrintTo(const Value& v, std::ostream* os) {
    *os << tekkel::kindName(v) << ' ' << common::toUtf8(tekkel::toText(v));
}
} // namespace tekkel

namespace tekkel_test {

using plat::MsgResult;
using tekkel::Command;
using tekkel::Op;
using tekkel::Pump;
using tekkel::PumpPolicy;
using tekkel::Run;
using tekkel::RunResult;
using tekkel::Script;
using tekkel::Value;
using tekkel::ValueKind;

inline Value I(std::int16_t v) {
    return Value::int16(v);
}
inline Value L(std::int32_t v) {
    return Value::int32(v);
}
inline Value D(double v) {
    return Value::real64(v);
}
inline Value S(std::u16string v) {
    return Value::string(std::move(v));
}
inline Value B(bool v) {
    return Value::boolean(v);
}
inline const Value O{}; // omitted parameter

// A command by its code number: codes outside the set, or a code a test iterates over.
inline Command C(std::int16_t code, Value p1 = {}, Value p2 = {}, Value p3 = {}) {
    Command c;
    c.code = code;
    c.p1 = std::move(p1);
    c.p2 = std::move(p2);
    c.p3 = std::move(p3);
    return c;
}
inline Command C(Op op, Value p1 = {}, Value p2 = {}, Value p3 = {}) {
    return C(tekkel::opCode(op), std::move(p1), std::move(p2), std::move(p3));
}

inline Script makeScript(std::vector<Command> commands, std::u16string name = u"") {
    Script s;
    s.lastAddress = static_cast<std::int32_t>(commands.size()) - 1;
    s.commands = std::move(commands);
    s.name = std::move(name);
    return s;
}

struct Tekkel {
    plat::testing::TestServices ts;
    field::World world;
    std::ostringstream listing;

    explicit Tekkel(int objects = 3) {
        world.machine.scriptCount = 20;
        world.machine.scripts.assign(21, Script{});
        world.eventCount = objects;
        world.events.assign(static_cast<std::size_t>(objects) + 1, field::EventObject{});
        ts.windows.defaultAnswer = MsgResult::Cancel;
    }
    Script& load(int slot, std::vector<Command> commands, std::u16string name = u"") {
        world.machine.scripts[static_cast<std::size_t>(slot)] =
            makeScript(std::move(commands), name);
        return world.machine.scripts[static_cast<std::size_t>(slot)];
    }
    RunResult run(Run& r, PumpPolicy policy = PumpPolicy::Throttled) {
        Pump pump(ts.services, policy);
        return field::runScript(world, r, ts.services, pump, listing);
    }
    // Starts the system run on a slot and runs it once.
    RunResult start(int slot) {
        world.systemRun.scriptNumber = slot;
        world.systemRun.address = 0;
        return run(world.systemRun);
    }
    // Loads `commands` into slot 1 and runs them on the system run.
    RunResult exec(std::vector<Command> commands) {
        load(1, std::move(commands));
        return start(1);
    }
    void frame() {
        Pump pump(ts.services, PumpPolicy::Throttled);
        field::runFrameScripts(world, ts.services, pump, listing);
    }
    Run& sys() { return world.systemRun; }
    const std::vector<plat::testing::RecordedBox>& boxes() const { return ts.windows.boxes; }
    std::size_t reports() const {
        std::size_t n = 0;
        for (const auto& b : ts.windows.boxes)
            n += b.buttons == plat::MsgButtons::YesNoCancel;
        return n;
    }
    // The "Error Number  : " value of the last report, or -1.
    int lastErrorNumber() const {
        for (auto it = ts.windows.boxes.rbegin(); it != ts.windows.boxes.rend(); ++it) {
            const auto at = it->text.find(u"Error Number  : ");
            if (at == std::u16string::npos) continue;
            int n = 0, sign = 1;
            std::size_t k = at + 16;
            if (k < it->text.size() && it->text[k] == u'-') {
                sign = -1;
                ++k;
            }
            while (k < it->text.size() && it->text[k] >= u'0' && it->text[k] <= u'9')
                n = n * 10 + (it->text[k++] - u'0');
            return sign * n;
        }
        return -1;
    }
};

} // namespace tekkel_test
