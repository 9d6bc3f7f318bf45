#include "platform/Surface.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

namespace plat {

Surface::Surface(int width, int height, bool mono) : mono_(mono) {
    resize(width, height);
}

std::uint64_t Surface::nextStamp() {
    static std::atomic<std::uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

Surface::Surface(Surface&& other) noexcept
    : width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)),
      mono_(other.mono_), back_(other.back_), bk_(other.bk_), fore_(other.fore_),
      fontPx_(other.fontPx_), generation_(other.generation_), pixels_(std::move(other.pixels_)) {
    other.pixels_.clear();
    other.touch();
}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this == &other) return *this;
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    mono_ = other.mono_;
    back_ = other.back_;
    bk_ = other.bk_;
    fore_ = other.fore_;
    fontPx_ = other.fontPx_;
    generation_ = other.generation_;
    pixels_ = std::move(other.pixels_);
    other.pixels_.clear();
    other.touch();
    return *this;
}

void Surface::release() {
    width_ = 0;
    height_ = 0;
    std::vector<std::uint32_t>().swap(pixels_);
    touch();
}

void Surface::resize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, mono_ ? 1u : back_);
    touch();
}

Color Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const std::uint32_t v = pixels_[static_cast<std::size_t>(y) * width_ + x];
    if (mono_) return v ? kWhite : kBlack;
    return v;
}

void Surface::setPixel(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = mono_ ? (c != 0 ? 1u : 0u) : (c & 0xFFFFFF);
    touch();
}

void Surface::fill(Color c) {
    const std::uint32_t v = mono_ ? (c != 0 ? 1u : 0u) : (c & 0xFFFFFF);
    if (!pixels_.empty()) {
        // The composition surface is cleared every frame: fill one row, then copy it down with
        // memcpy, which runs several times faster than a store per pixel.
        std::fill_n(pixels_.data(), width_, v);
        for (int y = 1; y < height_; ++y) {
            std::memcpy(row(y), row(0), sizeof(std::uint32_t) * width_);
        }
    }
    touch();
}

namespace {

// Clips a copy of w x h from (sx, sy) in a src of sw x sh to (x, y) in a dst of dw x dh.
bool clip(int& x, int& y, int& w, int& h, int& sx, int& sy, int dw, int dh, int sw, int sh) {
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    if (x < 0) {
        sx -= x;
        w += x;
        x = 0;
    }
    if (y < 0) {
        sy -= y;
        h += y;
        y = 0;
    }
    w = std::min({w, dw - x, sw - sx});
    h = std::min({h, dh - y, sh - sy});
    return w > 0 && h > 0;
}

template <typename Op>
void blend(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Op op) {
    const bool srcMono = src.isMono();
    const bool dstMono = dst.isMono();
    const Color key = src.bkColor();
    for (int j = 0; j < h; ++j) {
        const std::uint32_t* s = src.row(sy + j) + sx;
        std::uint32_t* d = dst.row(y + j) + x;
        if (!srcMono && !dstMono) {
            // The common colour-to-colour case, kept free of branches so it vectorises.
            for (int i = 0; i < w; ++i)
                d[i] = op(d[i], s[i]) & 0xFFFFFF;
            continue;
        }
        for (int i = 0; i < w; ++i) {
            std::uint32_t v = s[i];
            if (dstMono) {
                if (!srcMono) v = (v == key) ? 1u : 0u;
                d[i] = op(d[i], v) & 1u;
            } else {
                if (srcMono) v = v ? kWhite : kBlack;
                d[i] = op(d[i], v) & 0xFFFFFF;
            }
        }
    }
}

} // namespace

bool bitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
    if (dst.isNull() || src.isNull()) return false;
    if (!clip(x, y, w, h, sx, sy, dst.width(), dst.height(), src.width(), src.height())) {
        return true;
    }
    switch (rop) {
    case Rop::SrcCopy:
        if (&dst != &src && !dst.isMono() && !src.isMono()) {
            // Colour pixels keep their top byte zero in every surface: rows copy as they are.
            for (int j = 0; j < h; ++j) {
                std::memcpy(dst.row(y + j) + x, src.row(sy + j) + sx,
                            sizeof(std::uint32_t) * static_cast<std::size_t>(w));
            }
            break;
        }
        blend(dst, x, y, w, h, src, sx, sy, [](std::uint32_t, std::uint32_t s) { return s; });
        break;
    case Rop::SrcAnd:
        blend(dst, x, y, w, h, src, sx, sy, [](std::uint32_t d, std::uint32_t s) { return d & s; });
        break;
    case Rop::SrcInvert:
        blend(dst, x, y, w, h, src, sx, sy, [](std::uint32_t d, std::uint32_t s) { return d ^ s; });
        break;
    case Rop::DSna:
        blend(dst, x, y, w, h, src, sx, sy,
              [](std::uint32_t d, std::uint32_t s) { return d & ~s; });
        break;
    }
    dst.touch();
    return true;
}

bool copyChanged(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy) {
    if (dst.isNull() || src.isNull()) return false;
    if (&dst == &src || dst.isMono() || src.isMono()) {
        return bitBlt(dst, x, y, w, h, src, sx, sy, Rop::SrcCopy);
    }
    if (!clip(x, y, w, h, sx, sy, dst.width(), dst.height(), src.width(), src.height())) {
        return false;
    }
    const std::size_t bytes = sizeof(std::uint32_t) * static_cast<std::size_t>(w);
    bool changed = false;
    for (int j = 0; j < h; ++j) {
        std::uint32_t* d = dst.row(y + j) + x;
        const std::uint32_t* s = src.row(sy + j) + sx;
        if (std::memcmp(d, s, bytes) == 0) continue;
        std::memcpy(d, s, bytes);
        changed = true;
    }
    if (changed) dst.touch();
    return changed;
}

bool fillChanged(Surface& dst, int x, int y, int w, int h, Color c) {
    // 64-bit bounds keep huge rectangles defined.
    using ll = long long;
    const int x0 = static_cast<int>(std::clamp<ll>(x, 0, dst.width()));
    const int x1 = static_cast<int>(std::clamp<ll>(static_cast<ll>(x) + w, x0, dst.width()));
    const int y0 = static_cast<int>(std::clamp<ll>(y, 0, dst.height()));
    const int y1 = static_cast<int>(std::clamp<ll>(static_cast<ll>(y) + h, y0, dst.height()));
    const std::uint32_t v = dst.isMono() ? (c != 0 ? 1u : 0u) : (c & 0xFFFFFF);
    bool changed = false;
    for (int j = y0; j < y1; ++j) {
        std::uint32_t* d = dst.row(j);
        if (std::all_of(d + x0, d + x1, [v](std::uint32_t p) { return p == v; })) continue;
        std::fill(d + x0, d + x1, v);
        changed = true;
    }
    if (changed) dst.touch();
    return changed;
}

bool stretchBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                int sw, int sh) {
    if (dst.isNull() || src.isNull() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return false;
    const bool srcMono = src.isMono();
    const bool dstMono = dst.isMono();
    // Only destination pixels inside dst are visited; 64-bit bounds keep huge offsets defined.
    using ll = long long;
    const ll j0 = std::max<ll>(0, -static_cast<ll>(y));
    const ll j1 = std::min<ll>(h, static_cast<ll>(dst.height()) - y);
    const ll i0 = std::max<ll>(0, -static_cast<ll>(x));
    const ll i1 = std::min<ll>(w, static_cast<ll>(dst.width()) - x);
    const ll stepWhole = sw / w;
    const ll stepPart = sw % w;
    for (ll j = j0; j < j1; ++j) {
        const ll syy = sy + j * sh / h;
        if (syy < 0 || syy >= src.height()) continue;
        const std::uint32_t* s = src.row(static_cast<int>(syy));
        std::uint32_t* d = dst.row(static_cast<int>(y + j));
        // Source column sx + floor(i * sw / w), stepped without a division per pixel.
        ll q = i0 * sw / w;
        ll r = i0 * sw % w;
        for (ll i = i0; i < i1; ++i) {
            const ll sxx = sx + q;
            if (sxx >= 0 && sxx < src.width()) {
                std::uint32_t v = s[sxx];
                if (srcMono) v = v ? kWhite : kBlack;
                d[x + i] = dstMono ? (v != 0 ? 1u : 0u) : (v & 0xFFFFFF);
            }
            q += stepWhole;
            r += stepPart;
            if (r >= w) {
                r -= w;
                ++q;
            }
        }
    }
    dst.touch();
    return true;
}

} // namespace plat
