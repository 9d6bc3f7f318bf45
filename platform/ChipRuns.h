// Chips prepared once as runs of opaque pixels, so that putting one down copies its opaque
// pixels (ANDed with the shade row when shaded) and never looks at its key-colour pixels again.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/Surface.h"

namespace plat {

// Per band of eight rows of a surface, the span of columns written since the last reset: what
// a later clear has to fill again. Bands rather than rows keep the bookkeeping per chip short.
class DrawnSpans {
  public:
    static constexpr int kBandRows = 8;

    void reset(int height);
    // Rows [y0, y1) got pixels written in [x0, x1); what lies outside the surface is ignored.
    void add(int y0, int y1, int x0, int x1) {
        if (x0 >= x1) return;
        const int b0 = std::max(y0, 0) / kBandRows;
        const int b1 = (std::min(y1, height_) + kBandRows - 1) / kBandRows;
        for (int b = b0; b < b1; ++b) {
            Span& s = bands_[static_cast<std::size_t>(b)];
            s.lo = x0 < s.lo ? x0 : s.lo;
            s.hi = x1 > s.hi ? x1 : s.hi;
        }
    }
    int height() const { return height_; }
    // The written span of row y's band; empty (lo >= hi) when nothing was written there.
    int lo(int y) const { return bands_[static_cast<std::size_t>(y / kBandRows)].lo; }
    int hi(int y) const { return bands_[static_cast<std::size_t>(y / kBandRows)].hi; }
    // Whether every span lies within the same band's span of `other`, of the same height.
    bool within(const DrawnSpans& other) const;

  private:
    struct Span {
        int lo;
        int hi;
    };
    int height_ = 0;
    std::vector<Span> bands_;
};

// The masked copy of MaskedCopy.h, with the opaque runs of each chip worked out the first time
// the chip is drawn and kept for as long as its sheet's contents stay the same.
class ChipRunCache {
  public:
    // Same result as plat::maskedCopy. A chip lying wholly inside both surfaces, with a shade
    // tile at least as wide as the chip (or none), is drawn from its runs; any other copy goes
    // through maskedCopy. When `drawn` is given, every row the copy may have written is added.
    bool draw(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
              Color key, const Surface* shade, DrawnSpans* drawn = nullptr);
    // Forgets every prepared chip (and puts down what is still queued).
    void clear();

    // Batch onto one surface: first the given spans of `dst` are filled with `back`, then every
    // whole chip drawn onto `dst` is queued, and endBatch() puts it all down band by band, so a
    // band of the surface stays in the processor's cache while all its chips land on it. The
    // result is the same as drawing each chip at once; a copy that cannot be queued first puts
    // down what is queued, so the order of the copies is kept. When the surface still holds
    // what the last batch put down, untouched since, and the batch would put down the same
    // chips in the same order over a clear within the last one's, nothing is written and the
    // surface keeps its stamp.
    void beginBatch(Surface& dst, Color back, const DrawnSpans& toClear);
    void endBatch();

  private:
    struct Run {
        std::uint16_t start;
        std::uint16_t length;
    };
    struct Chip {
        std::uint64_t stamp = 0; // the sheet's contents the runs were taken from; 0 = unused
        int sx = 0, sy = 0, w = 0, h = 0;
        Color key = 0;
        std::vector<Run> runs;
        std::vector<std::uint32_t> rowStart; // row r's runs are [rowStart[r], rowStart[r + 1])
        int lo = 0, hi = 0;                  // every opaque pixel lies in columns [lo, hi)
        // The same pixels as one bit each, in chunks of 16: chunk c of row r is
        // chunkMasks[r * chunks + c], bit i standing for pixel 16 c + i.
        int chunks = 0;
        std::vector<std::uint16_t> chunkMasks;
        // The chip's pixels ANDed with a shade tile anchored at its top-left corner, rows of w,
        // for the last few tiles (a frame shades each layer by its own), each with the stamp of
        // the tile's contents it was made from; 0 = unused.
        struct Shaded {
            std::uint64_t stamp = 0;
            std::vector<std::uint32_t> pixels;
        };
        std::array<Shaded, 4> shaded;
        std::size_t nextShaded = 0;
    };
    static constexpr std::size_t kSlots = 64;
    static constexpr std::size_t kProbes = 4;
    // A chip waiting in the batch, with its source and shade rows.
    struct Queued {
        const Chip* chip;
        int x, y;
        const std::uint32_t* src; // the chip's top-left pixel on its sheet
        std::ptrdiff_t srcStride;
        const Surface* shade;
        std::uint64_t shadeStamp; // of the shade tile ANDed into `src`; 0 = unshaded
    };
    // What a queued chip puts down, by value: equal entries write equal pixels.
    struct PutDown {
        std::uint64_t sheetStamp, shadeStamp;
        int sx, sy, w, h, x, y;
        Color key;
        bool operator==(const PutDown&) const = default;
    };

    Chip& prepared(const Surface& src, int sx, int sy, int w, int h, Color key);
    // Works out the runs and chunk masks of a chip whose place and key are set.
    static void takeRuns(Chip& c, const Surface& src);
    static void takeRowRuns(Chip& c, int r, const std::uint32_t* row);
    // The chip's pixels under the shade tile, made once per tile's contents.
    const std::uint32_t* shadedPixels(Chip& chip, const Surface& src, const Surface& shade);
    // Puts down rows [r0, r1) of a chip.
    static void putDown(Surface& dst, const Queued& q, int r0, int r1);
    // Clears what is still to be cleared and puts down the queue, band by band.
    void flush();
    // Whether the flush would leave the batch's surface as it is (see beginBatch).
    bool flushWritesNothing() const;
    static PutDown putDownOf(const Queued& q);

    std::array<Chip, kSlots> chips_;
    std::size_t evict_ = 0;
    Surface* batch_ = nullptr;
    Color back_ = 0;
    DrawnSpans toClear_;
    std::vector<std::uint32_t> backRow_;
    std::vector<Queued> queue_;
    // The last flush that wrote: its surface and that surface's stamp right after, the spans it
    // cleared (there the surface holds exactly the back colour under the chips) and its chips.
    const Surface* lastDst_ = nullptr;
    std::uint64_t lastStamp_ = 0;
    Color lastBack_ = 0;
    DrawnSpans lastCleared_;
    std::vector<PutDown> lastPuts_;
};

} // namespace plat
