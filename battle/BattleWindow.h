// The battle window: the stage, the message box, the command menu over the clicked card, and
// the pictures the stage is drawn from. Its handlers only set the public variables and the
// closing flag; the battle loop reads them once per frame.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "battle/BattleTypes.h"
#include "platform/Form.h"
#include "platform/Seams.h"
#include "platform/Translator.h"

namespace battle {

// Geometry of the window and of the cards on the stage (pixels).
namespace design {
constexpr int kStageLeft = 3, kStageTop = 3, kStageWidth = 427, kStageHeight = 459;
constexpr int kMsgLeft = 6, kMsgTop = 465, kMsgWidth = 424, kMsgHeight = 136;
constexpr int kCardWidth = 72, kCardHeight = 120;
// The scratch picture of a card's short name: one kanji, or a short word in English.
constexpr int kShortNameWidth = 50;
constexpr int kCardLabelLeft[kHandSize] = {6, 81, 159, 237, 315};
constexpr int kCardLabelTop = 332;
constexpr int kInnerWidth = 436, kInnerHeight = 606;
} // namespace design

class BattleWindow : public plat::Form {
  public:
    BattleWindow(plat::Services& sv, SharedBattleState& shared);

    // The visible window; the card labels, face labels and the menu sit on the stage.
    plat::PictureBox stageView{"picStage"};
    plat::TextBox messageText{"txtMsg"};
    plat::Label playerFaceLabel{"lblMyFace"};
    plat::Label enemyFaceLabel{"lblEnemyFace"};
    std::array<plat::Label, kHandSize> playerCardLabels{
        plat::Label("lblMyCard", 0), plat::Label("lblMyCard", 1), plat::Label("lblMyCard", 2),
        plat::Label("lblMyCard", 3), plat::Label("lblMyCard", 4)};
    plat::Frame commandMenu{"fraCmd"};
    std::array<plat::Button, kHandSize> commandButtons{
        plat::Button("cmdCommand", 0), plat::Button("cmdCommand", 1), plat::Button("cmdCommand", 2),
        plat::Button("cmdCommand", 3), plat::Button("cmdCommand", 4)};
    plat::Label menuBackLabel{"Label4"};

    // Source pictures, never shown themselves.
    plat::PictureBox playerFacePicture{"picMyFace"};
    plat::PictureBox enemyFacePicture{"picEnemyFace"};
    plat::PictureBox playerCardPicture{"picMyCard"};
    plat::PictureBox enemyCardPicture{"picEnemyCard"};
    plat::PictureBox monsterPicture{"picMonster"};
    std::array<plat::PictureBox, 2> maskPictures{plat::PictureBox("picMask", 0),
                                                 plat::PictureBox("picMask", 1)};
    std::array<plat::PictureBox, 2> cursorPictures{plat::PictureBox("picCursor", 0),
                                                   plat::PictureBox("picCursor", 1)};
    plat::PictureBox redPicture{"picRed"};
    plat::PictureBox bluePicture{"picBlue"};
    plat::PictureBox textSize16Picture{"picTextSize16"};
    plat::PictureBox textSize36Picture{"picTextSize36"};
    plat::PictureBox flipPicture{"picFlip"};

    // Read and written by the battle loop.
    std::int16_t chosenCommand = kCmdNone; // command of the current turn
    std::int32_t chosenCard = kNoSlot;     // slot the command applies to
    std::int32_t cursorCard = kNoSlot;     // slot under the pointer

    // Resets the public variables and the closing flag, and puts the help text in place.
    void load();
    // A close never is refused; it tells the battle loop to stop at its next frame.
    void queryUnload(bool& cancel) override;

    void stageMouseMove();
    void cardMouseMove(int index);
    void cardClicked(int index);
    void commandClicked(int index);
    // Play by keyboard through the same handlers as the mouse: Left/Right move the card cursor
    // over the cards that can be chosen, Enter or Space clicks the card under it, Up/Down move
    // through the open menu's commands, Enter or Space clicks the marked one, Esc closes the
    // menu. True when the key was used.
    bool keyDown(int keyCode, int shift);

    SharedBattleState& shared() { return shared_; }
    const SharedBattleState& shared() const { return shared_; }

  private:
    void addSourcePictures();
    void connectHandlers();
    void hideMenu();
    bool choosable(int slot) const;
    void markCommand(int index);

    plat::Services& sv_;
    SharedBattleState& shared_;
    int markedCommand_ = 0; // the command Enter chooses while the menu is open
};

// The help text shown when the window loads.
inline constexpr std::u16string_view kBattleHelpText =
    TR_TEXT("battle", "戦い方？簡単だ。配られた自分のカードを選び行動を選択しろ！\r\n"
                      "選び方は簡単だ。手前のカードをクリックだ！\r\n"
                      "\r\n"
                      "ルールの説明？ そんな生ぬるいものは無い。体で覚えな！");

} // namespace battle
