#include "field/graphics/Composition.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace field {

namespace {

constexpr int kMapChipWidth = 64;
constexpr int kMapChipHeight = 39;

// Screen and cell arithmetic runs in 64 bits and is clamped to this, far outside any surface,
// so a corrupt position is simply off screen rather than an overflow.
constexpr std::int64_t kFarAway = 1 << 24;

int clampFar(std::int64_t v) {
    return static_cast<int>(std::clamp(v, -kFarAway, kFarAway));
}

// twice / 2 rounded to the nearest integer, ties to the even one.
int halfToEven(std::int64_t twice) {
    const std::int64_t down = twice >= 0 ? twice / 2 : -((1 - twice) / 2); // floor of twice / 2
    if (twice % 2 == 0) return clampFar(down);
    return clampFar(down % 2 == 0 ? down : down + 1);
}

bool ticked(const plat::CheckBox* box) {
    return box == nullptr || box->value != 0;
}

bool layerShown(const ViewControls& view, int layer) {
    if (layer < 0 || layer >= static_cast<int>(view.layerBoxes.size())) return true;
    return ticked(view.layerBoxes[layer]);
}

bool planeShown(const ViewControls& view, int plane) {
    return ticked(view.planeBoxes[plane]);
}

// Left edge of a cell's diamond.
int screenX(const field::World& w, int x, int y) {
    const std::int64_t dx = std::int64_t{x} - w.player.x, dy = std::int64_t{y} - w.player.y;
    return clampFar((dx - dy) * 32 + kPlayerDrawX);
}

// Top corner of a cell's diamond; each layer up lifts it 64 pixels.
int screenY(const field::World& w, int x, int y, int layer) {
    const std::int64_t dx = std::int64_t{x} - w.player.x, dy = std::int64_t{y} - w.player.y;
    return clampFar((dx + dy + 4) * 16 + 32 - 64 * (std::int64_t{layer} - w.player.layer));
}

template <typename Ch> void advanceWalkFrame(Ch& ch, int threshold, int moving) {
    if (ch.animTicks > threshold) {
        ch.animTicks = 0;
        if (ch.animColumn == 1 && moving != 0) {
            const std::int16_t next = ch.lastStride == 0 ? 2 : 0;
            ch.animColumn = next;
            ch.lastStride = next;
        } else {
            ch.animColumn = 1;
        }
    } else {
        ++ch.animTicks;
    }
}

// While a script owns the game only that script's object keeps walking; the rest freeze.
bool mayAnimate(const field::World& w, int eventNo) {
    return w.systemRun.activeObject == eventNo || w.inputLocked == 0;
}

// The cells one layer's walk visits on the map, row by row in walk order. The four planes of a
// layer walk the same cells, so the walk is worked out once per layer.
struct LayerWalk {
    std::vector<CellPos> cells;
    std::vector<int> rowStart; // row i's cells are [rowStart[i], rowStart[i + 1])

    int rows() const { return static_cast<int>(rowStart.size()) - 1; }

    void build(const field::World& w, int firstRow, int lastRow, int width, int height) {
        cells.clear();
        rowStart.clear();
        const int last = width / 64;
        for (int r = firstRow; r <= lastRow; ++r) {
            rowStart.push_back(static_cast<int>(cells.size()));
            for (int k = firstColumn(r, width); k <= last; k += 2) {
                const CellPos cell = rowCell(r, k, w.player.x, w.player.y, width, height);
                // Most of the walk lies outside the map; only cells on it are kept.
                if (cell.x < 0 || cell.x > w.maxX || cell.y < 0 || cell.y > w.maxY) continue;
                cells.push_back(cell);
            }
        }
        rowStart.push_back(static_cast<int>(cells.size()));
    }
};

void drawWalkRow(DrawContext& c, const LayerWalk& walk, int shade, int layer, int plane, int i) {
    if (!planeShown(c.view, plane)) return;
    for (int j = walk.rowStart[i]; j < walk.rowStart[i + 1]; ++j) {
        drawCell(c, shade, layer, plane, walk.cells[j].x, walk.cells[j].y);
    }
}

} // namespace

int layerShade(int baseShade, int layer, int playerLayer) {
    const int level = layer == playerLayer ? baseShade : baseShade + 2;
    return std::min(level, 3);
}

int firstColumn(int r, int width) {
    return r % 2 - width / 64;
}

CellPos rowCell(int r, int k, int playerX, int playerY, int width, int height) {
    // X = (r + k) / 2 + playerX - (width div 64) / 2, rounded half to even; computed on twice the
    // value in integers, which gives the same cell as the floating sum without its cost.
    const std::int64_t twiceX = std::int64_t{r} + k + 2 * std::int64_t{playerX} - width / 64;
    const std::int64_t twiceY = std::int64_t{r} - k + 2 * std::int64_t{playerY} - height / 32;
    return {halfToEven(twiceX), halfToEven(twiceY)};
}

void renderFrame(field::FieldSurfaces& g, plat::Color key, int baseShade, const Sheets& sheets,
                 field::World& world, int drawX, int drawY, int width, int height,
                 const ViewControls& view) {
    field::clearComposition(g, sheets.primary);
    DrawContext c{g, key, sheets, world, drawX, drawY, view};
    // Kept from frame to frame, so that a frame allocates nothing once the walk has grown.
    thread_local LayerWalk walk;
    const int topLayer = std::min<int>(world.topLayer, static_cast<int>(world.layers.size()) - 1);
    for (int layer = 0; layer <= topLayer; ++layer) {
        if (!layerShown(view, layer)) continue;
        const int shade = layerShade(baseShade, layer, world.player.layer);
        const int t = (layer - world.player.layer) * 4;
        const int firstRow = t - 2;
        const int lastRow = t + (height / 32) * 2 - 1;
        walk.build(world, firstRow, lastRow, width, height);
        for (int i = 0; i < walk.rows(); ++i) {
            drawWalkRow(c, walk, shade, layer, field::kPlaneGround, i);
        }
        // Base and character planes interleave row by row so nearer rows cover farther ones.
        for (int i = 0; i < walk.rows(); ++i) {
            drawWalkRow(c, walk, shade, layer, field::kPlaneBase, i);
            drawWalkRow(c, walk, shade, layer, field::kPlaneChar, i);
        }
        for (int i = 0; i < walk.rows(); ++i) {
            drawWalkRow(c, walk, shade, layer, field::kPlaneAbove, i);
        }
    }
    field::compositionDone(g, sheets.primary);
}

void drawCell(DrawContext& c, int shade, int layer, int plane, int x, int y) {
    const field::World& w = c.world;
    if (!w.inMap(layer, plane, x, y)) return;
    const field::MapCell& cell = w.cell(layer, plane, x, y);
    const int eventId = cell.eventId;
    // Most cells of the upper planes hold nothing: no chip, no object.
    if (cell.kind != 0) drawMapChip(c, shade, layer, plane, x, y);
    if (eventId != 0) drawEventObject(c, shade, eventId);
    const field::CharState& p = w.player;
    if (p.x == x && p.y == y && p.layer == layer && p.plane == plane) drawPlayer(c, shade);
}

void drawMapChip(DrawContext& c, int shade, int layer, int plane, int x, int y) {
    const field::World& w = c.world;
    if (!w.inMap(layer, plane, x, y)) return;
    const field::MapCell& cell = w.cell(layer, plane, x, y);
    if (cell.kind == 0) return;
    const int sx = screenX(w, x, y);
    const int sy = screenY(w, x, y, layer);
    const int width = c.sheets.primary.width();
    const int height = c.sheets.primary.height();
    // Chips near the edge are skipped whole: the margin hides them anyway.
    if (sx < 32 || sx + 64 > width - 32 || sy < 16 || sy + 32 > height - 16) return;
    field::maskedCopyFast(c.g, c.sheets.primary, sx, sy, kMapChipWidth, kMapChipHeight,
                          c.sheets.mapChips, cell.chipX, cell.chipY, c.key, shade);
}

void drawEventObject(DrawContext& c, int shade, int eventNo) {
    field::World& w = c.world;
    if (eventNo < 1 || eventNo > w.eventCount || eventNo >= static_cast<int>(w.events.size())) {
        return;
    }
    field::EventObject& e = w.events[eventNo];
    if (e.visible == 0) return;
    const plat::Surface* sheet =
        chipSheetSurface(e.chipSheet, c.sheets.charChips, c.sheets.eveChips);
    const bool animates = usesCharacterSheet(e.chipSheet);
    int srcX = e.sheetX + e.animColumn * e.chipWidth;
    int srcY = e.sheetY + e.facing * e.chipHeight;
    int chipW = e.chipWidth;
    int chipH = e.chipHeight;
    if (e.x < 0 || e.x > w.maxX || e.y < 0 || e.y > w.maxY) return;

    const int width = c.sheets.primary.width();
    const int height = c.sheets.primary.height();
    int sx = screenX(w, e.x, e.y);
    // The chip stands on its cell: its bottom edge is the diamond's bottom corner.
    int sy = screenY(w, e.x, e.y, e.layer) + 32 - chipH;
    if (sheet != nullptr && sx >= 32 && sx <= width - 32 && sy + chipH > 32 &&
        sy + chipH <= height - 16) {
        if (width > sx && width <= sx + chipW) chipW = width - 32 - sx;
        if (sy < 0 && sy + chipH >= 0) {
            srcY -= sy;
            chipH += sy;
            sy = 0;
        }
        if (chipW > 0 && chipH > 0) {
            field::maskedCopy(c.g, c.sheets.primary, sx, sy, chipW, chipH, *sheet, srcX, srcY,
                              c.key, shade);
        }
    }
    if (animates && mayAnimate(w, eventNo)) {
        const int threshold = static_cast<int>(std::nearbyint(e.stepInterval * 3.0 / 4.0));
        stepWalkAnimation(e, threshold, e.moving);
    }
}

void drawPlayer(DrawContext& c, int shade) {
    field::CharState& p = c.world.player;
    if (p.visible == 0) return;
    const plat::Surface* sheet =
        chipSheetSurface(p.chipSheet, c.sheets.charChips, c.sheets.eveChips);
    const int srcX = p.sheetX + p.animColumn * p.chipWidth;
    const int srcY = p.sheetY + p.facing * p.chipHeight;
    if (sheet != nullptr && p.chipWidth > 0 && p.chipHeight > 0) {
        if (p.chipWidth <= field::kWorkWidth && p.chipHeight <= field::kWorkHeight) {
            field::maskedCopyFast(c.g, c.sheets.primary, c.drawX, c.drawY, p.chipWidth,
                                  p.chipHeight, *sheet, srcX, srcY, c.key, shade);
        } else {
            // The cached work surfaces cannot hold it; the general copy can.
            field::maskedCopy(c.g, c.sheets.primary, c.drawX, c.drawY, p.chipWidth, p.chipHeight,
                              *sheet, srcX, srcY, c.key, shade);
        }
    }
    if (usesCharacterSheet(p.chipSheet)) stepWalkAnimation(p, 3, p.moving);
    if (c.view.positionLabel != nullptr) {
        const std::string text = std::to_string(p.x) + "," + std::to_string(p.y);
        c.view.positionLabel->caption.assign(text.begin(), text.end());
    }
}

const plat::Surface* chipSheetSurface(int chipSheet, const plat::Surface& charChips,
                                      const plat::Surface& eveChips) {
    switch (chipSheet) {
    case 0: return &charChips;
    case 1: return &eveChips;
    default: return nullptr;
    }
}

bool usesCharacterSheet(int chipSheet) {
    return chipSheet == 0;
}

void stepWalkAnimation(field::CharState& ch, int threshold, int moving) {
    advanceWalkFrame(ch, threshold, moving);
}

void stepWalkAnimation(field::EventObject& ch, int threshold, int moving) {
    advanceWalkFrame(ch, threshold, moving);
}

} // namespace field
