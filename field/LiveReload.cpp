#include "field/LiveReload.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>

#include "common/Utility.h"
#include "field/Searchers.h"
#include "field/StepRules.h"

namespace field {

namespace {

// The slot numbers runs in the middle of a script are on: the system run while it holds the
// player, each object's automatic run until it ends.
std::vector<std::int32_t> busySlots(const World& world) {
    std::vector<std::int32_t> busy;
    if (world.systemScriptActive != 0) busy.push_back(world.systemRun.scriptNumber);
    for (const EventObject& e : world.events)
        if (e.run.scriptNumber != 0) busy.push_back(e.run.scriptNumber);
    return busy;
}

// The bytes of the folder's map and objects, one after the other; a file that cannot be read
// adds nothing (the reading that follows reports it).
std::string layoutText(const std::string& folder) {
    std::ostringstream text;
    for (const char* name : {"/map.txt", "/objects.txt"}) {
        std::ifstream file(folder + name, std::ios::binary);
        text << file.rdbuf() << '\0';
    }
    return text.str();
}

} // namespace

void rebuildWorld(World& world, World&& scenario) {
    world.maxX = scenario.maxX;
    world.maxY = scenario.maxY;
    world.topLayer = scenario.topLayer;
    world.layers = std::move(scenario.layers);
    world.eventCount = scenario.eventCount;
    world.events = std::move(scenario.events);
    world.machine.scriptCount = scenario.machine.scriptCount;
    world.machine.scripts = std::move(scenario.machine.scripts);
    CharState& p = world.player;
    p.moving = 0;
    p.stepFrames = 0;
    p.animColumn = 1;
    if (!isEnterable(world, p.layer, p.plane, p.x, p.y)) {
        p.layer = scenario.player.layer;
        p.plane = scenario.player.plane;
        p.x = scenario.player.x;
        p.y = scenario.player.y;
    }
}

void ScriptSwap::take(const World& scenario) {
    slots_.assign(scenario.machine.scripts.begin(), scenario.machine.scripts.end());
    slots_.at(0).reset(); // slot 0 holds the fired object's own script, not one of the folder
    own_.clear();
    for (const EventObject& e : scenario.events)
        own_.emplace_back(e.ownScript);
}

bool ScriptSwap::installInto(World& world) {
    for (std::size_t n = 0; n < own_.size() && n < world.events.size(); ++n)
        if (own_[n]) world.events[n].ownScript = std::move(*own_[n]);
    own_.clear();
    const std::vector<std::int32_t> busy = busySlots(world);
    bool waiting = false;
    for (std::size_t n = 0; n < slots_.size() && n < world.machine.scripts.size(); ++n) {
        if (!slots_[n]) continue;
        if (std::find(busy.begin(), busy.end(), static_cast<std::int32_t>(n)) != busy.end()) {
            waiting = true;
            continue;
        }
        world.machine.scripts[n] = std::move(*slots_[n]);
        slots_[n].reset();
    }
    return waiting;
}

std::string errorsTitle(std::string_view program, const std::vector<ScenarioError>& errors) {
    std::map<std::string, int> byFile;
    for (const ScenarioError& e : errors)
        ++byFile[e.file.substr(e.file.find_last_of('/') + 1)];
    std::string files;
    for (const auto& [file, count] : byFile)
        files += (files.empty() ? "" : ", ") + file;
    const std::size_t n = errors.size();
    return std::string(program) + ": " + std::to_string(n) +
           (n == 1 ? " error in " : " errors in ") + files;
}

LiveReload::LiveReload(std::string folder)
    : folder_(std::move(folder)), layout_(layoutText(folder_)) {}

void LiveReload::atFrameStart(World& world, MainWindow& form, plat::Services& sv,
                              std::ostream& errors) {
    if (changed_) {
        changed_ = false;
        reread(form, sv, errors);
    }
    if (!rebuild_) {
        swap_.installInto(world);
        return;
    }
    if (world.systemScriptActive != 0) return;
    rebuildWorld(world, std::move(*rebuild_));
    rebuild_.reset();
    // The objects stand on their cells, so the grid sees them, as at start-up.
    resetSearch(form.searchers);
    setGrid(form.searchers, obstacleGrid(world));
}

void LiveReload::reread(MainWindow& form, plat::Services& sv, std::ostream& errors) {
    // Taken before the reading: a file saved in between is seen as changed the next time.
    std::string layout = layoutText(folder_);
    World scenario;
    std::vector<ScenarioError> found;
    if (!readScenarioFolder(folder_, scenario, found)) {
        std::vector<std::string> lines;
        for (const ScenarioError& e : found)
            errors << lines.emplace_back(errorText(e)) << '\n';
        const std::string title = errorsTitle(sv.process.exeName(), found);
        form.inspector.showErrors(title.substr(title.find(": ") + 2), std::move(lines));
        if (!caption_) caption_ = form.caption;
        form.caption = common::fromUtf8(title);
        sv.windows.sync(form);
        return;
    }
    form.inspector.showErrors({}, {});
    if (caption_) {
        form.caption = *caption_;
        caption_.reset();
        sv.windows.sync(form);
    }
    if (sv.session) sv.session->folderReadAgain();
    // A rebuild still waiting takes the newer folder whole, whatever changed in it.
    if (layout != layout_ || rebuild_) {
        layout_ = std::move(layout);
        rebuild_ = std::move(scenario);
        swap_ = {};
        return;
    }
    swap_.take(scenario);
}

} // namespace field
