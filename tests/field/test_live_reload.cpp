// A scenario folder read again while its quest plays: what goes in when, and the title that
// tells of a folder with errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/Utility.h"
#include "field/LiveReload.h"
#include "field/MainLoop.h"
#include "field/WorldDigest.h"
#include "platform/Recorder.h"
#include "platform/testing/TestSeams.h"

namespace {

namespace fs = std::filesystem;
using field::World;

// The tutorial played from a copy of its folder: a syntax error while it plays shows in the
// title (the objects that name its scripts fail with it) and changes nothing; then the guide's
// words changed on disk are what it says when the player walks into it, while its walk, a run
// that never ends, keeps the text it started on.
TEST(LiveReload, TheTutorialPicksUpAChangedMessageAtTheNextTrigger) {
    plat::testing::TestServices ts;
    ts.windows.defaultAnswer = plat::MsgResult::Ok;
    const fs::path dir = fs::path(ts.process.folder) / "tutorial";
    fs::copy(fs::path(HARUVEL_SOURCE_DIR) / "scenarios/tutorial", dir);
    const fs::path scripts = dir / "tutorial.tkl";
    std::stringstream original;
    original << std::ifstream(scripts).rdbuf();
    const auto write = [&](const std::string& from, const std::string& to) {
        std::string text = original.str();
        text.replace(text.find(from), from.size(), to);
        std::ofstream(scripts, std::ios::trunc) << text;
    };

    World scenario, world;
    std::vector<field::ScenarioError> errors;
    ASSERT_TRUE(field::readScenarioFolder(dir.string(), scenario, errors));
    field::MainWindow form(ts.services);
    field::startUp(form, world, ts.services, scenario);
    field::LiveReload reload(dir.string());
    std::ostringstream reported;
    field::FieldLoop loop(
        form, world, ts.services,
        {nullptr, [&](World& w) { reload.atFrameStart(w, form, ts.services, reported); }});
    const auto frameUntil = [&](auto done) {
        for (int i = 0; i < 3000 && !done(); ++i)
            loop.runOneFrame();
        return done();
    };
    const std::u16string caption = form.caption;
    ASSERT_TRUE(frameUntil([&] { return world.systemScriptActive == 0; })); // the welcome

    write("    End\n", "    Endd\n");
    reload.folderChanged();
    loop.runFrames(1);
    EXPECT_EQ(form.caption,
              common::fromUtf8(ts.process.name + ": 4 errors in objects.txt, tutorial.tkl"));
    EXPECT_NE(reported.str().find("tutorial.tkl:"), std::string::npos);
    const auto walk = world.machine.scripts[1].source, talk = world.machine.scripts[3].source;
    write("Hello! I walk", "Hi there! I walk");
    reload.folderChanged();
    loop.runFrames(1);
    EXPECT_EQ(form.caption, caption);
    EXPECT_EQ(world.machine.scripts[1].source, walk);
    EXPECT_NE(world.machine.scripts[3].source, talk);

    const auto step = [&](int key) { // one cell, as TutorialPlaysThroughOnScriptedKeys walks
        ts.keyboard.press(key);
        loop.runOneFrame();
        ts.keyboard.release(key);
        return frameUntil([&] { return world.player.moving == 0 && world.inputLocked == 0; });
    };
    ASSERT_TRUE(step(plat::vk::Right));
    ASSERT_TRUE(step(plat::vk::Up)); // beside the guide's path
    const field::EventObject& guide = world.events[2];
    ASSERT_TRUE(frameUntil([&] { return guide.x == 4 && guide.stepDir == 3; }));
    ASSERT_TRUE(frameUntil([&] { return guide.x == 3 && guide.moving == 0; }));
    step(plat::vk::Right);
    ASSERT_EQ(ts.windows.boxes.size(), 2u);
    EXPECT_EQ(ts.windows.boxes.back().text.substr(0, 9), u"Hi there!");
}

// The file at `path` with `edit` done to its text.
template <class Edit> void editFile(const fs::path& path, Edit edit) {
    std::stringstream read;
    read << std::ifstream(path).rdbuf();
    std::string text = read.str();
    edit(text);
    std::ofstream(path, std::ios::trunc) << text;
}

// The tutorial started from a copy of its folder in a recorded session, watched.
struct Played {
    plat::testing::TestServices ts;
    fs::path dir = fs::path(ts.process.folder) / "tutorial";
    std::ostringstream recording, reported;
    plat::Recorder recorder{ts.services, recording, {"haruvel", "1", dir.string(), 1}};
    field::MainWindow form{recorder.services()};
    World world;
    field::LiveReload reload{started()};

    // Copies the folder and starts the quest from it; answers the copy's name.
    std::string started() {
        fs::copy(fs::path(HARUVEL_SOURCE_DIR) / "scenarios/tutorial", dir);
        World scenario;
        std::vector<field::ScenarioError> errors;
        EXPECT_TRUE(field::readScenarioFolder(dir.string(), scenario, errors));
        field::startUp(form, world, recorder.services(), scenario);
        return dir.string();
    }
};

// A changed map or objects rebuild the World from the copied tutorial, in a recorded session:
// the player on (4, 4) keeps its cell while it is ground nobody stands on, the story's shared
// variables stay, a scene holding the player puts the rebuild off, and a folder with an error
// changes nothing and is not noted in the recording.
TEST(LiveReload, AChangedMapOrObjectsRebuildTheWorldAroundTheStory) {
    struct Case {
        const char* what;
        int col, row, value; // the map cell written on layer 0 (value -1: none)
        const char* objects; // the guide's new place, or nothing
        bool busy;           // a scene holds the player at the first frame
        int x, y;            // where the player is after
        bool rebuilt;
    } const cases[] = {
        {"a wall beside the player", 5, 4, 2, nullptr, false, 4, 4, true},
        {"a wall under the player", 4, 4, 2, nullptr, false, 1, 2, true},
        {"no ground under the player", 4, 4, 0, nullptr, false, 1, 2, true},
        {"the guide put on the player's cell", 0, 0, -1, "position 4, 4", false, 1, 2, true},
        {"a wall beside the player, a scene playing", 5, 4, 2, nullptr, true, 4, 4, true},
        {"a map value out of range", 5, 4, 9, nullptr, false, 4, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Played p;
        const fs::path& dir = p.dir;
        World& world = p.world;
        field::MainWindow& form = p.form;
        plat::Services& sv = p.recorder.services();
        world.player.x = 4, world.player.y = 4;
        world.systemScriptActive = c.busy ? -1 : 0;
        world.machine.sharedValues = {tekkel::Value(), tekkel::Value::int32(7)};

        if (c.value >= 0) {
            editFile(dir / "map.txt", [&](std::string& text) {
                std::size_t at = text.find("layer 0\n");
                for (int row = 0; row <= c.row; ++row)
                    at = text.find('\n', at) + 1;
                text[at + 2 * static_cast<std::size_t>(c.col)] = static_cast<char>('0' + c.value);
            });
        }
        if (c.objects) {
            editFile(dir / "objects.txt", [&](std::string& text) {
                text.replace(text.find("position 3, 1"), 13, c.objects);
            });
        }
        const std::uint64_t before = field::worldDigest(world);
        p.reload.folderChanged();
        p.reload.atFrameStart(world, form, sv, p.reported);
        if (c.busy) {
            EXPECT_EQ(field::worldDigest(world), before);
            world.systemScriptActive = 0;
            p.reload.atFrameStart(world, form, sv, p.reported);
        }
        p.recorder.flush();
        EXPECT_EQ(p.recording.str().find("\nreload 0\n") != std::string::npos, c.rebuilt);
        EXPECT_EQ(std::pair(world.player.x, world.player.y), std::pair(c.x, c.y));
        if (!c.rebuilt) {
            EXPECT_EQ(field::worldDigest(world), before);
            EXPECT_NE(form.caption.find(u"1 error in map.txt"), std::u16string::npos);
            continue;
        }
        ASSERT_EQ(world.machine.sharedValues.size(), 2u);
        EXPECT_EQ(world.machine.sharedValues[1], tekkel::Value::int32(7));
        if (c.value >= 0) EXPECT_EQ(world.cell(0, 0, c.col, c.row).kind, c.value == 2 ? 2 : 0);
        if (c.objects) EXPECT_EQ(world.events[2].x, 4);
    }
}

} // namespace
