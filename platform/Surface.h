// Pixel surfaces: the project's own buffers with the raster operations the programs use.
#pragma once

#include <cstdint>
#include <vector>

namespace plat {

// A pixel colour as 0x00RRGGBB. The top byte is always zero inside a surface.
using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b) {
    return (static_cast<Color>(r & 0xFF) << 16) | (static_cast<Color>(g & 0xFF) << 8) |
           static_cast<Color>(b & 0xFF);
}
// Converts a colour number written in the 0x00BBGGRR form.
constexpr Color fromBgr(std::uint32_t bgr) {
    return rgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
               static_cast<int>((bgr >> 16) & 0xFF));
}
constexpr int red(Color c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr int green(Color c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blue(Color c) {
    return static_cast<int>(c & 0xFF);
}

constexpr Color kWhite = 0x00FFFFFF;
constexpr Color kBlack = 0x00000000;

// Raster operation codes of the rectangle copy.
enum class Rop : std::uint32_t {
    SrcCopy = 0x00CC0020,   // destination = source
    SrcAnd = 0x008800C6,    // destination = destination AND source
    SrcInvert = 0x00660046, // destination = destination XOR source
    DSna = 0x00220326,      // destination = destination AND NOT source
};

// A colour surface (one Color per pixel) or a one-bit surface (0 or 1 per pixel).
// Pixels live row by row, top-down. A default surface is the null handle.
class Surface {
  public:
    Surface() = default;
    Surface(int width, int height, bool mono = false);

    static Surface colour(int width, int height) { return Surface(width, height, false); }
    static Surface monochrome(int width, int height) { return Surface(width, height, true); }

    bool isNull() const { return width_ <= 0 || height_ <= 0; }
    explicit operator bool() const { return !isNull(); }
    int width() const { return width_; }
    int height() const { return height_; }
    bool isMono() const { return mono_; }

    // Frees the pixels; the surface becomes the null handle. Releasing twice is harmless.
    void release();
    // Changes the size; contents become the back colour.
    void resize(int width, int height);

    // Back colour: what clear() fills with.
    Color backColor() const { return back_; }
    void setBackColor(Color c) { back_ = c & 0xFFFFFF; }
    // Background colour used by the colour-to-one-bit conversion (a source pixel equal to it
    // becomes 1).
    Color bkColor() const { return bk_; }
    void setBkColor(Color c) { bk_ = c & 0xFFFFFF; }
    // Text colour and font height for text drawn onto this surface.
    Color foreColor() const { return fore_; }
    void setForeColor(Color c) { fore_ = c & 0xFFFFFF; }
    int fontPixelSize() const { return fontPx_; }
    void setFontPixelSize(int px) { fontPx_ = px; }

    // Colour of one pixel; 0 outside the surface. One-bit surfaces read as black or white.
    Color pixel(int x, int y) const;
    void setPixel(int x, int y, Color c);
    void fill(Color c);
    void clear() { fill(back_); }

    std::uint32_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::uint32_t* data() { return pixels_.data(); }
    const std::uint32_t* data() const { return pixels_.data(); }

    // Stamp of the current contents: every change draws a new number, never used before by any
    // surface, so equal stamps mean equal contents (a copy keeps its original's stamp). Views tell
    // from it when to repaint, caches when what they prepared from a surface is stale.
    std::uint64_t generation() const { return generation_; }
    void touch() { generation_ = nextStamp(); }

    Surface(const Surface&) = default;
    Surface& operator=(const Surface&) = default;
    // A moved-from surface is the null handle with a fresh stamp.
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;

  private:
    static std::uint64_t nextStamp();

    int width_ = 0;
    int height_ = 0;
    bool mono_ = false;
    Color back_ = kWhite;
    Color bk_ = kWhite;
    Color fore_ = kBlack;
    int fontPx_ = 12;
    std::uint64_t generation_ = nextStamp();
    std::vector<std::uint32_t> pixels_;
};

// Copies the w x h rectangle at (sx, sy) of src to (x, y) of dst with a raster operation.
// The rectangle is clipped to both surfaces. Between a colour and a one-bit surface the pixels
// convert: colour to one bit gives 1 where the pixel equals src's bkColor, else 0; one bit to
// colour gives white for 1 and black for 0. Returns false when either surface is null.
bool bitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop rop);

// A colour-to-colour source copy that writes only the rows that differ and touches dst only when
// a pixel changed, so an unchanged picture keeps its stamp and its viewers skip it. Answers
// whether a pixel changed. Clipped as bitBlt; other copies (one-bit surfaces, a surface onto
// itself) are done by bitBlt and count as changed.
bool copyChanged(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy);
// Fills the w x h rectangle at (x, y), clipped to dst, with c; touches dst and answers true only
// when a pixel changed.
bool fillChanged(Surface& dst, int x, int y, int w, int h, Color c);

// Scaled copy by repeating pixels (nearest neighbour); plain source copy.
bool stretchBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                int sw, int sh);

} // namespace plat
