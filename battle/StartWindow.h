// The start-up window. Its choices are fixed, so it is never shown: its load fills the battle
// data, runs the battle and unloads itself when the battle is over, which ends the program.
#pragma once

#include "battle/BattleTypes.h"
#include "battle/BattleWindow.h"
#include "platform/Form.h"
#include "platform/Seams.h"

namespace battle {

class StartWindow : public plat::Form {
  public:
    explicit StartWindow(plat::Services& sv);

    plat::Frame Frame1{"Frame1"};
    plat::OptionButton optMchar{"optMchar"};
    plat::Frame Frame2{"Frame2"};
    plat::OptionButton optEnemyChar{"optEnemyChar"};
    plat::Button Command1{"Command1"};

    // Held for the length of the battle and handed to the battle loop by reference.
    SharedBattleState shared;
    Combatant player;
    Combatant monster;
    Deck myDeck;
    Deck enemyDeck;
    BattleWindow battleForm;

    // Runs the whole battle; returns once it is over and this window has been unloaded.
    void load();
    void Command1_Click();

  private:
    plat::Services& sv_;
};

} // namespace battle
