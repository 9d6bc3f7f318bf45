#include "field/DirectSearch.h"

#include <algorithm>
#include <cstdlib>

#include "field/Directions.h"

namespace field {

namespace {

// Differences are kept as 16-bit values. A pointer dragged far off the view can name cells
// whose distance does not fit: saturate rather than wrap, so the sign (the direction that
// matters) survives.
std::int32_t saturate16(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -32768, 32767));
}

std::uint8_t turnClockwise(std::uint8_t o) {
    return o == kLeft ? kUp : o + 1;
}
std::uint8_t turnCounterClockwise(std::uint8_t o) {
    return o == kUp ? kLeft : o - 1;
}

std::uint8_t clockwiseDiagonal(std::uint8_t o) {
    switch (o) {
    case kUp: return kUpRight;
    case kRight: return kDownRight;
    case kDown: return kDownLeft;
    default: return kUpLeft;
    }
}

std::uint8_t counterClockwiseDiagonal(std::uint8_t o) {
    switch (o) {
    case kUp: return kUpLeft;
    case kRight: return kUpRight;
    case kDown: return kDownRight;
    default: return kDownLeft;
    }
}

void rankDirections(DirectSearcher& s, std::int32_t dx, std::int32_t dy) {
    const std::int32_t ax = std::abs(dx);
    const std::int32_t ay = std::abs(dy);
    std::uint8_t o;
    std::uint8_t side;
    if (ax > ay) {
        o = dx >= 0 ? kRight : kLeft;
        side = dy >= 0 ? kDown : kUp;
    } else {
        o = dy >= 0 ? kDown : kUp;
        side = dx >= 0 ? kRight : kLeft;
    }
    std::uint8_t diag;
    if (dx >= 0)
        diag = dy < 0 ? kUpRight : kDownRight;
    else
        diag = dy >= 0 ? kDownLeft : kUpLeft;

    const bool axial = dx == 0 || dy == 0;
    auto set = [&s](std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t primary,
                    std::uint8_t total) {
        s.order = {};
        s.order[1] = a;
        s.order[2] = b;
        s.order[3] = c;
        s.primaryCount = primary;
        s.totalCount = total;
    };
    if (s.diagonal != 0) {
        if (ax == ay)
            set(diag, o, side, 1, 3);
        else if (!axial)
            set(diag, o, side, 3, 3);
        else
            set(o, clockwiseDiagonal(o), counterClockwiseDiagonal(o), 1, 3);
    } else {
        if (!axial)
            set(o, side, kNone, 2, 2);
        else
            set(o, turnClockwise(o), turnCounterClockwise(o), 1, 3);
    }
}

// Appends the free entries of order[from..to] to the candidates; true if any was free.
bool collectFree(DirectSearcher& s, std::int32_t x, std::int32_t y, int from, int to, int& n) {
    bool found = false;
    for (int k = from; k <= to; ++k) {
        const field::Step d = searchCodeStep(s.order[k]);
        const std::int32_t nx = x + d.dx;
        const std::int32_t ny = y + d.dy;
        if (nx >= 0 && nx <= s.grid.width - 1 && ny >= 0 && ny <= s.grid.height - 1 &&
            s.grid.at(nx, ny) == 0) {
            s.candidates[n++] = s.order[k];
            found = true;
        }
    }
    return found;
}

void filterCandidates(DirectSearcher& s, std::int32_t x, std::int32_t y) {
    int n = 0;
    bool found = collectFree(s, x, y, 1, s.primaryCount, n);
    if (!found) found = collectFree(s, x, y, s.primaryCount + 1, s.totalCount, n);
    if (!found) {
        // Offer the best direction even though it is blocked, so the player walks up to the
        // obstacle and pushes against it (which may fire an event there).
        s.candidates[0] = s.order[1];
        n = 1;
    }
    s.candidates[n] = kNone;
}

} // namespace

field::Step searchCodeStep(int code) {
    if (code < kUp || code > kUpLeft) return {0, 0};
    return field::kDirectionSteps[static_cast<std::size_t>(field::searchCodeDirection(code))];
}

void setGrid(DirectSearcher& s, const field::SearchGrid& grid) {
    if (!grid.wellFormed()) {
        s.gridReady = 0;
        s.grid = field::SearchGrid{};
        return;
    }
    s.grid = grid;
    s.gridReady = -1;
}

void resetSearch(DirectSearcher& s) {
    s.candidates[0] = kNone;
    s.order[0] = kNone;
    s.cursor = 0;
    s.gridReady = 0;
}

bool setOption(DirectSearcher& s, std::int32_t option, std::int32_t value) {
    if (option != 2) return false;
    s.diagonal = value != 0 ? -1 : 0;
    return true;
}

bool startSearch(DirectSearcher& s, std::int32_t x, std::int32_t y, std::int32_t tx,
                 std::int32_t ty) {
    if (s.gridReady == 0) return false;
    if (x == tx && y == ty) return false;
    s.candidates[0] = kNone;
    s.order[0] = kNone;
    s.cursor = 0;
    if (x > s.grid.width - 1 || y < 0 || y > s.grid.height - 1 || x < 0) return false;
    rankDirections(s, saturate16(static_cast<std::int64_t>(tx) - x),
                   saturate16(static_cast<std::int64_t>(ty) - y));
    filterCandidates(s, x, y);
    return true;
}

std::int32_t nextDirection(DirectSearcher& s, plat::IWindowSystem& windows) {
    if (s.cursor > 2) {
        windows.doEvents();
        return 0;
    }
    const std::uint8_t code = s.candidates[s.cursor];
    if (code == kNone || code > kUpLeft) return 0;
    return field::directionFacing(field::searchCodeDirection(code));
}

field::Step nextStep(DirectSearcher& s, plat::IWindowSystem& windows) {
    if (s.cursor > 2) {
        windows.doEvents();
        return {0, 0};
    }
    const field::Step step = searchCodeStep(s.candidates[s.cursor]);
    ++s.cursor;
    return step;
}

} // namespace field
