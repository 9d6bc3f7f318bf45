// The obstacle grid both movement searchers keep a copy of.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "field/Directions.h"

namespace field {

// Cells are indexed by column 0..width and row 0..height (one spare column and row, as the
// searchers' work areas are sized); only columns 0..width - 1 and rows 0..height - 1 are
// consulted. 0 is free, any other value blocked.
struct SearchGrid {
    std::vector<std::int16_t> cells; // column-major: cells[x * (height + 1) + y]
    std::int32_t width = 0;          // number of map columns (maxX + 1)
    std::int32_t height = 0;         // number of map rows (maxY + 1)

    // Largest width or height a searcher accepts: the searchers' work areas are sized from
    // the grid, so a malformed size must not turn into a huge allocation.
    static constexpr std::int32_t kMaxSide = 4096;

    // A grid of the given size with every cell free.
    static SearchGrid make(std::int32_t w, std::int32_t h) {
        SearchGrid g;
        if (w < 0 || h < 0 || w > kMaxSide || h > kMaxSide) return g;
        g.width = w;
        g.height = h;
        g.cells.assign(static_cast<std::size_t>(w + 1) * static_cast<std::size_t>(h + 1), 0);
        return g;
    }
    // Whether the size is sane and the cell array matches it.
    bool wellFormed() const {
        return width >= 0 && height >= 0 && width <= kMaxSide && height <= kMaxSide &&
               cells.size() ==
                   static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(height + 1);
    }
    bool holds(std::int32_t x, std::int32_t y) const {
        return wellFormed() && x >= 0 && y >= 0 && x <= width && y <= height;
    }
    // Cells outside the array read as blocked.
    std::int16_t at(std::int32_t x, std::int32_t y) const {
        if (!holds(x, y)) return -1;
        return cells[static_cast<std::size_t>(x) * static_cast<std::size_t>(height + 1) +
                     static_cast<std::size_t>(y)];
    }
    void set(std::int32_t x, std::int32_t y, std::int16_t v) {
        if (!holds(x, y)) return;
        cells[static_cast<std::size_t>(x) * static_cast<std::size_t>(height + 1) +
              static_cast<std::size_t>(y)] = v;
    }
};

} // namespace field
