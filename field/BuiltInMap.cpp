// The built-in map: three layers of 9 x 6 cells, read from comma-separated rows. Each value
// sets its cell as field::setMapCell does: 0 none, 2 wall, everything else ground.
#include "field/BuiltInMap.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "common/Utility.h"
#include "field/BuiltInData.h"
#include "field/ScenarioReader.h"
#include "scenarios/Embedded.h"

namespace field {

namespace {

constexpr int kMaxValue = 6;
constexpr int kMapColumns = kMapMaxX + 1;
constexpr int kMapRows = kMapMaxY + 1;
constexpr std::u16string_view kReadError = u"＠＠＠＠＠ふぁいるよみこみえらー";

std::vector<std::string_view> splitComma(std::string_view text) {
    std::vector<std::string_view> parts;
    if (text.empty()) return parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

// A whole decimal number with optional surrounding spaces and sign; anything else (empty,
// letters, fractions, overflow) is not a number.
std::optional<long long> readNumber(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return std::nullopt;
    long long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    return v;
}

bool fail(plat::Services& sv) {
    sv.windows.messageBox(std::u16string(kReadError), common::fromUtf8(sv.process.exeName()),
                          plat::MsgButtons::Ok, plat::MsgIcon::None);
    return false;
}

// Short or missing ground rows of layer 0 are filled up with walkable ground.
void padGroundRows(std::vector<std::string>& rows) {
    for (std::size_t row = 0; row < rows.size() && row < kMapRows; ++row) {
        std::string& text = rows[row];
        if (text.empty()) text.push_back('1');
        while (splitComma(text).size() < kMapColumns)
            text += ",1";
    }
}

} // namespace

MapTexts builtInMapTexts() {
    MapTexts t;
    for (auto& layer : t.rows) {
        for (auto& plane : layer)
            plane.assign(kMapRows, std::string());
    }
    // The shipped map is scenarios/demo/map.txt, built in.
    field::MapValues map{};
    std::vector<field::ScenarioError> errors;
    std::string_view text;
    for (const scenarios::EmbeddedFile& f : scenarios::demoFiles())
        if (f.name == "map.txt") text = f.text;
    if (!field::readMapText("scenarios/demo/map.txt", text, map, errors)) return t;
    for (int layer = 0; layer < kMapLayers; ++layer)
        for (int row = 0; row < kMapRows; ++row) {
            std::string& out = t.rows[layer][field::kPlaneGround][row];
            for (int col = 0; col < kMapColumns; ++col)
                out.append(col ? "," : "").append(std::to_string(map[layer][row][col]));
        }
    return t;
}

bool buildMapFrom(field::World& world, plat::Services& sv, MapTexts texts) {
    padGroundRows(texts.rows[0][field::kPlaneGround]);

    world.resizeMap(kMapMaxX, kMapMaxY, kMapLayers - 1);
    for (int layer = 0; layer <= world.topLayer; ++layer) {
        for (int plane = 0; plane < field::kPlaneCount; ++plane) {
            const std::vector<std::string>& rows = texts.rows[layer][plane];
            // Rows are read by index 0..5; a table with any other extent cannot be trusted.
            if (rows.size() != static_cast<std::size_t>(kMapRows)) return fail(sv);
            for (int row = 0; row < kMapRows; ++row) {
                const std::vector<std::string_view> values = splitComma(rows[row]);
                if (values.size() > static_cast<std::size_t>(kMapColumns)) return fail(sv);
                for (std::size_t col = 0; col < values.size(); ++col) {
                    const std::optional<long long> v = readNumber(values[col]);
                    if (!v || *v < 0 || *v > kMaxValue) return fail(sv);
                    const int value = static_cast<int>(*v);
                    field::setMapCell(world.cell(layer, plane, static_cast<int>(col), row), value);
                }
            }
        }
    }
    return true;
}

bool buildMap(field::World& world, plat::Services& sv) {
    return buildMapFrom(world, sv, builtInMapTexts());
}

} // namespace field
