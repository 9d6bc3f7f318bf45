// The direct searcher's ranking and filtering, the route searcher's options and playback, and
// the glue that configures both.
#include <gtest/gtest.h>

#include <vector>

#include "field/mdlDataCtrl.h"
#include "field/mdlRouteDirctSearch.h"
#include "field/mdlRouteSearch.h"
#include "field/mdlRxSGlue.h"
#include "platform/testing/TestSeams.h"

namespace ds = mdlRouteDirctSearch;
namespace rs = mdlRouteSearch;
using field::SearchGrid;
using field::Step;

namespace {

// A direct searcher in eight- or four-direction mode on a free grid of w x h cells.
ds::State directOn(int w, int h, bool diagonal = true) {
    ds::State s;
    ds::pfReset(s);
    ds::pfSetOption(s, 2, diagonal ? -1 : 0);
    ds::pfSetGrid(s, SearchGrid::make(w, h));
    return s;
}

std::vector<int> candidates(const ds::State& s) {
    std::vector<int> codes;
    for (std::uint8_t c : s.candidates) {
        if (c == 0) break;
        codes.push_back(c);
    }
    return codes;
}

void block(ds::State& s, int x, int y) {
    SearchGrid g = s.grid;
    g.set(x, y, -1);
    ds::pfSetGrid(s, g);
}

} // namespace

// ---- direct searcher: ranking and filtering ---------------------------------------------

TEST(DirectSearch, OffAxisTargetOffersDiagonalMainAndSide) {
    ds::State s = directOn(9, 6);
    EXPECT_EQ(ds::pfStart(s, 2, 2, 4, 3), -1);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kDownRight, ds::kRight, ds::kDown}));
    // Main axis vertical when |dx| <= |dy|.
    EXPECT_EQ(ds::pfStart(s, 4, 4, 3, 1), -1);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kUpLeft, ds::kUp, ds::kLeft}));
}

TEST(DirectSearch, StraightTargetFallsBackToTheNeighbouringDiagonals) {
    ds::State s = directOn(9, 6);
    ds::pfStart(s, 4, 4, 4, 0);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kUp}));
    block(s, 4, 3);
    ds::pfStart(s, 4, 4, 4, 0);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kUpRight, ds::kUpLeft}));
    block(s, 5, 3);
    block(s, 3, 3);
    ds::pfStart(s, 4, 4, 4, 0);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kUp})) << "the best one, though blocked";
}

TEST(DirectSearch, ExactDiagonalHasOnePrimaryChoice) {
    ds::State s = directOn(9, 6);
    ds::pfStart(s, 2, 2, 4, 4);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kDownRight}));
    block(s, 3, 3);
    ds::pfStart(s, 2, 2, 4, 4);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kDown, ds::kRight}));
}

TEST(DirectSearch, FourDirectionMode) {
    ds::State s = directOn(9, 6, false);
    ds::pfStart(s, 2, 2, 5, 3);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kRight, ds::kDown}));
    block(s, 3, 2);
    block(s, 2, 3);
    ds::pfStart(s, 2, 2, 5, 3);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kRight})) << "no fallbacks: the best";
    ds::pfStart(s, 5, 2, 0, 2); // straight left: turned clockwise up, counter-clockwise down
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kLeft}));
    block(s, 4, 2);
    ds::pfStart(s, 5, 2, 0, 2);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kUp, ds::kDown}));
}

TEST(DirectSearch, NeighboursOutsideTheGridAreNeverCandidates) {
    ds::State s = directOn(3, 3);
    ds::pfStart(s, 2, 0, 2, -5); // target above the grid: up and both diagonals leave it
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kUp}));
    ds::pfStart(s, 2, 1, 9, 1); // right edge: right is out, down-right/up-right too
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kRight}));
}

TEST(DirectSearch, StartRefusals) {
    ds::State s;
    ds::pfReset(s);
    ds::pfSetOption(s, 2, 1);
    EXPECT_EQ(ds::pfStart(s, 1, 1, 3, 3), 0) << "no grid yet";

    s = directOn(9, 6);
    ds::pfStart(s, 2, 2, 4, 3);
    const auto before = candidates(s);
    EXPECT_EQ(ds::pfStart(s, 2, 2, 2, 2), 0);
    EXPECT_EQ(candidates(s), before) << "start equal to the target leaves the candidates";

    for (auto [x, y] : {std::pair{-1, 2}, std::pair{9, 2}, std::pair{2, -1}, std::pair{2, 6}}) {
        ds::pfStart(s, 2, 2, 4, 3);
        EXPECT_EQ(ds::pfStart(s, x, y, 4, 3), 0);
        EXPECT_TRUE(candidates(s).empty()) << x << "," << y;
    }
}

TEST(DirectSearch, FarTargetsKeepTheirDirection) {
    ds::State s = directOn(9, 6);
    ds::pfStart(s, 4, 3, INT32_MAX, 3);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kRight}));
    ds::pfStart(s, 4, 3, 4 - 70000, 3 + 40000);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kDownLeft, ds::kLeft, ds::kDown}))
        << "saturated, not wrapped (wrapping would point up)";
    ds::pfStart(s, 4, 3, INT32_MIN, INT32_MIN);
    EXPECT_EQ(candidates(s), (std::vector<int>{ds::kUpLeft}));
}

TEST(DirectSearch, OptionsOtherThanTwoAreRefused) {
    ds::State s;
    EXPECT_EQ(ds::pfSetOption(s, 2, 5), -1);
    EXPECT_EQ(s.diagonal, -1);
    for (int option : {0, 1, 3, 4, 5, 9, -1})
        EXPECT_EQ(ds::pfSetOption(s, option, 0), 0);
    EXPECT_EQ(s.diagonal, -1);
}

TEST(DirectSearch, MalformedGridIsNotTaken) {
    ds::State s;
    SearchGrid g = SearchGrid::make(4, 4);
    g.cells.pop_back();
    ds::pfSetGrid(s, g);
    EXPECT_EQ(s.gridReady, 0);
    SearchGrid huge;
    huge.width = 1 << 30;
    huge.height = 1 << 30;
    ds::pfSetGrid(s, huge);
    EXPECT_EQ(s.gridReady, 0);
    EXPECT_EQ(ds::pfStart(s, 0, 0, 1, 1), 0);
}

// ---- direct searcher: handing out --------------------------------------------------------

TEST(DirectSearch, HandsOutFacingsAndStepsThenPumpsPastTheEnd) {
    plat::testing::ScriptedWindowSystem windows;
    ds::State s = directOn(9, 6);
    ds::pfStart(s, 4, 3, 2, 0); // up-left, up, left
    std::vector<int> facings;
    std::vector<Step> steps;
    for (int i = 0; i < 3; ++i) {
        facings.push_back(ds::pfNextDirection(s, windows));
        EXPECT_EQ(ds::pfNextDirection(s, windows), facings.back()) << "the cursor stays";
        steps.push_back(ds::pfNextStep(s, windows));
    }
    EXPECT_EQ(facings, (std::vector<int>{3, 0, 3}));
    EXPECT_EQ(steps, (std::vector<Step>{{-1, -1}, {0, -1}, {-1, 0}}));
    EXPECT_EQ(windows.pumps, 0);
    EXPECT_EQ(ds::pfNextDirection(s, windows), 0);
    EXPECT_EQ(ds::pfNextStep(s, windows), (Step{0, 0}));
    EXPECT_EQ(ds::pfNextStep(s, windows), (Step{0, 0}));
    EXPECT_EQ(s.cursor, 3);
    EXPECT_EQ(windows.pumps, 3);
}

TEST(DirectSearch, DiagonalFacings) {
    plat::testing::ScriptedWindowSystem windows;
    ds::State s;
    const int expected[] = {0, 1, 2, 3, 0, 1, 2, 3};
    for (int code = 1; code <= 8; ++code) {
        s.candidates = {static_cast<std::uint8_t>(code), 0, 0, 0};
        s.cursor = 0;
        EXPECT_EQ(ds::pfNextDirection(s, windows), expected[code - 1]) << code;
    }
    s.candidates = {0, 0, 0, 0};
    EXPECT_EQ(ds::pfNextDirection(s, windows), 0);
    EXPECT_EQ(ds::pfNextStep(s, windows), (Step{0, 0}));
    EXPECT_EQ(ds::pfCodeStep(9), (Step{0, 0}));
}

// ---- route searcher -----------------------------------------------------------------------

TEST(RouteSearch, LengthLimitIsClampedAndWrittenBack) {
    rs::State s;
    std::int32_t v = -3;
    EXPECT_EQ(rs::pfSetOption(s, 1, v), -1);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(s.lengthLimit, 0);
    v = 500;
    rs::pfSetOption(s, 1, v);
    EXPECT_EQ(v, 200);
    EXPECT_EQ(s.lengthLimit, 200);
    v = 5;
    rs::pfSetOption(s, 1, v);
    EXPECT_EQ(s.lengthLimit, 5);
}

TEST(RouteSearch, OtherOptions) {
    rs::State s;
    std::int32_t v = 1;
    rs::pfSetOption(s, 2, v);
    EXPECT_EQ(s.directionCount, 8);
    v = 0;
    rs::pfSetOption(s, 2, v);
    EXPECT_EQ(s.directionCount, 4);
    for (int option : {3, 4, 5}) {
        v = 7;
        EXPECT_EQ(rs::pfSetOption(s, option, v), -1);
    }
    const rs::State before = s;
    v = 9;
    EXPECT_EQ(rs::pfSetOption(s, 9, v), 0);
    EXPECT_EQ(v, 9);
    EXPECT_EQ(s.lengthLimit, before.lengthLimit);
}

TEST(RouteSearch, PlaysBackARecordedRouteAndStopsAtItsEnd) {
    rs::State s;
    rs::pfReset(s);
    EXPECT_EQ(rs::pfNextStep(s), (Step{0, 0})) << "nothing recorded";
    const std::vector<std::uint8_t> route = {ds::kRight, ds::kDownLeft, ds::kUp};
    rs::psRecordRoute(s, true, route);
    EXPECT_EQ(rs::pfNextStep(s), (Step{1, 0}));
    EXPECT_EQ(rs::pfNextStep(s), (Step{-1, 1}));
    EXPECT_EQ(rs::pfNextStep(s), (Step{0, -1}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(rs::pfNextStep(s), (Step{0, 0}));
    EXPECT_EQ(s.position, 3);

    // A shorter route recorded later does not play the older one's tail.
    rs::psRecordRoute(s, true, std::vector<std::uint8_t>{ds::kLeft});
    EXPECT_EQ(rs::pfNextStep(s), (Step{-1, 0}));
    EXPECT_EQ(rs::pfNextStep(s), (Step{0, 0}));
    // Codes above 8 give no movement.
    rs::psRecordRoute(s, false, std::vector<std::uint8_t>{12, ds::kDown});
    EXPECT_EQ(rs::pfNextStep(s), (Step{0, 0}));
    EXPECT_EQ(rs::pfNextStep(s), (Step{0, 1}));
}

TEST(RouteSearch, LongRoutesStayWithinTheTwoHundredEntries) {
    rs::State s;
    rs::psRecordRoute(s, false, std::vector<std::uint8_t>(500, ds::kDown));
    int steps = 0;
    for (int i = 0; i < 600; ++i)
        if (!rs::pfNextStep(s).isZero()) ++steps;
    EXPECT_EQ(steps, 200);
    EXPECT_LE(s.position, 200);
}

TEST(RouteSearch, ResetAndGrid) {
    rs::State s;
    EXPECT_EQ(rs::pfSetGrid(s, SearchGrid::make(9, 6)), 0);
    EXPECT_NE(s.gridReady, 0);
    EXPECT_EQ(s.visited.size(), 70u);
    s.visited[5] = -1;
    rs::psRecordRoute(s, true, std::vector<std::uint8_t>{ds::kUp});
    EXPECT_EQ(rs::pfReset(s), -1);
    EXPECT_EQ(s.gridReady, 0);
    EXPECT_EQ(s.visited[5], 0);
    EXPECT_EQ(s.routeAActive, 0);
    EXPECT_EQ(rs::pfNextStep(s), (Step{0, 0}));
    SearchGrid bad = SearchGrid::make(3, 3);
    bad.height = 1000;
    rs::pfSetGrid(s, bad);
    EXPECT_EQ(s.gridReady, 0);
}

// ---- glue ----------------------------------------------------------------------------------

TEST(SearchGlue, StartUpConfiguration) {
    mdlRxSGlue::Searchers g;
    mdlRxSGlue::psConfigureAtStartup(g);
    EXPECT_EQ(g.routeOn, -1);
    EXPECT_EQ(g.directOn, -1);
    EXPECT_EQ(g.preferDirect, -1);
    EXPECT_EQ(g.route.lengthLimit, 5);
    EXPECT_NE(g.route.diagonal, 0);
    EXPECT_NE(g.direct.diagonal, 0);
    EXPECT_EQ(g.direct.gridReady, 0);

    std::int32_t v = 1;
    EXPECT_EQ(mdlRxSGlue::pfSetOption(g, 2, v), -1) << "both searchers accept option 2";
    for (int option : {1, 3, 4, 5}) {
        v = 1;
        EXPECT_EQ(mdlRxSGlue::pfSetOption(g, option, v), 0) << option;
    }
    v = -3;
    mdlRxSGlue::pfSetOption(g, 1, v);
    EXPECT_EQ(v, 0) << "the clamped value reaches the caller";
}

TEST(SearchGlue, ForwardsOnlyToSearchersThatAreOn) {
    plat::testing::ScriptedWindowSystem windows;
    mdlRxSGlue::Searchers g;
    mdlRxSGlue::psConfigure(g, 0, 0, 0);
    std::int32_t v = 1;
    EXPECT_EQ(mdlRxSGlue::pfSetOption(g, 2, v), -1);
    EXPECT_EQ(g.direct.diagonal, 0);
    EXPECT_EQ(mdlRxSGlue::pfSetGrid(g, SearchGrid::make(9, 6)), -1);
    EXPECT_EQ(g.direct.gridReady, 0);
    EXPECT_EQ(mdlRxSGlue::pfReset(g), -1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(mdlRxSGlue::pfNextStep(g, windows), (Step{0, 0}));

    mdlRxSGlue::psConfigure(g, -1, -1, 0);
    EXPECT_EQ(mdlRxSGlue::pfSetGrid(g, SearchGrid::make(9, 6)), 0);
    EXPECT_NE(g.direct.gridReady, 0);
    EXPECT_NE(g.route.gridReady, 0);
}

TEST(SearchGlue, NextStepComesFromThePreferredSearcher) {
    plat::testing::ScriptedWindowSystem windows;
    mdlRxSGlue::Searchers g;
    mdlRxSGlue::psConfigureAtStartup(g);
    mdlRxSGlue::pfSetGrid(g, SearchGrid::make(9, 6));
    rs::psRecordRoute(g.route, true, std::vector<std::uint8_t>{ds::kLeft, ds::kLeft});
    ds::pfStart(g.direct, 2, 2, 2, 5);
    EXPECT_EQ(mdlRxSGlue::pfNextStep(g, windows), (Step{0, 1})) << "direct preferred";

    mdlRxSGlue::psConfigure(g, -1, -1, 0);
    EXPECT_EQ(mdlRxSGlue::pfNextStep(g, windows), (Step{-1, 0})) << "route preferred";
    mdlRxSGlue::psConfigure(g, 0, -1, 0);
    ds::pfStart(g.direct, 2, 2, 2, 5);
    EXPECT_EQ(mdlRxSGlue::pfNextStep(g, windows), (Step{0, 1})) << "the only one on";
    mdlRxSGlue::psConfigure(g, -1, 0, -1);
    EXPECT_EQ(mdlRxSGlue::pfNextStep(g, windows), (Step{-1, 0})) << "the only one on";
}

TEST(SearchGlue, ObstacleGridOfTheBuiltInMap) {
    plat::testing::TestServices ts;
    field::World w;
    field::initPlayer(w);
    ASSERT_TRUE(mdlDataCtrl::pfBuildMap(w, ts.services));
    const SearchGrid g = mdlRxSGlue::pfObstacleGrid(w);
    EXPECT_EQ(g.width, 9);
    EXPECT_EQ(g.height, 6);
    EXPECT_TRUE(g.wellFormed());
    for (int x = 0; x <= 9; ++x)
        for (int y = 0; y <= 6; ++y)
            EXPECT_EQ(g.at(x, y), (x == 0 && y == 0) ? -1 : 0) << x << "," << y;

    // (0, 0) follows the character plane of layer 0.
    w.cell(0, field::kPlaneChar, 0, 0).kind = 1;
    EXPECT_EQ(mdlRxSGlue::pfObstacleGrid(w).at(0, 0), 0);
    w.cell(0, field::kPlaneChar, 0, 0).eventId = 4;
    EXPECT_EQ(mdlRxSGlue::pfObstacleGrid(w).at(0, 0), -1);
}
