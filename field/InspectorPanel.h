// The script inspector as the main window shows it, beside the enlarged window's surfaces: the
// runs, the chosen run's script (a click on a line sets or clears a breakpoint there), its
// registers, what the runs share, and the buttons that pause, continue and step the game (F6
// pauses and continues). Its controls are tools (plat::Control::tool), never the game's input.
// While the window is not enlarged the panel stays hidden and is never refreshed.
#pragma once

#include <string>
#include <vector>

#include "platform/Form.h"

namespace field {

struct World;
struct PlayAids;      // field/MainLoop.h
class ScriptDebugger; // field/ScriptDebugger.h
using RunId = int;    // as ScriptDebugger.h has it: -1 the system run, k object k's run

class InspectorPanel {
  public:
    InspectorPanel();
    InspectorPanel(const InspectorPanel&) = delete;
    InspectorPanel& operator=(const InspectorPanel&) = delete;

    plat::Frame frame{"inspector"};
    plat::Button pauseButton{"inspectorPause"};
    plat::Button stepFrameButton{"inspectorStepFrame"};
    plat::Button stepCommandButton{"inspectorStepCommand"};
    plat::Label status{"inspectorStatus"};
    plat::ListBox runList{"inspectorRuns"};
    plat::ListBox scriptText{"inspectorScript"};
    plat::Label registersLabel{"inspectorRegistersLabel"};
    plat::ListBox registerList{"inspectorRegisters"};
    plat::Label sharedLabel{"inspectorSharedLabel"};
    plat::ListBox sharedList{"inspectorShared"};

    // Every control, the frame first, in the order the window adds them.
    std::vector<plat::Control*> controls();
    // Places the panel with its top left corner at (left, top) of the window.
    void place(int left, int top);

    // Shows the panel and fills it.
    void open();
    bool isOpen() const { return frame.visible; }
    // The game it shows and the debugger its buttons drive; either may be null.
    void attach(const World* world, ScriptDebugger* debugger);
    // Takes the runs' state into the controls; nothing while closed.
    void refresh();
    // F6 pauses and continues; false for any other key.
    bool functionKey(int number);

    // The faults of the quest folder's last reading while playing (haruvel --watch): the
    // status line names them as the window title does ("2 errors in scripts.tkl"), and the
    // shared list starts with their texts, until a clean reading passes an empty list.
    void showErrors(std::string summary, std::vector<std::string> lines);

    RunId selectedRun() const { return selected_; }
    void selectRun(RunId id);

  private:
    void pauseClicked();
    void stepClicked(bool command);
    void runClicked(int row);
    void lineClicked(int row);
    void showButtons();

    const World* world_ = nullptr;
    ScriptDebugger* debugger_ = nullptr;
    RunId selected_ = -1; // the system run
    std::vector<RunId> runs_;
    std::string file_;       // the shown script's source file
    std::vector<int> lines_; // the shown script's source line per row
    bool wasPaused_ = false; // a pause selects its run once; then the person chooses
    std::string errorSummary_;
    std::vector<std::string> errorLines_;
};

class MainWindow;

// Hands the form's panel the World at each frame's start and refreshes it there, and again
// whenever the debugger reports a pause: at most once a frame while the game runs. A pause with
// the panel closed (a --break, or F6) opens it: while paused, the game's own enlarge button
// takes no clicks.
void inspectPlay(MainWindow& form, ScriptDebugger& debugger, PlayAids& aids);

} // namespace field
