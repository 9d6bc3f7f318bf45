// A composition rig: a World on a small or built-in map, sheets whose every pixel names its own
// sheet position (so a composed pixel tells where it was copied from), the 514 x 258 composition
// surface and the seven layer and plane boxes.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "field/World.h"
#include "field/graphics/Composition.h"
#include "field/graphics/FieldSurfaces.h"
#include "platform/Form.h"
#include "platform/MaskedCopy.h"

namespace chipdraw_rig {

constexpr plat::Color kKey = plat::rgb(0, 255, 0);
constexpr plat::Color kBack = plat::rgb(150, 150, 255);
constexpr int kW = 514;
constexpr int kH = 258;

// Red = x mod 256, green = 1 + x div 256, blue = y: never the key, unique per position.
inline plat::Color coded(int x, int y) {
    return plat::rgb(x % 256, 1 + x / 256, y);
}
inline plat::Surface codedSheet(int w, int h) {
    plat::Surface s = plat::Surface::colour(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            s.setPixel(x, y, coded(x, y));
    }
    return s;
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "(" << r.x << ", " << r.y << ") " << r.w << " x " << r.h;
}

// Bounding box of the pixels that are not the back colour; nullopt when there are none.
inline std::optional<Rect> drawnBounds(const plat::Surface& s, plat::Color back = kBack) {
    int x0 = s.width(), y0 = s.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            if (s.pixel(x, y) == back) continue;
            x0 = std::min(x0, x);
            y0 = std::min(y0, y);
            x1 = std::max(x1, x);
            y1 = std::max(y1, y);
        }
    }
    if (x1 < 0) return std::nullopt;
    return Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

struct Rig {
    field::World world;
    field::FieldSurfaces g;
    plat::Surface masks[3];
    plat::Surface mapChips = codedSheet(192, 80);
    plat::Surface charChips = codedSheet(576, 256);
    plat::Surface eveChips = codedSheet(256, 64);
    plat::Surface primary = plat::Surface::colour(kW, kH);
    plat::CheckBox layerBox[3]{plat::CheckBox("chkLayerSet", 0), plat::CheckBox("chkLayerSet", 1),
                               plat::CheckBox("chkLayerSet", 2)};
    plat::CheckBox planeBox[4]{plat::CheckBox("chkLayer", 0), plat::CheckBox("chkLayer", 1),
                               plat::CheckBox("chkLayer", 2), plat::CheckBox("chkLayer", 3)};
    plat::Label positionLabel{"lblXY"};
    field::ViewControls view;
    field::Sheets sheets{mapChips, charChips, eveChips, primary};

    Rig() {
        for (int i = 0; i < 3; ++i)
            masks[i] = field::makeShadeMaskPicture(i + 1);
        field::initShadeMasks(g, 64, 64, &masks[0], &masks[1], &masks[2]);
        primary.setBackColor(kBack);
        primary.clear();
        field::initMaskedCopy(g, &primary, &primary);
        for (int i = 0; i < 3; ++i) {
            layerBox[i].value = 1;
            view.layerBoxes[i] = &layerBox[i];
        }
        for (int i = 0; i < 4; ++i) {
            planeBox[i].value = 1;
            view.planeBoxes[i] = &planeBox[i];
        }
        view.positionLabel = &positionLabel;
        positionLabel.caption = u"unchanged";
        field::initPlayer(world);
        world.resizeMap(8, 5, 2);
        // References handed out by place() must survive later places.
        world.events.reserve(64);
    }

    void render(int baseShade = 0) {
        field::renderFrame(g, kKey, baseShade, sheets, world, 224, 64, kW, kH, view);
    }
    field::DrawContext context() {
        return field::DrawContext{g, kKey, sheets, world, 224, 64, view};
    }

    // Puts object n (growing the event table as needed) on its own cell of its plane.
    field::EventObject& place(int n, int layer, int plane, int x, int y, int sheet, int sheetX,
                              int sheetY, int w, int h) {
        if (world.eventCount < n) {
            world.eventCount = n;
            world.events.resize(static_cast<std::size_t>(n) + 1);
        }
        field::EventObject& e = world.events[n];
        e = field::EventObject{};
        e.visible = -1;
        e.chipSheet = static_cast<std::int16_t>(sheet);
        e.layer = static_cast<std::int16_t>(layer);
        e.plane = static_cast<std::int16_t>(plane);
        e.x = x;
        e.y = y;
        e.sheetX = sheetX;
        e.sheetY = sheetY;
        e.chipWidth = w;
        e.chipHeight = h;
        world.cell(layer, plane, x, y).eventId = static_cast<std::int16_t>(n);
        return e;
    }
    void ground(int layer, int x, int y, int chipX = 64, int chipY = 0) {
        field::MapCell& c = world.cell(layer, 0, x, y);
        c.kind = 1;
        c.chipX = chipX;
        c.chipY = chipY;
    }
};

} // namespace chipdraw_rig
