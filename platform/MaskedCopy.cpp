#include "platform/MaskedCopy.h"

namespace plat {

bool maskedCopy(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                Color key, const Surface* shade) {
    if (dst.isNull() || src.isNull()) return false;
    if (shade && shade->isNull()) shade = nullptr;
    key &= 0xFFFFFF;
    for (int j = 0; j < h; ++j) {
        const int dy = y + j, syy = sy + j;
        if (dy < 0 || dy >= dst.height() || syy < 0 || syy >= src.height()) continue;
        const std::uint32_t* s = src.row(syy);
        std::uint32_t* d = dst.row(dy);
        const std::uint32_t* m = shade ? shade->row(j % shade->height()) : nullptr;
        for (int i = 0; i < w; ++i) {
            const int dx = x + i, sxx = sx + i;
            if (dx < 0 || dx >= dst.width() || sxx < 0 || sxx >= src.width()) continue;
            const std::uint32_t v = s[sxx];
            if (v == key) continue;
            d[dx] = m ? (v & m[i % shade->width()]) : v;
        }
    }
    dst.touch();
    return true;
}

} // namespace plat
