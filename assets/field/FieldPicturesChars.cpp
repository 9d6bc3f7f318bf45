// The character chip sheet: three people, each in 3 poses (columns) x 4 facings (rows).
// Rows are the map directions as they look on screen: 0 up = away to the upper right, 1 right =
// toward the lower right, 2 down = toward the lower left, 3 left = away to the upper left. So
// each person is drawn twice (front and back, turned right) and mirrored for the other two.
#include <cmath>

#include "assets/field/FieldPictures.h"
#include "assets/field/PixelArt.h"

namespace assets {

namespace {

using art::Sprite;
using art::tint;

enum class Head { Headband, Cap, Elder };

struct Look {
    Head head;
    plat::Color skin, hair, top, trim, legs, shoes;
    bool robe; // long robe down to the feet instead of legs
};

const plat::Color kInk = plat::rgb(36, 26, 34);
const plat::Color kShadow = plat::rgb(52, 70, 48);
const plat::Color kEye = plat::rgb(30, 24, 40);

// Where the feet go for a pose: pose 1 stands, 0 and 2 stride with opposite legs forward.
// "Forward" is toward the lower right, the way the front view faces.
struct Stride {
    double nearX, nearY, farX, farY; // foot offsets of the near (right) and far (left) leg
    double nearArm, farArm;          // arm swing, opposite to the legs
    int bob;                         // the body sinks a pixel while the legs are apart
};

Stride strideFor(int pose) {
    switch (pose) {
    case 0: return {3.5, 1.0, -3.5, -1.5, -3.0, 3.0, 1};
    case 2: return {-3.5, -1.5, 3.5, 1.0, 3.0, -3.0, 1};
    default: return {0, 0, 0, 0, 0, 0, 0};
    }
}

void legs(Sprite& s, const Look& l, const Stride& st, bool back) {
    // Seen from behind, the leg nearer the viewer is the same one, but forward is away.
    const double dir = back ? -1.0 : 1.0;
    const double hipY = 39 + st.bob;
    const double nearFootX = 35 + st.nearX * dir, nearFootY = 48 + st.nearY * dir;
    const double farFootX = 29 + st.farX * dir, farFootY = 48 + st.farY * dir;
    if (l.robe) {
        // Feet peek out under the hem as it swings.
        s.ellipse(farFootX + 1, farFootY + 0.5, 3, 1.8, l.shoes);
        s.ellipse(nearFootX + 1, nearFootY + 0.5, 3, 1.8, l.shoes);
        const double sway = (st.nearX - st.farX) * 0.25 * dir;
        s.polygon({{25, 30 + st.bob}, {39, 30 + st.bob}, {42 + sway, 48.0}, {22 + sway, 48.0}},
                  l.top);
        s.rect(static_cast<int>(22 + sway), 46, 21, 2, l.trim);
        return;
    }
    s.stroke(29, hipY, farFootX, farFootY - 2, 1.9, tint(l.legs, 0.8));
    s.ellipse(farFootX + 1, farFootY, 3, 1.8, tint(l.shoes, 0.8));
    s.stroke(35, hipY, nearFootX, nearFootY - 2, 1.9, l.legs);
    s.ellipse(nearFootX + 1, nearFootY, 3, 1.8, l.shoes);
}

void torso(Sprite& s, const Look& l, const Stride& st, bool back) {
    const double b = st.bob;
    if (!l.robe) {
        s.polygon({{25, 26 + b}, {39, 26 + b}, {40, 41 + b}, {24, 41 + b}}, l.top);
        s.rect(25, 37 + st.bob, 15, 2, l.trim); // belt
        s.rect(31, 37 + st.bob, 3, 2, tint(l.trim, 1.3));
    } else {
        s.polygon({{25, 26 + b}, {39, 26 + b}, {40, 34 + b}, {24, 34 + b}}, l.top);
        s.rect(25, 33 + st.bob, 15, 2, l.trim);
    }
    // Light from the upper left, shadow on the right flank.
    s.shadeEllipse(41, 36 + b, 5, 12, tint(l.top, 0.78), l.top);
    if (back) s.rect(31, 27 + st.bob, 1, 9, tint(l.top, 0.85)); // seam down the back
}

void arm(Sprite& s, const Look& l, double sx, double sy, double swing, bool far) {
    const plat::Color sleeve = far ? tint(l.top, 0.75) : tint(l.top, 0.9);
    const double hx = sx + swing, hy = sy + 9 - std::abs(swing) * 0.4;
    s.stroke(sx, sy, hx, hy - 1, 1.8, sleeve);
    s.ellipse(hx, hy + 0.5, 2, 2, far ? tint(l.skin, 0.85) : l.skin);
}

void headFront(Sprite& s, const Look& l, int b) {
    const double cy = 16 + b;
    const int iy = static_cast<int>(cy);
    s.ellipse(32, cy, 10, 9.5, l.hair);
    if (l.head == Head::Elder) {
        s.ellipse(33, cy - 2, 8.5, 7.5, l.skin); // bald crown
        s.shadeEllipse(29, cy - 5, 3, 2, tint(l.skin, 1.12));
    }
    s.ellipse(34, cy + 2.5, 7.5, 6.5, l.skin);          // the face turns toward the right
    s.ellipse(26, cy + 2, 1.5, 2.5, tint(l.skin, 0.9)); // far ear
    s.rect(33, iy + 1, 2, 3, kEye);
    s.rect(38, iy + 1, 2, 3, kEye);
    s.set(33, iy + 1, plat::rgb(255, 255, 255));
    s.set(38, iy + 1, plat::rgb(255, 255, 255));
    s.rect(36, iy + 6, 3, 1, tint(l.skin, 0.7)); // mouth
    s.set(40, iy + 4, plat::rgb(236, 150, 140)); // cheek
    switch (l.head) {
    case Head::Headband:
        // Spiky fringe over the brow, a band below the crown.
        s.polygon({{23, cy - 3},
                   {27, cy - 12},
                   {30, cy - 8},
                   {33, cy - 13},
                   {36, cy - 8},
                   {40, cy - 11},
                   {42, cy - 3}},
                  l.hair);
        s.polygon({{28, cy - 3}, {42, cy - 4}, {41, cy + 1}, {30, cy - 1}}, l.hair);
        s.rect(23, iy - 5, 19, 2, l.trim);
        break;
    case Head::Cap:
        // Pointed cap whose tip flops backwards.
        s.polygon(
            {{21, cy - 2}, {43, cy - 3}, {38, cy - 11}, {28, cy - 13}, {19, cy - 14}, {22, cy - 9}},
            l.trim);
        s.rect(22, iy - 3, 21, 2, tint(l.trim, 0.75));
        s.polygon({{30, cy - 1}, {42, cy - 2}, {41, cy + 1}, {32, cy + 1}}, l.hair);
        break;
    case Head::Elder:
        // Bushy brows, a moustache over the mouth and a long pointed beard.
        s.rect(32, iy - 1, 4, 2, l.hair);
        s.rect(37, iy - 1, 4, 2, l.hair);
        s.polygon(
            {{29, cy + 5}, {42, cy + 5}, {41, cy + 10}, {37, cy + 19}, {33, cy + 12}, {29, cy + 9}},
            l.hair);
        s.shadeEllipse(39, cy + 12, 3, 6, tint(l.hair, 0.82), l.hair);
        s.rect(33, iy + 5, 9, 2, tint(l.hair, 0.9)); // moustache
        s.rect(36, iy + 8, 3, 1, tint(l.skin, 0.6)); // mouth in the beard
        break;
    }
}

void headBack(Sprite& s, const Look& l, int b) {
    const double cy = 16 + b;
    s.ellipse(32, cy, 10, 9.5, l.hair);
    s.ellipse(41, cy + 2, 1.5, 2.5, l.skin); // near ear at the edge of the turned head
    s.shadeEllipse(36, cy + 5, 7, 5, tint(l.hair, 0.82), l.hair);
    switch (l.head) {
    case Head::Headband:
        s.polygon({{22, cy - 2},
                   {26, cy - 12},
                   {30, cy - 9},
                   {33, cy - 13},
                   {37, cy - 9},
                   {41, cy - 10},
                   {42, cy - 2}},
                  l.hair);
        s.rect(22, static_cast<int>(cy) - 5, 20, 2, l.trim);
        // Knot and tails of the band flutter behind.
        s.polygon({{23, cy - 5}, {16, cy - 1}, {18, cy + 1}, {24, cy - 3}}, l.trim);
        s.polygon({{23, cy - 4}, {18, cy + 4}, {20, cy + 5}, {24, cy - 2}}, tint(l.trim, 0.8));
        break;
    case Head::Cap:
        s.polygon(
            {{21, cy - 2}, {43, cy - 3}, {38, cy - 11}, {28, cy - 13}, {19, cy - 14}, {22, cy - 9}},
            l.trim);
        s.rect(22, static_cast<int>(cy) - 3, 21, 2, tint(l.trim, 0.75));
        break;
    case Head::Elder:
        // Bald crown over a ring of white hair at the back of the head.
        s.ellipse(32, cy - 3, 9, 6.5, l.skin);
        s.shadeEllipse(28, cy - 6, 3, 2, tint(l.skin, 1.12));
        s.shadeEllipse(36, cy - 1, 6, 3, tint(l.skin, 0.9), l.skin);
        for (int x = 24; x <= 40; x += 4)
            s.set(x, static_cast<int>(cy) + 4, tint(l.hair, 0.8));
        break;
    }
}

Sprite figure(const Look& l, int pose, bool back) {
    const Stride st = strideFor(pose);
    Sprite f(64, 64);
    const double shoulderY = 28 + st.bob;
    // Back to front: the arm on the far side, legs, body, near arm, head.
    arm(f, l, 25, shoulderY, back ? st.nearArm : st.farArm, true);
    legs(f, l, st, back);
    torso(f, l, st, back);
    if (l.head == Head::Elder && !back) {
        // A walking staff in the near hand.
        f.stroke(43, 18 + st.bob, 43, 49, 1.0, plat::rgb(150, 100, 50));
        f.ellipse(43, 17 + st.bob, 2, 2, plat::rgb(120, 190, 230));
    }
    arm(f, l, 39, shoulderY, back ? st.farArm : st.nearArm, false);
    if (back)
        headBack(f, l, st.bob);
    else
        headFront(f, l, st.bob);
    if (back && l.head == Head::Headband) {
        // A short cape tells the hero apart from behind.
        f.polygon(
            {{25, 27.0 + st.bob}, {39, 27.0 + st.bob}, {41, 40.0 + st.bob}, {23, 40.0 + st.bob}},
            plat::rgb(196, 48, 48));
        f.shadeEllipse(40, 36 + st.bob, 4, 8, plat::rgb(150, 34, 36));
    }
    f.outline(kInk);

    Sprite s(64, 64);
    s.ellipse(32, 49.5, 11, 3.5, kShadow);
    s.overlay(f, 0, 0);
    return s;
}

// One person's 3 x 4 block at sheet x = originX.
void drawPerson(plat::Surface& sheet, int originX, const Look& l) {
    for (int pose = 0; pose < 3; ++pose) {
        const Sprite front = figure(l, pose, false);
        const Sprite back = figure(l, pose, true);
        // Mirroring swaps which leg is forward; swap the pose too so that column 0 always has
        // the same leg leading in every facing.
        const Sprite frontM = figure(l, 2 - pose, false);
        const Sprite backM = figure(l, 2 - pose, true);
        const int x = originX + pose * 64;
        back.stamp(sheet, x, 0, kKeyGreen);           // 0 up: away, to the upper right
        front.stamp(sheet, x, 64, kKeyGreen);         // 1 right: toward the lower right
        frontM.stamp(sheet, x, 128, kKeyGreen, true); // 2 down: toward the lower left
        backM.stamp(sheet, x, 192, kKeyGreen, true);  // 3 left: away, to the upper left
    }
}

} // namespace

plat::Surface makeCharChipSheet() {
    plat::Surface sheet = plat::Surface::colour(576, 256);
    sheet.fill(kKeyGreen);
    // The hero: spiky brown hair, red headband, blue tunic.
    drawPerson(sheet, 0,
               {Head::Headband, plat::rgb(248, 204, 160), plat::rgb(120, 70, 36),
                plat::rgb(52, 96, 200), plat::rgb(214, 52, 48), plat::rgb(96, 72, 52),
                plat::rgb(92, 52, 28), false});
    // The runaway: pointed green cap, orange hair, green tunic, pale tights.
    drawPerson(sheet, 192,
               {Head::Cap, plat::rgb(250, 212, 170), plat::rgb(232, 124, 40),
                plat::rgb(64, 160, 72), plat::rgb(36, 112, 52), plat::rgb(232, 226, 200),
                plat::rgb(120, 72, 40), false});
    // The elder: white beard, purple robe, a staff.
    drawPerson(sheet, 384,
               {Head::Elder, plat::rgb(236, 190, 150), plat::rgb(240, 240, 236),
                plat::rgb(128, 72, 156), plat::rgb(236, 196, 72), plat::rgb(128, 72, 156),
                plat::rgb(84, 60, 44), true});
    return sheet;
}

} // namespace assets
