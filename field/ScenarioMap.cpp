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

} // namespace

bool readMapText(std::string_view file, std::string_view text, MapValues& map,
                 std::vector<ScenarioError>& errors) {
    const std::size_t before = errors.size();
    const std::vector<std::string_view> lines = field::splitLines(text);
    int layer = -1, rows = 0;
    std::int32_t layerLine = 0;
    const auto closeLayer = [&] {
        if (layer >= 0 && layer < kLayers && rows < kRows)
            errors.push_back({std::string(file), layerLine, 1,
                              "layer " + std::to_string(layer) + " has " + std::to_string(rows) +
                                  " rows; expected 6 rows of 9 values"});
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto number = static_cast<std::int32_t>(i + 1);
        Cursor c(file, lines[i], number, errors);
        if (const std::size_t bad = field::firstBadUtf8(lines[i]); bad != std::string_view::npos)
            c.fail(bad, "the line is not valid UTF-8"); // and read on: values are ASCII
        if (c.atEnd()) continue;
        const std::size_t at = c.pos();
        const std::string_view first = c.word();
        if (first == "layer") {
            closeLayer();
            if (layer + 1 >= kLayers) {
                c.fail(at, "the map has three layers, 0..2; expected no further `layer` line");
                layer = kLayers; // no more rows are taken
                continue;
            }
            const std::size_t numberAt = c.pos();
            const std::optional<std::int32_t> n = c.integer("a layer", 0, kLayers - 1);
            if (n && *n != layer + 1)
                c.fail(numberAt, "expected layer " + std::to_string(layer + 1) +
                                     ": the layers come in order 0, 1, 2");
            else if (n)
                c.expectEnd();
            ++layer;
            rows = 0;
            layerLine = number;
            continue;
        }
        if (layer < 0 || layer >= kLayers) {
            c.fail(at, layer < 0 ? "expected `layer 0` before the first row"
                                 : "expected no rows after layer 2");
            continue;
        }
        if (rows == kRows) {
            c.fail(at, "layer " + std::to_string(layer) + " already has 6 rows; expected `layer " +
                           std::to_string(layer + 1) + "`");
            continue;
        }
        Cursor row(file, lines[i], number, errors);
        std::array<std::int8_t, kColumns> values{};
        int count = 0;
        bool ok = true;
        for (;;) {
            const std::size_t valueAt = row.pos();
            if (count == kColumns) {
                ok = row.fail(valueAt, "a row has 9 values; expected the end of the row");
                break;
            }
            const std::optional<std::int32_t> v =
                row.integer("a chip number of the map chip sheet,", 0, kMaxValue);
            if (!v) {
                ok = false;
                break;
            }
            values[static_cast<std::size_t>(count++)] = static_cast<std::int8_t>(*v);
            if (layer == 0 && rows == kStartY && count == kStartX + 1 && !isGround(*v))
                ok = row.fail(valueAt,
                              "the player starts on this cell; expected ground (1 or 3..6)");
            if (row.atEnd()) break;
            if (!row.comma()) {
                ok = false;
                break;
            }
        }
        if (ok && count < kColumns)
            ok =
                row.fail(row.pos(), "the row has " + std::to_string(count) + " values; expected 9");
        map[static_cast<std::size_t>(layer)][static_cast<std::size_t>(rows)] = values;
        ++rows;
    }
    closeLayer();
    if (layer < kLayers - 1)
        errors.push_back({std::string(file), static_cast<std::int32_t>(lines.size()), 1,
                          (layer < 0 ? std::string("the map has no layer")
                                     : "the map ends after layer " + std::to_string(layer)) +
                              "; expected `layer " + std::to_string(layer + 1) +
                              "` and its six rows"});
    return errors.size() == before;
}

} // namespace field
