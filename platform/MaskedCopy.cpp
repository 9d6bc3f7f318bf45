#include "platform/MaskedCopy.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define HARUVEL_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace plat {

namespace {

// The row kernels are branch-free: chips are roughly half key colour in a pattern no branch
// predictor can learn. Four pixels at a time with SSE2 (part of every x86-64), which the
// compiler does not find on its own at -O2; the portable loop finishes each row.
void copyRow(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, int n,
             std::uint32_t key) {
    int i = 0;
#if defined(HARUVEL_X86_KERNELS) && defined(__SSE2__)
    const __m128i k = _mm_set1_epi32(static_cast<int>(key));
    for (; i + 4 <= n; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i keep = _mm_cmpeq_epi32(v, k);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         _mm_or_si128(_mm_and_si128(keep, old), _mm_andnot_si128(keep, v)));
    }
#endif
    for (; i < n; ++i) {
        const std::uint32_t v = s[i];
        const std::uint32_t keep = 0u - static_cast<std::uint32_t>(v == key);
        d[i] = (d[i] & keep) | (v & ~keep);
    }
}

void copyRowShaded(std::uint32_t* __restrict d, const std::uint32_t* __restrict s,
                   const std::uint32_t* __restrict m, int n, std::uint32_t key) {
    int i = 0;
#if defined(HARUVEL_X86_KERNELS) && defined(__SSE2__)
    const __m128i k = _mm_set1_epi32(static_cast<int>(key));
    for (; i + 4 <= n; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i shade = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
        const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i keep = _mm_cmpeq_epi32(v, k);
        const __m128i put = _mm_andnot_si128(keep, _mm_and_si128(v, shade));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         _mm_or_si128(_mm_and_si128(keep, old), put));
    }
#endif
    for (; i < n; ++i) {
        const std::uint32_t v = s[i];
        const std::uint32_t keep = 0u - static_cast<std::uint32_t>(v == key);
        d[i] = (d[i] & keep) | (v & m[i] & ~keep);
    }
}

#if defined(HARUVEL_X86_KERNELS)
// Eight pixels at a time where the processor has AVX2; chosen at run time so the program still
// runs on any x86-64.
__attribute__((target("avx2"))) void copyRowAvx2(std::uint32_t* __restrict d,
                                                 const std::uint32_t* __restrict s, int n,
                                                 std::uint32_t key) {
    int i = 0;
    const __m256i k = _mm256_set1_epi32(static_cast<int>(key));
    for (; i + 8 <= n; i += 8) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i keep = _mm256_cmpeq_epi32(v, k);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_blendv_epi8(v, old, keep));
    }
    copyRow(d + i, s + i, n - i, key);
}

__attribute__((target("avx2"))) void copyRowShadedAvx2(std::uint32_t* __restrict d,
                                                       const std::uint32_t* __restrict s,
                                                       const std::uint32_t* __restrict m, int n,
                                                       std::uint32_t key) {
    int i = 0;
    const __m256i k = _mm256_set1_epi32(static_cast<int>(key));
    for (; i + 8 <= n; i += 8) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i shade = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m + i));
        const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i keep = _mm256_cmpeq_epi32(v, k);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            _mm256_blendv_epi8(_mm256_and_si256(v, shade), old, keep));
    }
    copyRowShaded(d + i, s + i, m + i, n - i, key);
}
#endif

struct Kernels {
    void (*plain)(std::uint32_t*, const std::uint32_t*, int, std::uint32_t) = copyRow;
    void (*shaded)(std::uint32_t*, const std::uint32_t*, const std::uint32_t*, int,
                   std::uint32_t) = copyRowShaded;
};

Kernels pickKernels() {
    Kernels k;
#if defined(HARUVEL_X86_KERNELS)
    if (__builtin_cpu_supports("avx2")) {
        k.plain = copyRowAvx2;
        k.shaded = copyRowShadedAvx2;
    }
#endif
    return k;
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

    const Kernels kernels = pickKernels();
    for (int j = rows.lo; j < rows.hi; ++j) {
        std::uint32_t* d = dst.row(y + j) + x + cols.lo;
        const std::uint32_t* s = from->row(fromY + j) + fromX + cols.lo;
        if (!shade) {
            kernels.plain(d, s, n, key);
            continue;
        }
        // The tile row repeats every tile width; walk the chip row in tile-aligned segments.
        const int tw = shade->width();
        const std::uint32_t* m = shade->row(j % shade->height());
        int i = cols.lo;
        while (i < cols.hi) {
            const int offset = i % tw;
            const int len = std::min(cols.hi - i, tw - offset);
            kernels.shaded(d + (i - cols.lo), s + (i - cols.lo), m + offset, len, key);
            i += len;
        }
    }
    dst.touch();
    return true;
}

} // namespace plat
