// The whole demo played through the keyboard on the virtual clock: the opening scene, the
// gatekeeper, three catches of the runaway, the ladders, the treasure and the goal.
#include <gtest/gtest.h>

#include "field/ScenarioReader.h"
#include "tests/support/playbot.h"

namespace {

using playbot::Cell;
using playbot::Demo;

const std::vector<std::u16string> kStory = {
    u"お願いです。助けてください。",
    u"あの宙に浮く島にある宝物を取り返してください。\rあれは私のものなのですが、あのモンスター"
    u"に取られてしまって…\r私には取り返すことが出来ないのです。",
    u"よろしくお願いします。",
    u"上に行きたいのじゃろう？\r・・・そうじゃな、あそこに走り回っているやつがおるじゃろう。\r"
    u"あやつを捕まえて降参させることが出来たら通してやらんこともないぞい。",
    u"まだまだ",
    u"もういっちょ",
    u"参った・・・僕の負けだよ",
    u"門番のところに行けば、もう開けてくれると思うよ",
    u"ふむ。仕方ない・・・",
    u"道は開かれた。行くが良い\rわしは暫しの間休むとしよう・・・",
    u"「宝物」を手に入れた！",
    u"デモンストレーション終了。如何でしたでしょうか？",
    u"Presented by Zelto",
    u"The E...",
    u"私の宝物を持ってきてくれてありがとう",
    u"The End.",
};

std::vector<std::u16string> story(std::size_t n) {
    return {kStory.begin(), kStory.begin() + static_cast<std::ptrdiff_t>(n)};
}

// The World read from the demo's scenario folder on disk, or the built-in one.
void startDemo(Demo& d, bool fromDisk) {
    if (!fromDisk) {
        d.start();
        return;
    }
    field::World scenario;
    std::vector<field::ScenarioError> errors;
    ASSERT_TRUE(field::readScenarioFolder(HARUVEL_SOURCE_DIR "/scenarios/demo", scenario, errors));
    field::startUp(d.form, d.world, d.sv, scenario);
    d.loop = std::make_unique<field::FieldLoop>(d.form, d.world, d.sv);
}

void openingSceneAndGatekeeper(Demo& d) {
    // The opening scene owns the player until its last line.
    ASSERT_NE(d.world.inputLocked, 0);
    ASSERT_TRUE(d.openingScene());
    EXPECT_EQ(d.messages(), story(3));
    EXPECT_EQ(d.flag(1), 0);
    EXPECT_EQ(d.flag(2), 0);
    EXPECT_EQ(d.player(), (Cell{1, 2}));
    EXPECT_EQ(d.world.player.facing, 2);

    ASSERT_TRUE(d.askGatekeeper());
    EXPECT_EQ(d.messages(), story(4));
    EXPECT_EQ(d.flag(1), 1);
    EXPECT_EQ(d.obj(5).visible, 0);
}

void threeCatchesOpenTheWay(Demo& d) {
    for (int caught = 1; caught <= 3; ++caught) {
        ASSERT_TRUE(d.catchRunaway()) << "catch " << caught << " after " << d.frameCount;
        EXPECT_EQ(d.flag(1), 1 + caught);
    }
    EXPECT_EQ(d.messages(), story(8));

    ASSERT_TRUE(d.askGatekeeper());
    EXPECT_EQ(d.messages(), story(10));
    EXPECT_NE(d.obj(5).visible, 0);
    EXPECT_NE(d.obj(6).enabled, 0);
    EXPECT_EQ(d.obj(playbot::kGatekeeper).enabled, 0);
}

// Up the ladder to the floating island, on to the top layer, down beside the treasure and back
// to the ground; `layers` records every layer the player passes through.
void fetchTreasure(Demo& d, std::vector<int>& layers) {
    d.windows.onEvents = [&] {
        if (layers.empty() || layers.back() != d.world.player.layer)
            layers.push_back(d.world.player.layer);
    };
    ASSERT_TRUE(d.climbToTreasure());
    EXPECT_EQ(layers, (std::vector<int>{0, 1, 2, 1}));
    ASSERT_TRUE(d.takeTreasure());
    EXPECT_EQ(d.messages(), story(11));
    EXPECT_EQ(d.flag(2), 1);
    EXPECT_EQ(d.obj(8).visible, 0);
    EXPECT_EQ(d.obj(8).enabled, 0);

    ASSERT_TRUE(d.climbDown());
    EXPECT_EQ(d.world.player.layer, 0);
    EXPECT_EQ(layers, (std::vector<int>{0, 1, 2, 1, 0}));
}

void handOverAndTheEnd(Demo& d) {
    ASSERT_TRUE(d.handOver());
    EXPECT_EQ(d.messages(), kStory);
    EXPECT_EQ(d.world.shadeLevel, 1);

    // The closing script never ends: input stays locked whatever is pressed.
    const Cell at = d.player();
    d.ts.keyboard.press(plat::vk::Left);
    d.ts.keyboard.press(plat::vk::Enter);
    d.frames(100);
    d.ts.keyboard.releaseAll();
    EXPECT_NE(d.world.inputLocked, 0);
    EXPECT_NE(d.world.systemScriptActive, 0);
    EXPECT_EQ(d.player(), at);
    EXPECT_EQ(d.messages().size(), kStory.size());
    for (const auto& b : d.windows.boxes)
        EXPECT_EQ(b.buttons, plat::MsgButtons::Ok);
}

// Seed, and whether the World is read from the demo's scenario folder on disk instead of the
// built-in data.
class Playthrough : public ::testing::TestWithParam<std::tuple<std::uint64_t, bool>> {};

TEST_P(Playthrough, FromTheOpeningSceneToTheEnd) {
    const auto [seed, fromDisk] = GetParam();
    Demo d(seed);
    std::vector<int> layers; // outlives the window hook that fills it
    ASSERT_NO_FATAL_FAILURE(startDemo(d, fromDisk));
    ASSERT_NO_FATAL_FAILURE(openingSceneAndGatekeeper(d));
    ASSERT_NO_FATAL_FAILURE(threeCatchesOpenTheWay(d));
    ASSERT_NO_FATAL_FAILURE(fetchTreasure(d, layers));
    ASSERT_NO_FATAL_FAILURE(handOverAndTheEnd(d));
}

// Seeds 8 and 28 let the wanderer walk into the dead end below the first ladder before the
// player; the bot must wait for it to come out rather than block it in.
INSTANTIATE_TEST_SUITE_P(Seeds, Playthrough,
                         ::testing::Combine(::testing::Values(12345u, 1u, 2u, 8u, 28u, 77u, 2024u),
                                            ::testing::Values(false)));
INSTANTIATE_TEST_SUITE_P(DemoFolder, Playthrough,
                         ::testing::Combine(::testing::Values(12345u, 77u),
                                            ::testing::Values(true)));

} // namespace
