// The direct searcher's ranking and filtering, the route searcher's options and playback, and
// the glue that configures both.
#include <gtest/gtest.h>

#include <vector>

#include "field/DirectSearch.h"
#include "field/RouteSearch.h"
#include "field/ScenarioReader.h"
#include "field/Searchers.h"
#include "platform/testing/TestSeams.h"

using field::SearchGrid;
using field::Step;

namespace {

// A direct searcher in eight- or four-direction mode on a free grid of w x h cells.
field::DirectSearcher directOn(int w, int h, bool diagonal = true) {
    field::DirectSearcher s;
    field::resetSearch(s);
    field::setOption(s, 2, diagonal ? -1 : 0);
    field::setGrid(s, SearchGrid::make(w, h));
    return s;
}

std::vector<int> candidates(const field::DirectSearcher& s) {
    std::vector<int> codes;
    for (std::uint8_t c : s.candidates) {
        if (c == 0) break;
        codes.push_back(c);
    }
    return codes;
}

void block(field::DirectSearcher& s, int x, int y) {
    SearchGrid g = s.grid;
    g.set(x, y, -1);
    field::setGrid(s, g);
}

} // namespace

// ---- direct searcher: ranking and filtering ---------------------------------------------

TEST(DirectSearch, OffAxisTargetOffersDiagonalMainAndSide) {
    field::DirectSearcher s = directOn(9, 6);
    EXPECT_TRUE(field::startSearch(s, 2, 2, 4, 3));
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kDownRight, field::kRight, field::kDown}));
    // Main axis vertical when |dx| <= |dy|.
    EXPECT_TRUE(field::startSearch(s, 4, 4, 3, 1));
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kUpLeft, field::kUp, field::kLeft}));
}

TEST(DirectSearch, StraightTargetFallsBackToTheNeighbouringDiagonals) {
    field::DirectSearcher s = directOn(9, 6);
    field::startSearch(s, 4, 4, 4, 0);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kUp}));
    block(s, 4, 3);
    field::startSearch(s, 4, 4, 4, 0);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kUpRight, field::kUpLeft}));
    block(s, 5, 3);
    block(s, 3, 3);
    field::startSearch(s, 4, 4, 4, 0);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kUp})) << "the best one, though blocked";
}

TEST(DirectSearch, ExactDiagonalHasOnePrimaryChoice) {
    field::DirectSearcher s = directOn(9, 6);
    field::startSearch(s, 2, 2, 4, 4);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kDownRight}));
    block(s, 3, 3);
    field::startSearch(s, 2, 2, 4, 4);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kDown, field::kRight}));
}

TEST(DirectSearch, FourDirectionMode) {
    field::DirectSearcher s = directOn(9, 6, false);
    field::startSearch(s, 2, 2, 5, 3);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kRight, field::kDown}));
    block(s, 3, 2);
    block(s, 2, 3);
    field::startSearch(s, 2, 2, 5, 3);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kRight})) << "no fallbacks: the best";
    field::startSearch(s, 5, 2, 0, 2); // straight left: turned clockwise up, counter-clockwise down
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kLeft}));
    block(s, 4, 2);
    field::startSearch(s, 5, 2, 0, 2);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kUp, field::kDown}));
}

TEST(DirectSearch, NeighboursOutsideTheGridAreNeverCandidates) {
    field::DirectSearcher s = directOn(3, 3);
    field::startSearch(s, 2, 0, 2, -5); // target above the grid: up and both diagonals leave it
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kUp}));
    field::startSearch(s, 2, 1, 9, 1); // right edge: right is out, down-right/up-right too
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kRight}));
}

TEST(DirectSearch, StartRefusals) {
    field::DirectSearcher s;
    field::resetSearch(s);
    field::setOption(s, 2, 1);
    EXPECT_FALSE(field::startSearch(s, 1, 1, 3, 3)) << "no grid yet";

    s = directOn(9, 6);
    field::startSearch(s, 2, 2, 4, 3);
    const auto before = candidates(s);
    EXPECT_FALSE(field::startSearch(s, 2, 2, 2, 2));
    EXPECT_EQ(candidates(s), before) << "start equal to the target leaves the candidates";

    for (auto [x, y] : {std::pair{-1, 2}, std::pair{9, 2}, std::pair{2, -1}, std::pair{2, 6}}) {
        field::startSearch(s, 2, 2, 4, 3);
        EXPECT_FALSE(field::startSearch(s, x, y, 4, 3));
        EXPECT_TRUE(candidates(s).empty()) << x << "," << y;
    }
}

TEST(DirectSearch, FarTargetsKeepTheirDirection) {
    field::DirectSearcher s = directOn(9, 6);
    field::startSearch(s, 4, 3, INT32_MAX, 3);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kRight}));
    field::startSearch(s, 4, 3, 4 - 70000, 3 + 40000);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kDownLeft, field::kLeft, field::kDown}))
        << "saturated, not wrapped (wrapping would point up)";
    field::startSearch(s, 4, 3, INT32_MIN, INT32_MIN);
    EXPECT_EQ(candidates(s), (std::vector<int>{field::kUpLeft}));
}

TEST(DirectSearch, OptionsOtherThanTwoAreRefused) {
    field::DirectSearcher s;
    EXPECT_TRUE(field::setOption(s, 2, 5));
    EXPECT_EQ(s.diagonal, -1);
    for (int option : {0, 1, 3, 4, 5, 9, -1})
        EXPECT_FALSE(field::setOption(s, option, 0));
    EXPECT_EQ(s.diagonal, -1);
}

TEST(DirectSearch, MalformedGridIsNotTaken) {
    field::DirectSearcher s;
    SearchGrid g = SearchGrid::make(4, 4);
    g.cells.pop_back();
    field::setGrid(s, g);
    EXPECT_EQ(s.gridReady, 0);
    SearchGrid huge;
    huge.width = 1 << 30;
    huge.height = 1 << 30;
    field::setGrid(s, huge);
    EXPECT_EQ(s.gridReady, 0);
    EXPECT_FALSE(field::startSearch(s, 0, 0, 1, 1));
}

// ---- direct searcher: handing out --------------------------------------------------------

TEST(DirectSearch, HandsOutFacingsAndStepsThenPumpsPastTheEnd) {
    plat::testing::ScriptedWindowSystem windows;
    field::DirectSearcher s = directOn(9, 6);
    field::startSearch(s, 4, 3, 2, 0); // up-left, up, left
    std::vector<int> facings;
    std::vector<Step> steps;
    for (int i = 0; i < 3; ++i) {
        facings.push_back(field::nextDirection(s, windows));
        EXPECT_EQ(field::nextDirection(s, windows), facings.back()) << "the cursor stays";
        steps.push_back(field::nextStep(s, windows));
    }
    EXPECT_EQ(facings, (std::vector<int>{3, 0, 3}));
    EXPECT_EQ(steps, (std::vector<Step>{{-1, -1}, {0, -1}, {-1, 0}}));
    EXPECT_EQ(windows.pumps, 0);
    EXPECT_EQ(field::nextDirection(s, windows), 0);
    EXPECT_EQ(field::nextStep(s, windows), (Step{0, 0}));
    EXPECT_EQ(field::nextStep(s, windows), (Step{0, 0}));
    EXPECT_EQ(s.cursor, 3);
    EXPECT_EQ(windows.pumps, 3);
}

TEST(DirectSearch, DiagonalFacings) {
    plat::testing::ScriptedWindowSystem windows;
    field::DirectSearcher s;
    const int expected[] = {0, 1, 2, 3, 0, 1, 2, 3};
    for (int code = 1; code <= 8; ++code) {
        s.candidates = {static_cast<std::uint8_t>(code), 0, 0, 0};
        s.cursor = 0;
        EXPECT_EQ(field::nextDirection(s, windows), expected[code - 1]) << code;
    }
    s.candidates = {0, 0, 0, 0};
    EXPECT_EQ(field::nextDirection(s, windows), 0);
    EXPECT_EQ(field::nextStep(s, windows), (Step{0, 0}));
    EXPECT_EQ(field::searchCodeStep(9), (Step{0, 0}));
}

// ---- route searcher -----------------------------------------------------------------------

TEST(RouteSearch, LengthLimitIsClampedAndWrittenBack) {
    field::RouteSearcher s;
    std::int32_t v = -3;
    EXPECT_TRUE(field::setOption(s, 1, v));
    EXPECT_EQ(v, 0);
    EXPECT_EQ(s.lengthLimit, 0);
    v = 500;
    field::setOption(s, 1, v);
    EXPECT_EQ(v, 200);
    EXPECT_EQ(s.lengthLimit, 200);
    v = 5;
    field::setOption(s, 1, v);
    EXPECT_EQ(s.lengthLimit, 5);
}

TEST(RouteSearch, OtherOptions) {
    field::RouteSearcher s;
    std::int32_t v = 1;
    field::setOption(s, 2, v);
    EXPECT_EQ(s.directionCount, 8);
    v = 0;
    field::setOption(s, 2, v);
    EXPECT_EQ(s.directionCount, 4);
    for (int option : {3, 4, 5}) {
        v = 7;
        EXPECT_TRUE(field::setOption(s, option, v));
    }
    const field::RouteSearcher before = s;
    v = 9;
    EXPECT_FALSE(field::setOption(s, 9, v));
    EXPECT_EQ(v, 9);
    EXPECT_EQ(s.lengthLimit, before.lengthLimit);
}

TEST(RouteSearch, PlaysBackARecordedRouteAndStopsAtItsEnd) {
    field::RouteSearcher s;
    field::resetSearch(s);
    EXPECT_EQ(field::nextStep(s), (Step{0, 0})) << "nothing recorded";
    const std::vector<std::uint8_t> route = {field::kRight, field::kDownLeft, field::kUp};
    field::recordRoute(s, true, route);
    EXPECT_EQ(field::nextStep(s), (Step{1, 0}));
    EXPECT_EQ(field::nextStep(s), (Step{-1, 1}));
    EXPECT_EQ(field::nextStep(s), (Step{0, -1}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(field::nextStep(s), (Step{0, 0}));
    EXPECT_EQ(s.position, 3);

    // A shorter route recorded later does not play the older one's tail.
    field::recordRoute(s, true, std::vector<std::uint8_t>{field::kLeft});
    EXPECT_EQ(field::nextStep(s), (Step{-1, 0}));
    EXPECT_EQ(field::nextStep(s), (Step{0, 0}));
    // Codes above 8 give no movement.
    field::recordRoute(s, false, std::vector<std::uint8_t>{12, field::kDown});
    EXPECT_EQ(field::nextStep(s), (Step{0, 0}));
    EXPECT_EQ(field::nextStep(s), (Step{0, 1}));
}

TEST(RouteSearch, LongRoutesStayWithinTheTwoHundredEntries) {
    field::RouteSearcher s;
    field::recordRoute(s, false, std::vector<std::uint8_t>(500, field::kDown));
    int steps = 0;
    for (int i = 0; i < 600; ++i)
        if (!field::nextStep(s).isZero()) ++steps;
    EXPECT_EQ(steps, 200);
    EXPECT_LE(s.position, 200);
}

TEST(RouteSearch, ResetAndGrid) {
    field::RouteSearcher s;
    field::setGrid(s, SearchGrid::make(9, 6));
    EXPECT_NE(s.gridReady, 0);
    EXPECT_EQ(s.visited.size(), 70u);
    s.visited[5] = -1;
    field::recordRoute(s, true, std::vector<std::uint8_t>{field::kUp});
    field::resetSearch(s);
    EXPECT_EQ(s.gridReady, 0);
    EXPECT_EQ(s.visited[5], 0);
    EXPECT_EQ(s.routeAActive, 0);
    EXPECT_EQ(field::nextStep(s), (Step{0, 0}));
    SearchGrid bad = SearchGrid::make(3, 3);
    bad.height = 1000;
    field::setGrid(s, bad);
    EXPECT_EQ(s.gridReady, 0);
}

// ---- glue ----------------------------------------------------------------------------------

TEST(SearchGlue, StartUpConfiguration) {
    field::Searchers g;
    field::configureAtStartUp(g);
    EXPECT_EQ(g.routeOn, -1);
    EXPECT_EQ(g.directOn, -1);
    EXPECT_EQ(g.preferDirect, -1);
    EXPECT_EQ(g.route.lengthLimit, 5);
    EXPECT_NE(g.route.diagonal, 0);
    EXPECT_NE(g.direct.diagonal, 0);
    EXPECT_EQ(g.direct.gridReady, 0);

    std::int32_t v = 1;
    EXPECT_TRUE(field::setOption(g, 2, v)) << "both searchers accept option 2";
    for (int option : {1, 3, 4, 5}) {
        v = 1;
        EXPECT_FALSE(field::setOption(g, option, v)) << option;
    }
    v = -3;
    field::setOption(g, 1, v);
    EXPECT_EQ(v, 0) << "the clamped value reaches the caller";
}

TEST(SearchGlue, ForwardsOnlyToSearchersThatAreOn) {
    plat::testing::ScriptedWindowSystem windows;
    field::Searchers g;
    field::configure(g, 0, 0, 0);
    std::int32_t v = 1;
    EXPECT_TRUE(field::setOption(g, 2, v));
    EXPECT_EQ(g.direct.diagonal, 0);
    field::setGrid(g, SearchGrid::make(9, 6));
    EXPECT_EQ(g.direct.gridReady, 0);
    field::resetSearch(g);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(field::nextStep(g, windows), (Step{0, 0}));

    field::configure(g, -1, -1, 0);
    field::setGrid(g, SearchGrid::make(9, 6));
    EXPECT_NE(g.direct.gridReady, 0);
    EXPECT_NE(g.route.gridReady, 0);
}

TEST(SearchGlue, NextStepComesFromThePreferredSearcher) {
    plat::testing::ScriptedWindowSystem windows;
    field::Searchers g;
    field::configureAtStartUp(g);
    field::setGrid(g, SearchGrid::make(9, 6));
    field::recordRoute(g.route, true, std::vector<std::uint8_t>{field::kLeft, field::kLeft});
    field::startSearch(g.direct, 2, 2, 2, 5);
    EXPECT_EQ(field::nextStep(g, windows), (Step{0, 1})) << "direct preferred";

    field::configure(g, -1, -1, 0);
    EXPECT_EQ(field::nextStep(g, windows), (Step{-1, 0})) << "route preferred";
    field::configure(g, 0, -1, 0);
    field::startSearch(g.direct, 2, 2, 2, 5);
    EXPECT_EQ(field::nextStep(g, windows), (Step{0, 1})) << "the only one on";
    field::configure(g, -1, 0, -1);
    EXPECT_EQ(field::nextStep(g, windows), (Step{-1, 0})) << "the only one on";
}

TEST(SearchGlue, ObstacleGridOfTheBuiltInMap) {
    plat::testing::TestServices ts;
    field::World w;
    field::initPlayer(w);
    std::vector<field::ScenarioError> errors;
    ASSERT_TRUE(field::readBuiltInScenario(w, errors));
    const SearchGrid g = field::obstacleGrid(w);
    EXPECT_EQ(g.width, 9);
    EXPECT_EQ(g.height, 6);
    EXPECT_TRUE(g.wellFormed());
    for (int x = 0; x <= 9; ++x)
        for (int y = 0; y <= 6; ++y)
            EXPECT_EQ(g.at(x, y), (x == 0 && y == 0) ? -1 : 0) << x << "," << y;

    // (0, 0) follows the character plane of layer 0.
    w.cell(0, field::kPlaneChar, 0, 0).kind = 1;
    EXPECT_EQ(field::obstacleGrid(w).at(0, 0), 0);
    w.cell(0, field::kPlaneChar, 0, 0).eventId = 4;
    EXPECT_EQ(field::obstacleGrid(w).at(0, 0), -1);
}
