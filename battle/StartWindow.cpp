#include "battle/StartWindow.h"

#include "battle/Battle.h"
#include "battle/BattleContent.h"
#include "platform/Translator.h"

namespace battle {

StartWindow::StartWindow(plat::Services& sv)
    : plat::Form("frmSelectChar"), battleForm(sv, shared), sv_(sv) {
    caption = TR_TEXT("frmSelectChar", "選択肢などない。迷いは振り切れ戦うのみ。");
    widthTwips = (260 + 2 * borderWidth) * twipsPerPixelX;
    heightTwips = (150 + titleHeight + 2 * borderWidth) * twipsPerPixelY;

    addControls({
        {&Frame1, nullptr, 8, 8, 116, 60, TR_TEXT("frmSelectChar", "じぶん")},
        {&optMchar, &Frame1, 8, 24, 100, 20, TR_TEXT("frmSelectChar", "自分")},
        {&Frame2, nullptr, 136, 8, 116, 60, TR_TEXT("frmSelectChar", "敵")},
        {&optEnemyChar, &Frame2, 8, 24, 100, 20, TR_TEXT("frmSelectChar", "がしゃどくろ")},
        {&Command1, nullptr, 80, 90, 100, 32, TR_TEXT("frmSelectChar", "戦う")},
    });
    optMchar.value = true;
    optEnemyChar.value = true;
    Command1.onClick = [this] { Command1_Click(); };
}

void StartWindow::load() {
    loaded = true;
    visible = false;
    battle::setActions(shared.actions);
    battle::setCombatants(player, monster);
    battle::setDecks(shared, myDeck, enemyDeck);
    Command1_Click();
}

void StartWindow::Command1_Click() {
    battleForm.load();
    battle::battleMain(sv_, battleForm, player, monster, myDeck, enemyDeck);
    sv_.windows.unload(*this);
}

} // namespace battle
