// A small pixel-art canvas the field pictures are drawn with: filled shapes, lines and an
// outline pass, on a sprite whose unpainted pixels stay transparent until it is stamped onto a
// sheet (where they become the key colour).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Surface.h"

namespace assets::art {

// Marks a pixel no shape has painted; never a colour a surface can hold.
constexpr std::uint32_t kClear = 0xFF000000u;

class Sprite {
  public:
    Sprite(int width, int height);

    int width() const { return w_; }
    int height() const { return h_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    std::uint32_t at(int x, int y) const { return inside(x, y) ? px_[idx(x, y)] : kClear; }
    bool opaque(int x, int y) const { return at(x, y) != kClear; }
    void set(int x, int y, plat::Color c) {
        if (inside(x, y)) px_[idx(x, y)] = c & 0xFFFFFF;
    }
    void clear(int x, int y) {
        if (inside(x, y)) px_[idx(x, y)] = kClear;
    }

    void rect(int x, int y, int w, int h, plat::Color c);
    // Ellipse centred at (cx, cy) with radii rx, ry (half-pixel centres allowed).
    void ellipse(double cx, double cy, double rx, double ry, plat::Color c);
    // Convex or concave polygon, filled by pixel-centre test.
    void polygon(const std::vector<std::pair<double, double>>& pts, plat::Color c);
    void line(int x0, int y0, int x1, int y1, plat::Color c);
    // Thick line as a chain of discs.
    void stroke(double x0, double y0, double x1, double y1, double radius, plat::Color c);
    // Paints c into transparent pixels that touch an opaque one (4-neighbours).
    void outline(plat::Color c);
    // Repaints only already-opaque pixels inside an ellipse (shading, highlights); with `only`
    // set, only pixels of exactly that colour.
    void shadeEllipse(double cx, double cy, double rx, double ry, plat::Color c,
                      std::uint32_t only = kClear);
    // Draws another sprite over this one at (x, y), optionally mirrored left to right.
    void overlay(const Sprite& s, int x, int y, bool mirror = false);
    // Writes the sprite into a sheet; transparent pixels become `key`.
    void stamp(plat::Surface& sheet, int x, int y, plat::Color key, bool mirror = false) const;

  private:
    std::size_t idx(int x, int y) const { return static_cast<std::size_t>(y) * w_ + x; }
    int w_;
    int h_;
    std::vector<std::uint32_t> px_;
};

// Scales each channel of c by f (0..2), clamped; used for light and dark variants.
plat::Color tint(plat::Color c, double f);
// Cheap deterministic noise in 0..255 from a pixel position and a seed.
int noise(int x, int y, int seed);

} // namespace assets::art
