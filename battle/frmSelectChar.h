// The start-up window. Its choices are fixed, so it is never shown: its load fills the battle
// data, runs the battle and unloads itself when the battle is over, which ends the program.
#pragma once

#include "battle/BattleTypes.h"
#include "battle/frmBattle.h"
#include "platform/Form.h"
#include "platform/Seams.h"

namespace battle {

class frmSelectChar : public plat::Form {
  public:
    explicit frmSelectChar(plat::Services& sv);

    plat::Frame Frame1{"Frame1"};
    plat::OptionButton optMchar{"optMchar"};
    plat::Frame Frame2{"Frame2"};
    plat::OptionButton optEnemyChar{"optEnemyChar"};
    plat::Button Command1{"Command1"};

    // Held for the length of the battle and handed to the battle loop by reference.
    typBattleShared shared;
    typChara player;
    typChara monster;
    typDeck myDeck;
    typDeck enemyDeck;
    frmBattle battleForm;

    // Runs the whole battle; returns once it is over and this window has been unloaded.
    void load();
    void Command1_Click();

  private:
    plat::Services& sv_;
};

} // namespace battle
