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
    caption = TR_TEXT("frmBattle", "Kardovan - カードバトル");
    widthTwips = (kInnerWidth + 2 * borderWidth) * twipsPerPixelX;
    heightTwips = (kInnerHeight + titleHeight + 2 * borderWidth) * twipsPerPixelY;

    // The visible window. The card labels lie over the player's card slots, the menu (the size
    // of a card) holds the five command buttons stacked in index order, and the face labels
    // only mark where the faces and the status are drawn.
    constexpr int kButtonHeight = kCardHeight / kHandSize;
    addControls({
        {&stageView, nullptr, kStageLeft, kStageTop, kStageWidth, kStageHeight},
        {&messageText, nullptr, kMsgLeft, kMsgTop, kMsgWidth, kMsgHeight},
        {&playerFaceLabel, &stageView, 276, 210, 105, 88, TR_TEXT("frmBattle", "顔"), false},
        {&enemyFaceLabel, &stageView, 18, 132, 108, 86, TR_TEXT("frmBattle", "顔"), false},
        {&playerCardLabels[0], &stageView, kCardLabelLeft[0], kCardLabelTop, kCardWidth,
         kCardHeight},
        {&playerCardLabels[1], &stageView, kCardLabelLeft[1], kCardLabelTop, kCardWidth,
         kCardHeight},
        {&playerCardLabels[2], &stageView, kCardLabelLeft[2], kCardLabelTop, kCardWidth,
         kCardHeight},
        {&playerCardLabels[3], &stageView, kCardLabelLeft[3], kCardLabelTop, kCardWidth,
         kCardHeight},
        {&playerCardLabels[4], &stageView, kCardLabelLeft[4], kCardLabelTop, kCardWidth,
         kCardHeight},
        {&commandMenu,
         &stageView,
         kCardLabelLeft[0],
         kCardLabelTop,
         kCardWidth,
         kCardHeight,
         {},
         false},
        {&commandButtons[0], &commandMenu, 0, 0 * kButtonHeight, kCardWidth, kButtonHeight,
         TR_TEXT("frmBattle", "たたかう")},
        {&commandButtons[1], &commandMenu, 0, 1 * kButtonHeight, kCardWidth, kButtonHeight,
         TR_TEXT("frmBattle", "ぼうぎょ")},
        {&commandButtons[2], &commandMenu, 0, 2 * kButtonHeight, kCardWidth, kButtonHeight,
         TR_TEXT("frmBattle", "ためる")},
        {&commandButtons[3], &commandMenu, 0, 3 * kButtonHeight, kCardWidth, kButtonHeight,
         TR_TEXT("frmBattle", "デッキ")},
        {&commandButtons[4], &commandMenu, 0, 4 * kButtonHeight, kCardWidth, kButtonHeight,
         TR_TEXT("frmBattle", "にげる")},
        {&menuBackLabel, nullptr, 0, 0, 0, 0, {}, false},
    });
    stageView.setSize(kStageWidth, kStageHeight);
    stageView.setBackColor(plat::kWhite);
    stageView.surface.setFontPixelSize(13);
    messageText.multiLine = true;
    messageText.locked = true;
    for (plat::Label& l : playerCardLabels)
        l.transparent = true;

    addSourcePictures();
    connectHandlers();
}

// The pictures the stage is drawn from, never shown themselves: the drawn ones take their
// picture's size; the two text scratch pictures and flipPicture have sizes of their own.
void BattleWindow::addSourcePictures() {
    const struct {
        plat::PictureBox* box;
        plat::Surface (*draw)();
    } sources[] = {
        {&playerFacePicture, assets::makeMyFace},
        {&enemyFacePicture, assets::makeEnemyFace},
        {&playerCardPicture, assets::makeMyCardBack},
        {&enemyCardPicture, assets::makeEnemyCardBack},
        {&monsterPicture, assets::makeSkullMonster},
        {&maskPictures[0], assets::makeStoredMask},
        {&maskPictures[1], assets::makeChosenMask},
        {&cursorPictures[0], assets::makePointerCursor},
        {&cursorPictures[1], assets::makeCardCursor},
        {&redPicture, assets::makeRedBar},
        {&bluePicture, assets::makeBlueBar},
    };
    for (const auto& s : sources)
        source(add(*s.box), s.draw());
    scratch(add(textSize16Picture), kShortNameWidth, 26, 20, plat::rgb(24, 24, 24));
    scratch(add(textSize36Picture), 40, 40, 30, plat::rgb(160, 16, 16));
    add(flipPicture);
    flipPicture.visible = false;
    flipPicture.setSize(kStageWidth, kStageHeight);
    flipPicture.setBackColor(plat::kWhite);
    flipPicture.surface.setFontPixelSize(13);
}

void BattleWindow::connectHandlers() {
    stageView.onMouseMove = [this](int, int, float, float) { stageMouseMove(); };
    // Leaving the cards over the window's own background hides the cursor and menu as well.
    onMouseMove = [this](int, int, float, float) { stageMouseMove(); };
    onKeyDown = [this](int keyCode, int shift) { return keyDown(keyCode, shift); };
    for (int i = 0; i < kHandSize; ++i) {
        playerCardLabels[i].onMouseMove = [this, i](int, int, float, float) { cardMouseMove(i); };
        playerCardLabels[i].onClick = [this, i] { cardClicked(i); };
        commandButtons[i].onClick = [this, i] { commandClicked(i); };
    }
}

void BattleWindow::load() {
    loaded = true;
    shared_.closing = false;
    cursorCard = kNoSlot;
    chosenCard = kNoSlot;
    chosenCommand = kCmdNone;
    messageText.caption = plat::shownText(sv_, "battle", kBattleHelpText);
    flipPicture.cls();
}

void BattleWindow::queryUnload(bool& cancel) {
    shared_.closing = true;
    cancel = false;
}

void BattleWindow::hideMenu() {
    if (!commandMenu.visible) return;
    commandMenu.visible = false;
    sv_.windows.sync(*this);
}

void BattleWindow::stageMouseMove() {
    cursorCard = kNoSlot;
    hideMenu();
}

void BattleWindow::cardMouseMove(int index) {
    if (index < 0 || index >= kHandSize) return;
    if (chosenCommand != kCmdNone) return;
    cursorCard = index;
    chosenCard = index;
    hideMenu();
}

void BattleWindow::cardClicked(int index) {
    if (index < 0 || index >= kHandSize) return;
    if (chosenCommand != kCmdNone || shared_.playback.active) return;
    const Card& card = shared_.myHand[index];
    if (card.state != kCardFree || card.kind == 0) return;
    commandMenu.left = playerCardLabels[index].left;
    commandMenu.top = playerCardLabels[index].top;
    commandMenu.visible = true;
    markCommand(kCmdAttack);
    sv_.windows.sync(*this);
}

void BattleWindow::commandClicked(int index) {
    if (chosenCard < 0) return;
    if (index < kCmdAttack || index > kCmdFlee) return;
    chosenCommand = static_cast<std::int16_t>(index);
    hideMenu();
}

bool BattleWindow::choosable(int slot) const {
    const Card& card = shared_.myHand[slot];
    return card.state == kCardFree && card.kind != 0;
}

void BattleWindow::markCommand(int index) {
    markedCommand_ = index;
    for (int i = 0; i < kHandSize; ++i)
        commandButtons[i].highlighted = i == index;
}

bool BattleWindow::keyDown(int keyCode, int) {
    namespace vk = plat::vk;
    if (commandMenu.visible) {
        switch (keyCode) {
        case vk::Up:
        case vk::Down: {
            const int step = keyCode == vk::Down ? 1 : kHandSize - 1;
            markCommand((markedCommand_ + step) % kHandSize);
            sv_.windows.sync(*this);
            return true;
        }
        case vk::Enter:
        case vk::Space: commandClicked(markedCommand_); return true;
        case vk::Escape: hideMenu(); return true;
        default: break; // Left and Right leave the menu, as the pointer leaving the card does
        }
    }
    switch (keyCode) {
    case vk::Left:
    case vk::Right: {
        const int step = keyCode == vk::Right ? 1 : -1;
        int slot = cursorCard >= 0 ? cursorCard + step : (step > 0 ? 0 : kHandSize - 1);
        while (slot >= 0 && slot < kHandSize && !choosable(slot))
            slot += step;
        if (slot >= 0 && slot < kHandSize) cardMouseMove(slot);
        return true;
    }
    case vk::Enter:
    case vk::Space:
        if (cursorCard < 0) return false;
        cardClicked(cursorCard);
        return true;
    default: return false;
    }
}

} // namespace battle
