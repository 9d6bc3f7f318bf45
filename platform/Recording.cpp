#include "platform/Recording.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/Excerpt.h"
#include "platform/FileRead.h"
#include "platform/Seams.h"

namespace plat {

namespace {

constexpr std::string_view kMagic = "recording";

struct KindName {
    InputKind kind;
    std::string_view name;
};
constexpr KindName kKindNames[] = {
    {InputKind::MouseDown, "down"},      {InputKind::MouseMove, "move"},
    {InputKind::MouseUp, "up"},          {InputKind::Click, "click"},
    {InputKind::FormMouseMove, "fmove"}, {InputKind::KeyDown, "key"},
    {InputKind::Close, "close"},
};

std::string floatText(float f) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(f));
    return buf;
}

// The words of a line, split at single spaces.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> w;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        w.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return w;
}

template <typename T> bool number(std::string_view s, T& out, int base = 10) {
    if (s.empty() || s.front() == '+') return false;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out, base);
    return ec == std::errc() && p == s.data() + s.size();
}

bool floatNumber(std::string_view s, float& out) {
    if (s.empty() || s.size() > 31) return false;
    const std::string text(s);
    char* end = nullptr;
    out = std::strtof(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(out);
}

bool flag(std::string_view s, bool& out) {
    if (s != "0" && s != "1") return false;
    out = s == "1";
    return true;
}

bool digestNumber(std::string_view s, std::uint64_t& out) {
    return s.size() == 16 && number(s, out, 16);
}

// A name of a form or a control: one word, not empty.
bool name(std::string_view s) {
    return !s.empty();
}

bool parseEvent(const std::vector<std::string_view>& w, RecordedLine& r) {
    if (w.size() < 3 || !name(w[1])) return false;
    r.form = std::string(w[1]);
    InputEvent& e = r.event;
    const KindName* kind = nullptr;
    for (const KindName& k : kKindNames) {
        if (k.name == w[2]) kind = &k;
    }
    if (kind == nullptr) return false;
    e.kind = kind->kind;
    switch (e.kind) {
    case InputKind::MouseDown:
    case InputKind::MouseMove:
    case InputKind::MouseUp:
        e.control = std::string(w[3 < w.size() ? 3 : 0]);
        return w.size() == 9 && name(w[3]) && number(w[4], e.index) && number(w[5], e.button) &&
               number(w[6], e.shift) && floatNumber(w[7], e.x) && floatNumber(w[8], e.y);
    case InputKind::Click:
        e.control = std::string(w[3 < w.size() ? 3 : 0]);
        return w.size() == 6 && name(w[3]) && number(w[4], e.index) && number(w[5], e.value);
    case InputKind::FormMouseMove:
        return w.size() == 7 && number(w[3], e.button) && number(w[4], e.shift) &&
               floatNumber(w[5], e.x) && floatNumber(w[6], e.y);
    case InputKind::KeyDown:
        return w.size() == 5 && number(w[3], e.button) && number(w[4], e.shift);
    case InputKind::Close: return w.size() == 3;
    }
    return false;
}

// A message box's answer as recorded: the number of one of the MsgResult values.
bool boxAnswer(std::uint32_t n) {
    for (MsgResult answer : {MsgResult::Ok, MsgResult::Cancel, MsgResult::Yes, MsgResult::No}) {
        if (n == static_cast<std::uint32_t>(answer)) return true;
    }
    return false;
}

bool parseLine(std::string_view text, RecordedLine& r) {
    const std::vector<std::string_view> w = words(text);
    const std::string_view k = w[0];
    if (k == "t") {
        r.kind = RecordedLine::Clock;
        return w.size() == 2 && number(w[1], r.number);
    }
    if (k == "k") {
        r.kind = RecordedLine::Key;
        return w.size() == 4 && number(w[1], r.number) && flag(w[2], r.held) &&
               number(w[3], r.unchanged);
    }
    if (k == "a") {
        r.kind = RecordedLine::Active;
        r.form = std::string(w.size() > 1 ? w[1] : "");
        return w.size() == 4 && name(w[1]) && flag(w[2], r.held) && number(w[3], r.unchanged);
    }
    if (k == "p") {
        r.kind = RecordedLine::Pumps;
        return w.size() == 2 && number(w[1], r.number) && r.number > 0;
    }
    if (k == "e") {
        r.kind = RecordedLine::Event;
        return parseEvent(w, r);
    }
    if (k == "m") {
        r.kind = RecordedLine::Box;
        return w.size() == 2 && number(w[1], r.number) && boxAnswer(r.number);
    }
    if (k == "f") {
        r.kind = RecordedLine::Frame;
        if (w.size() == 1) return true;
        std::uint64_t d = 0;
        if (w.size() != 2 || !digestNumber(w[1], d)) return false;
        r.digest = d;
        return true;
    }
    if (k == "reload") {
        r.kind = RecordedLine::Reload;
        return w.size() == 2 && number(w[1], r.number);
    }
    if (k == "end") {
        r.kind = RecordedLine::End;
        std::uint64_t d = 0;
        if (w.size() != 3 || !number(w[1], r.number) || !digestNumber(w[2], d)) return false;
        r.digest = d;
        return true;
    }
    return false;
}

// The text's whole lines one by one, counted from 1. What follows the last line break was cut
// off while being written and is left out.
class LineReader {
  public:
    explicit LineReader(std::string_view text) {
        const std::size_t lastBreak = text.rfind('\n');
        text_ = lastBreak == std::string_view::npos ? std::string_view()
                                                    : text.substr(0, lastBreak + 1);
    }
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const std::size_t end = text_.find('\n', pos_);
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end + 1;
        ++lineNo_;
        return true;
    }
    int lineNo() const { return lineNo_; }
    // The next line of a header; a header cut short is missing the line after its last one.
    bool nextInHeader(std::string_view& line) {
        if (next(line)) return true;
        ++lineNo_;
        return false;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int lineNo_ = 0;
};

std::string checkMagic(std::string_view line) {
    const std::string magic = std::string(kMagic) + " ";
    if (line.substr(0, magic.size()) != magic) return "not a recording";
    int version = 0;
    if (!number(line.substr(magic.size()), version) || version != kRecordingVersion) {
        return "recording format version '" + excerpt(line.substr(magic.size())) +
               "' is unknown (this program reads version " + std::to_string(kRecordingVersion) +
               ")";
    }
    return {};
}

// One "<field> <value>" line of the header into `header`; answers what is wrong, empty if
// nothing.
std::string headerField(std::string_view line, std::string_view field, std::string_view program,
                        RecordingHeader& header) {
    const std::string key = std::string(field) + " ";
    if (line.substr(0, key.size()) != key && line != field)
        return "the header lacks its '" + std::string(field) + "' line";
    const std::string_view value =
        line.size() > key.size() ? line.substr(key.size()) : std::string_view();
    if (field == "program" && value != program) {
        return "this is a recording of " +
               (value.empty() ? std::string("no program") : "'" + excerpt(value) + "'") +
               ", not of " + std::string(program);
    }
    if (field == "program") header.program = value;
    if (field == "version") header.version = value;
    if (field == "scenario") header.scenario = value;
    if (field == "seed" && !number(value, header.seed))
        return "the seed '" + excerpt(value) + "' is not a whole number";
    return {};
}

std::string readHeader(LineReader& lines, std::string_view program, RecordingHeader& header) {
    std::string_view line;
    if (!lines.nextInHeader(line)) return "the header is cut short";
    if (std::string wrong = checkMagic(line); !wrong.empty()) return wrong;
    for (std::string_view field : {"program", "version", "scenario", "seed"}) {
        if (!lines.nextInHeader(line)) return "the header is cut short";
        if (std::string wrong = headerField(line, field, program, header); !wrong.empty())
            return wrong;
    }
    return {};
}

std::string readBody(LineReader& lines, std::vector<RecordedLine>& body) {
    std::string_view line;
    while (lines.next(line)) {
        RecordedLine r;
        r.line = lines.lineNo();
        if (!parseLine(line, r)) return "malformed line '" + excerpt(line) + "'";
        body.push_back(std::move(r));
    }
    return {};
}

} // namespace

std::string headerText(const RecordingHeader& h) {
    return std::string(kMagic) + " " + std::to_string(kRecordingVersion) + "\nprogram " +
           h.program + "\nversion " + h.version + "\nscenario " + h.scenario + "\nseed " +
           std::to_string(h.seed) + "\n";
}

std::string digestText(std::uint64_t digest) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(digest));
    return buf;
}

std::string eventText(const std::string& form, const InputEvent& e) {
    std::string s = "e " + form + " ";
    for (const KindName& k : kKindNames) {
        if (k.kind == e.kind) s += k.name;
    }
    // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) on " " + a temporary string.
    std::string at = " ";
    at += floatText(e.x);
    at += ' ';
    at += floatText(e.y);
    switch (e.kind) {
    case InputKind::MouseDown:
    case InputKind::MouseMove:
    case InputKind::MouseUp:
        return s + " " + e.control + " " + std::to_string(e.index) + " " +
               std::to_string(e.button) + " " + std::to_string(e.shift) + at;
    case InputKind::Click:
        return s + " " + e.control + " " + std::to_string(e.index) + " " + std::to_string(e.value);
    case InputKind::FormMouseMove:
        return s + " " + std::to_string(e.button) + " " + std::to_string(e.shift) + at;
    case InputKind::KeyDown:
        return s + " " + std::to_string(e.button) + " " + std::to_string(e.shift);
    case InputKind::Close: return s;
    }
    return s;
}

RecordingRead parseRecording(std::string_view text, std::string_view fileName,
                             std::string_view program) {
    LineReader lines(text);
    Recording rec;
    std::string wrong = readHeader(lines, program, rec.header);
    if (wrong.empty()) wrong = readBody(lines, rec.lines);
    RecordingRead result;
    if (!wrong.empty()) {
        result.error =
            excerpt(fileName, kWhole) + ":" + std::to_string(lines.lineNo()) + ": " + wrong;
        return result;
    }
    result.recording = std::move(rec);
    return result;
}

RecordingRead readRecording(const std::string& path, std::string_view program) {
    std::string text;
    const FileRead read = readFileText(path, kMaxRecordingBytes, text);
    if (read != FileRead::Ok) {
        RecordingRead r;
        const bool refused = read == FileRead::NotRegular || read == FileRead::TooLarge;
        r.error = excerpt(path, kWhole) + ":0: " +
                  (refused ? unreadText(read, kMaxRecordingBytes) : "cannot read the file");
        return r;
    }
    return parseRecording(text, path, program);
}

} // namespace plat
