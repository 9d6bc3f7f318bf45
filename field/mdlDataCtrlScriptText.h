// Shorthand for writing Tekkel programs as tables inside the data builders.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "field/script/ScriptTypes.h"

namespace mdlDataCtrl::scriptText {

using mdlScriptProcesser::Script;
using mdlScriptProcesser::ScriptCommand;
using mdlScriptProcesser::Value;

// Every number written in a built-in script is a 16-bit integer.
inline Value N(std::int16_t v) {
    return Value::int16(v);
}
inline Value T(std::u16string text) {
    return Value::string(std::move(text));
}
inline Value B(bool b) {
    return Value::boolean(b);
}
inline const Value kOmit{}; // an omitted parameter: the run's D1..D3 take its place

struct Row {
    Row(std::int16_t c, Value a = {}, Value b = {}, Value d = {})
        : code(c), p1(std::move(a)), p2(std::move(b)), p3(std::move(d)) {}
    std::int16_t code;
    Value p1, p2, p3;
};

// A script of commands 0..lastAddress, all code 0, with `rows` filling 0, 1, 2, ... in order.
inline Script makeScript(std::int32_t lastAddress, std::u16string name,
                         std::initializer_list<Row> rows) {
    Script s;
    s.lastAddress = lastAddress;
    s.name = std::move(name);
    s.commands.assign(static_cast<std::size_t>(lastAddress) + 1, ScriptCommand{});
    std::size_t address = 0;
    for (const Row& r : rows) {
        if (address >= s.commands.size()) break; // a table longer than its script is cut off
        ScriptCommand& c = s.commands[address++];
        c.code = r.code;
        c.p1 = r.p1;
        c.p2 = r.p2;
        c.p3 = r.p3;
    }
    return s;
}

} // namespace mdlDataCtrl::scriptText
