#include "assets/field/PixelArt.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace assets::art {

Sprite::Sprite(int width, int height)
    : w_(std::max(0, width)), h_(std::max(0, height)),
      px_(static_cast<std::size_t>(w_) * h_, kClear) {}

void Sprite::rect(int x, int y, int w, int h, plat::Color c) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i)
            set(i, j, c);
    }
}

void Sprite::ellipse(double cx, double cy, double rx, double ry, plat::Color c) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry));
         ++y) {
        for (int x = static_cast<int>(std::floor(cx - rx));
             x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) set(x, y, c);
        }
    }
}

void Sprite::shadeEllipse(double cx, double cy, double rx, double ry, plat::Color c,
                          std::uint32_t only) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy > 1.0 || !opaque(x, y)) continue;
            if (only == kClear || at(x, y) == (only & 0xFFFFFF)) set(x, y, c);
        }
    }
}

void Sprite::polygon(const std::vector<std::pair<double, double>>& pts, plat::Color c) {
    if (pts.size() < 3) return;
    for (int y = 0; y < h_; ++y) {
        const double py = y + 0.5;
        for (int x = 0; x < w_; ++x) {
            const double px = x + 0.5;
            bool in = false;
            for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                const auto [xi, yi] = pts[i];
                const auto [xj, yj] = pts[j];
                if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) {
                    in = !in;
                }
            }
            if (in) set(x, y, c);
        }
    }
}

void Sprite::line(int x0, int y0, int x1, int y1, plat::Color c) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1) return;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Sprite::stroke(double x0, double y0, double x1, double y1, double radius, plat::Color c) {
    const double len = std::hypot(x1 - x0, y1 - y0);
    const int steps = std::max(1, static_cast<int>(std::ceil(len * 2)));
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        ellipse(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, radius, radius, c);
    }
}

void Sprite::outline(plat::Color c) {
    std::vector<std::size_t> edge;
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            if (opaque(x, y)) continue;
            if (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1)) {
                edge.push_back(idx(x, y));
            }
        }
    }
    for (std::size_t i : edge)
        px_[i] = c & 0xFFFFFF;
}

void Sprite::overlay(const Sprite& s, int x, int y, bool mirror) {
    for (int j = 0; j < s.height(); ++j) {
        for (int i = 0; i < s.width(); ++i) {
            const std::uint32_t v = s.at(mirror ? s.width() - 1 - i : i, j);
            if (v != kClear) set(x + i, y + j, v);
        }
    }
}

void Sprite::stamp(plat::Surface& sheet, int x, int y, plat::Color key, bool mirror) const {
    for (int j = 0; j < h_; ++j) {
        for (int i = 0; i < w_; ++i) {
            std::uint32_t v = at(mirror ? w_ - 1 - i : i, j);
            // A painted pixel must never read as transparent.
            if (v == key) v ^= 0x000100;
            sheet.setPixel(x + i, y + j, v == kClear ? key : v);
        }
    }
}

plat::Color tint(plat::Color c, double f) {
    auto ch = [f](int v) { return std::clamp(static_cast<int>(std::lround(v * f)), 0, 255); };
    return plat::rgb(ch(plat::red(c)), ch(plat::green(c)), ch(plat::blue(c)));
}

int noise(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 0xFF);
}

} // namespace assets::art
