#include "platform/ChipRuns.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/MaskedCopy.h"
#include "platform/VectorClones.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace plat {

void DrawnSpans::reset(int height) {
    height_ = std::max(0, height);
    bands_.assign(static_cast<std::size_t>((height_ + kBandRows - 1) / kBandRows),
                  Span{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()});
}

bool DrawnSpans::within(const DrawnSpans& other) const {
    if (height_ != other.height_) return false;
    for (std::size_t b = 0; b < bands_.size(); ++b) {
        const Span &s = bands_[b], &o = other.bands_[b];
        if (s.lo < s.hi && (s.lo < o.lo || s.hi > o.hi)) return false;
    }
    return true;
}

namespace {

// Every run's pixels go down whole: the source row ANDed with the shade row when there is one.
struct RunRows {
    std::uint32_t* d;
    std::ptrdiff_t dStride;
    const std::uint32_t* s;
    std::ptrdiff_t sStride;
    const Surface* shade;
    int rows;
    int firstRow; // of the chip, where the shade pattern is anchored
};

using Pixels8 = std::uint32_t __attribute__((vector_size(32)));
constexpr int kLanes = 8;

// Pixels [a, b) of one row: eight at a time, the last eight overlapping the ones before when the
// run is not a multiple of eight long (the copy reads only the source, so overlap is harmless).
inline void copyRun(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, int a, int b) {
    if (b - a < kLanes) {
        for (int i = a; i < b; ++i)
            d[i] = s[i];
        return;
    }
    Pixels8 v;
    for (int i = a; i + kLanes <= b; i += kLanes) {
        std::memcpy(&v, s + i, sizeof v);
        std::memcpy(d + i, &v, sizeof v);
    }
    std::memcpy(&v, s + b - kLanes, sizeof v);
    std::memcpy(d + b - kLanes, &v, sizeof v);
}

inline void andRun(std::uint32_t* __restrict d, const std::uint32_t* __restrict s,
                   const std::uint32_t* __restrict m, int a, int b) {
    if (b - a < kLanes) {
        for (int i = a; i < b; ++i)
            d[i] = s[i] & m[i];
        return;
    }
    Pixels8 v, w;
    for (int i = a; i + kLanes <= b; i += kLanes) {
        std::memcpy(&v, s + i, sizeof v);
        std::memcpy(&w, m + i, sizeof w);
        v &= w;
        std::memcpy(d + i, &v, sizeof v);
    }
    std::memcpy(&v, s + b - kLanes, sizeof v);
    std::memcpy(&w, m + b - kLanes, sizeof w);
    v &= w;
    std::memcpy(d + b - kLanes, &v, sizeof v);
}

template <typename RunT>
HARUVEL_VECTOR_CLONES void copyRuns(const RunRows& job, const RunT* runs,
                                    const std::uint32_t* rowStart) {
    const int th = job.shade ? job.shade->height() : 0;
    for (int r = 0; r < job.rows; ++r) {
        std::uint32_t* d = job.d + r * job.dStride;
        const std::uint32_t* s = job.s + r * job.sStride;
        const RunT* run = runs + rowStart[r];
        const RunT* end = runs + rowStart[r + 1];
        if (!job.shade) {
            for (; run != end; ++run)
                copyRun(d, s, run->start, run->start + run->length);
            continue;
        }
        const std::uint32_t* m = job.shade->row((job.firstRow + r) % th);
        for (; run != end; ++run)
            andRun(d, s, m, run->start, run->start + run->length);
    }
}

#if defined(__GNUC__) && defined(__x86_64__)
#define HARUVEL_AVX512_CHUNKS 1
// A row as chunks of 16 pixels under the chip's bit masks: a fixed number of masked loads and
// stores per row, with no branch that depends on where the chip's runs start and end. Masked
// lanes are neither read nor written, so a chunk may reach past the end of a row.
__attribute__((target("avx512f"))) void copyChunks(const RunRows& job, const std::uint16_t* masks,
                                                   int chunks) {
    const int th = job.shade ? job.shade->height() : 0;
    for (int r = 0; r < job.rows; ++r) {
        std::uint32_t* d = job.d + r * job.dStride;
        const std::uint32_t* s = job.s + r * job.sStride;
        const std::uint16_t* k = masks + static_cast<std::ptrdiff_t>(r) * chunks;
        if (!job.shade) {
            for (int c = 0; c < chunks; ++c) {
                const __m512i v = _mm512_maskz_loadu_epi32(k[c], s + 16 * c);
                _mm512_mask_storeu_epi32(d + 16 * c, k[c], v);
            }
            continue;
        }
        const std::uint32_t* m = job.shade->row((job.firstRow + r) % th);
        for (int c = 0; c < chunks; ++c) {
            const __m512i v = _mm512_maskz_loadu_epi32(k[c], s + 16 * c);
            const __m512i w = _mm512_maskz_loadu_epi32(k[c], m + 16 * c);
            _mm512_mask_storeu_epi32(d + 16 * c, k[c], _mm512_and_si512(v, w));
        }
    }
}

bool hasAvx512() {
    static const bool has = __builtin_cpu_supports("avx512f");
    return has;
}
#endif

// Where a chip's slot search starts: its sheet's contents and its place and key, mixed.
[[gnu::always_inline]] inline std::uint64_t chipHash(std::uint64_t stamp, int sx, int sy, int w,
                                                     int h, Color key) {
    std::uint64_t hash = stamp * 0x9E3779B97F4A7C15ull;
    for (const std::uint64_t v :
         {std::uint64_t(unsigned(sx)), std::uint64_t(unsigned(sy)), std::uint64_t(unsigned(w)),
          std::uint64_t(unsigned(h)), std::uint64_t(key)}) {
        hash = (hash ^ v) * 0x100000001B3ull;
    }
    return (hash ^ (hash >> 31)) * 0xBF58476D1CE4E5B9ull;
}

bool inside(long long pos, long long len, long long size) {
    return pos >= 0 && len > 0 && pos + len <= size;
}

} // namespace

ChipRunCache::Chip& ChipRunCache::prepared(const Surface& src, int sx, int sy, int w, int h,
                                           Color key) {
    const std::uint64_t stamp = src.generation();
    // Up to four neighbouring slots are looked at; a miss takes an unused one among them, or
    // the next one in turn.
    const std::size_t home =
        static_cast<std::size_t>(chipHash(stamp, sx, sy, w, h, key) >> 32) % kSlots;
    Chip* free = nullptr;
    for (std::size_t i = 0; i < kProbes; ++i) {
        Chip& c = chips_[(home + i) % kSlots];
        if (c.stamp == stamp && c.sx == sx && c.sy == sy && c.w == w && c.h == h && c.key == key) {
            return c;
        }
        if (!free && c.stamp == 0) free = &c;
    }
    if (!free) free = &chips_[(home + (evict_++ % kProbes)) % kSlots];
    if (!queue_.empty()) flush(); // a queued chip may be the one about to be replaced
    Chip& c = *free;
    c.stamp = stamp;
    c.sx = sx;
    c.sy = sy;
    c.w = w;
    c.h = h;
    c.key = key;
    for (Chip::Shaded& sh : c.shaded)
        sh.stamp = 0;
    takeRuns(c, src);
    return c;
}

void ChipRunCache::takeRuns(Chip& c, const Surface& src) {
    c.runs.clear();
    c.rowStart.assign(1, 0);
    c.lo = c.w;
    c.hi = 0;
    c.chunks = (c.w + 15) / 16;
    c.chunkMasks.assign(static_cast<std::size_t>(c.h) * c.chunks, 0);
    for (int r = 0; r < c.h; ++r) {
        takeRowRuns(c, r, src.row(c.sy + r) + c.sx);
        const std::uint32_t first = c.rowStart.back();
        c.rowStart.push_back(static_cast<std::uint32_t>(c.runs.size()));
        if (first < c.runs.size()) {
            c.lo = std::min<int>(c.lo, c.runs[first].start);
            c.hi = std::max<int>(c.hi, c.runs.back().start + c.runs.back().length);
        }
    }
}

void ChipRunCache::takeRowRuns(Chip& c, int r, const std::uint32_t* row) {
    std::uint16_t* masks = c.chunkMasks.data() + static_cast<std::size_t>(r) * c.chunks;
    int i = 0;
    while (i < c.w) {
        while (i < c.w && row[i] == c.key)
            ++i;
        const int start = i;
        while (i < c.w && row[i] != c.key)
            ++i;
        for (int p = start; p < i; ++p)
            masks[p / 16] |= static_cast<std::uint16_t>(1u << (p % 16));
        if (i > start) {
            c.runs.push_back(
                {static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(i - start)});
        }
    }
}

bool ChipRunCache::draw(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx,
                        int sy, Color key, const Surface* shade, DrawnSpans* drawn) {
    if (shade && (shade->isNull() || shade->isMono())) shade = nullptr;
    const bool whole = !dst.isNull() && !src.isNull() && !dst.isMono() && !src.isMono() &&
                       inside(x, w, dst.width()) && inside(y, h, dst.height()) &&
                       inside(sx, w, src.width()) && inside(sy, h, src.height()) &&
                       w <= std::numeric_limits<std::uint16_t>::max() &&
                       (!shade || w <= shade->width()) && &dst != &src;
    if (!whole) {
        // Whatever is queued goes down first, so the copies keep their order.
        if (batch_ == &dst) flush();
        if (drawn && !dst.isNull()) {
            const long long x0 = std::max<long long>(x, 0);
            const long long x1 = std::min<long long>(static_cast<long long>(x) + w, dst.width());
            const long long y0 = std::max<long long>(y, 0);
            const long long y1 = std::min<long long>(static_cast<long long>(y) + h, dst.height());
            if (y0 < y1) {
                drawn->add(static_cast<int>(y0), static_cast<int>(y1), static_cast<int>(x0),
                           static_cast<int>(x1));
            }
        }
        return maskedCopy(dst, x, y, w, h, src, sx, sy, key, shade);
    }
    Chip& chip = prepared(src, sx, sy, w, h, key & 0xFFFFFF);
    if (drawn) drawn->add(y, y + h, x + chip.lo, x + chip.hi);
    // A shaded chip is copied from its pixels already ANDed with the shade: one read per pixel.
    const Queued q =
        shade
            ? Queued{&chip, x, y, shadedPixels(chip, src, *shade), w, nullptr, shade->generation()}
            : Queued{&chip, x, y, src.row(sy) + sx, src.width(), nullptr, 0};
    if (batch_ == &dst) {
        queue_.push_back(q);
    } else {
        putDown(dst, q, 0, h);
        dst.touch();
    }
    return true;
}

const std::uint32_t* ChipRunCache::shadedPixels(Chip& chip, const Surface& src,
                                                const Surface& shade) {
    for (const Chip::Shaded& sh : chip.shaded) {
        if (sh.stamp == shade.generation()) return sh.pixels.data();
    }
    if (!queue_.empty()) flush(); // a queued copy may read the pixels about to be replaced
    Chip::Shaded& sh = chip.shaded[chip.nextShaded++ % chip.shaded.size()];
    sh.pixels.resize(static_cast<std::size_t>(chip.w) * chip.h);
    for (int r = 0; r < chip.h; ++r) {
        const std::uint32_t* s = src.row(chip.sy + r) + chip.sx;
        const std::uint32_t* m = shade.row(r % shade.height());
        std::uint32_t* d = sh.pixels.data() + static_cast<std::ptrdiff_t>(r) * chip.w;
        for (int i = 0; i < chip.w; ++i)
            d[i] = s[i] & m[i];
    }
    sh.stamp = shade.generation();
    return sh.pixels.data();
}

void ChipRunCache::putDown(Surface& dst, const Queued& q, int r0, int r1) {
    const Chip& chip = *q.chip;
    RunRows job{dst.row(q.y + r0) + q.x,
                dst.width(),
                q.src + r0 * q.srcStride,
                q.srcStride,
                q.shade,
                r1 - r0,
                r0};
#ifdef HARUVEL_AVX512_CHUNKS
    if (hasAvx512()) {
        copyChunks(job, chip.chunkMasks.data() + static_cast<std::ptrdiff_t>(r0) * chip.chunks,
                   chip.chunks);
        return;
    }
#endif
    copyRuns(job, chip.runs.data(), chip.rowStart.data() + r0);
}

void ChipRunCache::beginBatch(Surface& dst, Color back, const DrawnSpans& toClear) {
    endBatch();
    if (dst.isNull() || dst.isMono()) return;
    batch_ = &dst;
    back_ = back & 0xFFFFFF;
    toClear_ = toClear;
    backRow_.assign(static_cast<std::size_t>(dst.width()), back_);
}

void ChipRunCache::endBatch() {
    flush();
    batch_ = nullptr;
}

bool ChipRunCache::flushWritesNothing() const {
    // Where the last flush cleared, the surface holds the back colour under its chips; anywhere
    // else putting the same chips down again in the same order writes what they wrote before.
    if (batch_ != lastDst_ || batch_->generation() != lastStamp_ || back_ != lastBack_ ||
        queue_.size() != lastPuts_.size() || !toClear_.within(lastCleared_)) {
        return false;
    }
    for (std::size_t i = 0; i < queue_.size(); ++i) {
        if (!(putDownOf(queue_[i]) == lastPuts_[i])) return false;
    }
    return true;
}

ChipRunCache::PutDown ChipRunCache::putDownOf(const Queued& q) {
    const Chip& c = *q.chip;
    return {c.stamp, q.shadeStamp, c.sx, c.sy, c.w, c.h, q.x, q.y, c.key};
}

void ChipRunCache::flush() {
    if (!batch_) return;
    Surface& dst = *batch_;
    if (flushWritesNothing()) {
        toClear_.reset(0);
        queue_.clear();
        return;
    }
    // Bands of 64 rows: about 128 KB of a 514-pixel surface, which stays in the second-level
    // cache while the band is cleared and every chip crossing it is put down (narrower bands
    // measured no faster: each band walks the whole queue).
    constexpr int kBand = 64;
    const int height = dst.height(), width = dst.width();
    for (int b0 = 0; b0 < height; b0 += kBand) {
        const int b1 = std::min(b0 + kBand, height);
        for (int y = b0; y < b1 && y < toClear_.height(); ++y) {
            const int lo = std::max(toClear_.lo(y), 0), hi = std::min(toClear_.hi(y), width);
            if (lo < hi) {
                std::memcpy(dst.row(y) + lo, backRow_.data(),
                            sizeof(std::uint32_t) * static_cast<std::size_t>(hi - lo));
            }
        }
        for (const Queued& q : queue_) {
            const int r0 = std::max(b0 - q.y, 0), r1 = std::min(b1 - q.y, q.chip->h);
            if (r0 < r1) putDown(dst, q, r0, r1);
        }
    }
    dst.touch();
    lastDst_ = &dst;
    lastStamp_ = dst.generation();
    lastBack_ = back_;
    std::swap(lastCleared_, toClear_);
    toClear_.reset(0);
    lastPuts_.clear();
    for (const Queued& q : queue_)
        lastPuts_.push_back(putDownOf(q));
    queue_.clear();
}

void ChipRunCache::clear() {
    endBatch();
    lastDst_ = nullptr;
    for (Chip& c : chips_) {
        c.stamp = 0;
        c.runs.clear();
        c.rowStart.clear();
        c.chunkMasks.clear();
        c.shaded = {};
    }
}

} // namespace plat
