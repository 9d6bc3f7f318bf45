// A scenario folder read again while its quest plays (haruvel --watch). The window system's
// file watcher only says that the folder changed; the reading and the swap happen at the start
// of the next frame, where no script is running.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "field/ScenarioReader.h"
#include "field/World.h"
#include "platform/Form.h"
#include "platform/Seams.h"

namespace field {

// The scripts of a folder read again, installed as the runs allow. A stored script whose slot
// a run in the middle is on waits until that run is idle, so the run finishes on the text it
// started with (a run that never ends keeps it); every other slot, and every object's own
// script (copied when the object fires), takes the new text at once.
class ScriptSwap {
  public:
    // The scripts of `scenario` replace whatever still waited.
    void take(const World& scenario);
    // Installs every script that may go in now; answers whether some still wait.
    bool installInto(World& world);

  private:
    std::vector<std::optional<tekkel::Script>> slots_; // by slot number
    std::vector<std::optional<tekkel::Script>> own_;   // by object number
};

// "haruvel: 2 errors in scripts.tkl": how many errors, in which files of the folder.
std::string errorsTitle(std::string_view program, const std::vector<ScenarioError>& errors);

class LiveReload {
  public:
    explicit LiveReload(std::string folder) : folder_(std::move(folder)) {}

    // A file of the folder changed (or was added or removed).
    void folderChanged() { changed_ = true; }
    // At a frame's start: reads the folder when it changed, then installs what may go in. A
    // folder with errors changes no script: they go to `errors` and into the window title
    // until a clean reading puts the title back.
    void atFrameStart(World& world, plat::Form& form, plat::Services& sv, std::ostream& errors);

  private:
    void reread(plat::Form& form, plat::Services& sv, std::ostream& errors);

    std::string folder_;
    bool changed_ = false;
    std::optional<std::u16string> caption_; // the title the errors replaced
    ScriptSwap swap_;
};

} // namespace field
