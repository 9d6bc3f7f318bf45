#include "field/ScenarioText.h"

#include <charconv>

#include "common/Utility.h"

namespace field {

namespace {} // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back(); // the last line's end
    return lines;
}

std::size_t firstBadUtf8(std::string_view line) {
    return common::firstBadUtf8(line);
}

bool Cursor::fail(std::size_t at, std::string message) {
    errors_.push_back({std::string(file_), line_, column(at), std::move(message)});
    return false;
}

std::int32_t Cursor::column(std::size_t at) const {
    std::int32_t column = 1;
    for (std::size_t i = 0; i < at && i < text_.size(); ++i)
        column += (static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80;
    return column;
}

std::size_t Cursor::pos() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
        ++pos_;
    return pos_;
}

bool Cursor::atEnd() {
    pos();
    return pos_ >= text_.size() || text_[pos_] == ';';
}

bool Cursor::peek(char c) {
    pos();
    return pos_ < text_.size() && text_[pos_] == c;
}

std::string_view Cursor::word() {
    const std::size_t start = pos();
    while (pos_ < text_.size() &&
           std::string_view(" \t,;\"").find(text_[pos_]) == std::string_view::npos)
        ++pos_;
    return text_.substr(start, pos_ - start);
}

std::optional<std::int32_t> Cursor::integer(const std::string& what, std::int64_t low,
                                            std::int64_t high) {
    const std::size_t at = pos();
    std::string_view w = word();
    if (!w.empty() && w[0] == '+') w.remove_prefix(1);
    std::int64_t v = 0;
    const auto r = std::from_chars(w.data(), w.data() + w.size(), v);
    if (w.empty() || r.ptr != w.data() + w.size() || r.ec != std::errc{} || v < low || v > high) {
        fail(at, "expected " + what + " " + std::to_string(low) + ".." + std::to_string(high));
        return std::nullopt;
    }
    return static_cast<std::int32_t>(v);
}

std::optional<std::string> Cursor::quoted() {
    const std::size_t open = pos();
    if (!peek('"')) {
        fail(open, "expected a name in quotes");
        return std::nullopt;
    }
    const std::size_t close = text_.find('"', open + 1);
    if (close == std::string_view::npos) {
        fail(open, "unterminated name; expected a closing '\"'");
        return std::nullopt;
    }
    pos_ = close + 1;
    return std::string(text_.substr(open + 1, close - open - 1));
}

bool Cursor::comma() {
    if (peek(',')) {
        take();
        return true;
    }
    return fail(pos(), "expected ',' and another value");
}

bool Cursor::expectEnd() {
    if (atEnd()) return true;
    return fail(pos_, "expected the end of the line");
}

std::vector<Block> splitBlocks(std::string_view text, std::int32_t firstLine) {
    std::vector<Block> blocks;
    std::int32_t number = firstLine;
    std::vector<ScenarioError> ignored;
    for (std::string_view line : splitLines(text)) {
        Cursor c("", line, number, ignored);
        if (!c.atEnd()) {
            const std::string first = common::asciiLower(c.word());
            if (first == "script" || first == "own") blocks.push_back({first == "own", number});
        }
        ++number;
    }
    return blocks;
}

} // namespace field
