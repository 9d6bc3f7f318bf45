#include "field/MainWindow.h"

#include <cmath>
#include <limits>

#include "assets/field/FieldPictures.h"
#include "platform/Translator.h"

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
    add(gameViewLabel);
    add(gameView);
    add(positionFrame);
    add(positionLabel);
    add(enlargeButton);
    add(backFieldLabel);
    add(backField);
    add(layerFrame);
    for (auto& c : layerBoxes)
        add(c);
    for (auto& c : planeBoxes)
        add(c);
    add(primarySurfaceLabel);
    add(primarySurface);
    add(mapChipsLabel);
    add(mapChips);
    add(eventChipsLabel);
    add(eventChips);
    add(shadow25MaskLabel);
    add(shadow25Mask);
    add(shadow50MaskLabel);
    add(shadow50Mask);
    add(shadow75MaskLabel);
    add(shadow75Mask);
    add(characterChipsLabel);
    add(characterChips);
    for (plat::Control* c : inspector.controls())
        add(*c);

    placeDesign();
    loadPictures();

    enlargeButton.onClick = [this] { enlargeClicked(); };
    onFunctionKey = [this](int number) { return inspector.functionKey(number); };
    gameView.onMouseDown = [this](int b, int s, float x, float y) {
        gameViewMouseDown(b, s, x, y);
    };
    gameView.onMouseMove = [this](int b, int s, float x, float y) {
        gameViewMouseMove(b, s, x, y);
    };
    gameView.onMouseUp = [this](int b, int s, float x, float y) { gameViewMouseUp(b, s, x, y); };
}

namespace {

// A picture box with its caption 20 pixels above it, both at the box's left edge.
struct CaptionedBox {
    plat::Label MainWindow::*label;
    plat::PictureBox MainWindow::*box;
    const char16_t* caption;
    int left, top, labelWidth, width, height;
};

} // namespace

void MainWindow::placeDesign() {
    // Everything but the game view, its position frame and the enlarge button lies outside the
    // shrunk window until the enlarge button is pressed.
    static constexpr CaptionedBox kBoxes[] = {
        {&MainWindow::gameViewLabel, &MainWindow::gameView, TR_TEXT("frmMain", "メイン窓"),
         kFlipLeft, kFlipTop, 120, kFlipWidth, kFlipHeight},
        {&MainWindow::backFieldLabel, &MainWindow::backField,
         TR_TEXT("frmMain", "キャラクタ動作確認窓"), 545, kFlipTop, 140, 128, 128},
        {&MainWindow::primarySurfaceLabel, &MainWindow::primarySurface,
         TR_TEXT("frmMain", "初期描画用窓"), 8, 270, 140, kPrimaryWidth, kPrimaryHeight},
        {&MainWindow::mapChipsLabel, &MainWindow::mapChips,
         TR_TEXT("frmMain", "マップバックバッファ窓"), 535, 270, 200, 192, 80},
        {&MainWindow::eventChipsLabel, &MainWindow::eventChips,
         TR_TEXT("frmMain", "イベントバックバッファ窓"), 535, 380, 200, 256, 64},
        {&MainWindow::shadow25MaskLabel, &MainWindow::shadow25Mask,
         TR_TEXT("frmMain", "シャドー25%窓"), 535, 474, 88, 64, 64},
        {&MainWindow::shadow50MaskLabel, &MainWindow::shadow50Mask,
         TR_TEXT("frmMain", "シャドー50%窓"), 625, 474, 88, 64, 64},
        {&MainWindow::shadow75MaskLabel, &MainWindow::shadow75Mask,
         TR_TEXT("frmMain", "シャドー75%窓"), 715, 474, 88, 64, 64},
        {&MainWindow::characterChipsLabel, &MainWindow::characterChips,
         TR_TEXT("frmMain", "キャラバックバッファ窓"), 8, 565, 200, 576, 256},
    };
    for (const CaptionedBox& b : kBoxes) {
        plat::Label& label = this->*b.label;
        label.caption = b.caption;
        label.transparent = true;
        place(label, b.left, b.top - 20, b.labelWidth, 16);
        placeBox(this->*b.box, b.left, b.top, b.width, b.height);
    }
    gameView.setBackColor(plat::kBlack);
    backField.setBackColor(plat::kBlack);

    positionFrame.caption = TR_TEXT("frmMain", "x,y座標");
    place(positionFrame, kBigLeft, kFlipTop, kBigWidth, 56);
    positionLabel.container = &positionFrame;
    positionLabel.transparent = true;
    place(positionLabel, 10, 24, 100, 20);

    enlargeButton.caption = TR_TEXT("frmMain", "＞");
    place(enlargeButton, kBigLeft, kBigTop, kBigWidth, kBigHeight);
    placeLayerBoxes();
    inspector.place(kInspectorLeft, kInspectorTop);

    widthTwips = (kInnerWidth + 2 * borderWidth) * twipsPerPixelX;
    heightTwips = (kInnerHeight + titleHeight + 2 * borderWidth) * twipsPerPixelY;
}

void MainWindow::placeLayerBoxes() {
    layerFrame.caption = TR_TEXT("frmMain", "レイヤ");
    place(layerFrame, 690, 20, 150, 150);
    for (int i = 0; i < 3; ++i) {
        plat::CheckBox& c = layerBoxes[static_cast<std::size_t>(i)];
        c.container = &layerFrame;
        c.caption = std::u16string(1, static_cast<char16_t>(u'0' + i));
        c.value = 1;
        place(c, 10, 24 + i * 28, 50, 22);
    }
    static constexpr const char16_t* kPlaneCaptions[4] = {
        TR_TEXT("frmMain", "マップ"), TR_TEXT("frmMain", "ベース"), TR_TEXT("frmMain", "キャラ"),
        TR_TEXT("frmMain", "ｱﾊﾞｰﾌﾞ")};
    for (int i = 0; i < 4; ++i) {
        plat::CheckBox& c = planeBoxes[static_cast<std::size_t>(i)];
        c.container = &layerFrame;
        c.caption = kPlaneCaptions[i];
        c.value = 1;
        place(c, 66, 24 + i * 28, 80, 22);
    }
}

void MainWindow::loadPictures() {
    loadPicture(mapChips, assets::makeMapChipSheet());
    loadPicture(characterChips, assets::makeCharChipSheet());
    loadPicture(eventChips, assets::makeEventChipSheet());
    loadPicture(shadow25Mask, field::makeShadeMaskPicture(1));
    loadPicture(shadow50Mask, field::makeShadeMaskPicture(2));
    loadPicture(shadow75Mask, field::makeShadeMaskPicture(3));
}

void MainWindow::layout() {
    // Every picture box keeps its contents and is repainted by the window (automatic redraw).
    primarySurface.setSize(kPrimaryWidth, kPrimaryHeight);
    primarySurface.setBackColor(kPrimaryBack);
    gameView.setSize(kFlipWidth, kFlipHeight);

    fullHeight = heightTwips;
    fullWidth = widthTwips;

    const int border = plat::fGetBorderWidth(*this);
    const int title = plat::fGetTitleHeight(*this);
    heightTwips = (gameView.height + gameView.top + 5 + 2 * border + title) * twipsPerPixelY;
    widthTwips = (enlargeButton.width + enlargeButton.left + 8 + 2 * border) * twipsPerPixelX;
}

void MainWindow::enlargeClicked() {
    heightTwips = fullHeight;
    widthTwips = fullWidth;
    inspector.open();
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

void MainWindow::gameViewMouseDown(int button, int, float, float) {
    if (button == plat::kLeftButton) mouse.held = -1;
}

void MainWindow::gameViewMouseMove(int, int, float x, float y) {
    mouse.x = roundPixel(x);
    mouse.y = roundPixel(y);
}

void MainWindow::gameViewMouseUp(int button, int, float, float) {
    if (button == plat::kLeftButton) mouse.held = 0;
}

} // namespace field
