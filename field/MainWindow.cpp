#include "field/MainWindow.h"

#include <cmath>
#include <limits>

#include "assets/field/FieldPictures.h"

namespace field {

namespace {

using namespace design;

constexpr plat::Color kPrimaryBack = plat::fromBgr(16750230); // red 150, green 150, blue 255

using plat::place;

void placeBox(plat::PictureBox& box, int left, int top, int width, int height) {
    place(box, left, top, width, height);
    box.setSize(width, height);
}

// Pictures arrive as surfaces; the box takes the surface's size.
void loadPicture(plat::PictureBox& box, plat::Surface picture) {
    box.surface = std::move(picture);
    box.width = box.surface.width();
    box.height = box.surface.height();
}

// Pointer coordinates arrive as floats; NaN or huge values must not become undefined casts.
std::int32_t roundPixel(float v) {
    if (!std::isfinite(v)) return 0;
    constexpr float kLimit = 1.0e9f;
    if (v > kLimit) v = kLimit;
    if (v < -kLimit) v = -kLimit;
    return static_cast<std::int32_t>(std::nearbyint(v));
}

} // namespace

MainWindow::MainWindow(plat::Services& sv) : plat::Form("frmMain"), sv_(sv) {
    caption = u"Haruvel";
    add(lblFlipCopy);
    add(PicFlipCopy);
    add(fraXY);
    add(lblXY);
    add(cmdBigConsole);
    add(lblBackFiled2);
    add(PicBackFiled2);
    add(fraLayer);
    for (auto& c : chkLayerSet)
        add(c);
    for (auto& c : chkLayer)
        add(c);
    add(lblPrimarySurface);
    add(PicPrimarySurface);
    add(lblMapChips);
    add(PicMapChips);
    add(lblEveChips);
    add(PicEveChips);
    add(lblShadow25Mask);
    add(PicShadow25Mask);
    add(lblShadow50Mask);
    add(PicShadow50Mask);
    add(lblShadow75Mask);
    add(PicShadow75Mask);
    add(lblCharChips);
    add(PicCharChips);

    placeDesign();
    loadPictures();

    cmdBigConsole.onClick = [this] { cmdBigConsole_Click(); };
    PicFlipCopy.onMouseDown = [this](int b, int s, float x, float y) {
        PicFlipCopy_MouseDown(b, s, x, y);
    };
    PicFlipCopy.onMouseMove = [this](int b, int s, float x, float y) {
        PicFlipCopy_MouseMove(b, s, x, y);
    };
    PicFlipCopy.onMouseUp = [this](int b, int s, float x, float y) {
        PicFlipCopy_MouseUp(b, s, x, y);
    };
}

void MainWindow::placeDesign() {
    lblFlipCopy.caption = u"メイン窓";
    place(lblFlipCopy, kFlipLeft, 20, 120, 16);
    placeBox(PicFlipCopy, kFlipLeft, kFlipTop, kFlipWidth, kFlipHeight);
    PicFlipCopy.setBackColor(plat::kBlack);

    fraXY.caption = u"x,y座標";
    place(fraXY, kBigLeft, kFlipTop, kBigWidth, 56);
    lblXY.container = &fraXY;
    place(lblXY, 10, 24, 100, 20);

    cmdBigConsole.caption = u"＞";
    place(cmdBigConsole, kBigLeft, kBigTop, kBigWidth, kBigHeight);

    // Everything below lies outside the shrunk window until the enlarge button is pressed.
    lblBackFiled2.caption = u"キャラクタ動作確認窓";
    place(lblBackFiled2, 545, 20, 140, 16);
    placeBox(PicBackFiled2, 545, kFlipTop, 128, 128);
    PicBackFiled2.setBackColor(plat::kBlack);

    fraLayer.caption = u"レイヤ";
    place(fraLayer, 690, 20, 150, 150);
    for (int i = 0; i < 3; ++i) {
        plat::CheckBox& c = chkLayerSet[static_cast<std::size_t>(i)];
        c.container = &fraLayer;
        c.caption = std::u16string(1, static_cast<char16_t>(u'0' + i));
        c.value = 1;
        place(c, 10, 24 + i * 28, 50, 22);
    }
    static constexpr const char16_t* kPlaneCaptions[4] = {u"マップ", u"ベース", u"キャラ",
                                                          u"ｱﾊﾞｰﾌﾞ"};
    for (int i = 0; i < 4; ++i) {
        plat::CheckBox& c = chkLayer[static_cast<std::size_t>(i)];
        c.container = &fraLayer;
        c.caption = kPlaneCaptions[i];
        c.value = 1;
        place(c, 66, 24 + i * 28, 80, 22);
    }

    lblPrimarySurface.caption = u"初期描画用窓";
    place(lblPrimarySurface, 8, 250, 140, 16);
    placeBox(PicPrimarySurface, 8, 270, kPrimaryWidth, kPrimaryHeight);
    lblMapChips.caption = u"マップバックバッファ窓";
    place(lblMapChips, 535, 250, 200, 16);
    placeBox(PicMapChips, 535, 270, 192, 80);
    lblEveChips.caption = u"イベントバックバッファ窓";
    place(lblEveChips, 535, 360, 200, 16);
    placeBox(PicEveChips, 535, 380, 256, 64);
    lblShadow25Mask.caption = u"シャドー25%窓";
    place(lblShadow25Mask, 535, 454, 88, 16);
    placeBox(PicShadow25Mask, 535, 474, 64, 64);
    lblShadow50Mask.caption = u"シャドー50%窓";
    place(lblShadow50Mask, 625, 454, 88, 16);
    placeBox(PicShadow50Mask, 625, 474, 64, 64);
    lblShadow75Mask.caption = u"シャドー75%窓";
    place(lblShadow75Mask, 715, 454, 88, 16);
    placeBox(PicShadow75Mask, 715, 474, 64, 64);
    lblCharChips.caption = u"キャラバックバッファ窓";
    place(lblCharChips, 8, 545, 200, 16);
    placeBox(PicCharChips, 8, 565, 576, 256);

    for (plat::Label* label :
         {&lblFlipCopy, &lblXY, &lblBackFiled2, &lblPrimarySurface, &lblMapChips, &lblEveChips,
          &lblShadow25Mask, &lblShadow50Mask, &lblShadow75Mask, &lblCharChips}) {
        label->transparent = true;
    }

    widthTwips = (kInnerWidth + 2 * borderWidth) * twipsPerPixelX;
    heightTwips = (kInnerHeight + titleHeight + 2 * borderWidth) * twipsPerPixelY;
}

void MainWindow::loadPictures() {
    loadPicture(PicMapChips, assets::makeMapChipSheet());
    loadPicture(PicCharChips, assets::makeCharChipSheet());
    loadPicture(PicEveChips, assets::makeEventChipSheet());
    loadPicture(PicShadow25Mask, field::makeShadeMaskPicture(1));
    loadPicture(PicShadow50Mask, field::makeShadeMaskPicture(2));
    loadPicture(PicShadow75Mask, field::makeShadeMaskPicture(3));
}

void MainWindow::layout() {
    // Every picture box keeps its contents and is repainted by the window (automatic redraw).
    PicPrimarySurface.setSize(kPrimaryWidth, kPrimaryHeight);
    PicPrimarySurface.setBackColor(kPrimaryBack);
    PicFlipCopy.setSize(kFlipWidth, kFlipHeight);

    fullHeight = heightTwips;
    fullWidth = widthTwips;

    const int border = plat::fGetBorderWidth(*this);
    const int title = plat::fGetTitleHeight(*this);
    heightTwips = (PicFlipCopy.height + PicFlipCopy.top + 5 + 2 * border + title) * twipsPerPixelY;
    widthTwips = (cmdBigConsole.width + cmdBigConsole.left + 8 + 2 * border) * twipsPerPixelX;
}

void MainWindow::cmdBigConsole_Click() {
    heightTwips = fullHeight;
    widthTwips = fullWidth;
    sv_.windows.sync(*this);
}

void MainWindow::queryUnload(bool& cancel) {
    closeRequested = -1;
    switch (closeState) {
    case kRunning:
        cancel = true;
        closeState = kCloseRequested;
        break;
    case kCloseRequested: cancel = true; break;
    case kShuttingDown:
        // Set first: unloading every form asks this window again, and then it must let go.
        closeState = kFormsUnloaded;
        sv_.windows.unloadAll();
        cancel = false;
        break;
    default: cancel = false; break;
    }
}

void MainWindow::PicFlipCopy_MouseDown(int button, int, float, float) {
    if (button == plat::kLeftButton) mouse.held = -1;
}

void MainWindow::PicFlipCopy_MouseMove(int, int, float x, float y) {
    mouse.x = roundPixel(x);
    mouse.y = roundPixel(y);
}

void MainWindow::PicFlipCopy_MouseUp(int button, int, float, float) {
    if (button == plat::kLeftButton) mouse.held = 0;
}

} // namespace field
