#include "platform/MaskedCopy.h"
#include "platform/VectorClones.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace plat {

namespace {

// Eight pixels as one generic vector. The blends are branch-free: chips are roughly half key
// colour in a pattern no branch predictor can learn.
using Pixels8 = std::uint32_t __attribute__((vector_size(32)));
constexpr int kLanes = 8;

// A clipped copy: `n` pixels on each of `rows` rows. (chipX, chipY) is the first drawn pixel's
// offset from the chip's top-left corner, where the shade pattern is anchored.
struct Job {
    std::uint32_t* d;
    std::ptrdiff_t dStride;
    const std::uint32_t* s;
    std::ptrdiff_t sStride;
    int n;
    int rows;
    std::uint32_t key;
    const Surface* shade;
    int chipX;
    int chipY;
};

HARUVEL_VECTOR_CLONES void drawRows(const Job& job) {
    Pixels8 keyV;
    for (int l = 0; l < kLanes; ++l)
        keyV[l] = job.key;
    const int tw = job.shade ? job.shade->width() : 0;
    const int th = job.shade ? job.shade->height() : 0;
    for (int r = 0; r < job.rows; ++r) {
        std::uint32_t* __restrict d = job.d + r * job.dStride;
        const std::uint32_t* __restrict s = job.s + r * job.sStride;
        if (!job.shade) {
            int i = 0;
            for (; i + kLanes <= job.n; i += kLanes) {
                Pixels8 v, old;
                std::memcpy(&v, s + i, sizeof v);
                std::memcpy(&old, d + i, sizeof old);
                const Pixels8 keep = reinterpret_cast<Pixels8>(v == keyV);
                const Pixels8 out = (old & keep) | (v & ~keep);
                std::memcpy(d + i, &out, sizeof out);
            }
            for (; i < job.n; ++i) {
                const std::uint32_t v = s[i];
                const std::uint32_t keep = 0u - static_cast<std::uint32_t>(v == job.key);
                d[i] = (d[i] & keep) | (v & ~keep);
            }
            continue;
        }
        // The tile row repeats every tile width; walk the chip row in tile-aligned segments.
        const std::uint32_t* tileRow = job.shade->row((job.chipY + r) % th);
        int i = 0;
        while (i < job.n) {
            const int offset = (job.chipX + i) % tw;
            const int end = i + std::min(job.n - i, tw - offset);
            const std::uint32_t* __restrict m = tileRow + offset - i;
            for (; i + kLanes <= end; i += kLanes) {
                Pixels8 v, old, shade;
                std::memcpy(&v, s + i, sizeof v);
                std::memcpy(&old, d + i, sizeof old);
                std::memcpy(&shade, m + i, sizeof shade);
                const Pixels8 keep = reinterpret_cast<Pixels8>(v == keyV);
                const Pixels8 out = (old & keep) | (v & shade & ~keep);
                std::memcpy(d + i, &out, sizeof out);
            }
            for (; i < end; ++i) {
                const std::uint32_t v = s[i];
                const std::uint32_t keep = 0u - static_cast<std::uint32_t>(v == job.key);
                d[i] = (d[i] & keep) | (v & m[i] & ~keep);
            }
        }
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

    const Span cols = clipAxis(x, w, sx, dst.width(), src.width());
    const Span rows = clipAxis(y, h, sy, dst.height(), src.height());
    if (cols.hi <= cols.lo || rows.hi <= rows.lo) return true;
    const int n = cols.hi - cols.lo;
    const int rowCount = rows.hi - rows.lo;

    Job job{dst.row(y + rows.lo) + x + cols.lo,
            dst.width(),
            src.row(sy + rows.lo) + sx + cols.lo,
            src.width(),
            n,
            rowCount,
            key & 0xFFFFFF,
            shade,
            cols.lo,
            rows.lo};

    // Copying within one surface: the chip must be read as it was before any pixel is written,
    // which the row loop (and the no-alias promise it makes) cannot give for overlapping areas.
    Surface scratch;
    if (&dst == &src) {
        const long long x0 = x + cols.lo, s0 = sx + cols.lo, y0 = y + rows.lo, t0 = sy + rows.lo;
        const bool overlap = x0 < s0 + n && s0 < x0 + n && y0 < t0 + rowCount && t0 < y0 + rowCount;
        if (overlap) {
            scratch = Surface::colour(n, rowCount);
            for (int j = 0; j < rowCount; ++j)
                std::copy_n(job.s + j * job.sStride, n, scratch.row(j));
            job.s = scratch.data();
            job.sStride = n;
        }
    }

    drawRows(job);
    dst.touch();
    return true;
}

} // namespace plat
