#include "battle/BattleWindow.h"

#include "assets/battle/BattlePictures.h"

namespace battle {

namespace {

using namespace design;

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

BattleWindow::BattleWindow(plat::Services& sv, SharedBattleState& shared)
    : plat::Form("frmBattle"), sv_(sv), shared_(shared) {
    caption = u"Kardovan - カードバトル";
    widthTwips = (kInnerWidth + 2 * borderWidth) * twipsPerPixelX;
    heightTwips = (kInnerHeight + titleHeight + 2 * borderWidth) * twipsPerPixelY;

    // The visible window. The card labels lie over the player's card slots, the menu (the size
    // of a card) holds the five command buttons stacked in index order, and the face labels
    // only mark where the faces and the status are drawn.
    constexpr int kButtonHeight = kCardHeight / kHandSize;
    addControls({
        {&picStage, nullptr, kStageLeft, kStageTop, kStageWidth, kStageHeight},
        {&txtMsg, nullptr, kMsgLeft, kMsgTop, kMsgWidth, kMsgHeight},
        {&lblMyFace, &picStage, 276, 210, 105, 88, u"顔", false},
        {&lblEnemyFace, &picStage, 18, 132, 108, 86, u"顔", false},
        {&lblMyCard[0], &picStage, kCardLabelLeft[0], kCardLabelTop, kCardWidth, kCardHeight},
        {&lblMyCard[1], &picStage, kCardLabelLeft[1], kCardLabelTop, kCardWidth, kCardHeight},
        {&lblMyCard[2], &picStage, kCardLabelLeft[2], kCardLabelTop, kCardWidth, kCardHeight},
        {&lblMyCard[3], &picStage, kCardLabelLeft[3], kCardLabelTop, kCardWidth, kCardHeight},
        {&lblMyCard[4], &picStage, kCardLabelLeft[4], kCardLabelTop, kCardWidth, kCardHeight},
        {&fraCmd, &picStage, kCardLabelLeft[0], kCardLabelTop, kCardWidth, kCardHeight, {}, false},
        {&cmdCommand[0], &fraCmd, 0, 0 * kButtonHeight, kCardWidth, kButtonHeight, u"たたかう"},
        {&cmdCommand[1], &fraCmd, 0, 1 * kButtonHeight, kCardWidth, kButtonHeight, u"ぼうぎょ"},
        {&cmdCommand[2], &fraCmd, 0, 2 * kButtonHeight, kCardWidth, kButtonHeight, u"ためる"},
        {&cmdCommand[3], &fraCmd, 0, 3 * kButtonHeight, kCardWidth, kButtonHeight, u"デッキ"},
        {&cmdCommand[4], &fraCmd, 0, 4 * kButtonHeight, kCardWidth, kButtonHeight, u"にげる"},
        {&Label4, nullptr, 0, 0, 0, 0, {}, false},
    });
    picStage.setSize(kStageWidth, kStageHeight);
    picStage.setBackColor(plat::kWhite);
    picStage.surface.setFontPixelSize(13);
    txtMsg.multiLine = true;
    txtMsg.locked = true;
    for (plat::Label& l : lblMyCard)
        l.transparent = true;

    addSourcePictures();
    connectHandlers();
}

// The pictures the stage is drawn from, never shown themselves: the drawn ones take their
// picture's size; the two text scratch pictures and picFlip have sizes of their own.
void BattleWindow::addSourcePictures() {
    const struct {
        plat::PictureBox* box;
        plat::Surface (*draw)();
    } sources[] = {
        {&picMyFace, assets::makeMyFace},        {&picEnemyFace, assets::makeEnemyFace},
        {&picMyCard, assets::makeMyCardBack},    {&picEnemyCard, assets::makeEnemyCardBack},
        {&picMonster, assets::makeSkullMonster}, {&picMask[0], assets::makeStoredMask},
        {&picMask[1], assets::makeChosenMask},   {&picCursor[0], assets::makePointerCursor},
        {&picCursor[1], assets::makeCardCursor}, {&picRed, assets::makeRedBar},
        {&picBlue, assets::makeBlueBar},
    };
    for (const auto& s : sources)
        source(add(*s.box), s.draw());
    scratch(add(picTextSize16), 36, 26, 20, plat::rgb(24, 24, 24));
    scratch(add(picTextSize36), 40, 40, 30, plat::rgb(160, 16, 16));
    add(picFlip);
    picFlip.visible = false;
    picFlip.setSize(kStageWidth, kStageHeight);
    picFlip.setBackColor(plat::kWhite);
    picFlip.surface.setFontPixelSize(13);
}

void BattleWindow::connectHandlers() {
    picStage.onMouseMove = [this](int, int, float, float) { picStage_MouseMove(); };
    // Leaving the cards over the window's own background hides the cursor and menu as well.
    onMouseMove = [this](int, int, float, float) { picStage_MouseMove(); };
    onKeyDown = [this](int keyCode, int shift) { return Form_KeyDown(keyCode, shift); };
    for (int i = 0; i < kHandSize; ++i) {
        lblMyCard[i].onMouseMove = [this, i](int, int, float, float) { lblMyCard_MouseMove(i); };
        lblMyCard[i].onClick = [this, i] { lblMyCard_Click(i); };
        cmdCommand[i].onClick = [this, i] { cmdCommand_Click(i); };
    }
}

void BattleWindow::load() {
    loaded = true;
    shared_.closing = false;
    plngCursorView = -1;
    plngNowCardSelect = -1;
    pintBtlCmdIdx = kCmdNone;
    txtMsg.caption = std::u16string(kBattleHelpText);
    picFlip.cls();
}

void BattleWindow::queryUnload(bool& cancel) {
    shared_.closing = true;
    cancel = false;
}

void BattleWindow::hideMenu() {
    if (!fraCmd.visible) return;
    fraCmd.visible = false;
    sv_.windows.sync(*this);
}

void BattleWindow::picStage_MouseMove() {
    plngCursorView = -1;
    hideMenu();
}

void BattleWindow::lblMyCard_MouseMove(int index) {
    if (index < 0 || index >= kHandSize) return;
    if (pintBtlCmdIdx != kCmdNone) return;
    plngCursorView = index;
    plngNowCardSelect = index;
    hideMenu();
}

void BattleWindow::lblMyCard_Click(int index) {
    if (index < 0 || index >= kHandSize) return;
    if (pintBtlCmdIdx != kCmdNone || shared_.playback.active) return;
    const Card& card = shared_.myHand[index];
    if (card.state != kCardFree || card.kind == 0) return;
    fraCmd.left = lblMyCard[index].left;
    fraCmd.top = lblMyCard[index].top;
    fraCmd.visible = true;
    markCommand(kCmdAttack);
    sv_.windows.sync(*this);
}

void BattleWindow::cmdCommand_Click(int index) {
    if (plngNowCardSelect < 0) return;
    if (index < kCmdAttack || index > kCmdFlee) return;
    pintBtlCmdIdx = static_cast<std::int16_t>(index);
    hideMenu();
}

bool BattleWindow::choosable(int slot) const {
    const Card& card = shared_.myHand[slot];
    return card.state == kCardFree && card.kind != 0;
}

void BattleWindow::markCommand(int index) {
    markedCommand_ = index;
    for (int i = 0; i < kHandSize; ++i)
        cmdCommand[i].highlighted = i == index;
}

bool BattleWindow::Form_KeyDown(int keyCode, int) {
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
