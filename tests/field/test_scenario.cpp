// Scenario folders: the demo read from disk is the embedded one, and broken copies of it are
// refused with an error naming the file and line of the fault, before any frame runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "field/ScenarioReader.h"
#include "platform/testing/TestSeams.h"

namespace {

namespace fs = std::filesystem;
using field::EventObject;
using field::Script;
using field::World;

const std::string kDemo = std::string(HARUVEL_SOURCE_DIR) + "/scenarios/demo";

auto charFields(const auto& c) {
    return std::tie(c.visible, c.chipSheet, c.layer, c.plane, c.x, c.y, c.stepX, c.stepY, c.sheetX,
                    c.sheetY, c.facing, c.stepDir, c.animColumn, c.lastStride, c.animTicks,
                    c.chipWidth, c.chipHeight, c.stepFrames, c.moving);
}

bool sameScript(const Script& a, const Script& b) {
    if (a.lastAddress != b.lastAddress || a.name != b.name ||
        a.commands.size() != b.commands.size())
        return false;
    for (std::size_t k = 0; k < a.commands.size(); ++k) {
        const auto &x = a.commands[k], &y = b.commands[k];
        if (x.code != y.code || !(x.p1 == y.p1) || !(x.p2 == y.p2) || !(x.p3 == y.p3)) return false;
    }
    return true;
}

// Where two start Worlds differ, or "" when they do not.
std::string difference(const World& a, const World& b) {
    if (charFields(a.player) != charFields(b.player)) return "player";
    if (std::tie(a.maxX, a.maxY, a.topLayer, a.systemScriptActive, a.inputLocked, a.eventCount,
                 a.machine.scriptCount, a.shadeLevel) !=
        std::tie(b.maxX, b.maxY, b.topLayer, b.systemScriptActive, b.inputLocked, b.eventCount,
                 b.machine.scriptCount, b.shadeLevel))
        return "extent, flags or counts";
    if (a.systemRun.scriptNumber != b.systemRun.scriptNumber) return "opening script";
    for (int l = 0; l <= a.topLayer; ++l)
        for (int p = 0; p < field::kPlaneCount; ++p)
            for (int x = 0; x <= a.maxX; ++x)
                for (int y = 0; y <= a.maxY; ++y) {
                    const auto &c = a.cell(l, p, x, y), &d = b.cell(l, p, x, y);
                    if (std::tie(c.kind, c.chipX, c.chipY, c.eventId) !=
                        std::tie(d.kind, d.chipX, d.chipY, d.eventId))
                        return "cell " + std::to_string(l) + "/" + std::to_string(p) + "/" +
                               std::to_string(x) + "/" + std::to_string(y);
                }
    if (a.machine.scripts.size() != b.machine.scripts.size()) return "script table";
    for (std::size_t n = 0; n < a.machine.scripts.size(); ++n)
        if (!sameScript(a.machine.scripts[n], b.machine.scripts[n]))
            return "script " + std::to_string(n);
    if (a.events.size() != b.events.size()) return "object table";
    for (std::size_t n = 0; n < a.events.size(); ++n) {
        const EventObject &e = a.events[n], &f = b.events[n];
        if (charFields(e) != charFields(f) ||
            std::tie(e.stepInterval, e.detached, e.enabled, e.onStep, e.triggerable,
                     e.autoScript) != std::tie(f.stepInterval, f.detached, f.enabled, f.onStep,
                                               f.triggerable, f.autoScript) ||
            !sameScript(e.ownScript, f.ownScript))
            return "object " + std::to_string(n);
    }
    return "";
}

// The embedded copy is made by the build from the folder's bytes: a fault in the embedding
// (a dropped or reordered file, a cut-off text) shows here.
TEST(Scenario, DemoFolderOnDiskIsTheEmbeddedOne) {
    World fromDisk, embedded;
    std::vector<field::ScenarioError> errors;
    ASSERT_TRUE(field::readScenarioFolder(kDemo, fromDisk, errors))
        << field::errorText(errors.at(0));
    ASSERT_TRUE(field::readBuiltInScenario(embedded, errors));
    EXPECT_EQ(difference(fromDisk, embedded), "");
    // The comparison sees a change in an own script.
    fromDisk.events[11].ownScript.commands[3].p2 = tekkel::Value::int16(5);
    EXPECT_EQ(difference(fromDisk, embedded), "object 11");
}

TEST(Scenario, EveryMapValueSelectsItsChipAndKind) {
    struct Expect {
        int chipX, chipY, kind;
    };
    const Expect table[] = {{0, 0, 0},   {64, 0, 1},   {128, 0, 2}, {0, 40, 1},
                            {64, 40, 1}, {128, 40, 1}, {0, 80, 1}};
    for (int value = 0; value <= 6; ++value) {
        field::MapCell cell;
        field::setMapCell(cell, value);
        const Expect& e = table[value];
        EXPECT_EQ(std::tie(cell.chipX, cell.chipY, cell.kind), std::tie(e.chipX, e.chipY, e.kind))
            << value;
    }
}

// A copy of the demo folder with one fault; `find` is replaced by `with` in `file` (removed
// when `with` is null), and the first error must name that file and the line `with` is on.
struct Fault {
    const char* what;
    const char* file;
    const char* find;
    const char* with;
};

const Fault kFaults[] = {
    {"missing file", "objects.txt", "", nullptr},
    {"row of the wrong length", "map.txt", "1,2,2,1,1,2,1,1,1", "1,2,2,1,1,2,1,1"},
    {"map chip outside the sheet", "map.txt", "1,1,2,1,2,1,2,1,1", "1,1,2,1,2,1,2,1,7"},
    {"object chip outside the sheet", "objects.txt", "chip 64, 0, 64, 64", "chip 224, 0, 64, 64"},
    {"unknown field", "objects.txt", "    position 6, 4\n", "    position 6, 4\n    colour red\n"},
    {"duplicate object number", "objects.txt", "object 4 ;", "object 2 ;"},
    {"object outside the map", "objects.txt", "position 8, 0", "position 9, 0"},
    {"object on an occupied cell", "objects.txt", "position 2, 3", "position 3, 4"},
    {"script slot outside 1..20", "scripts.tkl", "script 6 \"ゴール\"", "script 21 \"ゴール\""},
    {"undefined script name", "scripts.tkl", "Chain \"門番\"", "Chain \"門番さん\""},
    {"text that is not valid UTF-8", "objects.txt", "object 9 ; a wanderer", "object 9 ; a \xff"},
    {"jump to no label of its script", "scripts.tkl", "Jump \"Loop\"", "Jump \"Lop\""},
    {"chain to an empty slot", "scripts.tkl", "Chain \"宝物\"", "Chain 7"},
    {"shade level outside 0..3", "scripts.tkl", "SetShade 1", "SetShade 5"},
    {"object outside the field", "scripts.tkl", "SetActive 10", "SetActive 17"},
};

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BrokenDemo : public ::testing::TestWithParam<Fault> {
  protected:
    plat::testing::TestServices ts;
    fs::path dir = fs::path(ts.process.folder) / "broken";
    int faultLine = 1;

    void SetUp() override {
        fs::copy(kDemo, dir);
        const Fault& f = GetParam();
        const fs::path file = dir / f.file;
        if (!f.with) {
            fs::remove(file);
            return;
        }
        std::string text = readAll(file);
        const std::size_t at = text.find(f.find);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, std::string_view(f.find).size(), f.with);
        std::ofstream(file, std::ios::binary) << text;
        // The line of the first changed character.
        std::size_t same = 0;
        while (f.find[same] == f.with[same])
            ++same;
        faultLine = 1 + static_cast<int>(std::count(text.begin(), text.begin() + at + same, '\n'));
    }
};

TEST_P(BrokenDemo, FirstErrorNamesTheFileAndLineAndNothingLoads) {
    const Fault& f = GetParam();
    World world;
    world.eventCount = 7; // left as it was
    std::vector<field::ScenarioError> errors;
    EXPECT_FALSE(field::readScenarioFolder(dir.string(), world, errors));
    ASSERT_FALSE(errors.empty());
    const std::string first = field::errorText(errors[0]);
    EXPECT_EQ(first.rfind((dir / f.file).string() + ":" + std::to_string(faultLine) + ":", 0), 0u)
        << first;
    EXPECT_EQ(world.eventCount, 7);

    std::ostringstream err;
    EXPECT_EQ(field::checkScenario(dir.string(), err), 1);
    EXPECT_EQ(err.str().substr(0, first.size()), first);
    std::cout << "    " << f.what << ": " << first << "\n";
}

INSTANTIATE_TEST_SUITE_P(OneFaultEach, BrokenDemo, ::testing::ValuesIn(kFaults));

TEST(Scenario, ProgramWithABrokenFolderShowsOneBoxAndEndsBeforeAnyFrame) {
    plat::testing::TestServices ts;
    const fs::path dir = fs::path(ts.process.folder) / "empty";
    fs::create_directory(dir);
    field::MainWindow form(ts.services);
    try {
        field::runScenario(form, ts.services, dir.string());
        FAIL() << "the program went on";
    } catch (const plat::testing::ProcessExit& e) {
        EXPECT_EQ(e.code, 1);
    }
    ASSERT_EQ(ts.windows.boxes.size(), 1u);
    EXPECT_EQ(ts.windows.boxes[0].title, u"haruvel");
    // Three missing files, one line each.
    EXPECT_EQ(std::count(ts.windows.boxes[0].text.begin(), ts.windows.boxes[0].text.end(), u'\n'),
              2);
    EXPECT_TRUE(ts.windows.shown.empty());
}

} // namespace

namespace {

// The tutorial played on scripted keys: read the sign, talk to the guide when it rests at the
// near end of its path, walk to the way out.
TEST(Scenario, TutorialPlaysThroughOnScriptedKeys) {
    plat::testing::TestServices ts;
    ts.windows.defaultAnswer = plat::MsgResult::Ok;
    World scenario, world;
    std::vector<field::ScenarioError> errors;
    ASSERT_TRUE(field::readScenarioFolder(std::string(HARUVEL_SOURCE_DIR) + "/scenarios/tutorial",
                                          scenario, errors));
    field::MainWindow form(ts.services);
    field::startUp(form, world, ts.services, scenario);
    field::FieldLoop loop(form, world, ts.services);
    const auto frameUntil = [&](auto done) {
        for (int i = 0; i < 3000 && !done(); ++i)
            loop.runOneFrame();
        return done();
    };
    const auto idle = [&] {
        return world.systemScriptActive == 0 && world.inputLocked == 0 && world.player.moving == 0;
    };
    const auto press = [&](int key, int frames) {
        ts.keyboard.press(key);
        for (int i = 0; i < frames; ++i)
            loop.runOneFrame();
        ts.keyboard.release(key);
        return frameUntil(idle);
    };
    const auto walk = [&](int key, int steps) {
        for (int i = 0; i < steps; ++i)
            if (!press(key, 1)) return false;
        return true;
    };

    ASSERT_TRUE(frameUntil(idle)); // the welcome
    ASSERT_TRUE(walk(plat::vk::Right, 1));
    ASSERT_TRUE(press(plat::vk::Enter, 4)); // the sign, underfoot
    ASSERT_TRUE(walk(plat::vk::Up, 1));
    EXPECT_EQ(std::tie(world.player.x, world.player.y), std::make_tuple(2, 1));
    const EventObject& guide = world.events[2];
    ASSERT_TRUE(frameUntil([&] { return guide.x == 4 && guide.stepDir == 3; }));
    ASSERT_TRUE(frameUntil([&] { return guide.x == 3 && guide.moving == 0; }));
    ASSERT_TRUE(walk(plat::vk::Right, 1)); // into the guide, who talks
    EXPECT_EQ(world.player.x, 2);
    ASSERT_TRUE(walk(plat::vk::Down, 3));
    ASSERT_TRUE(press(plat::vk::Right, 1));
    ASSERT_TRUE(walk(plat::vk::Right, 3));
    ts.keyboard.press(plat::vk::Right); // onto the way out
    loop.runOneFrame();
    ts.keyboard.releaseAll();
    ASSERT_FALSE(frameUntil(idle)); // the ending holds the player for good

    std::vector<std::u16string> texts;
    for (const auto& b : ts.windows.boxes)
        texts.push_back(b.text);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].substr(0, 24), u"Welcome to the tutorial!");
    EXPECT_EQ(texts[1].substr(0, 10), u"Arrow keys");
    EXPECT_EQ(texts[2].substr(0, 6), u"Hello!");
    EXPECT_EQ(texts[4], u"The End.");
    EXPECT_EQ(std::tie(world.player.x, world.player.y), std::make_tuple(7, 4));
    EXPECT_EQ(world.shadeLevel, 1);
}

} // namespace

namespace {

// Objects files on the tutorial's map and scripts: the object limit, inline own scripts and
// own scripts in a .tkl file, each either read or refused at the line and column named.
std::string objectsOnCells(int count) {
    std::string text;
    for (int n = 1; n <= count; ++n) {
        const int cell = n + 20; // past the player's start, on the base plane of layers 0..2
        text += "object " + std::to_string(n) + "\n layer " + std::to_string(cell / 54) +
                "\n plane base\n position " + std::to_string(cell % 54 % 9) + ", " +
                std::to_string(cell % 54 / 9) + "\n";
    }
    return text;
}

// The demo and the tutorial show no mistake at all; a command that never runs is a warning
// that the reading and `--check` pass.
TEST(Scenario, ShippedScenariosCheckCleanAndWarningsDoNotStopTheReading) {
    const std::string tutorial = std::string(HARUVEL_SOURCE_DIR) + "/scenarios/tutorial";
    for (const std::string& dir : {kDemo, tutorial}) {
        World world;
        std::vector<field::ScenarioError> errors, warnings;
        EXPECT_TRUE(field::readScenarioFolder(dir, world, errors, &warnings)) << dir;
        EXPECT_TRUE(warnings.empty()) << field::errorText(warnings.at(0));
    }
    const std::string tkl = readAll(tutorial + "/tutorial.tkl");
    const std::string objects =
        readAll(tutorial + "/objects.txt") + "object 4\n position 8, 5\n ownScript\n  End\n  Nop\n";
    const std::string map = readAll(tutorial + "/map.txt");
    const field::File files[] = {{"map.txt", map},
                                 {"tutorial.tkl", tkl},
                                 {"objects.txt", objects},
                                 {"z.tkl", "script 9\n Restart\n Nop\n Nop\nx: Nop\n"}};
    World world;
    std::vector<field::ScenarioError> errors, warnings;
    EXPECT_TRUE(field::readScenario("t", files, world, errors, &warnings));
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(field::errorText(warnings[0]),
              "t/objects.txt:45:3: warning: this command never runs: it follows the End on line 44 "
              "and no label comes between");
    EXPECT_EQ(field::errorText(warnings[1]).substr(0, 40),
              "t/z.tkl:3:2: warning: this command never");
}

TEST(Scenario, ObjectLimitsAndOwnScriptsInBothPlaces) {
    const std::string dir = std::string(HARUVEL_SOURCE_DIR) + "/scenarios/tutorial/";
    const std::string map = readAll(dir + "map.txt"), tkl = readAll(dir + "tutorial.tkl");
    struct Case {
        std::string objects, more; // objects.txt, and a second .tkl file
        std::string error;         // "" read; else the start of the first error
    };
    const Case cases[] = {
        {"; none\n", "", ""},
        {objectsOnCells(64), "", ""},
        {objectsOnCells(64) + "object 65\n", "",
         "t/objects.txt:257:8: expected an object number 1..64"},
        {"object 1\n position 2, 2\n ownScript last 3\n  Message \"hi\"\n  Chain \"nowhere\"\n", "",
         "t/objects.txt:5:9: no .tkl file writes a script named \"nowhere\""},
        {"object 1\n position 2, 2\n ownScript\n  Message \"hi\"\n  Jump 1, 2, 3, 4\n", "",
         "t/objects.txt:5:"},
        {"object 1\n position 2, 2\n", "own 1\n Message \"hi\"\nown 2\n End\n",
         "t/z.tkl:3:1: own 2: objects.txt writes no object 2"},
        {"object 1\n position 2, 2\n ownScript \"guide\"\n", "own 1\n End\n",
         "t/z.tkl:1:1: object 1 already has its own script in objects.txt (line 3)"},
        {"object 1\n position 1, 2\n plane character\n", "",
         "t/objects.txt:2:2: the player starts on this cell"},
    };
    for (const Case& c : cases) {
        const field::File files[] = {
            {"map.txt", map}, {"tutorial.tkl", tkl}, {"objects.txt", c.objects}, {"z.tkl", c.more}};
        World world;
        std::vector<field::ScenarioError> errors;
        const bool read = field::readScenario("t", files, world, errors);
        EXPECT_EQ(read, c.error.empty()) << c.objects;
        if (read) {
            EXPECT_EQ(world.eventCount, c.objects.size() > 10 ? 64 : 0);
            continue;
        }
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(field::errorText(errors[0]).substr(0, c.error.size()), c.error);
    }
}

} // namespace
