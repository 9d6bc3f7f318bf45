// A direction has three codings, never mixed: the direction table (0 up, 1 right, 2 down,
// 3 left, 4 up-right, 5 down-right, 6 down-left, 7 up-left), the direct searcher's search
// codes (the same eight numbered 1..8, 0 none) and the facing (0 up, 1 right, 2 down, 3 left,
// also the chip row drawn). The steps and the conversions between the codings are here only.
#pragma once

#include <array>
#include <cstdint>

namespace field {

// A one-cell step as (column change, row change).
struct Step {
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    bool isZero() const { return dx == 0 && dy == 0; }
    friend bool operator==(const Step&, const Step&) = default;
};

// The step of each direction of the table.
inline constexpr std::array<Step, 8> kDirectionSteps{{
    {0, -1},
    {1, 0},
    {0, 1},
    {-1, 0},
    {1, -1},
    {1, 1},
    {-1, 1},
    {-1, -1},
}};

// Table direction of a search code (-1 for none).
constexpr int searchCodeDirection(int code) {
    return code - 1;
}

// Facing of a table direction: a diagonal faces along its vertical half, turned (up-right up,
// down-right right, down-left down, up-left left). The plain remainder, so a code outside the
// table keeps its sign, as the step commands store it before they check the code.
constexpr int directionFacing(int direction) {
    return direction % 4;
}

} // namespace field
