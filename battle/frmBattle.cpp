#include "battle/frmBattle.h"

#include "assets/battle/BattlePictures.h"

namespace battle {

namespace {

using namespace frmBattleDesign;

void place(plat::Control& c, int left, int top, int width, int height) {
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
}

// A source picture: hidden, sized to its contents, the contents drawn in code.
void source(plat::PictureBox& box, plat::Surface pixels) {
    box.visible = false;
    box.width = pixels.width();
    box.height = pixels.height();
    box.surface = std::move(pixels);
}

// A scratch picture for short texts: its back colour is the key colour, so whatever the text
// does not cover stays transparent when it is copied onto the stage.
void scratch(plat::PictureBox& box, int width, int height, int fontPx, plat::Color fore) {
    box.visible = false;
    box.setSize(width, height);
    box.surface.setFontPixelSize(fontPx);
    box.surface.setForeColor(fore);
    box.setBackColor(assets::kBattleKey);
}

} // namespace

frmBattle::frmBattle(plat::Services& sv, typBattleShared& shared)
    : plat::Form("frmBattle"), sv_(sv), shared_(shared) {
    caption = u"Kardovan - カードバトル";
    widthTwips = (kInnerWidth + 2 * borderWidth) * twipsPerPixelX;
    heightTwips = (kInnerHeight + titleHeight + 2 * borderWidth) * twipsPerPixelY;

    add(picStage);
    place(picStage, kStageLeft, kStageTop, kStageWidth, kStageHeight);
    picStage.setSize(kStageWidth, kStageHeight);
    picStage.setBackColor(plat::kWhite);
    picStage.surface.setFontPixelSize(13);
    picStage.onMouseMove = [this](int, int, float, float) { picStage_MouseMove(); };
    // Leaving the cards over the window's own background hides the cursor and menu as well.
    onMouseMove = [this](int, int, float, float) { picStage_MouseMove(); };
    onKeyDown = [this](int keyCode, int shift) { return Form_KeyDown(keyCode, shift); };

    add(txtMsg);
    place(txtMsg, kMsgLeft, kMsgTop, kMsgWidth, kMsgHeight);
    txtMsg.multiLine = true;
    txtMsg.locked = true;

    // The face labels only mark where the faces and the status are drawn.
    add(lblMyFace);
    lblMyFace.container = &picStage;
    place(lblMyFace, 276, 210, 105, 88);
    lblMyFace.caption = u"顔";
    lblMyFace.visible = false;
    add(lblEnemyFace);
    lblEnemyFace.container = &picStage;
    place(lblEnemyFace, 18, 132, 108, 86);
    lblEnemyFace.caption = u"顔";
    lblEnemyFace.visible = false;

    for (int i = 0; i < kHandSize; ++i) {
        plat::Label& l = lblMyCard[i];
        add(l);
        l.container = &picStage;
        place(l, kCardLabelLeft[i], kCardLabelTop, kCardWidth, kCardHeight);
        l.transparent = true;
        l.onMouseMove = [this, i](int, int, float, float) { lblMyCard_MouseMove(i); };
        l.onClick = [this, i] { lblMyCard_Click(i); };
    }

    add(fraCmd);
    fraCmd.container = &picStage;
    place(fraCmd, kCardLabelLeft[0], kCardLabelTop, kCardWidth, kCardHeight);
    fraCmd.visible = false;
    static constexpr const char16_t* kCaptions[kHandSize] = {u"たたかう", u"ぼうぎょ", u"ためる",
                                                             u"デッキ", u"にげる"};
    const int buttonHeight = kCardHeight / kHandSize;
    for (int i = 0; i < kHandSize; ++i) {
        plat::Button& b = cmdCommand[i];
        add(b);
        b.container = &fraCmd;
        place(b, 0, i * buttonHeight, kCardWidth, buttonHeight);
        b.caption = kCaptions[i];
        b.onClick = [this, i] { cmdCommand_Click(i); };
    }

    add(Label4);
    Label4.visible = false;

    add(picMyFace);
    source(picMyFace, assets::makeMyFace());
    add(picEnemyFace);
    source(picEnemyFace, assets::makeEnemyFace());
    add(picMyCard);
    source(picMyCard, assets::makeMyCardBack());
    add(picEnemyCard);
    source(picEnemyCard, assets::makeEnemyCardBack());
    add(picMonster);
    source(picMonster, assets::makeSkullMonster());
    add(picMask[0]);
    source(picMask[0], assets::makeStoredMask());
    add(picMask[1]);
    source(picMask[1], assets::makeChosenMask());
    add(picCursor[0]);
    source(picCursor[0], assets::makePointerCursor());
    add(picCursor[1]);
    source(picCursor[1], assets::makeCardCursor());
    add(picRed);
    source(picRed, assets::makeRedBar());
    add(picBlue);
    source(picBlue, assets::makeBlueBar());
    add(picTextSize16);
    scratch(picTextSize16, 36, 26, 20, plat::rgb(24, 24, 24));
    add(picTextSize36);
    scratch(picTextSize36, 40, 40, 30, plat::rgb(160, 16, 16));
    add(picFlip);
    picFlip.visible = false;
    picFlip.setSize(kStageWidth, kStageHeight);
    picFlip.setBackColor(plat::kWhite);
    picFlip.surface.setFontPixelSize(13);
}

void frmBattle::load() {
    loaded = true;
    shared_.closing = false;
    plngCursorView = -1;
    plngNowCardSelect = -1;
    pintBtlCmdIdx = kCmdNone;
    txtMsg.caption = std::u16string(kBattleHelpText);
    picFlip.cls();
}

void frmBattle::queryUnload(bool& cancel) {
    shared_.closing = true;
    cancel = false;
}

void frmBattle::hideMenu() {
    if (!fraCmd.visible) return;
    fraCmd.visible = false;
    sv_.windows.sync(*this);
}

void frmBattle::picStage_MouseMove() {
    plngCursorView = -1;
    hideMenu();
}

void frmBattle::lblMyCard_MouseMove(int index) {
    if (index < 0 || index >= kHandSize) return;
    if (pintBtlCmdIdx != kCmdNone) return;
    plngCursorView = index;
    plngNowCardSelect = index;
    hideMenu();
}

void frmBattle::lblMyCard_Click(int index) {
    if (index < 0 || index >= kHandSize) return;
    if (pintBtlCmdIdx != kCmdNone || shared_.playback.active) return;
    const typCard& card = shared_.myHand[index];
    if (card.state != kCardFree || card.kind == 0) return;
    fraCmd.left = lblMyCard[index].left;
    fraCmd.top = lblMyCard[index].top;
    fraCmd.visible = true;
    markCommand(kCmdAttack);
    sv_.windows.sync(*this);
}

void frmBattle::cmdCommand_Click(int index) {
    if (plngNowCardSelect < 0) return;
    if (index < kCmdAttack || index > kCmdFlee) return;
    pintBtlCmdIdx = static_cast<std::int16_t>(index);
    hideMenu();
}

bool frmBattle::choosable(int slot) const {
    const typCard& card = shared_.myHand[slot];
    return card.state == kCardFree && card.kind != 0;
}

void frmBattle::markCommand(int index) {
    markedCommand_ = index;
    for (int i = 0; i < kHandSize; ++i)
        cmdCommand[i].highlighted = i == index;
}

bool frmBattle::Form_KeyDown(int keyCode, int) {
    namespace vk = plat::vk;
    if (fraCmd.visible) {
        switch (keyCode) {
        case vk::Up:
        case vk::Down: {
            const int step = keyCode == vk::Down ? 1 : kHandSize - 1;
            markCommand((markedCommand_ + step) % kHandSize);
            sv_.windows.sync(*this);
            return true;
        }
        case vk::Enter:
        case vk::Space: cmdCommand_Click(markedCommand_); return true;
        case vk::Escape: hideMenu(); return true;
        default: break; // Left and Right leave the menu, as the pointer leaving the card does
        }
    }
    switch (keyCode) {
    case vk::Left:
    case vk::Right: {
        const int step = keyCode == vk::Right ? 1 : -1;
        int slot = plngCursorView >= 0 ? plngCursorView + step : (step > 0 ? 0 : kHandSize - 1);
        while (slot >= 0 && slot < kHandSize && !choosable(slot))
            slot += step;
        if (slot >= 0 && slot < kHandSize) lblMyCard_MouseMove(slot);
        return true;
    }
    case vk::Enter:
    case vk::Space:
        if (plngCursorView < 0) return false;
        lblMyCard_Click(plngCursorView);
        return true;
    default: return false;
    }
}

} // namespace battle
