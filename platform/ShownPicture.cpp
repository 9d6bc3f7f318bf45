#include "platform/ShownPicture.h"

#include <algorithm>
#include <cstring>

namespace plat {

PixelRect ShownPicture::takeAll(const Surface& surface) {
    width_ = surface.width();
    height_ = surface.height();
    mono_ = surface.isMono();
    back_ = surface.backColor();
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        std::uint32_t* to = pixels_.data() + static_cast<std::size_t>(y) * width_;
        if (mono_) {
            for (int x = 0; x < width_; ++x)
                to[x] = surface.pixel(x, y);
        } else {
            std::memcpy(to, surface.row(y), sizeof(std::uint32_t) * width_);
        }
    }
    return {0, 0, width_, height_};
}

PixelRect ShownPicture::take(const Surface& surface) {
    // The back colour (shown around a picture smaller than its window) is no content: setting
    // it leaves the stamp alone.
    if (surface.width() != width_ || surface.height() != height_ || surface.isMono() != mono_ ||
        surface.backColor() != back_) {
        stamp_ = surface.generation();
        return takeAll(surface);
    }
    if (surface.generation() == stamp_) return {};
    stamp_ = surface.generation();
    if (mono_) return takeAll(surface);
    // Row by row: equal rows cost one comparison; a differing row is copied and narrowed to
    // the columns that differ.
    int x0 = width_, x1 = 0, y0 = height_, y1 = 0;
    const std::size_t rowBytes = sizeof(std::uint32_t) * width_;
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* from = surface.row(y);
        std::uint32_t* to = pixels_.data() + static_cast<std::size_t>(y) * width_;
        if (std::memcmp(from, to, rowBytes) == 0) continue;
        int first = 0, last = width_ - 1;
        while (from[first] == to[first])
            ++first;
        while (from[last] == to[last])
            --last;
        x0 = std::min(x0, first);
        x1 = std::max(x1, last + 1);
        y0 = std::min(y0, y);
        y1 = y + 1;
        std::memcpy(to + first, from + first, sizeof(std::uint32_t) * (last + 1 - first));
    }
    if (y1 <= y0) return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

} // namespace plat
