#include "field/InspectorPanel.h"

#include <algorithm>
#include <iterator>

#include "common/Utility.h"
#include "field/Inspector.h"
#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "field/ScriptDebugger.h"
#include "platform/Translator.h"

namespace field {

namespace {

constexpr int kWidth = 500, kHeight = 822;
constexpr int kF6 = 6;

std::vector<std::u16string> wide(const std::vector<std::string>& rows) {
    std::vector<std::u16string> out;
    out.reserve(rows.size());
    for (const std::string& r : rows)
        out.push_back(common::fromUtf8(r));
    return out;
}

void setCaption(plat::Control& c, const char16_t* caption) {
    if (c.caption != caption) c.caption = caption;
}

} // namespace

InspectorPanel::InspectorPanel() {
    frame.caption = TR_TEXT("frmMain", "Script inspector");
    frame.visible = false;
    stepFrameButton.caption = TR_TEXT("frmMain", "Step frame");
    stepCommandButton.caption = TR_TEXT("frmMain", "Step command");
    registersLabel.caption = TR_TEXT("frmMain", "Registers and locals");
    sharedLabel.caption = TR_TEXT("frmMain", "Shared variables");
    struct Row {
        plat::Control* c;
        int left, top, width, height;
    };
    const Row rows[] = {
        {&pauseButton, 10, 22, 130, 26},        {&stepFrameButton, 146, 22, 110, 26},
        {&stepCommandButton, 262, 22, 130, 26}, {&status, 10, 52, 480, 18},
        {&runList, 10, 74, 480, 120},           {&scriptText, 10, 200, 480, 330},
        {&registersLabel, 10, 536, 236, 16},    {&registerList, 10, 554, 236, 260},
        {&sharedLabel, 254, 536, 236, 16},      {&sharedList, 254, 554, 236, 260},
    };
    for (const Row& r : rows) {
        r.c->container = &frame;
        r.c->tool = true;
        plat::place(*r.c, r.left, r.top, r.width, r.height);
    }
    for (plat::Label* label : {&status, &registersLabel, &sharedLabel})
        label->transparent = true;
    pauseButton.onClick = [this] { pauseClicked(); };
    stepFrameButton.onClick = [this] { stepClicked(false); };
    stepCommandButton.onClick = [this] { stepClicked(true); };
    runList.onRowClick = [this](int row) { runClicked(row); };
    scriptText.onRowClick = [this](int row) { lineClicked(row); };
    showButtons();
}

std::vector<plat::Control*> InspectorPanel::controls() {
    return {&frame,        &pauseButton, &stepFrameButton, &stepCommandButton,
            &status,       &runList,     &scriptText,      &registersLabel,
            &registerList, &sharedLabel, &sharedList};
}

void InspectorPanel::place(int left, int top) {
    plat::place(frame, left, top, kWidth, kHeight);
}

void InspectorPanel::open() {
    frame.visible = true;
    refresh();
}

void InspectorPanel::attach(const World* world, ScriptDebugger* debugger) {
    world_ = world;
    debugger_ = debugger;
}

void InspectorPanel::selectRun(RunId id) {
    selected_ = id;
    refresh();
}

void InspectorPanel::refresh() {
    if (!isOpen()) return;
    showButtons();
    if (!world_) return;
    const bool paused = debugger_ && debugger_->paused();
    if (paused && !wasPaused_) {
        if (const auto run = debugger_->pausedRun()) selected_ = *run;
    }
    wasPaused_ = paused;
    runs_ = inspectedRuns(*world_);
    if (std::find(runs_.begin(), runs_.end(), selected_) == runs_.end()) selected_ = kSystemRun;
    runList.setRows(wide(runRows(*world_, runs_)));
    runList.selected =
        static_cast<int>(std::find(runs_.begin(), runs_.end(), selected_) - runs_.begin());

    ScriptListing listing = scriptListing(*world_, selected_, debugger_);
    scriptText.setRows(wide(listing.rows));
    scriptText.selected = listing.current;
    file_ = std::move(listing.file);
    lines_ = std::move(listing.lines);
    registerList.setRows(wide(registerRows(*world_, selected_)));
    std::vector<std::string> shared = errorLines_;
    std::ranges::move(sharedRows(*world_), std::back_inserter(shared));
    sharedList.setRows(wide(shared));
}

void InspectorPanel::showErrors(std::string summary, std::vector<std::string> lines) {
    errorSummary_ = std::move(summary);
    errorLines_ = std::move(lines);
}

void InspectorPanel::showButtons() {
    const bool paused = debugger_ && debugger_->paused();
    setCaption(pauseButton,
               paused ? TR_TEXT("frmMain", "Continue (F6)") : TR_TEXT("frmMain", "Pause (F6)"));
    pauseButton.enabled = debugger_ != nullptr;
    stepFrameButton.enabled = paused;
    stepCommandButton.enabled = paused;
    std::string text = paused ? "paused" : "running";
    if (paused && debugger_->pausedRun()) text += " in " + runName(*debugger_->pausedRun());
    if (!errorSummary_.empty()) text += "; " + errorSummary_;
    const std::u16string shown = common::fromUtf8(text);
    if (status.caption != shown) status.caption = shown;
}

void InspectorPanel::pauseClicked() {
    if (!debugger_) return;
    if (debugger_->paused()) {
        debugger_->resume();
    } else {
        debugger_->pause();
    }
    refresh();
}

void InspectorPanel::stepClicked(bool command) {
    if (!debugger_ || !debugger_->paused()) return;
    if (command) {
        debugger_->stepCommand(selected_);
    } else {
        debugger_->stepFrame();
    }
    refresh();
}

void InspectorPanel::runClicked(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= runs_.size()) return;
    selectRun(runs_[static_cast<std::size_t>(row)]);
}

void InspectorPanel::lineClicked(int row) {
    if (!debugger_ || row < 0 || static_cast<std::size_t>(row) >= lines_.size()) return;
    const int line = lines_[static_cast<std::size_t>(row)];
    if (line <= 0 || file_.empty()) return; // a disassembled script has no lines to stop at
    debugger_->toggleBreakpoint(file_, line);
    refresh();
}

bool InspectorPanel::functionKey(int number) {
    if (number != kF6 || !debugger_) return false;
    pauseClicked();
    return true;
}

void inspectPlay(MainWindow& form, ScriptDebugger& debugger, PlayAids& aids) {
    InspectorPanel& panel = form.inspector;
    panel.attach(nullptr, &debugger); // F6 and Pause work before the first frame too
    auto before = std::move(aids.atFrameStart);
    aids.atFrameStart = [&panel, &debugger, before = std::move(before)](World& world) {
        if (before) before(world);
        panel.attach(&world, &debugger);
        panel.refresh();
    };
    auto paused = std::move(debugger.onPaused);
    debugger.onPaused = [&form, &panel, paused = std::move(paused)] {
        if (!panel.isOpen()) form.enlargeClicked();
        if (paused) paused();
        panel.refresh();
    };
}

} // namespace field
