#include "battle/frmSelectChar.h"

#include "battle/mdlBattleFunction.h"
#include "battle/mdlTmp.h"

namespace battle {

frmSelectChar::frmSelectChar(plat::Services& sv)
    : plat::Form("frmSelectChar"), battleForm(sv, shared), sv_(sv) {
    caption = u"選択肢などない。迷いは振り切れ戦うのみ。";
    widthTwips = (260 + 2 * borderWidth) * twipsPerPixelX;
    heightTwips = (150 + titleHeight + 2 * borderWidth) * twipsPerPixelY;

    add(Frame1);
    Frame1.caption = u"じぶん";
    Frame1.left = 8, Frame1.top = 8, Frame1.width = 116, Frame1.height = 60;
    add(optMchar);
    optMchar.container = &Frame1;
    optMchar.caption = u"自分";
    optMchar.value = true;
    optMchar.left = 8, optMchar.top = 24, optMchar.width = 100, optMchar.height = 20;
    add(Frame2);
    Frame2.caption = u"敵";
    Frame2.left = 136, Frame2.top = 8, Frame2.width = 116, Frame2.height = 60;
    add(optEnemyChar);
    optEnemyChar.container = &Frame2;
    optEnemyChar.caption = u"がしゃどくろ";
    optEnemyChar.value = true;
    optEnemyChar.left = 8, optEnemyChar.top = 24, optEnemyChar.width = 100,
    optEnemyChar.height = 20;
    add(Command1);
    Command1.caption = u"戦う";
    Command1.left = 80, Command1.top = 90, Command1.width = 100, Command1.height = 32;
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
