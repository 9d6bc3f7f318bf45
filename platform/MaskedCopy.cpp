#include "platform/MaskedCopy.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace plat {

namespace {

// The row kernels are written branch-free so the compiler turns them into vector code: chips
// are roughly half key colour in a pattern no branch predictor can learn.
void copyRow(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, int n,
             std::uint32_t key) {
    for (int i = 0; i < n; ++i) {
        const std::uint32_t v = s[i];
        const std::uint32_t keep = 0u - static_cast<std::uint32_t>(v == key);
        d[i] = (d[i] & keep) | (v & ~keep);
    }
}

void copyRowShaded(std::uint32_t* __restrict d, const std::uint32_t* __restrict s,
                   const std::uint32_t* __restrict m, int n, std::uint32_t key) {
    for (int i = 0; i < n; ++i) {
        const std::uint32_t v = s[i];
        const std::uint32_t keep = 0u - static_cast<std::uint32_t>(v == key);
        d[i] = (d[i] & keep) | (v & m[i] & ~keep);
    }
}

// The span [lo, hi) of chip offsets that land inside both surfaces along one axis.
struct Span {
    int lo = 0;
    int hi = 0;
};

Span clipAxis(int pos, int len, int srcPos, int dstSize, int srcSize) {
    // 64-bit so that positions near the int limits cannot overflow.
    const long long lo =
        std::max({0LL, -static_cast<long long>(pos), -static_cast<long long>(srcPos)});
    const long long hi =
        std::min({static_cast<long long>(len), static_cast<long long>(dstSize) - pos,
                  static_cast<long long>(srcSize) - srcPos});
    if (hi <= lo) return {};
    return {static_cast<int>(lo), static_cast<int>(hi)};
}

} // namespace

bool maskedCopy(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                Color key, const Surface* shade) {
    if (dst.isNull() || src.isNull()) return false;
    if (shade && (shade->isNull() || shade->isMono())) shade = nullptr;
    // One-bit surfaces hold 0/1 per pixel; the per-pixel rules are for colour surfaces only.
    if (dst.isMono() || src.isMono()) return false;
    key &= 0xFFFFFF;

    const Span cols = clipAxis(x, w, sx, dst.width(), src.width());
    const Span rows = clipAxis(y, h, sy, dst.height(), src.height());
    if (cols.hi <= cols.lo || rows.hi <= rows.lo) return true;
    const int n = cols.hi - cols.lo;

    // Copying within one surface: the chip must be read as it was before any pixel is written,
    // which the kernels (and the no-alias promise they make) cannot give for overlapping rows.
    const Surface* from = &src;
    int fromX = sx, fromY = sy;
    Surface scratch;
    if (&dst == &src) {
        const long long x0 = x + cols.lo, s0 = sx + cols.lo, y0 = y + rows.lo, t0 = sy + rows.lo;
        const long long rowsUsed = rows.hi - rows.lo;
        const bool overlap = x0 < s0 + n && s0 < x0 + n && y0 < t0 + rowsUsed && t0 < y0 + rowsUsed;
        if (overlap) {
            scratch = Surface::colour(n, rows.hi - rows.lo);
            for (int j = rows.lo; j < rows.hi; ++j) {
                std::copy_n(src.row(sy + j) + sx + cols.lo, n, scratch.row(j - rows.lo));
            }
            from = &scratch;
            fromX = -cols.lo;
            fromY = -rows.lo;
        }
    }

    for (int j = rows.lo; j < rows.hi; ++j) {
        std::uint32_t* d = dst.row(y + j) + x + cols.lo;
        const std::uint32_t* s = from->row(fromY + j) + fromX + cols.lo;
        if (!shade) {
            copyRow(d, s, n, key);
            continue;
        }
        // The tile row repeats every tile width; walk the chip row in tile-aligned segments.
        const int tw = shade->width();
        const std::uint32_t* m = shade->row(j % shade->height());
        int i = cols.lo;
        while (i < cols.hi) {
            const int offset = i % tw;
            const int len = std::min(cols.hi - i, tw - offset);
            copyRowShaded(d + (i - cols.lo), s + (i - cols.lo), m + offset, len, key);
            i += len;
        }
    }
    dst.touch();
    return true;
}

} // namespace plat
