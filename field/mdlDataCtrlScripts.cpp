// The stored scripts: the wanderer, the opening scene, the runaway, the gatekeeper, the treasure
// and the goal. Slot 0 is the event slot; slots 7..20 stay without commands.
#include "field/mdlDataCtrl.h"
#include "field/mdlDataCtrlScriptText.h"

namespace mdlDataCtrl {

namespace {

using namespace scriptText;

constexpr std::int32_t kScriptCount = 20;

// Each pass takes one step of the active object in a random direction 0..3.
Script wandererScript() {
    return makeScript(3, u"",
                      {
                          {75, N(21), N(3)}, // RandomValue D2 = 0..3
                          {300, N(-1)},      // ObjectStep, direction from D2
                          {5, N(0)},         // Restart
                      });
}

Script openingScript() {
    return makeScript(50, u"",
                      {
                          {58, N(0), N(2), N(1)}, // Dim the allocation table to one map
                          {54, N(0), N(1), N(5)}, // Alloc five story flags in map 1
                          {57, N(2), N(1), N(1)}, // Select allocated 1 of map 1
                          {50, N(-1), N(0)},      // flag 1 = 0
                          {68, N(11)},
                          {50, N(-1), N(0)}, // flag 2 = 0
                          {3},
                          {330, N(10)},
                          {322, N(-1), N(5), N(1)},
                          {50, N(3), N(3)},
                          {10, T(u"Loop10L3")},
                          {300, N(-1), N(3)},
                          {69, N(3)},
                          {20, T(u"Loop10L3")},
                          {331, N(-1), N(1)},
                          {61, N(1), N(2)},
                          {67, N(1), N(4)},
                          {51, N(20), N(4)}, // D1 = direction from the player to the object
                          {215, kOmit, N(1)},
                          {50, N(3), N(2)},
                          {10, T(u"Loop10U2")},
                          {300, N(-1), N(0)},
                          {69, N(3)},
                          {20, T(u"Loop10U2")},
                          {322, N(-1), N(20), N(1)},
                          {11, N(3), N(500)},
                          {350, N(-1), T(u"お願いです。助けてください。")},
                          {11, N(3), N(800)},
                          {315, N(-1), N(1), N(1)},
                          {11, N(3), N(800)},
                          {315, N(-1), N(0), N(1)},
                          {11, N(3), N(800)},
                          {315, N(-1), N(3), N(1)},
                          {11, N(3), N(1200)},
                          {351, N(-1),
                           T(u"あの宙に浮く島にある宝物を取り返してください。\r"
                             u"あれは私のものなのですが、あのモンスターに取られてしまって…\r"
                             u"私には取り返すことが出来ないのです。")},
                          {215, N(3), N(1)},
                          {11, N(3), N(800)},
                          {215, N(2), N(1)},
                          {11, N(3), N(600)},
                          {331, N(-1), N(21)},
                          {315, N(-1), kOmit, N(1)}, // facing from D2
                          {11, N(3), N(500)},
                          {11, N(3), N(500)},
                          {350, N(-1), T(u"よろしくお願いします。")},
                          {6},
                      });
}

// Steps away from the player when it can; otherwise picks at random among the free directions
// that do not lead toward the player. TestCell writes into R2, so zeroFlag means "blocked".
Script runawayScript() {
    return makeScript(80, u"",
                      {
                          {50, N(1), N(1)},
                          {58, N(0), N(0), N(8)},
                          {57, N(0), N(1), N(0)},
                          {10, T(u"Loop")},
                          {331, N(-1), N(1)},
                          {61, N(1), N(2)},
                          {67, N(1), N(4)},
                          {311, N(-1), N(400), N(0)},
                          {312, N(-1), N(401), N(0)},
                          {51, N(22), N(4)},
                          {411, N(402), N(403)},
                          {313, N(-1), N(1), N(0)},
                          {60, N(402), N(1)},
                          {51, N(402), N(1)},
                          {314, N(-1), N(1), N(0)},
                          {60, N(403), N(1)},
                          {51, N(403), N(1)},
                          {410, N(2)},
                          {21, T(u"ランダム")},
                          {51, N(21), N(4)},
                          {4, T(u"移動実行")},
                          {10, T(u"ランダム")},
                          {57, N(0), N(1), N(0)},
                          {50, N(5), N(0)},
                          {50, N(3), N(8)},
                          {10, T(u"LoopDirctChk")},
                          {69, N(3)},
                          {311, N(-1), N(400), N(0)},
                          {312, N(-1), N(401), N(0)},
                          {51, N(22), N(3)},
                          {411, N(402), N(403)},
                          {313, N(-1), N(1), N(0)},
                          {60, N(402), N(1)},
                          {51, N(402), N(1)},
                          {314, N(-1), N(1), N(0)},
                          {60, N(403), N(1)},
                          {51, N(403), N(1)},
                          {410, N(2)},
                          {21, T(u"NextDirctChk")},
                          {331, N(-1), N(2)},
                          {76, N(3), N(2)},
                          {21, T(u"NextDirctChk")},
                          {67, N(3), N(4)},
                          {77, N(1), N(0)},
                          {21, T(u"斜め検査不要")},
                          {76, N(4), N(2)},
                          {21, T(u"NextDirctChk")},
                          {61, N(3), N(1)},
                          {67, N(1), N(4)},
                          {76, N(4), N(2)},
                          {21, T(u"NextDirctChk")},
                          {10, T(u"斜め検査不要")},
                          {51, N(-1), N(3)},
                          {68, N(11)},
                          {68, N(5)},
                          {10, T(u"NextDirctChk")},
                          {77, N(3), N(0)},
                          {20, T(u"LoopDirctChk")},
                          {50, N(11), N(1)},
                          {69, N(5)},
                          {74, N(11), N(5)},
                          {68, N(11)},
                          {51, N(21), N(-1)},
                          {4, T(u"移動実行")},
                          {10, T(u"移動実行")},
                          {300, N(-1)},
                          {10, T(u"Next")},
                          {3},
                          {4, T(u"Loop")},
                      });
}

Script gatekeeperScript() {
    return makeScript(
        30, u"門番",
        {
            {57, N(2), N(1), N(1)},
            {77, N(-1), N(4)},
            {21, T(u"FlagON")},
            {150, T(u"上に行きたいのじゃろう？\r"
                    u"・・・そうじゃな、あそこに走り回っているやつがおるじゃろう。\r"
                    u"あやつを捕まえて降参させることが出来たら通してやらんこともないぞい。")},
            {50, N(-1), N(1)},
            {322, N(11), N(0)}, // set or read by whatever D3 holds
            {6},
            {10, T(u"FlagON")},
            {150, T(u"ふむ。仕方ない・・・")},
            {310, N(5), B(true), N(1)},
            {320, N(5), B(true), N(1)},
            {310, N(6), B(true), N(1)},
            {320, N(6), B(true), N(1)},
            {3},
            {150, T(u"道は開かれた。行くが良い\r"
                    u"わしは暫しの間休むとしよう・・・")},
            {320, N(-1), B(false), N(1)},
            {6},
        });
}

Script treasureScript() {
    return makeScript(10, u"宝物",
                      {
                          {57, N(2), N(2), N(1)},
                          {50, N(-1), N(1)},
                          {350, N(-1), T(u"「宝物」を手に入れた！")},
                          {310, N(-1), B(false), N(1)},
                          {320, N(-1), B(false), N(1)},
                          {6},
                      });
}

// With the treasure the script never ends, so input stays locked for good.
Script goalScript() {
    return makeScript(
        30, u"ゴール",
        {
            {57, N(2), N(2), N(1)},
            {77, N(-1), N(1)},
            {21, T(u"持ってきた")},
            {350, N(-1), T(u"あの宙に浮く島にある宝を持ってきてください。お願いします。")},
            {6},
            {10, T(u"持ってきた")},
            {160, N(1)},
            {3},
            {150, T(u"デモンストレーション終了。如何でしたでしょうか？")},
            {150, T(u"Presented by Zelto")},
            {150, T(u"The E...")},
            {350, N(-1), T(u"私の宝物を持ってきてくれてありがとう")},
            {150, T(u"The End.")},
            {10, T(u"Loop")},
            {3},
            {4, T(u"Loop")},
        });
}

} // namespace

bool pfBuildScripts(field::World& world) {
    world.scriptCount = kScriptCount;
    world.scripts.assign(static_cast<std::size_t>(kScriptCount) + 1, Script{});
    world.scripts[1] = wandererScript();
    world.scripts[2] = openingScript();
    world.scripts[3] = runawayScript();
    world.scripts[4] = gatekeeperScript();
    world.scripts[5] = treasureScript();
    world.scripts[6] = goalScript();
    return true;
}

} // namespace mdlDataCtrl
