#include "tekkel/Formatter.h"

#include <charconv>
#include <vector>

#include "common/Utility.h"
#include "tekkel/Opcodes.h"

namespace tekkel {

namespace {

constexpr std::size_t kCommentColumn = 36; // from 0: the listing's comment column 37
constexpr std::string_view kIndent = "    ";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Where the string starting at `open` (a quote) ends: past its closing quote, or the text's end.
std::size_t stringEnd(std::string_view s, std::size_t open) {
    for (std::size_t i = open + 1; i < s.size(); ++i) {
        if (s[i] == '\\')
            ++i;
        else if (s[i] == '"')
            return i + 1;
    }
    return s.size();
}

// One line taken apart: the code before its comment, and the comment from its ';'.
struct Parts {
    std::string_view code;
    std::string_view comment;
    bool indented = false;
};

Parts split(std::string_view line) {
    Parts p;
    p.indented = !line.empty() && isBlank(line.front());
    std::size_t i = 0;
    while (i < line.size() && line[i] != ';')
        i = line[i] == '"' ? stringEnd(line, i) : i + 1;
    p.code = trimmed(line.substr(0, i));
    if (i < line.size()) p.comment = trimmed(line.substr(i));
    return p;
}

// The first word as the assembler reads it: up to a blank, a comma, a semicolon or a quote.
std::size_t wordEnd(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && !isBlank(s[i]) && s[i] != ',' && s[i] != ';' && s[i] != '"')
        ++i;
    return i;
}

// The parts of `s` between commas outside strings, each trimmed.
std::vector<std::string_view> operands(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size();) {
        if (i == s.size() || s[i] == ',') {
            out.push_back(trimmed(s.substr(start, i - start)));
            start = ++i;
        } else {
            i = s[i] == '"' ? stringEnd(s, i) : i + 1;
        }
    }
    while (!out.empty() && out.back().empty())
        out.pop_back(); // blank trailing parameters are omitted either way
    return out;
}

bool looksNumeric(std::string_view t) {
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.remove_prefix(1);
    const std::string lower = common::asciiLower(t);
    return (!t.empty() && ((t[0] >= '0' && t[0] <= '9') || t[0] == '.')) || lower == "inf" ||
           lower == "nan" || lower == "inff" || lower == "nanf";
}

std::string operandText(std::string_view t) {
    if (t.empty() || t[0] == '"') return std::string(t);
    std::int16_t reg = 0;
    if (registerNamed(t, reg)) return std::string(registerName(reg));
    std::string lower = common::asciiLower(t);
    if (lower == "true" || lower == "false" || lower == "null") return lower;
    if (!looksNumeric(t)) return std::string(t);
    if (lower.back() == 'l') lower.back() = 'L';
    return lower;
}

const CommandInfo* commandOf(std::string_view word) {
    if (const CommandInfo* info = commandNamed(word)) return info;
    std::int16_t code = 0;
    const char* first = word.data() + (!word.empty() && word[0] == '+');
    const char* last = word.data() + word.size();
    const auto r = std::from_chars(first, last, code);
    return r.ptr == last && r.ec == std::errc{} && first != last ? commandInfo(code) : nullptr;
}

// `Label "x"` as the listing writes it when it can: `x:`.
bool plainLabel(const CommandInfo* info, const std::vector<std::string>& ops, std::string& out) {
    if (!info || info->op != Op::Label || ops.size() != 1) return false;
    const std::string& s = ops[0];
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') return false;
    const std::string_view name = std::string_view(s).substr(1, s.size() - 2);
    if (name.find('\\') != std::string_view::npos || common::firstBadUtf8(name) != name.npos ||
        !isPlainLabel(common::fromUtf8(name)))
        return false;
    out = std::string(name) + ":";
    return true;
}

// A command line's code: "    Name P1, P2", or a label line for a plain `Label`.
std::string commandLine(std::string_view code) {
    const std::size_t end = wordEnd(code);
    const std::string_view word = code.substr(0, end);
    const CommandInfo* info = commandOf(word);
    std::vector<std::string> ops;
    for (std::string_view t : operands(trimmed(code.substr(end))))
        ops.push_back(operandText(t));
    std::string out;
    if (plainLabel(info, ops, out)) return out;
    out = std::string(kIndent) + (info ? std::string(info->name) : std::string(word));
    for (std::size_t i = 0; i < ops.size(); ++i)
        out += (i == 0 ? " " : ", ") + ops[i];
    return out;
}

// `script N "name" last K`: one blank between words, the keywords in lower case.
std::string headerLine(std::string_view code) {
    std::string out;
    while (!(code = trimmed(code)).empty()) {
        const std::size_t end = code[0] == '"' ? stringEnd(code, 0) : wordEnd(code);
        const std::string_view word = code.substr(0, end == 0 ? 1 : end);
        if (!out.empty()) out += ' ';
        out += word[0] == '"' ? std::string(word) : common::asciiLower(word);
        code.remove_prefix(word.size());
    }
    return out;
}

std::size_t characters(std::string_view s) {
    std::size_t n = 0;
    for (const char c : s)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::string withComment(std::string code, std::string_view comment) {
    if (comment.empty()) return code;
    const std::size_t width = characters(code);
    code.append(width < kCommentColumn ? kCommentColumn - width : 1, ' ');
    return code.append(comment);
}

// The canonical lines of one written line (a label and a command on it give two).
void layOut(std::string_view line, std::vector<std::string>& out) {
    const Parts p = split(line);
    if (p.code.empty()) {
        if (p.comment.empty())
            out.emplace_back();
        else
            out.push_back((p.indented ? std::string(kIndent) : std::string()).append(p.comment));
        return;
    }
    const std::string_view first = p.code.substr(0, wordEnd(p.code));
    const std::string keyword = common::asciiLower(first);
    if (keyword == "script" || keyword == "own") {
        out.push_back(withComment(headerLine(p.code), p.comment));
        return;
    }
    if (first.size() > 1 && first.back() == ':') {
        const std::string_view rest = trimmed(p.code.substr(first.size()));
        if (rest.empty()) {
            out.push_back(withComment(std::string(first), p.comment));
            return;
        }
        out.emplace_back(first);
        out.push_back(withComment(commandLine(rest), p.comment));
        return;
    }
    out.push_back(withComment(commandLine(p.code), p.comment));
}

bool sameScripts(const std::vector<NumberedScript>& a, const std::vector<NumberedScript>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const Script& x = a[i].script;
        const Script& y = b[i].script;
        if (a[i].number != b[i].number || x.name != y.name || x.lastAddress != y.lastAddress ||
            x.commands.size() != y.commands.size())
            return false;
        for (std::size_t k = 0; k < x.commands.size(); ++k) {
            const Command& c = x.commands[k];
            const Command& d = y.commands[k];
            if (c.code != d.code || !(c.p1 == d.p1) || !(c.p2 == d.p2) || !(c.p3 == d.p3))
                return false;
        }
    }
    return true;
}

} // namespace

std::string formatText(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3); // a byte-order mark
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        layOut(line, lines);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    std::string out;
    bool blank = true; // no blank line at the start, none twice
    for (const std::string& l : lines) {
        if (l.empty() && blank) continue;
        blank = l.empty();
        out.append(l).push_back('\n');
    }
    if (blank && !out.empty()) out.pop_back(); // nor one at the end
    return out;
}

bool sameProgram(const Unit& a, const Unit& b) {
    return sameScripts(a.scripts, b.scripts) && sameScripts(a.ownScripts, b.ownScripts);
}

} // namespace tekkel
