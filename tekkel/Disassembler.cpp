#include "tekkel/Disassembler.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/Utility.h"
#include "tekkel/Opcodes.h"

namespace tekkel {

namespace {

// The shortest text that reads back to the same real, always with a dot so that it reads as a
// real and not as an integer.
template <typename Real> std::string realText(Real x, const char* suffix) {
    std::string t;
    if (std::isnan(x)) {
        t = std::signbit(x) ? "-nan" : "nan";
    } else if (std::isinf(x)) {
        t = x < 0 ? "-inf" : "inf";
    } else {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, x);
        t.assign(buf, r.ptr);
        if (t.find_first_of(".e") == std::string::npos) {
            t += ".0";
        } else if (t.find('.') == std::string::npos) {
            t.insert(t.find('e'), ".0");
        }
    }
    return t + suffix;
}

void appendEscaped(std::string& out, char16_t c) {
    switch (c) {
    case u'\r': out += "\\r"; return;
    case u'\n': out += "\\n"; return;
    case u'\t': out += "\\t"; return;
    case u'"': out += "\\\""; return;
    case u'\\': out += "\\\\"; return;
    default: break;
    }
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
    out += buf;
}

bool needsEscape(char16_t c) {
    return c < 0x20 || c == 0x7F || c == u'"' || c == u'\\';
}

std::string stringText(const std::u16string& s) {
    std::string out = "\"";
    std::size_t plain = 0; // start of the run of characters written as they are
    const auto flush = [&](std::size_t end) {
        out += common::toUtf8(std::u16string_view(s).substr(plain, end - plain));
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            ++i; // a whole pair is written as UTF-8
            continue;
        }
        // Unpaired surrogates have no UTF-8 form: they are written as escapes.
        if (needsEscape(c) || (c >= 0xD800 && c <= 0xDFFF)) {
            flush(i);
            appendEscaped(out, c);
            plain = i + 1;
        }
    }
    flush(s.size());
    return out + "\"";
}

// A get/set field is a register when the command's own set switch is a literal false.
bool switchIsOff(const Command& c, int param) {
    const Value& v = param == 2 ? c.p2 : c.p3;
    return (v.kind == ValueKind::Boolean || v.kind == ValueKind::Int16 ||
            v.kind == ValueKind::Int32) &&
           v.i == 0;
}

std::string header(const char* keyword, std::int32_t number, const Script& s,
                   std::size_t& written) {
    // Trailing never-filled commands are left to `last`.
    written = s.commands.size();
    while (written > 0) {
        const Command& c = s.commands[written - 1];
        if (c.code != 0 || !c.p1.isEmpty() || !c.p2.isEmpty() || !c.p3.isEmpty()) break;
        --written;
    }
    std::string h = std::string(keyword) + " " + std::to_string(number);
    if (!s.name.empty()) h.append(" ").append(stringText(s.name));
    if (!s.commands.empty() && written != s.commands.size())
        h += " last " + std::to_string(s.commands.size() - 1);
    return h + "\n";
}

std::string listing(const char* keyword, std::int32_t number, const Script& s) {
    std::size_t written = 0;
    std::string out = header(keyword, number, s, written);
    for (std::size_t a = 0; a < written; ++a) {
        const Command& c = s.commands[a];
        if (c.code == tekkel::opCode(tekkel::Op::Label) && c.p1.isString() && c.p2.isEmpty() &&
            c.p3.isEmpty() && tekkel::isPlainLabel(c.p1.s)) {
            out += common::toUtf8(c.p1.s) + ":\n";
            continue;
        }
        out += "    " + commandText(c) + "\n";
    }
    return out;
}

} // namespace

std::string valueText(const Value& v, bool asRegister) {
    switch (v.kind) {
    case ValueKind::Empty: return "";
    case ValueKind::Null: return "null";
    case ValueKind::Boolean: return v.i ? "true" : "false";
    case ValueKind::Int16: {
        const auto name = tekkel::registerName(static_cast<std::int16_t>(v.i));
        if (asRegister && !name.empty()) return std::string(name);
        return std::to_string(v.i);
    }
    case ValueKind::Int32:
        // Small numbers would read back as 16-bit ones.
        return std::to_string(v.i) + (v.i >= INT16_MIN && v.i <= INT16_MAX ? "L" : "");
    case ValueKind::Real32: return realText(v.f, "f");
    case ValueKind::Real64: return realText(v.d, "");
    case ValueKind::String: return stringText(v.s);
    }
    return "";
}

std::string commandText(const Command& c) {
    const tekkel::CommandInfo* info = tekkel::commandInfo(c.code);
    std::string out = info ? std::string(info->name) : std::to_string(c.code);
    const Value* params[3] = {&c.p1, &c.p2, &c.p3};
    int count = 3;
    while (count > 0 && params[count - 1]->isEmpty())
        --count;
    // An omitted parameter before a given one is left blank: "PlayerFacing , 1".
    for (int i = 0; i < count; ++i) {
        bool asRegister = false;
        if (info) {
            const Operand kind = info->operands[i];
            asRegister = kind == Operand::Register || kind == Operand::Text ||
                         (kind == Operand::Field && switchIsOff(c, info->switchParam));
        }
        out += i == 0 ? " " : ", ";
        out += valueText(*params[i], asRegister);
    }
    return out;
}

std::string listScript(std::int32_t number, const Script& script) {
    return listing("script", number, script);
}

std::string listOwnScript(std::int32_t object, const Script& script) {
    return listing("own", object, script);
}

} // namespace tekkel
