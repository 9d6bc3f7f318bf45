// A scenario folder read again while its quest plays (haruvel --watch). The window system's
// file watcher only says that the folder changed; the reading and the swap happen at the start
// of the next frame, where no script is running.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "field/MainWindow.h"
#include "field/ScenarioReader.h"
#include "field/World.h"
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

// The World rebuilt from `scenario`, a folder whose map or objects changed, while the story goes
// on: the map, the objects (standing, their automatic runs from the start) and the scripts are
// the folder's; the shared variables, the allocation table, the system run, the shade, the input
// lock and the player are the World's. The player keeps its cell when a character may still
// enter it, else goes back to the start cell; a step under way is dropped.
void rebuildWorld(World& world, World&& scenario);

// "haruvel: 2 errors in scripts.tkl": how many errors, in which files of the folder.
std::string errorsTitle(std::string_view program, const std::vector<ScenarioError>& errors);

class LiveReload {
  public:
    // Remembers the folder's map and objects as the game read them at its start.
    explicit LiveReload(std::string folder);

    // A file of the folder changed (or was added or removed).
    void folderChanged() { changed_ = true; }
    // At a frame's start: reads the folder when it changed, then installs what may go in. A
    // folder with errors changes nothing: they go to `errors` and into the window title until
    // a clean reading puts the title back. A clean one is noted in a recorded session, whose
    // replay cannot follow it. A changed map or objects rebuild the World once no script holds
    // the player (a scene, a talk), the searchers taking the new map's grid.
    void atFrameStart(World& world, MainWindow& form, plat::Services& sv, std::ostream& errors);

  private:
    void reread(MainWindow& form, plat::Services& sv, std::ostream& errors);

    std::string folder_;
    bool changed_ = false;
    std::optional<std::u16string> caption_; // the title the errors replaced
    std::string layout_;                    // map.txt and objects.txt as last read cleanly
    std::optional<World> rebuild_;          // waits for the system run to be idle
    ScriptSwap swap_;
};

} // namespace field
