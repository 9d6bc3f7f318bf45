// A scenario folder read again while its quest plays: what goes in when, and the title that
// tells of a folder with errors.
#include <algorithm>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "common/Utility.h"
#include "field/LiveReload.h"
#include "field/MainLoop.h"
#include "field/WorldDigest.h"
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
    form.inspector.attach(&world, nullptr);
    form.inspector.open(); // the inspector names them too, and lists their texts first
    EXPECT_NE(common::toUtf8(form.inspector.status.caption).find("; 4 errors in objects.txt"),
              std::string::npos);
    EXPECT_EQ(common::toUtf8(form.inspector.sharedList.rows().at(0)) + "\n",
              reported.str().substr(0, reported.str().find('\n') + 1));
    const auto walk = world.machine.scripts[1].source, talk = world.machine.scripts[3].source;
    write("Hello! I walk", "Hi there! I walk");
    reload.folderChanged();
    loop.runFrames(1);
    EXPECT_EQ(form.caption, caption);
    form.inspector.refresh();
    EXPECT_TRUE(std::ranges::none_of(form.inspector.sharedList.rows(), [](const auto& row) {
        return row.find(u".tkl:") != std::u16string::npos;
    }));
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

// Row 3 of the map changed under the player on (2, 3) while the opening scene holds it: the story
// goes on in a World rebuilt once the scene is over, the player on the start cell when its own is
// no longer ground. An error (9) changes nothing.
TEST(LiveReload, AChangedMapRebuildsTheWorldAroundTheStory) {
    const std::string row = "2,1,1,2,2,2,1,1,2";
    const std::tuple<std::string, int, int> cases[] = {{"2,1,1,2,2,2,2,1,2", 2, 3},
                                                       {"2,1,2,2,2,2,1,1,2", 1, 2},
                                                       {"2,1,0,2,2,2,1,1,2", 1, 2},
                                                       {"2,1,1,2,2,2,9,1,2", 2, 3}};
    for (const auto& [changed, x, y] : cases) {
        plat::testing::TestServices ts;
        const fs::path dir = fs::path(ts.process.folder) / "tutorial";
        fs::copy(fs::path(HARUVEL_SOURCE_DIR) / "scenarios/tutorial", dir);
        World world;
        std::vector<field::ScenarioError> errors;
        ASSERT_TRUE(field::readScenarioFolder(dir.string(), world, errors));
        field::MainWindow form(ts.services);
        field::LiveReload reload(dir.string());
        std::ostringstream reported;
        world.player.x = 2, world.player.y = 3;
        world.machine.sharedValues = {tekkel::Value(), tekkel::Value::int32(7)};
        const std::uint64_t before = field::worldDigest(world);
        std::stringstream map;
        map << std::ifstream(dir / "map.txt").rdbuf();
        std::string text = map.str();
        std::ofstream(dir / "map.txt") << text.replace(text.find(row), row.size(), changed);
        reload.folderChanged();
        reload.atFrameStart(world, form, ts.services, reported);
        EXPECT_EQ(field::worldDigest(world), before) << changed;
        world.systemScriptActive = 0;
        reload.atFrameStart(world, form, ts.services, reported);
        EXPECT_EQ(std::pair(world.player.x, world.player.y), std::pair(x, y)) << changed;
        EXPECT_EQ(world.cell(0, 0, 6, 3).kind, changed[12] == '9' ? 1 : changed[12] - '0');
        EXPECT_EQ(world.machine.sharedValues.at(1), tekkel::Value::int32(7));
    }
}

} // namespace
