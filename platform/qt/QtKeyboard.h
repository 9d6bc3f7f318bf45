// The asynchronous key state, fed by the application's key events.
#pragma once

#include <QObject>
#include <array>

#include "platform/Seams.h"

namespace plat::qt {

// Watches every key and mouse-button event of the application. Auto-repeat is ignored (a held
// key stays held); every key is released when a window of the program loses activation, so a
// key let go elsewhere never sticks.
class QtKeyboard : public QObject, public IKeyboard {
  public:
    QtKeyboard(); // installs itself on the running application
    ~QtKeyboard() override;
    bool isHeld(int virtualKey) override;
    void releaseAll() { held_.fill(false); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void set(int virtualKey, bool down);
    std::array<bool, 256> held_{};
};

} // namespace plat::qt
