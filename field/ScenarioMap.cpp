// map.txt: for each layer 0..2 in turn, a line `layer N` and six rows of nine cell values
// 0..6 joined by ",". `;` starts a comment.
#include <charconv>

#include "field/ScenarioText.h"

namespace field {

namespace {

constexpr int kMaxValue = 6;
// Cell values that give walkable ground (kind 1).
bool isGround(int value) {
    return value == 1 || value >= 3;
}

// map.txt read line by line: which layer is open and how many of its rows have come.
class MapReader {
  public:
    MapReader(std::string_view file, MapValues& map, std::vector<ScenarioError>& errors)
        : file_(file), map_(map), errors_(errors) {}

    void line(std::string_view text, std::int32_t number);
    // Closes the last layer and reports the layers that never came; the file has `lines` lines.
    void finish(std::int32_t lines);

  private:
    void closeLayer();
    void layerLine(Cursor& c, std::size_t at, std::int32_t number);
    // Whether a row may come now; if not, says why at `at`.
    bool rowWanted(Cursor& c, std::size_t at);
    void row(std::string_view text, std::int32_t number);
    // The values of a row up to its end; false when a fault was reported.
    bool rowValues(Cursor& row, std::array<std::int8_t, kColumns>& values, int& count);

    std::string_view file_;
    MapValues& map_;
    std::vector<ScenarioError>& errors_;
    int layer_ = -1, rows_ = 0;
    std::int32_t layerLine_ = 0;
};

void MapReader::line(std::string_view text, std::int32_t number) {
    Cursor c(file_, text, number, errors_);
    if (const std::size_t bad = field::firstBadUtf8(text); bad != std::string_view::npos)
        c.fail(bad, "the line is not valid UTF-8"); // and read on: values are ASCII
    if (c.atEnd()) return;
    const std::size_t at = c.pos();
    if (c.word() == "layer")
        layerLine(c, at, number);
    else if (rowWanted(c, at))
        row(text, number);
}

void MapReader::closeLayer() {
    if (layer_ >= 0 && layer_ < kLayers && rows_ < kRows)
        errors_.push_back({std::string(file_), layerLine_, 1,
                           "layer " + std::to_string(layer_) + " has " + std::to_string(rows_) +
                               " rows; expected 6 rows of 9 values"});
}

void MapReader::layerLine(Cursor& c, std::size_t at, std::int32_t number) {
    closeLayer();
    if (layer_ + 1 >= kLayers) {
        c.fail(at, "the map has three layers, 0..2; expected no further `layer` line");
        layer_ = kLayers; // no more rows are taken
        return;
    }
    const std::size_t numberAt = c.pos();
    const std::optional<std::int32_t> n = c.integer("a layer", 0, kLayers - 1);
    if (n && *n != layer_ + 1)
        c.fail(numberAt, "expected layer " + std::to_string(layer_ + 1) +
                             ": the layers come in order 0, 1, 2");
    else if (n)
        c.expectEnd();
    ++layer_;
    rows_ = 0;
    layerLine_ = number;
}

bool MapReader::rowWanted(Cursor& c, std::size_t at) {
    if (layer_ < 0 || layer_ >= kLayers)
        return c.fail(at, layer_ < 0 ? "expected `layer 0` before the first row"
                                     : "expected no rows after layer 2");
    if (rows_ == kRows)
        return c.fail(at, "layer " + std::to_string(layer_) +
                              " already has 6 rows; expected `layer " + std::to_string(layer_ + 1) +
                              "`");
    return true;
}

void MapReader::row(std::string_view text, std::int32_t number) {
    Cursor row(file_, text, number, errors_);
    std::array<std::int8_t, kColumns> values{};
    int count = 0;
    if (rowValues(row, values, count) && count < kColumns)
        row.fail(row.pos(), "the row has " + std::to_string(count) + " values; expected 9");
    map_[static_cast<std::size_t>(layer_)][static_cast<std::size_t>(rows_)] = values;
    ++rows_;
}

bool MapReader::rowValues(Cursor& row, std::array<std::int8_t, kColumns>& values, int& count) {
    bool ok = true;
    for (;;) {
        const std::size_t valueAt = row.pos();
        if (count == kColumns)
            return row.fail(valueAt, "a row has 9 values; expected the end of the row");
        const std::optional<std::int32_t> v =
            row.integer("a chip number of the map chip sheet,", 0, kMaxValue);
        if (!v) return false;
        values[static_cast<std::size_t>(count++)] = static_cast<std::int8_t>(*v);
        if (layer_ == 0 && rows_ == kStartY && count == kStartX + 1 && !isGround(*v))
            ok = row.fail(valueAt, "the player starts on this cell; expected ground (1 or 3..6)");
        if (row.atEnd()) return ok;
        if (!row.comma()) return false;
    }
}

void MapReader::finish(std::int32_t lines) {
    closeLayer();
    if (layer_ < kLayers - 1)
        errors_.push_back({std::string(file_), lines, 1,
                           (layer_ < 0 ? std::string("the map has no layer")
                                       : "the map ends after layer " + std::to_string(layer_)) +
                               "; expected `layer " + std::to_string(layer_ + 1) +
                               "` and its six rows"});
}

} // namespace

bool readMapText(std::string_view file, std::string_view text, MapValues& map,
                 std::vector<ScenarioError>& errors) {
    const std::size_t before = errors.size();
    const std::vector<std::string_view> lines = field::splitLines(text);
    MapReader reader(file, map, errors);
    for (std::size_t i = 0; i < lines.size(); ++i)
        reader.line(lines[i], static_cast<std::int32_t>(i + 1));
    reader.finish(static_cast<std::int32_t>(lines.size()));
    return errors.size() == before;
}

} // namespace field
