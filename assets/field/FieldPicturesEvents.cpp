// The event chip sheet: heap, sign, one-eyed monster, cloud, short and tall ladder. Each chip
// stands on its cell, so its bottom edge is the diamond's bottom corner and (32, h - 16) is the
// middle of the cell.
#include <cmath>

#include "assets/field/FieldPictures.h"
#include "assets/field/PixelArt.h"

namespace assets {

namespace {

using art::Sprite;
using art::tint;

const plat::Color kInk = plat::rgb(40, 26, 30);
const plat::Color kShadow = plat::rgb(52, 70, 48);

Sprite heap() {
    Sprite s(64, 32);
    s.ellipse(32, 18, 15, 5, kShadow);
    Sprite h(64, 32);
    const plat::Color brown = plat::rgb(140, 92, 48);
    h.ellipse(32, 16, 13, 5.5, brown);
    h.ellipse(31, 12.5, 9, 4.5, brown);
    h.ellipse(32, 9.5, 5, 3.5, brown);
    h.polygon({{30, 8}, {33, 3}, {35, 8}}, brown);
    h.shadeEllipse(36, 17, 10, 5, tint(brown, 0.78));  // shaded right-front
    h.shadeEllipse(27, 11, 4, 2.5, tint(brown, 1.25)); // highlight on top-left
    h.set(25, 16, tint(brown, 1.25));
    h.set(38, 13, tint(brown, 0.7));
    h.set(30, 18, tint(brown, 0.7));
    h.outline(kInk);
    s.overlay(h, 0, 0);
    return s;
}

Sprite sign() {
    Sprite s(64, 32);
    s.ellipse(32, 18, 8, 3, kShadow);
    Sprite g(64, 32);
    const plat::Color wood = plat::rgb(186, 134, 74);
    g.rect(31, 8, 3, 11, tint(wood, 0.75));
    g.polygon({{17, 2}, {47, 2}, {47, 12}, {17, 12}}, wood);
    g.rect(17, 2, 31, 1, tint(wood, 1.2));
    g.rect(17, 11, 31, 1, tint(wood, 0.8));
    // A few strokes of writing.
    const plat::Color text = plat::rgb(76, 46, 22);
    g.rect(20, 5, 9, 1, text);
    g.rect(31, 5, 6, 1, text);
    g.rect(39, 5, 5, 1, text);
    g.rect(20, 8, 5, 1, text);
    g.rect(27, 8, 11, 1, text);
    g.outline(kInk);
    s.overlay(g, 0, 0);
    return s;
}

Sprite monster() {
    Sprite s(64, 64);
    s.ellipse(32, 49, 15, 4, kShadow);
    Sprite m(64, 64);
    const plat::Color body = plat::rgb(132, 84, 176);
    const plat::Color dark = tint(body, 0.72);
    const plat::Color horn = plat::rgb(236, 222, 176);
    // Horns, feet and arms behind and beside the round body.
    m.polygon({{20, 22}, {14, 8}, {25, 17}}, horn);
    m.polygon({{44, 22}, {50, 8}, {39, 17}}, horn);
    m.ellipse(24, 47, 6, 3.5, dark);
    m.ellipse(40, 47, 6, 3.5, dark);
    m.stroke(16, 32, 10, 40, 2.5, body);
    m.stroke(48, 32, 54, 40, 2.5, body);
    m.ellipse(32, 32, 17, 15, body);
    m.shadeEllipse(38, 38, 15, 11, dark);
    m.shadeEllipse(25, 24, 6, 4, tint(body, 1.25));
    // The one big eye.
    m.ellipse(32, 28, 8, 7, plat::rgb(250, 250, 240));
    m.ellipse(33, 29, 4, 4.5, plat::rgb(200, 40, 40));
    m.ellipse(33, 29, 2, 2.5, plat::rgb(20, 10, 20));
    m.set(31, 26, plat::rgb(255, 255, 255));
    m.set(32, 26, plat::rgb(255, 255, 255));
    // Fanged mouth.
    m.rect(26, 39, 13, 2, plat::rgb(70, 20, 40));
    m.polygon({{28, 39}, {30, 39}, {29, 42}}, plat::rgb(255, 255, 255));
    m.polygon({{35, 39}, {37, 39}, {36, 42}}, plat::rgb(255, 255, 255));
    m.outline(kInk);
    s.overlay(m, 0, 0);
    return s;
}

Sprite cloud() {
    Sprite s(64, 32);
    const plat::Color white = plat::rgb(250, 252, 255);
    const plat::Color shade = plat::rgb(204, 216, 240);
    s.ellipse(32, 19, 24, 8, shade);
    s.ellipse(22, 15, 11, 8, white);
    s.ellipse(36, 12, 13, 9, white);
    s.ellipse(47, 17, 9, 6.5, white);
    s.ellipse(30, 19, 20, 6, white);
    s.shadeEllipse(32, 26, 26, 5, shade);
    s.outline(plat::rgb(150, 166, 204));
    return s;
}

// An upright ladder of the given height; rails leave room for the outline at both ends.
Sprite ladder(int height) {
    Sprite s(64, height);
    const plat::Color wood = plat::rgb(192, 134, 70);
    const plat::Color dark = plat::rgb(120, 76, 36);
    for (int y = height - 6; y > 0; y -= 6)
        s.rect(24, y, 16, 2, wood);
    s.rect(20, 1, 4, height - 2, wood);
    s.rect(40, 1, 4, height - 2, wood);
    s.rect(23, 1, 1, height - 2, dark);
    s.rect(43, 1, 1, height - 2, dark);
    s.rect(20, 1, 1, height - 2, tint(wood, 1.2));
    s.rect(40, 1, 1, height - 2, tint(wood, 1.2));
    s.outline(plat::rgb(64, 38, 18));
    return s;
}

} // namespace

plat::Surface makeEventChipSheet() {
    plat::Surface sheet = plat::Surface::colour(256, 64);
    sheet.fill(kKeyGreen);
    heap().stamp(sheet, 0, 0, kKeyGreen);
    sign().stamp(sheet, 0, 32, kKeyGreen);
    monster().stamp(sheet, 64, 0, kKeyGreen);
    cloud().stamp(sheet, 128, 0, kKeyGreen);
    ladder(32).stamp(sheet, 128, 32, kKeyGreen);
    ladder(64).stamp(sheet, 192, 0, kKeyGreen);
    return sheet;
}

} // namespace assets
