#include "tekkel/Assembler.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "common/Utility.h"
#include "platform/Excerpt.h"
#include "tekkel/Opcodes.h"
#include "tekkel/SourceMap.h"

namespace tekkel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// One line being read. Every failure is recorded with its column and answers false.
class Line {
  public:
    Line(std::string_view text, std::int32_t number, std::vector<AssemblyError>& errors)
        : text_(text), number_(number), errors_(errors) {}

    bool fail(std::size_t at, std::string message) {
        errors_.push_back({number_, column(at), std::move(message)});
        return false;
    }
    std::int32_t column(std::size_t at) const {
        std::int32_t column = 1;
        for (std::size_t i = 0; i < at && i < text_.size(); ++i)
            column += (static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80;
        return column;
    }
    std::int32_t number() const { return number_; }
    // What was written from `at` up to where reading stands, without trailing blanks.
    std::string_view written(std::size_t at) const {
        std::string_view t = text_.substr(at, pos_ - at);
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
            t.remove_suffix(1);
        return t;
    }
    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
            ++pos_;
    }
    // Nothing but blanks and a comment left.
    bool atEnd() {
        skipBlanks();
        return pos_ >= text_.size() || text_[pos_] == ';';
    }
    bool peek(char c) {
        skipBlanks();
        return pos_ < text_.size() && text_[pos_] == c;
    }
    std::size_t pos() const { return pos_; }
    void take() { ++pos_; }
    // A run of characters up to a blank, a comma, a semicolon or a quote.
    std::string_view token() {
        skipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ' ' && text_[pos_] != '\t' &&
               text_[pos_] != ',' && text_[pos_] != ';' && text_[pos_] != '"')
            ++pos_;
        return text_.substr(start, pos_ - start);
    }
    bool expectEnd(const char* after) {
        if (atEnd()) return true;
        return fail(pos_, std::string("expected the end of the line after ") + after);
    }

    bool string(std::u16string& out);
    bool value(Operand kind, Value& out);
    bool integer(const char* what, std::int64_t low, std::int64_t high, std::int32_t& out);

  private:
    bool number(std::size_t at, bool negative, std::string_view body, Value& out);

    std::string_view text_;
    std::size_t pos_ = 0;
    std::int32_t number_;
    std::vector<AssemblyError>& errors_;
};

bool Line::string(std::u16string& out) {
    const std::size_t open = pos_++;
    std::string pending; // UTF-8 bytes not yet converted
    const auto flush = [&] {
        out += common::fromUtf8(pending);
        pending.clear();
    };
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '"') {
            ++pos_;
            flush();
            return true;
        }
        if (c != '\\') {
            pending += c;
            ++pos_;
            continue;
        }
        const std::size_t at = pos_;
        const char e = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
        pos_ += 2;
        char16_t unit = 0;
        switch (e) {
        case 'r': unit = u'\r'; break;
        case 'n': unit = u'\n'; break;
        case 't': unit = u'\t'; break;
        case '"': unit = u'"'; break;
        case '\\': unit = u'\\'; break;
        case 'u': {
            unsigned v = 0;
            const char* first = text_.data() + pos_;
            const char* last = first + std::min<std::size_t>(4, text_.size() - pos_);
            const auto r = std::from_chars(first, last, v, 16);
            if (last - first != 4 || r.ptr != last || r.ec != std::errc{})
                return fail(at, "expected four hexadecimal digits after \\u");
            pos_ += 4;
            unit = static_cast<char16_t>(v);
            break;
        }
        default: return fail(at, "unknown escape; expected \\r \\n \\t \\\" \\\\ or \\uXXXX");
        }
        flush();
        out += unit;
    }
    return fail(open, "unterminated string");
}

bool Line::number(std::size_t at, bool negative, std::string_view body, Value& out) {
    char suffix = 0;
    if (!body.empty() && std::string_view("lLfF").find(body.back()) != std::string_view::npos) {
        suffix = static_cast<char>(body.back() | 0x20);
        body.remove_suffix(1);
    }
    const bool real = body.find_first_of(".eE") != std::string_view::npos;
    const char* first = body.data();
    const char* last = first + body.size();
    if (suffix == 'f') {
        float f = 0;
        const auto r = std::from_chars(first, last, f);
        if (r.ptr != last || body.empty()) return fail(at, "malformed number");
        if (r.ec != std::errc{}) return fail(at, "real out of range of 32 bits");
        out = Value::real32(negative ? -f : f);
        return true;
    }
    if (real) {
        if (suffix == 'l') return fail(at, "a real cannot be forced to a 32-bit integer");
        double d = 0;
        const auto r = std::from_chars(first, last, d);
        if (r.ptr != last) return fail(at, "malformed number");
        if (r.ec != std::errc{}) return fail(at, "real out of range");
        out = Value::real64(negative ? -d : d);
        return true;
    }
    std::uint64_t u = 0;
    const auto r = std::from_chars(first, last, u);
    if (r.ptr != last || body.empty()) return fail(at, "malformed number");
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    if (r.ec != std::errc{} || u > static_cast<std::uint64_t>(limit))
        return fail(at, "integer out of range of 32 bits");
    const std::int64_t x = negative ? -static_cast<std::int64_t>(u) : static_cast<std::int64_t>(u);
    if (suffix == 0 && x >= INT16_MIN && x <= INT16_MAX)
        out = Value::int16(static_cast<std::int16_t>(x));
    else
        out = Value::int32(static_cast<std::int32_t>(x));
    return true;
}

bool Line::value(Operand kind, Value& out) {
    if (peek('"')) {
        std::u16string s;
        if (!string(s)) return false;
        out = Value::string(std::move(s));
        return true;
    }
    const std::size_t at = pos();
    const std::string_view t = token();
    if (t.empty()) return fail(at, "expected a value");
    const std::string name = common::asciiLower(t);
    if (name == "true" || name == "false") {
        out = Value::boolean(name == "true");
        return true;
    }
    if (name == "null") {
        out = Value::null();
        return true;
    }
    const bool negative = t[0] == '-';
    std::string_view body = t;
    if (t[0] == '-' || t[0] == '+') body.remove_prefix(1);
    const std::string special = common::asciiLower(body);
    if (special == "inf" || special == "nan" || special == "inff" || special == "nanf") {
        const double d = special[0] == 'i' ? std::numeric_limits<double>::infinity()
                                           : std::numeric_limits<double>::quiet_NaN();
        const double signedD = std::copysign(d, negative ? -1.0 : 1.0);
        out = special.size() == 4 ? Value::real32(static_cast<float>(signedD))
                                  : Value::real64(signedD);
        return true;
    }
    if (!body.empty() && (isDigit(body[0]) || body[0] == '.'))
        return number(at, negative, body, out);
    std::int16_t reg = 0;
    if (tekkel::registerNamed(t, reg)) {
        if (kind == Operand::Value)
            return fail(at, "'" + plat::excerpt(t) +
                                "' is a register; this parameter takes a value, not a register");
        out = Value::int16(reg);
        return true;
    }
    return fail(at, "unknown name '" + plat::excerpt(t) + "'; expected a value");
}

bool Line::integer(const char* what, std::int64_t low, std::int64_t high, std::int32_t& out) {
    skipBlanks();
    const std::size_t at = pos();
    const std::string_view t = token();
    std::int64_t v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    const std::string range = std::to_string(low) + ".." + std::to_string(high);
    if (t.empty() || r.ptr != t.data() + t.size() || r.ec != std::errc{} || v < low || v > high)
        return fail(at, std::string("expected ") + what + " " + range);
    out = static_cast<std::int32_t>(v);
    return true;
}

// The script being written, and where its header stands.
struct Open {
    std::vector<NumberedScript>* list = nullptr; // nullptr: the header was refused
    NumberedScript script;
    std::shared_ptr<SourceMap> source = std::make_shared<SourceMap>();
    std::optional<std::int32_t> last;
    std::int32_t line = 0;
    std::size_t lastAt = 0;
    std::string lastLine;
};

class Assembler {
  public:
    Assembler(Unit& unit, std::vector<AssemblyError>& errors, const Limits& limits,
              const TextOrigin& origin)
        : unit_(unit), errors_(errors), limits_(limits), origin_(origin) {}

    void line(std::string_view text, std::int32_t number);
    void close();

  private:
    void header(Line& l, bool own);
    void label(Line& l, std::string_view first, std::size_t at);
    void command(Line& l, std::string_view first, std::size_t at);
    // Refused past maxAddress; `operands` are where P1..P3 start (npos: left out), `written`
    // the command's text for the source map.
    void push(Line& l, std::size_t at, Command c, const std::array<std::size_t, 3>& operands,
              std::string_view written);

    Unit& unit_;
    std::vector<AssemblyError>& errors_;
    const Limits& limits_;
    const TextOrigin& origin_;
    std::optional<Open> open_;
};

void Assembler::close() {
    if (!open_) return;
    Open& o = *open_;
    Script& s = o.script.script;
    const auto written = static_cast<std::int32_t>(s.commands.size());
    if (o.last) {
        if (*o.last < written - 1) {
            Line l(o.lastLine, o.line, errors_);
            l.fail(o.lastAt, "last " + std::to_string(*o.last) + " is below the " +
                                 std::to_string(written) + " commands written");
        } else {
            s.commands.resize(static_cast<std::size_t>(*o.last) + 1);
            o.source->commands.resize(s.commands.size()); // never filled: not written
        }
    }
    s.source = std::move(o.source);
    // A script without commands is an empty slot; otherwise the commands end at lastAddress.
    s.lastAddress = s.commands.empty() ? 0 : static_cast<std::int32_t>(s.commands.size()) - 1;
    if (o.list) o.list->push_back(std::move(o.script));
    open_.reset();
}

void Assembler::header(Line& l, bool own) {
    close();
    Open o;
    o.line = 0;
    o.source->file = origin_.file;
    std::int32_t n = 0;
    const bool numbered = own ? l.integer("an object number", 1, limits_.maxObject, n)
                              : l.integer("a script slot", 1, limits_.maxScript, n);
    if (numbered) {
        auto& list = own ? unit_.ownScripts : unit_.scripts;
        o.list = &list;
        for (const NumberedScript& s : list)
            if (s.number == n) {
                o.list = nullptr;
                l.fail(0, std::string(own ? "own " : "script ") + std::to_string(n) +
                              " is written twice");
            }
    }
    o.script.number = n;
    if (l.peek('"') && !l.string(o.script.script.name)) {
        o.list = nullptr;
    } else if (!l.atEnd()) {
        const std::size_t at = l.pos();
        if (common::asciiLower(l.token()) != "last") {
            l.fail(at, "expected a name in quotes, `last` or the end of the line");
            o.list = nullptr;
        } else {
            std::int32_t k = 0;
            o.lastAt = at;
            if (l.integer("an address", 0, limits_.maxAddress, k) && l.expectEnd("last"))
                o.last = k;
            else
                o.list = nullptr;
        }
    }
    open_ = std::move(o);
}

void Assembler::command(Line& l, std::string_view first, std::size_t at) {
    if (!open_) {
        l.fail(at, "a command before the first `script` or `own` line");
        return;
    }
    Command c;
    const tekkel::CommandInfo* info = nullptr;
    if (!first.empty() && (isDigit(first[0]) || first[0] == '-' || first[0] == '+')) {
        std::int64_t code = 0;
        const auto r =
            std::from_chars(first.data() + (first[0] == '+'), first.data() + first.size(), code);
        if (r.ptr != first.data() + first.size() || r.ec != std::errc{} || code < INT16_MIN ||
            code > INT16_MAX) {
            l.fail(at, "a command code is a 16-bit number");
            return;
        }
        c.code = static_cast<std::int16_t>(code);
        info = tekkel::commandInfo(c.code);
    } else if ((info = tekkel::commandNamed(first))) {
        c.code = tekkel::opCode(info->op);
    } else {
        l.fail(at, "unknown command '" + plat::excerpt(first) + "'");
        return;
    }
    Value* params[3] = {&c.p1, &c.p2, &c.p3};
    std::array<std::size_t, 3> operands;
    operands.fill(std::string_view::npos);
    if (!l.atEnd()) {
        for (int n = 0;; ++n) {
            if (n == 3) {
                l.skipBlanks();
                l.fail(l.pos(), "a command takes at most three parameters");
                return;
            }
            // A blank parameter (nothing before the comma or the end) is omitted.
            if (!l.peek(',') && !l.atEnd()) {
                const Operand kind = info ? info->operands[n] : Operand::Register;
                operands[static_cast<std::size_t>(n)] = l.pos();
                if (!l.value(kind, *params[n])) return;
            }
            if (l.atEnd()) break;
            if (!l.peek(',')) {
                l.fail(l.pos(), "expected ',' or the end of the line");
                return;
            }
            l.take();
        }
    }
    push(l, at, std::move(c), operands, l.written(at));
}

void Assembler::push(Line& l, std::size_t at, Command c, const std::array<std::size_t, 3>& operands,
                     std::string_view written) {
    auto& commands = open_->script.script.commands;
    if (static_cast<std::int64_t>(commands.size()) > limits_.maxAddress) {
        l.fail(at,
               "a script holds at most " + std::to_string(limits_.maxAddress + 1) + " commands");
        return;
    }
    commands.push_back(std::move(c));
    SourcePlace place{l.number(), l.column(at), {}, std::string(written)};
    for (std::size_t n = 0; n < 3; ++n)
        if (operands[n] != std::string_view::npos) place.operands[n] = l.column(operands[n]);
    open_->source->commands.push_back(std::move(place));
}

// `name:`, alone or before the command it marks.
void Assembler::label(Line& l, std::string_view first, std::size_t at) {
    const std::string_view name = first.substr(0, first.size() - 1);
    if (name.empty() || name.find(':') != std::string_view::npos) {
        l.fail(at, "a label is a name followed by one ':'");
        return;
    }
    if (!open_) {
        l.fail(at, "a label before the first `script` or `own` line");
        return;
    }
    Command c;
    c.code = tekkel::opCode(tekkel::Op::Label);
    c.p1 = Value::string(common::fromUtf8(name));
    std::array<std::size_t, 3> operands;
    operands.fill(std::string_view::npos);
    operands[0] = at;
    if (l.atEnd()) {
        push(l, at, std::move(c), operands, first);
        return;
    }
    // The label's own text stops at its colon; the command after it is read as a line's.
    const std::size_t next = l.pos();
    const std::string_view command = l.token();
    if (command.empty() || command.back() == ':') {
        l.fail(next, "expected a command after the label, or the end of the line");
        return;
    }
    push(l, at, std::move(c), operands, first);
    this->command(l, command, next);
}

void Assembler::line(std::string_view text, std::int32_t number) {
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    Line l(text, number, errors_);
    // Malformed bytes would turn into replacement characters unseen: refuse them instead.
    if (const std::size_t at = common::firstBadUtf8(text); at != std::string_view::npos) {
        l.fail(at, "the line is not valid UTF-8");
        return;
    }
    if (l.atEnd()) return;
    if (l.peek('"')) {
        l.fail(l.pos(), "expected a command, a label or a `script` line");
        return;
    }
    const std::size_t at = l.pos();
    const std::string_view first = l.token();
    const std::string keyword = common::asciiLower(first);
    if (keyword == "script" || keyword == "own") {
        header(l, keyword == "own");
        if (open_) {
            open_->line = number;
            open_->lastLine = std::string(text);
        }
        return;
    }
    if (!first.empty() && first.back() == ':') {
        label(l, first, at);
        return;
    }
    if (first.empty()) {
        l.fail(at, "expected a command, a label or a `script` line");
        return;
    }
    command(l, first, at);
}

} // namespace

bool assemble(std::string_view text, Unit& unit, std::vector<AssemblyError>& errors,
              const Limits& limits, const TextOrigin& origin) {
    unit = Unit{};
    errors.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3); // a byte-order mark
    Assembler a(unit, errors, limits, origin);
    std::int32_t number = origin.firstLine - 1;
    for (bool first = true; !text.empty() || first; first = false) {
        const std::size_t end = text.find('\n');
        a.line(text.substr(0, end), ++number);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    a.close();
    if (errors.empty()) return true;
    // A `last` that is too small is found only at the script's end.
    std::stable_sort(errors.begin(), errors.end(),
                     [](const AssemblyError& x, const AssemblyError& y) {
                         return x.line != y.line ? x.line < y.line : x.column < y.column;
                     });
    unit = Unit{};
    return false;
}

std::string errorText(std::string_view file, const AssemblyError& error) {
    return plat::excerpt(file, plat::kWhole) + ":" + std::to_string(error.line) + ":" +
           std::to_string(error.column) + ": " + (error.warning ? "warning: " : "") + error.message;
}

bool installScripts(Machine& machine, const Unit& unit) {
    const auto top = std::min<std::int64_t>(machine.scriptCount,
                                            static_cast<std::int64_t>(machine.scripts.size()) - 1);
    for (const NumberedScript& s : unit.scripts)
        if (s.number < 1 || s.number > top) return false;
    for (const NumberedScript& s : unit.scripts)
        machine.scripts[static_cast<std::size_t>(s.number)] = s.script;
    return true;
}

} // namespace tekkel
