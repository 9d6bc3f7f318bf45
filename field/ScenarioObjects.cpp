// objects.txt: one block per event object.
//
//   object N                    starts object N (1..kMaxObjects); numbers not written are
//                               empty slots on no cell
//   layer L                     0..2
//   plane P                     0..3, or ground, base, character, above
//   position X, Y               column 0..8, row 0..5
//   facing D / stepDir D        0..3, or up, right, down, left
//   chipSheet S                 character (0) or event (1)
//   chip X, Y, WIDTH, HEIGHT    the chip block's origin and size in its sheet
//   visible / enabled / detached / onStep / triggerable   yes or no
//   stepInterval N              frames a step waits, 0..32767
//   autoScript N or "name"      the stored script the object runs by itself
//   ownScript "name"            a copy of the stored script of that name, fired by the player
//   ownScript [last K]          the own script itself follows, in the Tekkel text form, up to
//                               the next `object` line
// A field not written is 0 or no. `;` starts a comment.
#include <algorithm>
#include <map>

#include "field/ScenarioText.h"
#include "platform/Excerpt.h"
#include "tekkel/Assembler.h"

namespace field {

namespace {

// The chip sheets of assets/field: a character turns (rows 0..3) and strides (columns 0..2).
constexpr int kCharSheetWidth = 576, kCharSheetHeight = 256;
constexpr int kEventSheetWidth = 256, kEventSheetHeight = 64;

constexpr std::string_view kFields =
    "layer, plane, position, facing, stepDir, chipSheet, chip, visible, enabled, detached, "
    "onStep, triggerable, stepInterval, autoScript, ownScript";

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// A number in low..high or one of `names` (standing for 0, 1, ...).
std::optional<std::int32_t> named(Cursor& c, const std::string& what, std::int32_t high,
                                  std::initializer_list<std::string_view> names) {
    const std::size_t at = c.pos();
    const std::string w = lower(c.word());
    std::int32_t n = 0;
    for (std::string_view name : names) {
        if (w == lower(name)) return n;
        ++n;
    }
    std::int64_t v = -1;
    bool digits = !w.empty();
    for (char ch : w)
        digits = digits && ch >= '0' && ch <= '9';
    if (digits && w.size() < 6) v = std::stoll(w);
    if (v >= 0 && v <= high) return static_cast<std::int32_t>(v);
    std::string list;
    for (std::string_view name : names)
        list += (list.empty() ? "" : ", ") + std::string(name);
    c.fail(at, "expected " + what + " 0.." + std::to_string(high) + " or " + list);
    return std::nullopt;
}

bool flag(Cursor& c, std::int16_t& out) {
    const std::size_t at = c.pos();
    const std::string w = lower(c.word());
    if (w == "yes" || w == "true") {
        out = -1;
        return true;
    }
    if (w == "no" || w == "false") {
        out = 0;
        return true;
    }
    return c.fail(at, "expected yes or no");
}

// A stored script's name in quotes, kept with its place for the errors of later checks.
bool scriptName(Cursor& c, NameRef& out) {
    const std::size_t at = c.pos();
    const std::optional<std::string> name = c.quoted();
    if (name) out = {*name, c.line(), c.column(at)};
    return name.has_value();
}

bool set16(std::int16_t& to, std::optional<std::int32_t> v) {
    if (v) to = static_cast<std::int16_t>(*v);
    return v.has_value();
}

bool set32(std::int32_t& to, std::optional<std::int32_t> v) {
    if (v) to = *v;
    return v.has_value();
}

// `position X, Y`: the cell, and where it was written for a clash found later.
bool position(Cursor& c, std::size_t at, ObjectText& o) {
    const std::optional<std::int32_t> x =
        c.integer("a column inside the map,", 0, field::kColumns - 1);
    if (!x || !c.comma()) return false;
    const std::optional<std::int32_t> y = c.integer("a row inside the map,", 0, field::kRows - 1);
    if (!y) return false;
    o.object.x = *x;
    o.object.y = *y;
    o.placed = true;
    o.positionLine = c.line();
    o.positionColumn = c.column(at);
    return true;
}

// `chip X, Y, WIDTH, HEIGHT`; whether it fits its sheet is checked once the object is complete.
bool chip(Cursor& c, EventObject& e) {
    std::int32_t* parts[] = {&e.sheetX, &e.sheetY, &e.chipWidth, &e.chipHeight};
    const char* what[] = {"a pixel x", "a pixel y", "a width", "a height"};
    for (int k = 0; k < 4; ++k) {
        if (k > 0 && !c.comma()) return false;
        const std::optional<std::int32_t> v = c.integer(what[k], 0, kCharSheetWidth);
        if (!v) return false;
        *parts[k] = *v;
    }
    return true;
}

bool autoScript(Cursor& c, ObjectText& o) {
    if (c.peek('"')) return scriptName(c, o.autoScript);
    return set32(o.object.autoScript, c.integer("a script slot", 1, field::kMaxScripts));
}

bool ownScript(Cursor& c, ObjectText& o) {
    if (c.peek('"')) return scriptName(c, o.ownScript);
    o.inlineScript = true;
    o.ownLine = c.line();
    return true; // `last K` and the rest are the assembler's to read
}

// One field of the object `o`, its name already read at `at`.
bool objectField(Cursor& c, std::string_view name, std::size_t at, ObjectText& o) {
    EventObject& e = o.object;
    const std::string key = lower(name);
    if (key == "layer")
        return set16(e.layer, c.integer("a layer inside the map,", 0, field::kLayers - 1));
    if (key == "plane")
        return set16(e.plane, named(c, "a plane", 3, {"ground", "base", "character", "above"}));
    if (key == "position") return position(c, at, o);
    if (key == "facing" || key == "stepdir")
        return set16(key == "facing" ? e.facing : e.stepDir,
                     named(c, "a direction", 3, {"up", "right", "down", "left"}));
    if (key == "chipsheet")
        return set16(e.chipSheet, named(c, "a sheet", 1, {"character", "event"}));
    if (key == "chip") return chip(c, e);
    if (key == "visible") return flag(c, e.visible);
    if (key == "enabled") return flag(c, e.enabled);
    if (key == "detached") return flag(c, e.detached);
    if (key == "onstep") return flag(c, e.onStep);
    if (key == "triggerable") return flag(c, e.triggerable);
    if (key == "stepinterval") return set32(e.stepInterval, c.integer("a step interval", 0, 32767));
    if (key == "autoscript") return autoScript(c, o);
    if (key == "ownscript") return ownScript(c, o);
    return c.fail(at, "unknown field '" + plat::excerpt(name) + "'; expected one of " +
                          std::string(kFields));
}

// The chip must lie in its sheet wherever the object may turn and stride.
bool chipFits(const EventObject& e) {
    const bool chars = e.chipSheet == 0;
    const std::int64_t columns = chars ? 3 : e.animColumn + 1;
    const std::int64_t rows = chars ? 4 : e.facing + 1;
    const std::int64_t right = e.sheetX + columns * e.chipWidth;
    const std::int64_t bottom = e.sheetY + rows * e.chipHeight;
    return right <= (chars ? kCharSheetWidth : kEventSheetWidth) &&
           bottom <= (chars ? kCharSheetHeight : kEventSheetHeight);
}

// objects.txt read line by line into `objects`, the last of which is the one being written.
struct Reader {
    std::string_view file;
    std::vector<ScenarioError>& errors;
    std::vector<ObjectText>& objects;
    std::vector<std::string_view> lines;
    std::map<std::string, std::int32_t> seen; // fields of the current object, by line
    std::map<std::int32_t, std::int32_t> numbers;
    std::int32_t chipLine = 0, chipColumn = 0; // of the current object's chip, once read whole

    // Reads line i; answers the last line it took (an own script takes the lines after it).
    std::size_t line(std::size_t i);
    void openObject(Cursor& c, std::size_t at, std::int32_t number);
    // The checks that need the whole object: its position and its chip.
    void closeObject();
    // Whether the field named `first` is new to the current object; if not, says so.
    bool firstTime(Cursor& c, std::string_view first, std::size_t at, std::int32_t number);
    // The line after an own script that starts on line i: the next `object` line, or the end.
    std::size_t scriptEnd(std::size_t i) const;
    // Assembles the own script written from line i (its `ownScript` word at `at`) up to `end`.
    void ownScriptText(std::size_t i, std::size_t at, std::string_view word, std::size_t end);
};

std::size_t Reader::line(std::size_t i) {
    const std::string_view text = lines[i];
    const auto number = static_cast<std::int32_t>(i + 1);
    Cursor c(file, text, number, errors);
    // Reported, and the line still read: its words are ASCII, so one bad byte in a
    // comment or a name costs no errors further on.
    if (const std::size_t bad = firstBadUtf8(text); bad != std::string_view::npos)
        c.fail(bad, "the line is not valid UTF-8");
    if (c.atEnd()) return i;
    const std::size_t at = c.pos();
    const std::string_view first = c.word();
    if (lower(first) == "object") {
        openObject(c, at, number);
        return i;
    }
    if (objects.empty()) {
        c.fail(at, "expected `object N` before the fields of an object");
        return i;
    }
    if (!firstTime(c, first, at, number)) return i;
    if (lower(first) == "chip") {
        chipLine = number;
        chipColumn = c.column(at);
    }
    if (!objectField(c, first, at, objects.back())) {
        if (chipLine == number) chipLine = 0; // a chip read in part is not checked
        return i;
    }
    if (!objects.back().inlineScript) {
        c.expectEnd();
        return i;
    }
    const std::size_t end = scriptEnd(i);
    ownScriptText(i, at, first, end);
    return end - 1;
}

void Reader::openObject(Cursor& c, std::size_t at, std::int32_t number) {
    closeObject();
    seen.clear();
    const std::optional<std::int32_t> n = c.integer("an object number", 1, field::kMaxObjects);
    if (!n || !c.expectEnd()) {
        objects.push_back({}); // fields that follow still get read
        objects.back().placed = true;
        return;
    }
    if (const auto it = numbers.find(*n); it != numbers.end())
        c.fail(at, "object " + std::to_string(*n) + " is already written at line " +
                       std::to_string(it->second) + "; expected a new number");
    numbers.emplace(*n, number);
    objects.push_back({});
    objects.back().number = *n;
    objects.back().line = number;
}

void Reader::closeObject() {
    if (objects.empty()) return;
    ObjectText& o = objects.back();
    if (!o.placed && !seen.count("position"))
        errors.push_back({std::string(file), o.line, 1,
                          "object " + std::to_string(o.number) +
                              " has no position; expected a line `position X, Y`"});
    if (chipLine != 0 && !chipFits(o.object)) {
        const bool chars = o.object.chipSheet == 0;
        errors.push_back(
            {std::string(file), chipLine, chipColumn,
             chars ? "the chip lies outside the character chip sheet (576 x 256); expected a "
                     "block of 3 x 4 chips inside it"
                   : "the chip lies outside the event chip sheet (256 x 64); expected a "
                     "rectangle inside it (a facing moves it down by its height)"});
    }
    chipLine = 0;
}

bool Reader::firstTime(Cursor& c, std::string_view first, std::size_t at, std::int32_t number) {
    const auto [it, fresh] = seen.emplace(lower(first), number);
    if (fresh) return true;
    return c.fail(at, "field '" + plat::excerpt(first) + "' is already set at line " +
                          std::to_string(it->second) + "; expected each field once");
}

std::size_t Reader::scriptEnd(std::size_t i) const {
    std::size_t end = i + 1;
    while (end < lines.size()) {
        std::vector<ScenarioError> ignored;
        Cursor next(file, lines[end], 0, ignored);
        if (!next.atEnd() && lower(next.word()) == "object") break;
        ++end;
    }
    return end;
}

void Reader::ownScriptText(std::size_t i, std::size_t at, std::string_view word, std::size_t end) {
    const std::string_view text = lines[i];
    const auto number = static_cast<std::int32_t>(i + 1);
    std::string script = "own 1    " + std::string(text.substr(at + word.size()));
    script.insert(0, text.substr(0, at)); // keeps the columns of `last K`
    for (std::size_t k = i + 1; k < end; ++k)
        script.append("\n").append(lines[k]);
    tekkel::Unit unit;
    std::vector<tekkel::AssemblyError> found;
    if (!tekkel::assemble(script, unit, found, {}, {std::string(file), number})) {
        for (const auto& f : found)
            errors.push_back({std::string(file), f.line, f.column, f.message});
        return;
    }
    const std::vector<Block> blocks = splitBlocks(script, number);
    if (blocks.size() > 1) {
        errors.push_back({std::string(file), blocks[1].line, 1,
                          "an object's own script runs to the next `object` line; "
                          "expected no `script` or `own` line inside it"});
        return;
    }
    ObjectText& o = objects.back();
    o.object.ownScript = unit.ownScripts[0].script;
}

} // namespace

bool readObjectsText(std::string_view file, std::string_view text, std::vector<ObjectText>& objects,
                     std::vector<ScenarioError>& errors) {
    objects.clear();
    const std::size_t before = errors.size();
    Reader r{file, errors, objects, splitLines(text), {}, {}};
    for (std::size_t i = 0; i < r.lines.size(); ++i)
        i = r.line(i);
    r.closeObject();
    if (errors.size() == before) return true;
    objects.clear();
    return false;
}

} // namespace field
