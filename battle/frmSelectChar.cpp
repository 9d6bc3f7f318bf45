#include "battle/frmSelectChar.h"

#include "battle/mdlBattleFunction.h"
#include "battle/mdlTmp.h"

namespace battle {

frmSelectChar::frmSelectChar(plat::Services& sv)
    : plat::Form("frmSelectChar"), battleForm(sv, shared), sv_(sv) {
    caption = u"選択肢などない。迷いは振り切れ戦うのみ。";
    widthTwips = (260 + 2 * borderWidth) * twipsPerPixelX;
    heightTwips = (150 + titleHeight + 2 * borderWidth) * twipsPerPixelY;

    addControls({
        {&Frame1, nullptr, 8, 8, 116, 60, u"じぶん"},
        {&optMchar, &Frame1, 8, 24, 100, 20, u"自分"},
        {&Frame2, nullptr, 136, 8, 116, 60, u"敵"},
        {&optEnemyChar, &Frame2, 8, 24, 100, 20, u"がしゃどくろ"},
        {&Command1, nullptr, 80, 90, 100, 32, u"戦う"},
    });
    optMchar.value = true;
    optEnemyChar.value = true;
    Command1.onClick = [this] { Command1_Click(); };
}

void frmSelectChar::load() {
    loaded = true;
    visible = false;
    mdlTmp::psSetActions(shared.actions);
    mdlTmp::psSetCharas(player, monster);
    mdlTmp::psSetDecks(shared, myDeck, enemyDeck);
    Command1_Click();
}

void frmSelectChar::Command1_Click() {
    battleForm.load();
    mdlBattleFunction::pfBattleMain(sv_, battleForm, player, monster, myDeck, enemyDeck);
    sv_.windows.unload(*this);
}

} // namespace battle
