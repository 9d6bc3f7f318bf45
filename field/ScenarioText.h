// What the scenario reader's parts share: lines, columns, words and numbers of a line, and
// the objects file read into records whose script references are still names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "field/ScenarioReader.h"

namespace field {

// The lines of a text, without line ends and a leading byte-order mark.
std::vector<std::string_view> splitLines(std::string_view text);
// The byte at which a line stops being valid UTF-8, or npos.
std::size_t firstBadUtf8(std::string_view line);

// One line being read, left to right. Every failure is recorded with its column.
class Cursor {
  public:
    Cursor(std::string_view file, std::string_view text, std::int32_t line,
           std::vector<ScenarioError>& errors)
        : file_(file), text_(text), line_(line), errors_(errors) {}

    bool fail(std::size_t at, std::string message);
    std::int32_t column(std::size_t at) const;
    std::int32_t line() const { return line_; }
    std::size_t pos();
    // Nothing but blanks and a comment left.
    bool atEnd();
    bool peek(char c);
    void take() { ++pos_; }
    // A run up to a blank, a comma, a semicolon or a quote.
    std::string_view word();
    // A whole number in low..high; else records "expected <what> low..high".
    std::optional<std::int32_t> integer(const std::string& what, std::int64_t low,
                                        std::int64_t high);
    // "text" without escapes.
    std::optional<std::string> quoted();
    // A ',' between values.
    bool comma();
    bool expectEnd();

  private:
    std::string_view file_;
    std::string_view text_;
    std::int32_t line_;
    std::vector<ScenarioError>& errors_;
    std::size_t pos_ = 0;
};

// A script named in objects.txt, still to be found among the stored scripts.
struct NameRef {
    std::string name; // empty: none
    std::int32_t line = 0, column = 0;
};

struct ObjectText {
    std::int32_t number = 0;
    std::int32_t line = 0; // of `object N`
    field::EventObject object;
    bool placed = false; // has a position
    std::int32_t positionLine = 0, positionColumn = 0;
    NameRef autoScript;        // `autoScript "name"`
    NameRef ownScript;         // `ownScript "name"`
    bool inlineScript = false; // the own script follows in the Tekkel text form
    std::int32_t ownLine = 0;  // of `ownScript`
};

// Reads objects.txt: every block, checked field by field and each against the sheets and the
// map's extent. Cells and script names are checked by the caller, which knows the rest.
bool readObjectsText(std::string_view file, std::string_view text, std::vector<ObjectText>& objects,
                     std::vector<ScenarioError>& errors);

// The header line of every script block of a Tekkel text that assembled cleanly, in the
// order the blocks are written; `own` tells the blocks apart.
struct Block {
    bool own = false;
    std::int32_t line = 0;
};
std::vector<Block> splitBlocks(std::string_view text, std::int32_t firstLine = 1);

} // namespace field
