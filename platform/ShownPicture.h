// What a window shows of a surface: its own copy of the pixels last handed over. Presenting a
// picture bit-identical to that copy changes nothing and costs no repaint; a changed one names
// the rectangle that differs, so only that part is repainted and sent to the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Surface.h"

namespace plat {

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
};

class ShownPicture {
  public:
    // Takes the surface's current picture (and back colour) as the one shown. Answers the
    // rectangle in which it differs from the picture shown before: empty when the two are
    // bit-identical, all of it when the size or back colour changed. Allocates only when the
    // size changes.
    PixelRect take(const Surface& surface);
    // True when take would find nothing new: the surface's stamp, size and back colour are the
    // ones taken last.
    bool isCurrent(const Surface& surface) const {
        return surface.generation() == stamp_ && surface.width() == width_ &&
               surface.height() == height_ && surface.isMono() == mono_ &&
               surface.backColor() == back_;
    }

    int width() const { return width_; }
    int height() const { return height_; }
    Color backColor() const { return back_; }
    // Rows of width() pixels, top-down, 0x00RRGGBB (one-bit surfaces as black and white).
    const std::uint32_t* data() const { return pixels_.data(); }

  private:
    PixelRect takeAll(const Surface& surface);

    int width_ = 0, height_ = 0;
    bool mono_ = false;
    Color back_ = 0;
    std::uint64_t stamp_ = 0; // the surface contents last taken; equal stamps, equal pixels
    std::vector<std::uint32_t> pixels_;
};

} // namespace plat
